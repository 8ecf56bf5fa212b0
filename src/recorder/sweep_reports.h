#pragma once

#include "sweep_record.h"

#include <ostream>
#include <string>
#include <vector>

namespace vistrace {

// What the CSV's comment lines say of the capture.
struct CaptureHeader {
    std::string port;     // "0x378 (the simulated converter)"
    std::string timeBase; // the item, "1mS/Div"
    std::string trigger;  // "rising at 3V", or "none (free-running)"
    std::string start;    // ISO 8601, UTC
    double sampleSeconds; // the port's time per sample as measured
};

// Comment lines, then one row per sample: sweep,sample,time_s,raw,volts.
void writeSweepsCsv(std::ostream& out, const CaptureHeader& header,
                    const std::vector<SweepRecord>& sweeps);

// Each sweep's measurements, a value or why there is none on each line.
void writeMeasurements(std::ostream& out, const std::vector<SweepRecord>& sweeps);

} // namespace vistrace
