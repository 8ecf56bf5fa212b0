#include "test_window.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace vistrace::test {
namespace {

TEST(Menus, AboutShowsTheVersionWithABlankTitleAndNoIcon) {
    TestWindow window;
    window.show();
    QMessageBox* shown = nullptr;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll.stop();
            shown = box;
            EXPECT_EQ(box->text(), QStringLiteral("Vistrace for Windows Ver 1.00"));
            EXPECT_EQ(box->windowTitle(), QStringLiteral(" "));
            EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
            box->accept();
        }
    });
    poll.start(10);
    // Should the box never be found, closing it fails the test instead of hanging it.
    QTimer::singleShot(5000, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    });
    window.mnuabout->trigger();
    EXPECT_NE(shown, nullptr);
    EXPECT_FALSE(window.ending());
}

TEST(Menus, ExitEndsTheProgram) {
    TestWindow window;
    window.show();
    QTimer::singleShot(0, window.mnuexit, &QAction::trigger);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(window.ending());
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace vistrace::test
