#pragma once

#include "inpout.h"
#include "scope_state.h"

#include <functional>

namespace vistrace {

enum class TriggerSlope : int { Rising = 0, Falling = 1 };

enum class TriggerOutcome {
    Triggered, // the slope passed the level, or there was no slope to wait for
    Stopped,   // stop_requested was set while the wait served events
};

// Polls pairs of converter reads until the second of a pair has moved past the first in
// the direction of slopeIndex and lies beyond state.trigger_level. pumpEvents runs after
// every pair; the level is read afresh after it, a stop request made there ends the wait,
// and a pair read before another port was picked there is not tested. Any slopeIndex other
// than Rising or Falling returns at once.
TriggerOutcome waittrigger(const ScopeState& state, PortIo& port, int slopeIndex,
                           const std::function<void()>& pumpEvents);

} // namespace vistrace
