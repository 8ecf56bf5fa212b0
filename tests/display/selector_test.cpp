#include "test_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace vistrace::test {
namespace {

const QStringList kModes{"None", "Repeat", "Single"};

TEST(Selectors, FillingSelectsNothingAndOnlyCodeOrThePickSelects) {
    TestWindow window;
    for (QComboBox* box : window.findChildren<QComboBox*>()) {
        SCOPED_TRACE(box->objectName().toStdString());
        const int runsBefore = window.handlerRuns;
        box->addItems(kModes);
        EXPECT_EQ(box->currentIndex(), -1);
        EXPECT_EQ(window.handlerRuns, runsBefore);
        box->setCurrentIndex(0);
        EXPECT_EQ(box->currentIndex(), 0);
    }
    // Handlers belong to four of the six; each ran once, when code selected.
    EXPECT_EQ(window.handlerRuns, 4);
}

class EditableSelector : public ::testing::TestWithParam<int> {};

TEST_P(EditableSelector, TypingThenEnterOrLeavingChangesNothing) {
    TestWindow window;
    QComboBox* const boxes[] = {window.trigger_mode_box, window.trigger_slop_box,
                                window.trigger_voltage_box};
    QComboBox* box = boxes[GetParam()];
    box->addItems(kModes);
    box->setCurrentIndex(0);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const int runsBefore = window.handlerRuns;

    box->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClicks(box, QStringLiteral("Repeat"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(box->currentIndex(), 0);
    box->lineEdit()->selectAll();
    QTest::keyClicks(box, QStringLiteral("Sin")); // would complete to "Single"
    EXPECT_EQ(box->lineEdit()->text(), QStringLiteral("Sin"));
    window.Command4->setFocus();
    ASSERT_FALSE(box->hasFocus());

    EXPECT_EQ(box->currentIndex(), 0);
    EXPECT_EQ(box->count(), kModes.size());
    EXPECT_EQ(window.handlerRuns, runsBefore);

    // Picking from the list still selects.
    box->showPopup();
    QAbstractItemView* list = box->view();
    list->setCurrentIndex(list->model()->index(2, 0));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(box->currentIndex(), 2);
}

INSTANTIATE_TEST_SUITE_P(Trigger, EditableSelector, ::testing::Values(0, 1, 2));

} // namespace
} // namespace vistrace::test
