#include "interruptible_call.h"

#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <pthread.h>
#include <thread>

namespace vistrace {
namespace {

constexpr int kInterruptSignal = SIGUSR1;
constexpr std::chrono::milliseconds kResendInterval{5};

void doNothing(int /*signal*/) {}

void installInterruptHandler() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        struct sigaction action {};
        action.sa_handler = doNothing;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0; // no SA_RESTART: the kernel must not restart the interrupted call
        sigaction(kInterruptSignal, &action, nullptr);
    });
}

// The worker inherits the caller's signal mask, which may block the signal.
void acceptInterrupts() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, kInterruptSignal);
    pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
}

} // namespace

TimedCall callWithTimeLimit(const std::function<int()>& call, std::chrono::milliseconds limit) {
    installInterruptHandler();
    std::mutex mutex;
    std::condition_variable returned;
    bool done = false;
    TimedCall outcome;
    std::thread worker([&] {
        acceptInterrupts();
        const int result = call();
        const int error = errno;
        const std::lock_guard lock(mutex);
        outcome.result = result;
        outcome.error = error;
        done = true;
        returned.notify_all();
    });

    std::unique_lock lock(mutex);
    if (!returned.wait_for(lock, limit, [&] { return done; })) {
        outcome.timedOut = true;
        while (!done) {
            pthread_kill(worker.native_handle(), kInterruptSignal);
            returned.wait_for(lock, kResendInterval, [&] { return done; });
        }
    }
    lock.unlock();
    worker.join();
    return outcome;
}

} // namespace vistrace
