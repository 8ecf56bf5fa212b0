#include "control_fixture.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace vistrace::testing {

void ControlTest::SetUp() {
    window = std::make_unique<ScopeWindow>(port, counter);
    port.beforeAccess = [this](const PortAccess&) {
        for (Watch& watch : watches_) {
            if (!watch.done && watch.condition()) {
                watch.done = true;
                watch.action();
            }
        }
    };
}

void ControlTest::TearDown() {
    port.beforeAccess = nullptr;
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
            if ((layer.pixel(x, y) & 0xFFFFFFU) == 0x0000FFU) {
                ++count;
            }
        }
    }
    return count;
}

void ControlTest::post(QObject* context, std::function<void()> action) {
    QTimer::singleShot(0, context, std::move(action));
}

void ControlTest::whenPort(std::function<bool()> condition, std::function<void()> action) {
    watches_.push_back(Watch{std::move(condition), std::move(action)});
}

void ControlTest::answerNextBox(SeenBox& seen, std::function<void()> whileOpen) {
    boxPoll_ = std::make_unique<QTimer>();
    QTimer* poll = boxPoll_.get();
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, &seen, whileOpen = std::move(whileOpen)] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        poll->stop();
        seen.shown = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = static_cast<int>(box->icon());
        if (whileOpen) {
            whileOpen();
        }
        box->button(QMessageBox::Ok)->click();
    });
    poll->start();
}

} // namespace vistrace::testing
