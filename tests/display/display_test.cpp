#include "form1.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <array>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <tuple>

namespace vistrace {
namespace {

// The window without operator control: its handlers do nothing.
class TestWindow : public Form1 {
public:
    void Form_Load() override {}
    void Command4_Click() override {}
    void Command2_Click() override {}
    void Command1_Click() override {}
    void Port_Address_Box_Click() override {}
    void TimeBase_box_Click() override {}
    void VoltPerDiv_Box_Click() override {}
    void trigger_voltage_box_Click() override {}
    void XOffset_Change() override {}
    void XOffset_Scroll() override {}
    void YOffset_Change() override {}
    void YOffset_Scroll() override {}
};

// The layout table in tab order: name, x, y, width, height in client pixels (twips / 15), caption.
using LayoutRow = std::tuple<const char*, int, int, int, int, const char*>;
const auto kLayout = std::to_array<LayoutRow>({
    {"scope", 88, 48, 509, 425, ""},
    {"YOffset", 72, 48, 14, 425, ""},
    {"Command4", 536, 528, 73, 33, "Run"},
    {"Label1", 616, 96, 105, 17, "Port Address"},
    {"Port_Address_Box", 624, 120, 49, 21, ""},
    {"TimeBase_box", 160, 16, 105, 21, ""},
    {"Label2", 80, 16, 65, 17, "Time/Div"},
    {"Label8", 320, 16, 41, 17, "V/Div"},
    {"VoltPerDiv_Box", 368, 16, 97, 21, ""},
    {"XOffset", 88, 471, 508, 14, ""},
    {"Command1", 424, 528, 89, 33, "Reser Offset"},
    {"Label3", 608, 208, 73, 25, "Trigger Mode"},
    {"trigger_mode_box", 608, 232, 81, 21, ""},
    {"Label5", 608, 272, 73, 25, "Trigger Slop"},
    {"Label6", 608, 336, 81, 25, "Trigger Viltage"},
    {"trigger_slop_box", 608, 296, 73, 21, ""},
    {"trigger_voltage_box", 608, 360, 65, 21, ""},
    {"Command2", 632, 528, 49, 33, "Stop"},
});

TEST(Window, EveryControlHasItsTablePlaceCaptionAndTabStop) {
    TestWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(window.centralWidget()->geometry(), QRect(0, window.menuBar()->height(), 709, 570));
    window.scope->setFocus();
    for (auto [name, x, y, width, height, caption] : kLayout) {
        SCOPED_TRACE(name);
        auto* control = window.centralWidget()->findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->geometry(), QRect(x, y, width, height));
        // Buttons and labels have a text; screen, scroll bars and selectors have none.
        EXPECT_EQ(control->property("text").toString(), QString::fromLatin1(caption));
        if (!QString(name).startsWith("Label")) { // Tab passes over labels.
            QWidget* focus = QApplication::focusWidget();
            ASSERT_TRUE(focus == control || control->isAncestorOf(focus));
            QTest::keyClick(focus, Qt::Key_Tab);
        }
    }
}

TEST(Window, TypingIntoATriggerSelectorNeverSelectsAndEnterOrLeavingPutsTheItemBack) {
    TestWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (QComboBox* box :
         {window.trigger_mode_box, window.trigger_slop_box, window.trigger_voltage_box}) {
        box->addItems({"None", "Repeat", "Single"});
        box->setCurrentIndex(0);
        SCOPED_TRACE(box->objectName().toStdString());
        for (const bool byEnter : {true, false}) {
            box->setFocus();
            box->clearEditText();
            QTest::keyClicks(box, QStringLiteral("Repeat"));
            EXPECT_EQ(box->currentText(), QStringLiteral("Repeat")) << "the typing went elsewhere";
            byEnter ? QTest::keyClick(box, Qt::Key_Return) : window.scope->setFocus();
            EXPECT_EQ(box->currentText(), QStringLiteral("None")) << byEnter;
            EXPECT_EQ(box->currentIndex(), 0);
        }
    }
}

TEST(Menus, AboutShowsTheVersionAndExitEndsTheProgram) {
    TestWindow window;
    window.show();
    QStringList shown;
    // Runs inside the box's own loop; closing whatever is modal keeps a fault from hanging.
    QTimer::singleShot(0, &window, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            shown = {box->windowTitle(), box->property("text").toString()};
            box->close();
        }
    });
    window.mnuabout->trigger();
    EXPECT_EQ(shown, (QStringList{" ", "Vistrace for Windows Ver 1.00"}));
    QTimer::singleShot(0, window.mnuexit, &QAction::trigger);
    QTimer::singleShot(5000, &window, [] { QApplication::exit(1); }); // Exit did nothing
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(window.ending());
    EXPECT_FALSE(window.isVisible());
}

// The graticule in client pixels, from the layout's twips: columns at 754·k twips from row 10
// to 410, rows at 10 + 40·k from column 0 to 502; the centre lines are column 251 and row 210.
const std::set<int> kColumns{50, 100, 150, 201, 251, 301, 351, 402, 452};
const std::set<int> kRows{10, 50, 90, 130, 170, 210, 250, 290, 330, 370, 410};

QImage shownClient(ScopeScreen& screen) {
    const QImage shown = screen.grab().toImage().convertToFormat(QImage::Format_RGB32);
    return shown.copy(screen.contentsRect());
}

TEST(Graticule, TwentyDottedLinesAboveTheDrawingThroughAClearInLightAndDarkPalettes) {
    // Qt derives a whole palette from its button colour; this one is dark.
    for (const QPalette& palette : {QApplication::palette(), QPalette(QColor(53, 53, 53))}) {
        ScopeScreen screen;
        screen.setPalette(palette);
        screen.setForeColor(Qt::blue);
        screen.setDrawWidth(9);
        screen.line(0, 210, 500, 210);
        const QImage drawn = shownClient(screen);
        screen.clear();
        const QImage shown = shownClient(screen);
        const QRgb background = shown.pixel(1, 1);
        const QRgb grid = shown.pixel(50, 10);
        EXPECT_GE(std::abs(qGray(grid) - qGray(background)), 85) << "a grid hard to see";
        EXPECT_EQ(drawn.pixel(1, 209), qRgb(0, 0, 255));
        std::map<int, int> columnDots;
        std::map<int, int> rowDots;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb pixel = shown.pixel(x, y);
                const bool onColumn = kColumns.contains(x) && y >= 10 && y <= 410;
                const bool onRow = kRows.contains(y) && x <= 502;
                ASSERT_TRUE(pixel == background || onColumn || onRow) << "stray " << x << "," << y;
                ASSERT_TRUE(pixel == background || pixel == drawn.pixel(x, y)) << x << "," << y;
                columnDots[x] +=
                    static_cast<int>(onColumn && pixel == (x == 251 ? qRgb(255, 0, 0) : grid));
                rowDots[y] +=
                    static_cast<int>(onRow && pixel == (y == 210 ? qRgb(255, 0, 0) : grid));
            }
        }
        // Dotted: every other pixel of a line, give or take its crossings.
        for (int x : kColumns) {
            EXPECT_NEAR(columnDots[x], 200, 20) << "column " << x;
        }
        for (int y : kRows) {
            EXPECT_NEAR(rowDots[y], 251, 25) << "row " << y;
        }
    }
}

// The pixel column of a horizontal screen unit: 15.08096 twips a unit at 15 twips a pixel.
int columnOf(int unit) {
    return static_cast<int>(unit * 15.08096 / 15.0);
}

// The window at the start-up settings: 2mS/Div, 5V/Div.
class Trace : public ::testing::Test {
protected:
    void SetUp() override {
        window.state.sample_count = 500;
        window.state.x_step = 1;
        window.state.trace_width = 3;
        window.state.volts_gain = FixedDecimal::fromTenThousandths(3600);
    }

    // Draws afresh; gives the rows drawn in each pixel column, each pixel pure blue.
    std::map<int, std::set<int>> draw() {
        window.scope->clear();
        window.drawtrace();
        const QImage layer = window.scope->runtimeLayer();
        std::map<int, std::set<int>> rows;
        for (int y = 0; y < layer.height(); ++y) {
            for (int x = 0; x < layer.width(); ++x) {
                if (qAlpha(layer.pixel(x, y)) != 0) {
                    EXPECT_EQ(layer.pixel(x, y), qRgb(0, 0, 255)) << x << "," << y;
                    rows[x].insert(y);
                }
            }
        }
        return rows;
    }

    TestWindow window;
};

TEST_F(Trace, ConstantSweepsSpanUnits1To500OnTheirRowAtTheThumbOffset) {
    // Sample 128 is 0 V, on the offset row 212; 0 lies 128 x 0.36 above it, at 165.92.
    for (auto [level, rows] :
         {std::pair{128, std::set{211, 212, 213}}, std::pair{0, std::set{164, 165, 166}}}) {
        for (int i = 1; i <= 500; ++i) {
            window.state.samples[i] = static_cast<std::uint8_t>(level);
        }
        auto drawn = draw();
        for (int unit = 1; unit <= 500; ++unit) {
            ASSERT_EQ(drawn[columnOf(unit)], rows) << "unit " << unit;
        }
        EXPECT_TRUE(drawn[504].empty()) << "drawn past unit 500";
    }
    // While the thumb is dragged, the offset is where it is, not where it will be let go.
    window.YOffset->setSliderDown(true);
    window.YOffset->setSliderPosition(300);
    EXPECT_EQ(draw()[columnOf(250)], (std::set{252, 253, 254}));
}

TEST_F(Trace, EachSegmentSpansOneUnitSoWiderStepsLeaveGaps) {
    window.state.trace_width = 1;
    window.state.volts_gain = FixedDecimal::fromInteger(1);
    for (int i = 1; i <= 500; ++i) {
        window.state.samples[i] = i % 2 != 0 ? 108 : 148; // rows 192 and 232 at gain 1
    }
    const auto rowOf = [](int sample) { return sample % 2 != 0 ? 192 : 232; };
    for (auto [step, count] : {std::pair{2, 249}, std::pair{3, 166}}) {
        window.state.x_step = static_cast<std::uint8_t>(step);
        window.state.sample_count = static_cast<std::int16_t>(count);
        auto drawn = draw();
        for (int i = 1; i < count; ++i) {
            SCOPED_TRACE(testing::Message() << "x_step " << step << ", sample " << i);
            ASSERT_TRUE(drawn[columnOf(step * i)].contains(rowOf(i)));
            ASSERT_TRUE(drawn[columnOf(step * i + 1)].contains(rowOf(i + 1)));
            ASSERT_TRUE(step == 2 || drawn[columnOf(step * i + 2)].empty());
        }
    }
}

TEST_F(Trace, OneSampleOrFewerDrawsNothing) {
    for (const int count : {1, 0, -1}) {
        window.state.sample_count = static_cast<std::int16_t>(count);
        EXPECT_TRUE(draw().empty()) << "sample_count " << count;
    }
}

} // namespace
} // namespace vistrace

int main(int argc, char** argv) {
    // CTest sets the platform too; this keeps a direct run and test discovery off any display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
