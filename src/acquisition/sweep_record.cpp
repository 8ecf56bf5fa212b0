#include "sweep_record.h"

namespace vistrace {

SweepRecord recordSweep(const ScopeState& state, double lengthSeconds) {
    SweepRecord record;
    record.lengthSeconds = lengthSeconds;
    const int count = state.sample_count;
    // A sweep that waited reads the counter at every sample, so its first reading is never 0.
    record.spread = count > 0 && (state.sample_interval == 0.0 || state.counter_frequency == 0 ||
                                  state.sample_starts[1] == 0);
    const double tick =
        state.counter_frequency == 0 ? 0.0 : 1.0 / static_cast<double>(state.counter_frequency);
    for (int i = 1; i <= count; ++i) {
        record.samples.push_back(state.samples[i]);
        record.seconds.push_back(
            record.spread
                ? lengthSeconds * (i - 1) / count
                : static_cast<double>(state.sample_starts[i] - state.sample_starts[1]) * tick);
    }
    return record;
}

} // namespace vistrace
