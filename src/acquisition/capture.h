#pragma once

#include "inpout.h"
#include "scope_state.h"

namespace vistrace {

// Captures one sweep of state.sample_count samples into state.samples(1..sample_count),
// each preceded by a spin of state.sample_interval seconds on the counter. If anything
// fails, state.samples is left exactly as it was.
void readport(ScopeState& state, PortIo& port, PerformanceCounter& counter);

} // namespace vistrace
