#pragma once

#include "inpout.h"
#include "sweep_timing.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace vistrace {

// What a burst of converter reads at full speed tells about the wiring and the port.
struct ConverterCheck {
    // A converter held at 0 V or at full scale reads like a port with nothing connected, and
    // the floating BUSY line of such a port may wander: only a varying input tells.
    enum class Verdict {
        Answered,     // the readings varied, and some have bits a floating port lacks
        NeverChanged, // every reading the same
        NoneAnswered, // every reading is what a port with nothing connected may give
    };
    Verdict verdict = Verdict::NeverChanged;
    // Status lines 4 to 7 that read the same at every read, with the level they stayed at.
    struct StuckLine {
        int statusBit;
        bool pinHigh;
    };
    std::vector<StuckLine> stuckLines;
    int lowest = 0;
    int highest = 0;
    double mean = 0.0;
    double secondsPerAccess = 0.0;
    double secondsPerSample = 0.0;
    // The port as the instrument times it: measured, then learnt from the reads.
    SweepTiming timing;
};

inline constexpr int kCheckReads = 2000;

// Runs the converter read reads times at the port whose base address is baseAddress, back to
// back, timed on counter.
ConverterCheck checkConverter(PortIo& port, PerformanceCounter& counter, int baseAddress,
                              int reads = kCheckReads);

// The plain-text report of a check.
void printCheck(std::ostream& out, const ConverterCheck& check);

} // namespace vistrace
