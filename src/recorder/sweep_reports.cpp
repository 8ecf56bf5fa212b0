#include "sweep_reports.h"

#include "measurements.h"
#include "program_identity.h"

#include <algorithm>
#include <iomanip>
#include <locale>
#include <sstream>

namespace vistrace {
namespace {

// Numbers are read by other programs: a decimal point whatever the user's locale.
std::ostringstream classicStream() {
    std::ostringstream text;
    text.imbue(std::locale::classic());
    return text;
}

std::string fixed(double value, int decimals, const char* unit = "") {
    std::ostringstream text = classicStream();
    text << std::fixed << std::setprecision(decimals) << value << unit;
    return text.str();
}

std::string reading(const Reading& value, double scale, int decimals, const char* unit) {
    return value.value ? fixed(*value.value * scale, decimals, unit) : value.missing;
}

} // namespace

void writeSweepsCsv(std::ostream& out, const CaptureHeader& header,
                    const std::vector<SweepRecord>& sweeps) {
    std::ostringstream text = classicStream();
    text << "# vistrace-capture " << kProgramVersion << '\n'
         << "# port: " << header.port << '\n'
         << "# time base: " << header.timeBase << '\n'
         << "# trigger: " << header.trigger << '\n'
         << "# start: " << header.start << '\n'
         << "# port time per sample: " << fixed(header.sampleSeconds * 1e6, 2, " us") << '\n';
    if (std::ranges::any_of(sweeps, &SweepRecord::spread)) {
        text << "# time_s: " << header.timeBase
             << " reads no clock per sample; each sweep's measured length is spread evenly over "
                "its samples\n";
    } else {
        text << "# time_s: each sample's own time on the clock from its sweep's first sample\n";
    }
    text << "sweep,sample,time_s,raw,volts\n";
    for (std::size_t index = 0; index < sweeps.size(); ++index) {
        const SweepRecord& sweep = sweeps[index];
        for (std::size_t i = 0; i < sweep.samples.size(); ++i) {
            text << index + 1 << ',' << i + 1 << ',' << fixed(sweep.seconds[i], 9) << ','
                 << int{sweep.samples[i]} << ',' << fixed(voltsOf(sweep.samples[i]), 4) << '\n';
        }
    }
    out << text.str();
}

void writeMeasurements(std::ostream& out, const std::vector<SweepRecord>& sweeps) {
    std::ostringstream text = classicStream();
    for (std::size_t index = 0; index < sweeps.size(); ++index) {
        const Measurements measured = measure(sweeps[index]);
        const char* limit =
            measured.clipped ? " (the converter's limit: the input may go beyond)" : "";
        text << (index == 0 ? "" : "\n") << "Sweep " << index + 1 << " of " << sweeps.size() << '\n'
             << "  Maximum:         " << fixed(measured.maximum, 3, " V") << limit << '\n'
             << "  Minimum:         " << fixed(measured.minimum, 3, " V") << limit << '\n'
             << "  Peak-to-peak:    " << fixed(measured.peakToPeak, 3, " V") << '\n'
             << "  Mean:            " << fixed(measured.mean, 3, " V") << '\n'
             << "  RMS:             " << fixed(measured.rms, 3, " V") << '\n'
             << "  Frequency:       " << reading(measured.frequency, 1.0, 2, " Hz") << '\n'
             << "  Period:          " << reading(measured.period, 1e3, 4, " ms") << '\n'
             << "  Duty cycle:      " << reading(measured.duty, 100.0, 1, " %") << '\n'
             << "  Sample spacing:  " << reading(measured.medianSpacing, 1e6, 2, " us (median)")
             << '\n'
             << "  Sweep length:    " << fixed(measured.lengthSeconds * 1e3, 3, " ms") << '\n';
    }
    out << text.str();
}

} // namespace vistrace
