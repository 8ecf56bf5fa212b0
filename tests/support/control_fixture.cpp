#include "control_fixture.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace vistrace::testing {

ControlTest::ControlTest() {
    QObject::connect(&boxPoll_, &QTimer::timeout, [this] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes.push_back({box->text(), box->icon()});
            if (whileBoxOpen) {
                whileBoxOpen();
            }
            box->button(QMessageBox::Ok)->click();
        }
    });
}

void ControlTest::SetUp() {
    port = ScriptedPort();
    counter = FakeCounter(1'000'000'000, 50);
    port.clock = &counter;
    port.ticksPerAccess = 1'000;
    steps.clear();
    boxes.clear();
    whileBoxOpen = nullptr;
    boxPoll_.start(5);
    sweeps =
        std::make_unique<RealtimeSweeps>(scheduler, counter, RealtimeLimits{950'000, 1'000'000});
    counted = {};
    counted.inner = sweeps.get();
    binder = {};
    window = std::make_unique<ScopeWindow>(port, counter, counted, binder);
    port.beforeAccess = [this](const PortAccess&) {
        for (auto& [number, action] : steps) {
            if (action && number <= port.accesses.size()) {
                std::exchange(action, nullptr)();
            }
        }
    };
}

void ControlTest::TearDown() {
    boxPoll_.stop();
    window.reset();
    // A test that ended the program asked every event loop to quit, and modal boxes return at
    // once until the application's own loop has run again; that also drops what nobody ran.
    QTimer::singleShot(0, [] { QApplication::exit(0); });
    QApplication::exec();
}

int ControlTest::bluePixels() const {
    const QImage layer = window->scope->runtimeLayer().convertToFormat(QImage::Format_RGB32);
    const auto* pixels = reinterpret_cast<const QRgb*>(layer.constBits());
    return static_cast<int>(std::count(pixels, pixels + layer.sizeInBytes() / 4, qRgb(0, 0, 255)));
}

bool ControlTest::blueAt(int x, int y) const {
    return (window->scope->runtimeLayer().pixel(x, y) & 0xFFFFFFU) == 0x0000FFU;
}

} // namespace vistrace::testing
