#pragma once

#include "sweep_record.h"

#include <optional>
#include <string>

namespace vistrace {

// A measured value, or why the sweep does not give one.
struct Reading {
    std::optional<double> value;
    std::string missing;

    static Reading of(double value) { return {value, {}}; }
    static Reading none(std::string why) { return {std::nullopt, std::move(why)}; }
};

// What a sweep's samples tell of the signal, in volts and seconds.
struct Measurements {
    double maximum = 0.0;
    double minimum = 0.0;
    double peakToPeak = 0.0;
    double mean = 0.0;
    double rms = 0.0;
    // A sample at either end of the converter's range: the signal may go further than it read.
    bool clipped = false;
    Reading frequency;
    Reading period;
    Reading duty; // a fraction of the period
    Reading medianSpacing;
    double lengthSeconds = 0.0;
};

// Frequency, period and duty come from the sweep's rising and falling crossings of its mean,
// on the samples' real times. A crossing counts only once the signal has gone on past a band
// around the mean, so that noise on a slow edge does not count as further edges.
Measurements measure(const SweepRecord& sweep);

} // namespace vistrace
