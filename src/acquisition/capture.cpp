#include "capture.h"

#include "adc.h"
#include "checked.h"

namespace vistrace {
namespace {

double secondsBetween(const ScopeState& state) {
    const std::int64_t ticks = checkedSub(state.count_now, state.count_start);
    if (state.counter_frequency == 0) {
        throw ticks == 0 ? DivisionError::invalidOperation() : DivisionError::byZero();
    }
    return static_cast<double>(ticks) / static_cast<double>(state.counter_frequency);
}

// Spins without yielding: a sleep would overshoot a 10 microsecond interval many times over.
void waitSampleInterval(ScopeState& state, PerformanceCounter& counter) {
    counter.QueryPerformanceCounter(state.count_start);
    do {
        counter.QueryPerformanceCounter(state.count_now);
        state.elapsed = secondsBetween(state);
    } while (state.elapsed < state.sample_interval);
}

// The index is tested before the reading is narrowed, so a sweep too long for the buffer fails
// on its index whatever the port answered.
void readStatus(const ScopeState& state, PortIo& port, SampleBuffer& into, int index) {
    const std::int16_t reading = port.Inp32(statusAddress(state.port_address));
    std::uint8_t& slot = into[index];
    slot = toByte(reading);
}

} // namespace

void readport(ScopeState& state, PortIo& port, PerformanceCounter& counter) {
    // Raw readings are kept apart from samples so that a failure part-way through leaves
    // the previous sweep whole, its wait starts with it.
    SampleBuffer first_reads;
    SampleBuffer second_reads;
    CountBuffer wait_starts;

    const int count = state.sample_count;
    const bool timed = state.sample_interval != 0.0;
    for (int i = 1; i <= count; ++i) {
        port.Out32(state.port_address, kStrobeStart);
        port.Out32(state.port_address, kIdle);
        port.Out32(state.port_address, kSelectLowHalf);
        if (timed) {
            waitSampleInterval(state, counter);
        }
        readStatus(state, port, first_reads, i);
        wait_starts[i] = timed ? state.count_start : 0;
        port.Out32(state.port_address, kIdle);
        readStatus(state, port, second_reads, i);
    }

    // The count is read afresh for the conversion, as the instrument always has; no handler
    // runs during a capture, so it is the count just swept.
    const int converted = state.sample_count;
    for (int i = 1; i <= converted; ++i) {
        state.samples[i] = assembleSample(first_reads[i], second_reads[i]);
        state.sample_starts[i] = wait_starts[i];
    }
}

} // namespace vistrace
