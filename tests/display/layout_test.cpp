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
    const char* caption; // nullptr: the control has none
};

// The layout table in tab order, pixels at 15 twips each.
const Placement kControls[] = {
    {"scope", {88, 48, 509, 425}, nullptr},
    {"YOffset", {72, 48, 14, 425}, nullptr},
    {"Command4", {536, 528, 73, 33}, "Run"},
    {"Label1", {616, 96, 105, 17}, "Port Address"},
    {"Port_Address_Box", {624, 120, 49, 21}, nullptr},
    {"TimeBase_box", {160, 16, 105, 21}, nullptr},
    {"Label2", {80, 16, 65, 17}, "Time/Div"},
    {"Label8", {320, 16, 41, 17}, "V/Div"},
    {"VoltPerDiv_Box", {368, 16, 97, 21}, nullptr},
    {"XOffset", {88, 471, 508, 14}, nullptr},
    {"Command1", {424, 528, 89, 33}, "Reser Offset"},
    {"Label3", {608, 208, 73, 25}, "Trigger Mode"},
    {"trigger_mode_box", {608, 232, 81, 21}, nullptr},
    {"Label5", {608, 272, 73, 25}, "Trigger Slop"},
    {"Label6", {608, 336, 81, 25}, "Trigger Viltage"},
    {"trigger_slop_box", {608, 296, 73, 21}, nullptr},
    {"trigger_voltage_box", {608, 360, 65, 21}, nullptr},
    {"Command2", {632, 528, 49, 33}, "Stop"},
};

QString captionOf(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        return button->text();
    }
    return {};
}

TEST(WindowLayout, EveryControlHasItsNamePlaceSizeAndCaption) {
    TestWindow window;
    const QWidget* const members[] = {
        window.scope,
        window.YOffset,
        window.Command4,
        window.Label1,
        window.Port_Address_Box,
        window.TimeBase_box,
        window.Label2,
        window.Label8,
        window.VoltPerDiv_Box,
        window.XOffset,
        window.Command1,
        window.Label3,
        window.trigger_mode_box,
        window.Label5,
        window.Label6,
        window.trigger_slop_box,
        window.trigger_voltage_box,
        window.Command2,
    };
    for (std::size_t i = 0; i < std::size(kControls); ++i) {
        const Placement& expected = kControls[i];
        SCOPED_TRACE(expected.name);
        const QWidget* control = members[i];
        EXPECT_EQ(control->objectName(), QString::fromLatin1(expected.name));
        EXPECT_EQ(control->parentWidget(), window.centralWidget());
        EXPECT_EQ(control->geometry(), expected.geometry);
        EXPECT_EQ(captionOf(control),
                  expected.caption ? QString::fromLatin1(expected.caption) : QString());
    }
}

TEST(WindowLayout, ClientAreaIsFixedUnderTheMenuBar) {
    TestWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vistrace"));
    EXPECT_EQ(window.centralWidget()->size(), QSize(709, 570));
    EXPECT_EQ(window.centralWidget()->y(), window.menuBar()->height());
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.size(), QSize(709, window.menuBar()->height() + 570));

    const QList<QAction*> menus = window.menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->menu(), window.mnufile);
    EXPECT_EQ(menus[1]->menu(), window.mnuHelp);
    EXPECT_EQ(window.mnufile->title(), QStringLiteral("File"));
    EXPECT_EQ(window.mnuHelp->title(), QStringLiteral("Help"));
    EXPECT_EQ(window.mnufile->actions(), QList<QAction*>{window.mnuexit});
    EXPECT_EQ(window.mnuHelp->actions(), QList<QAction*>{window.mnuabout});
    EXPECT_EQ(window.mnuexit->text(), QStringLiteral("Exit"));
    EXPECT_EQ(window.mnuabout->text(), QStringLiteral("About"));
    EXPECT_TRUE(window.mnuexit->shortcut().isEmpty());
    EXPECT_TRUE(window.mnuabout->shortcut().isEmpty());
}

TEST(WindowLayout, TabVisitsTheControlsInTableOrderSkippingLabels) {
    TestWindow window;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.scope->setFocus();

    QStringList visited;
    for (const Placement& control : kControls) {
        if (QString::fromLatin1(control.name).startsWith(QStringLiteral("Label"))) {
            continue;
        }
        QWidget* focus = QApplication::focusWidget();
        while (focus && focus->objectName().isEmpty()) { // an editable selector's text field
            focus = focus->parentWidget();
        }
        visited << (focus ? focus->objectName() : QString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited,
              (QStringList{"scope", "YOffset", "Command4", "Port_Address_Box", "TimeBase_box",
                           "VoltPerDiv_Box", "XOffset", "Command1", "trigger_mode_box",
                           "trigger_slop_box", "trigger_voltage_box", "Command2"}));
}

TEST(WindowLayout, ScrollBarsHaveTheirRangesStepsAndStartPositions) {
    TestWindow window;
    struct Expected {
        QScrollBar* bar;
        Qt::Orientation orientation;
        int minimum, maximum, value, smallChange, largeChange;
    };
    for (const Expected& e : {Expected{window.XOffset, Qt::Horizontal, -500, 500, 0, 1, 100},
                              Expected{window.YOffset, Qt::Vertical, 1, 420, 212, 1, 50}}) {
        SCOPED_TRACE(e.bar->objectName().toStdString());
        EXPECT_EQ(e.bar->orientation(), e.orientation);
        EXPECT_EQ(e.bar->minimum(), e.minimum);
        EXPECT_EQ(e.bar->maximum(), e.maximum);
        EXPECT_EQ(e.bar->value(), e.value);
        EXPECT_EQ(e.bar->singleStep(), e.smallChange);
        EXPECT_EQ(e.bar->pageStep(), e.largeChange);
        EXPECT_FALSE(e.bar->invertedAppearance());
        // A drag must report scrolling while it lasts and one change at its end.
        EXPECT_FALSE(e.bar->hasTracking());
    }
}

TEST(WindowLayout, LabelsAndSelectorsLookAsSpecified) {
    TestWindow window;
    for (QLabel* label : {window.Label1, window.Label2, window.Label3, window.Label5, window.Label6,
                          window.Label8}) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_TRUE(label->alignment() & Qt::AlignLeft);
        EXPECT_TRUE(label->autoFillBackground());
        EXPECT_EQ(label->backgroundRole(), QPalette::Button);
        EXPECT_EQ(label->foregroundRole(), QPalette::ButtonText);
        const bool bold = label == window.Label2 || label == window.Label8;
        if (bold) {
            EXPECT_EQ(label->font().family(), QStringLiteral("MS Sans Serif"));
            EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 9.75);
            EXPECT_EQ(label->font().weight(), QFont::Bold);
            EXPECT_FALSE(label->font().italic());
            EXPECT_FALSE(label->font().underline());
        } else {
            EXPECT_EQ(label->font(), window.font());
        }
    }
    for (QComboBox* list : {window.Port_Address_Box, window.TimeBase_box, window.VoltPerDiv_Box}) {
        EXPECT_FALSE(list->isEditable());
        EXPECT_EQ(list->count(), 0);
    }
    for (QComboBox* combo :
         {window.trigger_mode_box, window.trigger_slop_box, window.trigger_voltage_box}) {
        EXPECT_TRUE(combo->isEditable());
        EXPECT_EQ(combo->count(), 0);
    }
}

TEST(WindowLayout, WindowRulesArePaintedAtTheirRows) {
    TestWindow window;
    const QImage client =
        window.centralWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb text = window.palette().color(QPalette::WindowText).rgb();
    const QRgb background = window.palette().color(QPalette::Window).rgb();
    ASSERT_NE(text, background);
    struct Rule {
        int y, fromX, toX;
    };
    for (const Rule rule :
         {Rule{512, 0, 703}, Rule{72, 608, 695}, Rule{184, 608, 695}, Rule{416, 608, 695}}) {
        SCOPED_TRACE(rule.y);
        for (int x = rule.fromX; x <= rule.toX; ++x) {
            ASSERT_EQ(client.pixel(x, rule.y), text) << "x " << x;
        }
        EXPECT_EQ(client.pixel(rule.toX + 2, rule.y), background);
        EXPECT_EQ(client.pixel(rule.fromX + 10, rule.y - 1), background);
        EXPECT_EQ(client.pixel(rule.fromX + 10, rule.y + 1), background);
    }
    // The top-edge rule, partly covered by its dotted companions, runs to the right edge.
    int ruleOnTopEdge = 0;
    for (int x = 600; x < 709; ++x) {
        ruleOnTopEdge += client.pixel(x, 0) == text ? 1 : 0;
    }
    EXPECT_GT(ruleOnTopEdge, 50);
}

} // namespace
} // namespace vistrace::test
