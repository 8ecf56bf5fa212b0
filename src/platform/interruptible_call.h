#pragma once

#include <chrono>
#include <functional>

namespace vistrace {

struct TimedCall {
    int result = 0;
    int error = 0;         // errno as the call left it
    bool timedOut = false; // it had not returned within the limit and was interrupted
};

// Runs call, a blocking system call that sleeps interruptibly, on a thread of its own and
// waits for it at most limit. A call still running then is interrupted: a signal whose
// handler does nothing, installed without SA_RESTART, makes it return EINTR. The signal is
// sent again and again until the call has returned, because one that lands before the call
// has started to sleep is lost.
TimedCall callWithTimeLimit(const std::function<int()>& call, std::chrono::milliseconds limit);

} // namespace vistrace
