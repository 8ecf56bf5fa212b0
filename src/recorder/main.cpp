#include "recorder.h"

#include <csignal>
#include <iostream>

namespace {

volatile std::sig_atomic_t endingSignal = 0;

extern "C" void noteEndingSignal(int signal) {
    endingSignal = signal;
}

} // namespace

// Sweeps to a file, a picture and measurements, for a lab report or a test rig's script. Ctrl-C
// and SIGTERM only take note: the capture ends where it safely can, writes the sweeps already
// complete and releases the port.
int main(int argc, char** argv) {
    struct sigaction action {};
    action.sa_handler = noteEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    vistrace::RecorderSystem system;
    system.endingSignal = [] { return static_cast<int>(endingSignal); };
    return vistrace::runRecorder(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                 std::cerr, system);
}
