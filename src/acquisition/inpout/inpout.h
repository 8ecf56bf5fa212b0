#pragma once

#include <cstdint>

namespace vistrace {

// A parallel port's status register is the next address up from its data register, the
// port's base address.
inline constexpr int kStatusRegisterOffset = 1;

// The port I/O library: one byte out to, or in from, an I/O address. Back ends may throw
// PortError when the port cannot be reached.
class PortIo {
public:
    virtual ~PortIo() = default;

    // Writes the low byte of value to the port at address.
    virtual void Out32(std::int16_t address, int value) = 0;
    // The byte present at address, 0 to 255 from any working port.
    virtual std::int16_t Inp32(std::int16_t address) = 0;

protected:
    PortIo() = default;
    PortIo(const PortIo&) = default;
    PortIo& operator=(const PortIo&) = default;
};

// The high-resolution counter. A frequency of 0 means there is none.
class PerformanceCounter {
public:
    virtual ~PerformanceCounter() = default;

    // Nonzero when the counter exists; frequency then holds its ticks per second.
    virtual std::int32_t QueryPerformanceFrequency(std::int64_t& frequency) = 0;
    virtual std::int32_t QueryPerformanceCounter(std::int64_t& count) = 0;

protected:
    PerformanceCounter() = default;
    PerformanceCounter(const PerformanceCounter&) = default;
    PerformanceCounter& operator=(const PerformanceCounter&) = default;
};

} // namespace vistrace
