#pragma once

#include "inpout.h"
#include "scheduler.h"

#include <deque>
#include <functional>
#include <vector>

// Fakes of the port, the counter and the scheduler, through which acquisition reaches the machine.
namespace vistrace::testing {

struct PortAccess {
    enum class Kind { Write, Read } kind;
    std::int16_t address;
    int value; // written value, or the reading returned
    bool operator==(const PortAccess&) const = default;
};
inline PortAccess write(std::int16_t address, int value) {
    return {PortAccess::Kind::Write, address, value};
}
inline PortAccess read(std::int16_t address, int value) {
    return {PortAccess::Kind::Read, address, value};
}

// A counter stepping at every reading; also the clock that ScriptedPort advances per access.
struct FakeCounter final : PerformanceCounter {
    explicit FakeCounter(std::int64_t ticksPerSecond = 1'000'000, std::int64_t ticksPerReading = 1)
        : frequency(ticksPerSecond), step(ticksPerReading) {}
    std::int32_t QueryPerformanceFrequency(std::int64_t& out) override {
        out = frequency;
        return frequency != 0 ? 1 : 0;
    }
    std::int32_t QueryPerformanceCounter(std::int64_t& out) override {
        out = now += step;
        ++readings;
        return 1;
    }
    std::int64_t frequency, step, now = 0;
    int readings = 0;
};

// A port that records every access in order and answers reads from a queue of status readings
// (any 16-bit value, so out-of-range ones can be played), then from a standing sample.
class ScriptedPort final : public PortIo {
public:
    void Out32(std::int16_t address, int value) override { record(write(address, value)); }
    std::int16_t Inp32(std::int16_t address) override {
        if (queue_.empty()) {
            queueSamples({standing});
        }
        const std::int16_t reading = queue_.front();
        queue_.pop_front();
        record(read(address, reading));
        return reading;
    }

    void queueReadings(const std::vector<std::int16_t>& readings) {
        queue_.insert(queue_.end(), readings.begin(), readings.end());
    }
    // Queues the two status readings from which the converter protocol assembles each sample.
    void queueSamples(const std::vector<std::uint8_t>& samples) {
        for (const std::uint8_t sample : samples) {
            const int assembled = sample ^ 0x77;
            queue_.push_back(static_cast<std::int16_t>((assembled & 0x0F) << 4));
            queue_.push_back(static_cast<std::int16_t>(assembled & 0xF0));
        }
    }

    std::uint8_t standing = 0;    // the sample once the queue is empty
    FakeCounter* clock = nullptr; // advanced by ticksPerAccess as each access begins
    std::int64_t ticksPerAccess = 0;
    std::vector<std::int64_t> times; // of each access's beginning, on the clock
    // Called before each access is carried out; may throw to play a failing port.
    std::function<void(const PortAccess&)> beforeAccess = [](const PortAccess&) {};
    std::vector<PortAccess> accesses;

private:
    void record(const PortAccess& access) {
        beforeAccess(access);
        if (clock != nullptr) {
            times.push_back(clock->now);
            clock->now += ticksPerAccess;
        }
        accesses.push_back(access);
    }

    std::deque<std::int16_t> queue_;
};

// Grants or refuses as told; onChange runs after each raise granted and each restore done.
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
    bool restore() override {
        if (restoresLeft == 0) {
            return false;
        }
        restoresLeft -= restoresLeft > 0 ? 1 : 0;
        priority = 0;
        onChange();
        return true;
    }
    bool startedRealtime() override { return startedRt; }
    int usableCpus() override { return cpus; }
    int priorityLimit() override { return limit; }

    int cpus, limit;
    bool refuse;
    bool startedRt = false;
    int priority = 0;      // 0 at normal priority
    int restoresLeft = -1; // that come back down; -1 for all of them
    std::function<void()> onChange = [] {};
};

} // namespace vistrace::testing
