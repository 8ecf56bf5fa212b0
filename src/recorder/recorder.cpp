#include "recorder.h"

#include "adc.h"
#include "errors.h"
#include "instrument_tables.h"
#include "linux_scheduler.h"
#include "machine_ports.h"
#include "monotonic_counter.h"
#include "port_address.h"
#include "realtime_sweeps.h"
#include "recorder_options.h"
#include "simulated_converter.h"
#include "sweep_picture_file.h"
#include "sweep_reports.h"
#include "sweeper.h"
#include "whole_file.h"

#include <chrono>
#include <csignal>
#include <ctime>
#include <iomanip>
#include <optional>
#include <sstream>

namespace vistrace {
namespace {

constexpr int kSignalStatusBase = 128;

// vistrace's sweeps, with the scheduler they raise and lower.
class MachineSweeps final : public SweepCapture {
public:
    explicit MachineSweeps(PerformanceCounter& clock)
        : sweeps_(scheduler_, clock, readRealtimeLimits()) {}
    void readport(ScopeState& state, PortIo& port, PerformanceCounter& counter,
                  const SweepTiming& timing) override {
        sweeps_.readport(state, port, counter, timing);
    }

private:
    LinuxScheduler scheduler_;
    RealtimeSweeps sweeps_;
};

std::string utcNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    std::ostringstream text;
    text << std::put_time(&utc, "%Y-%m-%dT%H:%M:%S") << '.' << std::setw(3) << std::setfill('0')
         << millis << 'Z';
    return text.str();
}

std::string sweepsComplete(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " sweep" : " sweeps") + " complete";
}

// The sweeps of one run, and how the run ended.
struct Run {
    std::vector<SweepRecord> sweeps;
    ScopeState last; // the state after the last complete sweep, for its picture
    int status = kRecorderDone;
    std::string problem; // for the operator, when status is not 0
    CaptureHeader header;
};

std::string describeTrigger(const RecorderOptions& options) {
    if (!options.trigger) {
        return "none (free-running)";
    }
    return std::string(*options.trigger == TriggerSlope::Rising ? "rising" : "falling") + " at " +
           kTriggerLevelRows[static_cast<std::size_t>(options.levelRow)].item;
}

// Each sweep waits for its own trigger; a signal ends a wait at once, and a sweep it came
// during is dropped, since the operator asked to end before it was done.
void sweep(Run& run, const RecorderOptions& options, PortIo& port, PerformanceCounter& counter,
           SweepCapture& sweeps, int address, const RecorderSystem& system) {
    const TimeBaseRow& row = kTimeBaseRows[static_cast<std::size_t>(options.timeBaseRow)];
    ScopeState state;
    state.port_address = addressPattern(address);
    row.applyTo(state);
    state.trigger_level =
        kTriggerLevelRows[static_cast<std::size_t>(options.levelRow)].trigger_level;
    state.volts_gain = kGainRows[static_cast<std::size_t>(options.gainRow)].volts_gain;
    counter.QueryPerformanceFrequency(state.counter_frequency);
    port.Out32(state.port_address, kIdle);
    Sweeper sweeper(port, counter, sweeps);
    run.header.start = utcNow();
    const auto ended = [&] {
        if (const int signal = system.endingSignal(); signal != 0) {
            run.status = kSignalStatusBase + signal;
            run.problem = std::string("ended by ") + (signal == SIGINT ? "SIGINT" : "SIGTERM") +
                          "; " + sweepsComplete(run.sweeps.size());
            return true;
        }
        return false;
    };
    try {
        for (int taken = 0; taken < options.sweeps && !ended(); ++taken) {
            if (options.trigger) {
                const auto deadline = std::chrono::steady_clock::now() +
                                      std::chrono::duration<double>(options.timeoutSeconds);
                bool late = false;
                state.stop_requested = false;
                const TriggerOutcome outcome =
                    sweeper.waittrigger(state, static_cast<int>(*options.trigger), [&] {
                        late = std::chrono::steady_clock::now() >= deadline;
                        state.stop_requested = late || system.endingSignal() != 0;
                    });
                if (outcome == TriggerOutcome::Stopped) {
                    if (!ended() && late) {
                        std::ostringstream text;
                        text << "no trigger (" << run.header.trigger << ") within "
                             << options.timeoutSeconds << " s; "
                             << sweepsComplete(run.sweeps.size());
                        run.status = kRecorderNoTrigger;
                        run.problem = text.str();
                    }
                    break;
                }
            }
            sweeper.spaceSamples(state, row.samplePeriod(), row.sample_interval);
            sweeper.readport(state);
            if (ended()) {
                break;
            }
            run.sweeps.push_back(recordSweep(state, sweeper.lastSweepSeconds()));
            run.last = state;
        }
    } catch (const VistraceError& error) {
        run.status = kRecorderFailed;
        run.problem = std::string(error.what()) + "; " + sweepsComplete(run.sweeps.size());
    }
    run.header.sampleSeconds = sweeper.timing().sampleSeconds();
}

// The port a run uses: the one named, else the first of the machine's that can be used.
std::optional<int> choosePort(const RecorderOptions& options, const RecorderSystem& system,
                              std::ostream& err) {
    if (options.address) {
        return options.address;
    }
    const std::vector<ParallelPort> ports = listParallelPorts(system.ports.procRoot);
    if (ports.empty()) {
        err << "vistrace-capture: no parallel port to capture from. " << describeMachinePorts(ports)
            << '\n';
        return std::nullopt;
    }
    std::ostringstream list;
    const std::optional<int> usable = firstUsablePort(ports, system.ports, list);
    if (!usable) {
        err << list.str()
            << "vistrace-capture: none of this machine's parallel ports can be used; the list "
               "above says why.\n";
    }
    return usable;
}

Run capture(const RecorderOptions& options, const RecorderSystem& system, std::ostream& err) {
    Run run;
    run.header.timeBase = kTimeBaseRows[static_cast<std::size_t>(options.timeBaseRow)].item;
    run.header.trigger = describeTrigger(options);
    MonotonicCounter counter;
    if (options.simulated) {
        const SimulatedConverter::Settings settings;
        SimulatedConverter port(counter, settings);
        NormalPriority sweeps;
        run.header.port = hexAddress(SimulatedConverter::kConverterPort) +
                          " (the simulated converter of vistrace-sim: " + settings.describe() + ")";
        sweep(run, options, port, counter, sweeps, SimulatedConverter::kConverterPort, system);
        return run;
    }
    const std::optional<int> address = choosePort(options, system, err);
    if (!address) {
        run.status = kRecorderFailed;
        return run;
    }
    run.header.port = hexAddress(*address);
    PpdevPort port(system.ports);
    try {
        port.bind(*address);
    } catch (const PortUnreachable& error) {
        run.status = kRecorderFailed;
        run.problem = error.what();
        return run;
    }
    const std::unique_ptr<SweepCapture> sweeps = system.machineSweeps
                                                     ? system.machineSweeps(counter)
                                                     : std::make_unique<MachineSweeps>(counter);
    sweep(run, options, port, counter, *sweeps, *address, system);
    return run;
}

// What was captured goes out even when the run ended early: the sweeps complete are the
// operator's data.
int writeOutputs(const RecorderOptions& options, const Run& run, std::ostream& out,
                 std::ostream& err) {
    int status = run.status;
    const auto failed = [&](const std::exception& error) {
        err << "vistrace-capture: " << error.what() << '\n';
        if (status < kSignalStatusBase) {
            status = kRecorderFailed;
        }
    };
    if (options.csvToStandardOutput()) {
        writeSweepsCsv(out, run.header, run.sweeps);
    } else if (options.output) {
        std::ostringstream csv;
        writeSweepsCsv(csv, run.header, run.sweeps);
        try {
            writeWholeFile(*options.output, csv.str());
        } catch (const WriteError& error) {
            failed(error);
        }
    }
    if (options.picture && run.sweeps.empty()) {
        err << "vistrace-capture: no sweep to draw; " << *options.picture << " not written\n";
    } else if (options.picture) {
        try {
            writeSweepPicture(*options.picture, run.last);
        } catch (const std::exception& error) {
            failed(error);
        }
    }
    if (options.measure) {
        writeMeasurements(out, run.sweeps);
    }
    out.flush();
    return status;
}

} // namespace

int runRecorder(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                const RecorderSystem& system) {
    try {
        const RecorderOptions options = parseRecorderArguments(arguments);
        if (options.help) {
            out << kRecorderUsage;
            return kRecorderDone;
        }
        Run run = capture(options, system, err);
        if (!run.problem.empty()) {
            err << "vistrace-capture: " << run.problem << '\n';
        }
        if (run.status == kRecorderFailed && run.sweeps.empty()) {
            return run.status;
        }
        return writeOutputs(options, run, out, err);
    } catch (const UsageError& error) {
        err << error.what() << "\nTry 'vistrace-capture --help' for the options.\n";
        return kRecorderUsageError;
    } catch (const std::exception& error) {
        err << "vistrace-capture: " << error.what() << '\n';
        return kRecorderFailed;
    }
}

} // namespace vistrace
