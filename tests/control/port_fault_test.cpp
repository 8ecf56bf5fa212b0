#include "control_fixture.h"
#include "ppdev_port.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vistrace::testing {
namespace {

namespace fs = std::filesystem;

// The real ppdev back end on a fake /proc tree with one port at 0x378, whose device calls
// answer like a working port until the test pulls the device away.
class PortFaults : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("vistrace-faults-" + std::to_string(::getpid()));
        fs::create_directories(root / "proc" / "parport0");
        std::ofstream(root / "proc" / "parport0" / "base-addr") << "888\t1912\n";
    }

    void TearDown() override {
        window.reset();
        port.reset();
        fs::remove_all(root);
        QTimer::singleShot(0, [] { QApplication::exit(0); });
        QApplication::exec();
    }

    DeviceCalls deviceCalls() {
        DeviceCalls calls;
        calls.open = [this](const char* path, int) {
            openedPath = path;
            if (openError != 0) {
                errno = openError;
                return -1;
            }
            return 42;
        };
        calls.ioctl = [this](int, unsigned long request, void* argument) {
            if (failAfterCalls >= 0 && ++ioctlCalls > failAfterCalls) {
                errno = ENODEV;
                return -1;
            }
            if (request == PPRSTATUS) {
                *static_cast<unsigned char*>(argument) = statusReading;
            }
            return 0;
        };
        calls.close = [](int) { return 0; };
        return calls;
    }

    void start() {
        port = std::make_unique<PpdevPort>(root / "proc", root / "dev", deviceCalls());
        window = std::make_unique<ScopeWindow>(*port, counter);
        answer(startBox_);
        window->load();
        ASSERT_FALSE(startBox_.shown) << startBox_.text.toStdString();
    }

    void expectDeviceGoneReport(const SeenBox& box) const {
        EXPECT_EQ(box.title, "Vistrace");
        EXPECT_EQ(box.icon, static_cast<int>(QMessageBox::Critical));
        EXPECT_TRUE(box.text.contains(QString::fromStdString(openedPath)));
        EXPECT_TRUE(box.text.contains("0x378"));
        EXPECT_TRUE(box.text.contains(QString::fromLatin1(std::strerror(ENODEV))));
        EXPECT_TRUE(window->ending());
        EXPECT_EQ(window->exitCode(), 1);
        EXPECT_FALSE(window->loopRunning());
    }

    // Answers the next message box, noting it.
    void answer(SeenBox& seen) {
        poll_ = std::make_unique<QTimer>();
        QObject::connect(poll_.get(), &QTimer::timeout, [this, &seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr) {
                poll_->stop();
                seen =
                    SeenBox{true, box->windowTitle(), box->text(), static_cast<int>(box->icon())};
                box->button(QMessageBox::Ok)->click();
            }
        });
        poll_->start(5);
    }

    fs::path root;
    FakeCounter counter{1'000'000, 1'000};
    std::unique_ptr<PpdevPort> port;
    std::unique_ptr<ScopeWindow> window;
    std::string openedPath;
    int openError = 0;
    int ioctlCalls = 0;
    int failAfterCalls = -1;
    unsigned char statusReading = 0x70; // both halves 0x70: sample 0

private:
    std::unique_ptr<QTimer> poll_;
    SeenBox startBox_;
};

TEST_F(PortFaults, NoPortAtTheAddressEndsStartUpWithTheAddressNamed) {
    fs::remove_all(root / "proc" / "parport0");
    SeenBox box;
    port = std::make_unique<PpdevPort>(root / "proc", root / "dev", deviceCalls());
    window = std::make_unique<ScopeWindow>(*port, counter);
    answer(box);
    window->load();

    EXPECT_EQ(box.text, "No parallel port at I/O address 0x378");
    EXPECT_EQ(box.title, "Vistrace");
    EXPECT_EQ(box.icon, static_cast<int>(QMessageBox::Critical));
    EXPECT_TRUE(window->ending());
    EXPECT_EQ(window->exitCode(), 1);
}

TEST_F(PortFaults, NoPermissionNamesTheDeviceAndTheRemedy) {
    openError = EACCES;
    SeenBox box;
    port = std::make_unique<PpdevPort>(root / "proc", root / "dev", deviceCalls());
    window = std::make_unique<ScopeWindow>(*port, counter);
    answer(box);
    window->load();

    EXPECT_TRUE(box.text.contains(QString::fromStdString((root / "dev" / "parport0").string())));
    EXPECT_TRUE(box.text.contains("lp group"));
    EXPECT_EQ(window->exitCode(), 1);
}

TEST_F(PortFaults, TheDeviceGoingAwayMidCaptureKeepsTheLastGoodSweep) {
    start();
    window->Command1->click(); // a good sweep: every sample 0
    statusReading = 0x00;      // every later sample would read 119
    failAfterCalls = ioctlCalls + 6 * 100;
    SeenBox box;
    answer(box);
    window->Command4->click();

    expectDeviceGoneReport(box);
    for (int i = 1; i <= 500; ++i) {
        ASSERT_EQ(window->state.samples[i], 0) << "sample " << i;
    }
}

TEST_F(PortFaults, TheDeviceGoingAwayInATriggerWaitIsReported) {
    start();
    window->Command1->click();
    window->trigger_mode_box->setCurrentIndex(1); // a constant input never triggers
    failAfterCalls = ioctlCalls + 12 * 50;
    SeenBox box;
    answer(box);
    window->Command4->click();

    expectDeviceGoneReport(box);
    EXPECT_EQ(window->state.samples[1], 0);
}

} // namespace
} // namespace vistrace::testing
