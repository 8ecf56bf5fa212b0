#pragma once

#include "fakes.h"
#include "port_address.h"
#include "realtime_sweeps.h"
#include "scope_window.h"

#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace vistrace::testing {

inline constexpr std::size_t kSweep = std::size_t{500} * 6; // port accesses of a default capture
inline constexpr std::size_t kPair = 12;                    // port accesses of one trigger pair
// Port accesses that time a new port: six a pseudo-sample.
inline constexpr std::size_t kTiming =
    std::size_t{SweepTiming::kBatches} * SweepTiming::kSamplesPerBatch * 6;

// Passes sweeps on to the instrument's own, counting those that complete.
struct CountedSweeps final : SweepCapture {
    void readport(ScopeState& state, PortIo& port, PerformanceCounter& counter,
                  const SweepTiming& timing) override {
        inner->readport(state, port, counter, timing);
        ++count;
    }
    SweepCapture* inner = nullptr;
    int count = 0;
};

// Records what the window asks of its binder: "bind 0x378", "release".
struct RecordingBinder final : PortBinder {
    [[nodiscard]] std::vector<ParallelPort> machinePorts() const override { return {}; }
    void bind(int baseAddress) override {
        calls.push_back("bind " + hexAddress(baseAddress));
        if (unreachable) {
            throw PortUnreachable("unreachable");
        }
    }
    void release() override { calls.emplace_back("release"); }
    std::vector<std::string> calls;
    bool unreachable = false;
};

// What a modal message box showed before it was answered.
struct SeenBox {
    QString text;
    int icon;
};

// The pixel column of a horizontal screen unit: 15.08096 twips a unit at 15 twips a pixel.
inline int columnOf(int unit) {
    return static_cast<int>(unit * 15.08096 / 15.0);
}

// A fresh window on a scripted port of 1 us an access, timed on the counter; its sweeps are raised
// as vistrace's are, on a fake scheduler. Every modal box is noted in boxes and answered with OK,
// whileBoxOpen running first. SetUp may run again inside a test, for a fresh window.
class ControlTest : public ::testing::Test {
protected:
    ControlTest();
    void SetUp() override;
    void TearDown() override;

    // Pure blue pixels of the screen's run-time drawing, in all or at one pixel.
    [[nodiscard]] int bluePixels() const;
    [[nodiscard]] bool blueAt(int x, int y) const;

    ScriptedPort port;
    FakeCounter counter;
    FakeScheduler scheduler;
    std::unique_ptr<RealtimeSweeps> sweeps;
    CountedSweeps counted;
    RecordingBinder binder;
    std::unique_ptr<ScopeWindow> window;
    std::vector<SeenBox> boxes;
    std::function<void()> whileBoxOpen;
    // Each runs before the port access of its number, counted from 0 as accesses are.
    std::vector<std::pair<std::size_t, std::function<void()>>> steps;

private:
    QTimer boxPoll_;
};

} // namespace vistrace::testing
