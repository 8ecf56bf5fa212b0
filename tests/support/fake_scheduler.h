#pragma once

#include "scheduler.h"

#include <functional>

namespace vistrace::testing {

// A scheduler that grants or refuses as told and remembers whether the thread is raised.
class FakeScheduler final : public Scheduler {
public:
    bool raise(int priority) override {
        if (!refuse) {
            raised = true;
            lastPriority = priority;
            changed();
        }
        return !refuse;
    }
    void restore() override {
        raised = false;
        changed();
    }
    int usableCpus() override { return cpus; }
    int priorityLimit() override { return limit; }

    bool refuse = false;
    int cpus = 2;
    int limit = 10;
    bool raised = false;
    int lastPriority = 0;
    std::function<void()> onChange;

private:
    void changed() {
        if (onChange) {
            onChange();
        }
    }
};

} // namespace vistrace::testing
