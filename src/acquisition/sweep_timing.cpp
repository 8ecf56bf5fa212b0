#include "sweep_timing.h"

#include "adc.h"
#include "median.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace vistrace {
namespace {

// Until the port has been measured, the time of a slow one.
constexpr double kAssumedSampleSeconds = 0.0001;

} // namespace

void SweepTiming::measure(PortIo& port, PerformanceCounter& counter, std::int64_t frequency,
                          std::int16_t address) {
    if (frequency <= 0) {
        return;
    }
    const std::int16_t status = statusAddress(address);
    double least = std::numeric_limits<double>::infinity();
    for (int batch = 0; batch < kBatches; ++batch) {
        std::int64_t start = 0;
        std::int64_t end = 0;
        counter.QueryPerformanceCounter(start);
        for (int i = 0; i < kSamplesPerBatch; ++i) {
            port.Out32(address, kIdle);
            port.Out32(address, kIdle);
            port.Out32(address, kIdle);
            // The least a timed sample's wait costs beyond its interval: its first reading of
            // the counter and the one that ends it.
            std::int64_t waited = 0;
            counter.QueryPerformanceCounter(waited);
            counter.QueryPerformanceCounter(waited);
            port.Inp32(status);
            port.Out32(address, kIdle);
            port.Inp32(status);
        }
        counter.QueryPerformanceCounter(end);
        least = std::min(least, static_cast<double>(end - start) / static_cast<double>(frequency));
    }
    observed_.clear();
    observe(least / kSamplesPerBatch, false);
}

void SweepTiming::learn(double seconds, int samples, double interval) {
    if (samples > 0) {
        observe(std::max(0.0, seconds / samples - interval), false);
    }
}

void SweepTiming::learnSteps(const CountBuffer& starts, int samples, double interval,
                             std::int64_t frequency) {
    if (samples < 2 || frequency <= 0) {
        return;
    }
    std::vector<double> steps;
    steps.reserve(static_cast<std::size_t>(samples - 1));
    for (int i = 1; i < samples; ++i) {
        steps.push_back(static_cast<double>(starts[i + 1] - starts[i]));
    }
    const double step = median(std::move(steps)) / static_cast<double>(frequency);
    observe(std::max(0.0, step - interval), true);
}

void SweepTiming::observe(double seconds, bool ofSteps) {
    observed_.push_back({seconds, ofSteps, period_});
    if (observed_.size() > kRemembered) {
        observed_.pop_front();
    }
}

double SweepTiming::spaceFor(double period) {
    period_ = period;
    return intervalFor(period);
}

double SweepTiming::sampleSecondsAt(double period) const {
    if (observed_.empty()) {
        return kAssumedSampleSeconds;
    }
    std::vector<double> atPeriod;
    double leastStep = std::numeric_limits<double>::infinity();
    double least = std::numeric_limits<double>::infinity();
    for (const Observation& observation : observed_) {
        least = std::min(least, observation.seconds);
        if (observation.ofSteps) {
            leastStep = std::min(leastStep, observation.seconds);
            if (observation.period == period) {
                atPeriod.push_back(observation.seconds);
            }
        }
    }
    if (!atPeriod.empty()) {
        return median(atPeriod);
    }
    return std::isfinite(leastStep) ? leastStep : least;
}

double SweepTiming::intervalFor(double period) const {
    return std::max(0.0, period - sampleSecondsAt(period));
}

double SweepTiming::sweepSeconds(int samples, double interval) const {
    return samples * (interval + sampleSeconds());
}

} // namespace vistrace
