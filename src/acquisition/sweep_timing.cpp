#include "sweep_timing.h"

#include "adc.h"

#include <algorithm>
#include <limits>

namespace vistrace {
namespace {

constexpr int kBatches = 4;
constexpr int kSamplesPerBatch = 16;
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
    observe(least / kSamplesPerBatch);
}

void SweepTiming::learn(double seconds, int samples, double interval) {
    if (samples > 0) {
        observe(std::max(0.0, seconds / samples - interval));
    }
}

void SweepTiming::observe(double seconds) {
    observed_.push_back(seconds);
    if (observed_.size() > kRemembered) {
        observed_.pop_front();
    }
}

double SweepTiming::sampleSeconds() const {
    return observed_.empty() ? kAssumedSampleSeconds : std::ranges::min(observed_);
}

double SweepTiming::intervalFor(double period) const {
    return std::max(0.0, period - sampleSeconds());
}

double SweepTiming::sweepSeconds(int samples, double interval) const {
    return samples * (interval + sampleSeconds());
}

} // namespace vistrace
