#include "test_window.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace vistrace::test {
namespace {

struct Placement {
    const char* name;
    QRect geometry;
    const char* caption;
};

// The layout table in tab order, pixels at 15 twips each.
const Placement kControls[] = {
    {"scope", {88, 48, 509, 425}, ""},
    {"YOffset", {72, 48, 14, 425}, ""},
    {"Command4", {536, 528, 73, 33}, "Run"},
    {"Label1", {616, 96, 105, 17}, "Port Address"},
    {"Port_Address_Box", {624, 120, 49, 21}, ""},
    {"TimeBase_box", {160, 16, 105, 21}, ""},
    {"Label2", {80, 16, 65, 17}, "Time/Div"},
    {"Label8", {320, 16, 41, 17}, "V/Div"},
    {"VoltPerDiv_Box", {368, 16, 97, 21}, ""},
    {"XOffset", {88, 471, 508, 14}, ""},
    {"Command1", {424, 528, 89, 33}, "Reser Offset"},
    {"Label3", {608, 208, 73, 25}, "Trigger Mode"},
    {"trigger_mode_box", {608, 232, 81, 21}, ""},
    {"Label5", {608, 272, 73, 25}, "Trigger Slop"},
    {"Label6", {608, 336, 81, 25}, "Trigger Viltage"},
    {"trigger_slop_box", {608, 296, 73, 21}, ""},
    {"trigger_voltage_box", {608, 360, 65, 21}, ""},
    {"Command2", {632, 528, 49, 33}, "Stop"},
};

TEST(WindowLayout, EveryControlHasItsNamePlaceCaptionAndLook) {
    TestWindow window;
    for (const Placement& expected : kControls) {
        SCOPED_TRACE(expected.name);
        auto* control = window.centralWidget()->findChild<QWidget*>(expected.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->geometry(), expected.geometry);
        QString caption;
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            caption = button->text();
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            caption = label->text();
            EXPECT_TRUE(label->alignment() & Qt::AlignLeft);
            EXPECT_TRUE(label->autoFillBackground());
            EXPECT_EQ(label->backgroundRole(), QPalette::Button);
            const bool bold = label == window.Label2 || label == window.Label8;
            EXPECT_EQ(label->font().bold(), bold);
            if (bold) {
                EXPECT_EQ(label->font().family(), QStringLiteral("MS Sans Serif"));
                EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 9.75);
            }
        } else if (auto* box = qobject_cast<QComboBox*>(control)) {
            EXPECT_EQ(box->isEditable(), QString(expected.name).startsWith("trigger"));
            EXPECT_EQ(box->count(), 0);
        }
        EXPECT_EQ(caption, QString::fromLatin1(expected.caption));
    }
    // The members the rest of the program uses are the controls of those names.
    EXPECT_EQ(window.Label6->objectName(), QStringLiteral("Label6"));
    EXPECT_EQ(window.trigger_slop_box->objectName(), QStringLiteral("trigger_slop_box"));
}

TEST(WindowLayout, ScrollBarsHaveTheirRangesStepsAndStartPositions) {
    TestWindow window;
    for (auto [bar, orientation, minimum, maximum, value, small, large] :
         {std::tuple{window.XOffset, Qt::Horizontal, -500, 500, 0, 1, 100},
          std::tuple{window.YOffset, Qt::Vertical, 1, 420, 212, 1, 50}}) {
        EXPECT_EQ(bar->orientation(), orientation);
        EXPECT_EQ(std::tuple(bar->minimum(), bar->maximum(), bar->value()),
                  std::tuple(minimum, maximum, value));
        EXPECT_EQ(std::pair(bar->singleStep(), bar->pageStep()), std::pair(small, large));
        // A drag reports scrolling while it lasts and one change at its end.
        EXPECT_FALSE(bar->hasTracking());
    }
}

TEST(WindowLayout, FixedClientAreaUnderTheMenus) {
    TestWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vistrace"));
    EXPECT_EQ(window.centralWidget()->geometry(), QRect(0, window.menuBar()->height(), 709, 570));
    EXPECT_EQ(window.size(), QSize(709, window.menuBar()->height() + 570));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.menuBar()->actions(),
              (QList{window.mnufile->menuAction(), window.mnuHelp->menuAction()}));
    EXPECT_EQ(window.mnufile->title() + window.mnuHelp->title(), QStringLiteral("FileHelp"));
    EXPECT_EQ(window.mnufile->actions(), QList{window.mnuexit});
    EXPECT_EQ(window.mnuHelp->actions(), QList{window.mnuabout});
    EXPECT_EQ(window.mnuexit->text() + window.mnuabout->text(), QStringLiteral("ExitAbout"));
}

TEST(WindowLayout, TabVisitsTheControlsInTableOrderSkippingLabels) {
    TestWindow window;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.scope->setFocus();
    QStringList expected;
    QStringList visited;
    for (const Placement& control : kControls) {
        if (!QString(control.name).startsWith("Label")) {
            expected << control.name;
            QWidget* focus = QApplication::focusWidget();
            while (focus && focus->objectName().isEmpty()) { // an editable selector's field
                focus = focus->parentWidget();
            }
            visited << (focus ? focus->objectName() : QString());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    }
    EXPECT_EQ(visited, expected);
}

TEST(WindowLayout, WindowRulesArePaintedAtTheirRows) {
    TestWindow window;
    const QImage client =
        window.centralWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb text = window.palette().color(QPalette::WindowText).rgb();
    const QRgb background = window.palette().color(QPalette::Window).rgb();
    for (auto [y, fromX, toX] : {std::tuple{512, 0, 703}, std::tuple{72, 608, 695},
                                 std::tuple{184, 608, 695}, std::tuple{416, 608, 695}}) {
        for (int x = fromX; x <= toX; ++x) {
            ASSERT_EQ(client.pixel(x, y), text) << x << "," << y;
        }
        EXPECT_EQ(client.pixel(toX + 2, y), background);
        EXPECT_EQ(client.pixel(fromX + 10, y - 1), background);
        EXPECT_EQ(client.pixel(fromX + 10, y + 1), background);
    }
}

} // namespace
} // namespace vistrace::test
