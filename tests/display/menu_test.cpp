#include "test_window.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace vistrace::test {
namespace {

TEST(Menus, AboutShowsTheVersionWithABlankTitleAndNoIcon) {
    TestWindow window;
    window.show();
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::Critical;
    QMessageBox::StandardButtons buttons;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll.stop();
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            buttons = box->standardButtons();
            box->accept();
        }
    });
    poll.start();
    // Were the box never found, this closes it so that the test fails instead of hanging.
    QTimer::singleShot(5000, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    });
    window.mnuabout->trigger();

    EXPECT_EQ(text, QStringLiteral("Vistrace for Windows Ver 1.00"));
    EXPECT_EQ(title, QStringLiteral(" "));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttons, QMessageBox::Ok);
    EXPECT_FALSE(window.ending());
}

TEST(Menus, ExitEndsTheProgramAndNoHandlerRunsAfterIt) {
    TestWindow window;
    window.show();
    QTimer::singleShot(0, window.mnuexit, &QAction::trigger);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(window.ending());
    EXPECT_EQ(window.exitCode(), 0);
    EXPECT_FALSE(window.isVisible());
    const int runs = window.handlerRuns;
    window.Command2->click();
    EXPECT_EQ(window.handlerRuns, runs);
}

TEST(Menus, ExitFromInsideARunningLoopDoesNotReturnToIt) {
    TestWindow window;
    window.show();
    int passes = 0;
    window.runBody = [&] {
        for (;;) {
            if (++passes == 3) {
                QTimer::singleShot(0, window.mnuexit, &QAction::trigger);
            }
            window.pumpEvents();
        }
    };
    QTimer::singleShot(0, window.Command4, &QPushButton::click);
    // Should Exit fail to unwind the loop, this ends the wait and the test fails.
    QTimer::singleShot(5000, [] { QApplication::exit(2); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(window.ending());
    EXPECT_EQ(passes, 3);
}

TEST(Menus, ClosingTheWindowEndsTheProgramLikeExit) {
    TestWindow window;
    window.show();
    QTimer::singleShot(0, &window, &QWidget::close);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(window.ending());
    EXPECT_EQ(window.exitCode(), 0);
}

} // namespace
} // namespace vistrace::test
