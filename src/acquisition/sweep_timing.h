#pragma once

#include "inpout.h"
#include "sample_buffer.h"

#include <cstdint>
#include <deque>

namespace vistrace {

// What one sample costs on the port beyond its wait (six port accesses and the loop), so that
// each time base can wait what its label needs. A measurement of the port starts the estimate
// when the port is new; from then on every sweep gives an observation, and the last few are
// remembered, so that a port that became slower is followed once the faster ones have aged out.
//
// A timed sweep observes its median step from one sample's wait to the next: a sample that
// something held up lengthens one step, which the median passes over however long the machine
// stays busy. A sweep that reads no counter can only observe its whole length, held-up time
// and all, so while a step observation is remembered the whole lengths give way to it.
//
// What a sample costs beyond its wait grows with the wait (half a microsecond more at 4 ms than
// at 30 us, on an idle machine) and changes a little from sweep to sweep with whatever else the
// processor does. So a period's estimate is the median of the remembered steps observed at that
// very period, which the next sweep's cost scatters about; the least of the remembered steps,
// which errs towards a sample too far apart rather than a held-up one, serves a period until it
// has observations of its own.
class SweepTiming {
public:
    static constexpr std::size_t kRemembered = 8;
    // The measurement's pseudo-samples: batches of them, the least batch counting.
    static constexpr int kBatches = 4;
    static constexpr int kSamplesPerBatch = 16;

    // Times batches of pseudo-samples at address: the accesses of a sample, but writes of the
    // idle value only, so the converter never starts, and the counter readings of the shortest
    // wait. A batch that something preempted is longer, so the least counts. Forgets every
    // earlier observation, which may have been of another port.
    void measure(PortIo& port, PerformanceCounter& counter, std::int64_t frequency,
                 std::int16_t address);
    // Sweeps from now on are spaced period apart, and learnt as that period's: the wait that
    // does it.
    double spaceFor(double period);
    // A sweep of samples that took seconds, of which each sample spent interval waiting.
    void learn(double seconds, int samples, double interval);
    // A timed sweep of samples whose waits began at the counter readings starts(1..samples),
    // each sample waiting interval.
    void learnSteps(const CountBuffer& starts, int samples, double interval,
                    std::int64_t frequency);

    // Seconds of one sample's own work at the period now spaced for; until anything is known,
    // a generous allowance.
    [[nodiscard]] double sampleSeconds() const { return sampleSecondsAt(period_); }
    // The wait that would space samples period apart; 0 where the port alone takes longer.
    [[nodiscard]] double intervalFor(double period) const;
    // How long a sweep of samples takes with interval before each, at the period now spaced for.
    [[nodiscard]] double sweepSeconds(int samples, double interval) const;

private:
    struct Observation {
        double seconds;
        bool ofSteps;
        double period;
    };

    [[nodiscard]] double sampleSecondsAt(double period) const;
    void observe(double seconds, bool ofSteps);

    std::deque<Observation> observed_; // newest last
    double period_ = 0.0;
};

} // namespace vistrace
