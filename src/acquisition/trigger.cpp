#include "trigger.h"

#include "adc.h"

namespace vistrace {
namespace {

// Smaller sample values are more positive voltages, so a rising voltage is a falling value.
bool slopePassed(TriggerSlope slope, std::uint8_t first, std::uint8_t second, std::uint8_t level) {
    if (slope == TriggerSlope::Rising) {
        return second < first && second < level;
    }
    return second > first && second > level;
}

} // namespace

TriggerOutcome waittrigger(const ScopeState& state, PortIo& port, int slopeIndex,
                           const std::function<void()>& pumpEvents) {
    if (slopeIndex != static_cast<int>(TriggerSlope::Rising) &&
        slopeIndex != static_cast<int>(TriggerSlope::Falling)) {
        return TriggerOutcome::Triggered;
    }
    const auto slope = static_cast<TriggerSlope>(slopeIndex);
    for (;;) {
        const std::int16_t readAt = state.port_address;
        const std::uint8_t first = oneread(state, port);
        const std::uint8_t second = oneread(state, port);
        pumpEvents();
        if (state.stop_requested) {
            return TriggerOutcome::Stopped;
        }
        // A pair read on the port the operator has just left says nothing of the new port's
        // signal: the capture that follows is the new port's.
        // cppcheck-suppress knownConditionTrueFalse ; the events may pick another port
        if (state.port_address == readAt &&
            slopePassed(slope, first, second, state.trigger_level)) {
            return TriggerOutcome::Triggered;
        }
    }
}

} // namespace vistrace
