#include "control_fixture.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace vistrace::testing {

void ControlTest::SetUp() {
    port = ScriptedPort();
    counter = FakeCounter(1'000'000, 1'000);
    watches_.clear();
    window = std::make_unique<ScopeWindow>(port, counter);
    port.beforeAccess = [this](const PortAccess&) {
        // By index: an action may add a watch. NOLINTNEXTLINE(modernize-loop-convert)
        for (std::size_t i = 0; i < watches_.size(); ++i) {
            if (watches_[i].first && watches_[i].first()) {
                watches_[i].first = nullptr;
                const std::function<void()> action = watches_[i].second;
                action();
            }
        }
    };
}

void ControlTest::TearDown() {
    boxPoll_.reset();
    window.reset();
    // A test that ended the program asked every event loop to quit, and until the
    // application's own loop has run again, modal boxes would return at once. Running it
    // briefly also drops whatever a test posted and nobody ran.
    QTimer::singleShot(0, [] { QApplication::exit(0); });
    QApplication::exec();
}

bool ControlTest::runEnabled() const {
    return window->Command4->isEnabled();
}

int ControlTest::bluePixels() const {
    const QImage layer = window->scope->runtimeLayer();
    int count = 0;
    for (int y = 0; y < layer.height(); ++y) {
        for (int x = 0; x < layer.width(); ++x) {
            count += static_cast<int>((layer.pixel(x, y) & 0xFFFFFFU) == 0x0000FFU);
        }
    }
    return count;
}

bool ControlTest::blueAt(int x, int y) const {
    return (window->scope->runtimeLayer().pixel(x, y) & 0xFFFFFFU) == 0x0000FFU;
}

void ControlTest::whenPort(std::function<bool()> condition, std::function<void()> action) {
    watches_.emplace_back(std::move(condition), std::move(action));
}

void ControlTest::answerNextBox(SeenBox& seen, std::function<void()> whileOpen) {
    boxPoll_ = std::make_unique<QTimer>();
    QTimer* poll = boxPoll_.get();
    QObject::connect(poll, &QTimer::timeout, [poll, &seen, whileOpen = std::move(whileOpen)] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll->stop();
            seen = {true, box->windowTitle(), box->text(), static_cast<int>(box->icon())};
            if (whileOpen) {
                whileOpen();
            }
            box->button(QMessageBox::Ok)->click();
        }
    });
    poll->start(5);
}

} // namespace vistrace::testing
