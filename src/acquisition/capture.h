#pragma once

#include "inpout.h"
#include "scope_state.h"

namespace vistrace {

// Captures one sweep of state.sample_count samples into state.samples(1..sample_count),
// each preceded by a spin of state.sample_interval seconds on the counter, and the counter
// reading that began each spin into state.sample_starts. If anything fails, both are left
// exactly as they were.
void readport(ScopeState& state, PortIo& port, PerformanceCounter& counter);

} // namespace vistrace
