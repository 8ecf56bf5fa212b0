#pragma once

#include "inpout.h"

#include <cstdint>
#include <deque>

namespace vistrace {

// What one sample costs on the port beyond its wait (six port accesses and the loop), so that
// each time base can wait what its label needs. The estimate is the least of the last few
// observations: a measurement of the port when it is new, then every sweep. A sweep that
// something preempted comes out long and is outvoted; a port that became slower shows in every
// observation and is followed once the faster ones have aged out.
class SweepTiming {
public:
    static constexpr std::size_t kRemembered = 8;

    // Times batches of pseudo-samples at address: the accesses of a sample, but writes of the
    // idle value only, so the converter never starts, and the counter readings of the shortest
    // wait. The least batch counts, a batch that something preempted being longer.
    void measure(PortIo& port, PerformanceCounter& counter, std::int64_t frequency,
                 std::int16_t address);
    // A sweep of samples that took seconds, of which each sample spent interval waiting.
    void learn(double seconds, int samples, double interval);

    // Seconds of one sample's own work; until anything is known, a generous allowance.
    [[nodiscard]] double sampleSeconds() const;
    // The wait that spaces samples period apart; 0 where the port alone takes longer.
    [[nodiscard]] double intervalFor(double period) const;
    // How long a sweep of samples takes with interval before each.
    [[nodiscard]] double sweepSeconds(int samples, double interval) const;

private:
    void observe(double seconds);

    std::deque<double> observed_; // newest last
};

} // namespace vistrace
