#include "probe.h"

#include "converter_check.h"
#include "errors.h"
#include "machine_ports.h"
#include "monotonic_counter.h"
#include "port_address.h"
#include "ppdev_port.h"
#include "simulated_converter.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace vistrace {
namespace {

constexpr const char* kUsage =
    "Usage: vistrace-probe [--simulated] [ADDRESS]\n"
    "Checks the wiring and the speed of a converter on a parallel port.\n"
    "\n"
    "  ADDRESS      the port's I/O address in hex, as the Port Address list writes it\n"
    "               (378, 278, 3BC, DC00); without it, every port of this machine is\n"
    "               listed and the first one that can be used is checked\n"
    "  --simulated  check the simulated converter of vistrace-sim instead\n"
    "  -h, --help   show this text\n"
    "\n"
    "Exit status: 0 when a converter answered, 1 when none did, the readings never changed\n"
    "or no port could be used, 2 on a usage error.\n";

const char* describeGrant(RealtimeGrant grant) {
    switch (grant) {
    case RealtimeGrant::Granted:
        return "granted: vistrace captures under SCHED_FIFO";
    case RealtimeGrant::OneCpu:
        return "not used: this program may run on one CPU only, which it would take from "
               "everything else";
    case RealtimeGrant::LimitOff:
        return "not used: the kernel's real-time limit is off (sched_rt_runtime_us is -1 or "
               "not below sched_rt_period_us)";
    case RealtimeGrant::ShareTooSmall:
        return "not used: the kernel's real-time limit leaves less than the shortest sweep "
               "(90 % of sched_rt_runtime_us is under 5 ms)";
    case RealtimeGrant::AlreadyRealtime:
        return "already real-time when started: vistrace leaves its priority alone";
    case RealtimeGrant::Stuck:
        return "not used: the system would not return a thread to normal priority after a "
               "real-time sweep, so vistrace raises none";
    case RealtimeGrant::Refused:
        break;
    }
    return "not granted to this user: join the lp group, install the package's limits file, "
           "and log in again (ulimit -r then shows 10)";
}

int check(PortIo& port, int baseAddress, const ProbeSystem& system, std::ostream& out) {
    out << "\nChecking the converter at " << hexAddress(baseAddress) << ": " << kCheckReads
        << " reads at full speed.\nKeep a varying input on the converter while they run (a signal "
           "generator,\nor a potentiometer turned by hand).\n\n"
        << std::flush;
    MonotonicCounter counter;
    const ConverterCheck result = checkConverter(port, counter, baseAddress);
    printCheck(out, result);
    out << "Real-time capture:        " << describeGrant(system.realtimeGrant()) << '\n';
    return result.verdict == ConverterCheck::Verdict::Answered ? kProbeAnswered : kProbeFailed;
}

int probeMachine(const ProbeOptions& options, const ProbeSystem& system, std::ostream& out,
                 std::ostream& err) {
    std::optional<int> address = options.address;
    if (!address) {
        const std::vector<ParallelPort> ports = listParallelPorts(system.ports.procRoot);
        if (ports.empty()) {
            err << "vistrace-probe: no parallel port to check. " << describeMachinePorts(ports)
                << '\n';
            return kProbeFailed;
        }
        address = firstUsablePort(ports, system.ports, out);
        if (!address) {
            err << "vistrace-probe: none of this machine's parallel ports can be used; the "
                   "list above says why.\n";
            return kProbeFailed;
        }
    }
    PpdevPort port(system.ports);
    try {
        port.bind(*address);
    } catch (const PortUnreachable& error) {
        err << "vistrace-probe: " << error.what() << '\n';
        return kProbeFailed;
    }
    return check(port, *address, system, out);
}

int probeSimulator(const ProbeOptions& options, const ProbeSystem& system, std::ostream& out) {
    MonotonicCounter clock;
    const SimulatedConverter::Settings settings;
    SimulatedConverter port(clock, settings);
    out << "The simulated converter of vistrace-sim (" << settings.describe() << ").\n";
    return check(port, options.address.value_or(SimulatedConverter::kConverterPort), system, out);
}

} // namespace

ProbeOptions parseProbeArguments(const std::vector<std::string>& arguments) {
    ProbeOptions options;
    for (const std::string& argument : arguments) {
        const auto quoted = [&] { return " '" + argument + "'"; };
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--simulated") {
            options.simulated = true;
        } else if (argument.starts_with("-")) {
            throw UsageError("unknown option:" + quoted());
        } else if (options.address) {
            throw UsageError("one port address at a time:" + quoted());
        } else if (const auto address = parseAddressItem(argument)) {
            options.address = address;
        } else {
            throw UsageError("not a port address:" + quoted());
        }
    }
    return options;
}

// Nothing that goes wrong may end the probe without a word: whatever it did not expect is
// reported as a failure.
int runProbe(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
             const ProbeSystem& system) {
    ProbeOptions options;
    try {
        options = parseProbeArguments(arguments);
    } catch (const UsageError& error) {
        err << "vistrace-probe: " << error.what() << "\n\n" << kUsage;
        return kProbeUsage;
    }
    if (options.help) {
        out << kUsage;
        return EXIT_SUCCESS;
    }
    try {
        return options.simulated ? probeSimulator(options, system, out)
                                 : probeMachine(options, system, out, err);
    } catch (const VistraceError& error) {
        err << "vistrace-probe: " << error.what() << '\n';
    } catch (const std::exception& error) {
        err << "vistrace-probe: unexpected error: " << error.what() << '\n';
    }
    return kProbeFailed;
}

} // namespace vistrace
