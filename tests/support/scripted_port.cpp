#include "scripted_port.h"

namespace vistrace::testing {

std::pair<std::int16_t, std::int16_t> ScriptedPort::readingsFor(std::uint8_t sample) {
    const int assembled = sample ^ 0x77;
    return {static_cast<std::int16_t>((assembled & 0x0F) << 4),
            static_cast<std::int16_t>(assembled & 0xF0)};
}

void ScriptedPort::Out32(std::int16_t address, int value) {
    const PortAccess access = write(address, value);
    if (beforeAccess) {
        beforeAccess(access);
    }
    accesses_.push_back(access);
}

std::int16_t ScriptedPort::Inp32(std::int16_t address) {
    std::int16_t reading = 0;
    if (!queue_.empty()) {
        reading = queue_.front();
    } else {
        reading = nextStandingIsSecond_ ? standing_.second : standing_.first;
    }
    const PortAccess access = read(address, reading);
    if (beforeAccess) {
        beforeAccess(access);
    }
    if (!queue_.empty()) {
        queue_.pop_front();
    } else {
        nextStandingIsSecond_ = !nextStandingIsSecond_;
    }
    accesses_.push_back(access);
    return reading;
}

void ScriptedPort::queueReadings(std::initializer_list<std::int16_t> readings) {
    queue_.insert(queue_.end(), readings);
}

void ScriptedPort::queueSample(std::uint8_t sample) {
    const auto [first, second] = readingsFor(sample);
    queue_.push_back(first);
    queue_.push_back(second);
}

void ScriptedPort::queueSamples(const std::vector<std::uint8_t>& samples) {
    for (const std::uint8_t sample : samples) {
        queueSample(sample);
    }
}

void ScriptedPort::setStandingSample(std::uint8_t sample) {
    standing_ = readingsFor(sample);
    nextStandingIsSecond_ = false;
}

} // namespace vistrace::testing
