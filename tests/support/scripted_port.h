#pragma once

#include "inpout.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace vistrace::testing {

struct PortAccess {
    enum class Kind { Write, Read };
    Kind kind;
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

// A port that records every access in order and answers reads from a queue of status
// readings (any 16-bit value, so out-of-range readings can be played), then from a
// standing reading once the queue is empty.
class ScriptedPort final : public PortIo {
public:
    void Out32(std::int16_t address, int value) override;
    std::int16_t Inp32(std::int16_t address) override;

    void queueReadings(std::initializer_list<std::int16_t> readings);
    // Queues the two status readings from which the converter protocol assembles sample.
    void queueSample(std::uint8_t sample);
    void queueSamples(const std::vector<std::uint8_t>& samples);
    // What every read returns once the queue is empty.
    void setStandingSample(std::uint8_t sample);

    // Called before each access is carried out; may throw to play a failing port.
    std::function<void(const PortAccess&)> beforeAccess;

    [[nodiscard]] const std::vector<PortAccess>& accesses() const { return accesses_; }
    void clearAccesses() { accesses_.clear(); }

    // The status readings (first, second) that make the converter protocol yield sample.
    static std::pair<std::int16_t, std::int16_t> readingsFor(std::uint8_t sample);

private:
    std::deque<std::int16_t> queue_;
    std::pair<std::int16_t, std::int16_t> standing_{0, 0};
    bool nextStandingIsSecond_ = false;
    std::vector<PortAccess> accesses_;
};

} // namespace vistrace::testing
