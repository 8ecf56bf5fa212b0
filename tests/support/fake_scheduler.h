#pragma once

#include "scheduler.h"

#include <functional>

namespace vistrace::testing {

// Grants or refuses as told; onChange runs after every raise it grants and every restore.
class FakeScheduler final : public Scheduler {
public:
    explicit FakeScheduler(int usable = 2, int rtprio = 10, bool refusing = false)
        : cpus(usable), limit(rtprio), refuse(refusing) {}

    bool raise(int level) override {
        if (!refuse) {
            priority = level;
            onChange();
        }
        return !refuse;
    }
    void restore() override {
        priority = 0;
        onChange();
    }
    int usableCpus() override { return cpus; }
    int priorityLimit() override { return limit; }

    int cpus, limit;
    bool refuse;
    int priority = 0; // 0 at normal priority
    std::function<void()> onChange = [] {};
};

} // namespace vistrace::testing
