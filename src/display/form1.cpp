#include "form1.h"

#include "client_area.h"
#include "program_identity.h"
#include "selector_setup.h"
#include "system_colours.h"
#include "trace.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <array>

namespace vistrace {
namespace {

template <typename Control> Control* place(Control* control, const char* name, QRect geometry) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

QLabel* label(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* control = new QLabel(QString::fromLatin1(caption), parent);
    control->setTextFormat(Qt::PlainText);
    control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    control->setBackgroundRole(system_colours::kLabelBackground);
    control->setForegroundRole(system_colours::kLabelText);
    control->setAutoFillBackground(true);
    return place(control, name, geometry);
}

QLabel* boldLabel(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    QLabel* control = label(parent, name, caption, geometry);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(9.75);
    font.setWeight(QFont::Bold);
    font.setItalic(false);
    font.setUnderline(false);
    control->setFont(font);
    return control;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* control = new QPushButton(QString::fromLatin1(caption), parent);
    control->setAutoDefault(false);
    return place(control, name, geometry);
}

QComboBox* dropDownList(QWidget* parent, const char* name, QRect geometry) {
    auto* control = new QComboBox(parent);
    makeDropDownList(*control);
    return place(control, name, geometry);
}

// QComboBox tells nothing when its list is about to open, the moment to bring items that
// follow the machine up to date.
class OpeningList final : public QComboBox {
public:
    OpeningList(QWidget* parent, std::function<void()> opening)
        : QComboBox(parent), opening_(std::move(opening)) {
        makeDropDownList(*this);
    }
    void showPopup() override {
        opening_();
        QComboBox::showPopup();
    }

private:
    std::function<void()> opening_;
};

QComboBox* dropDownCombo(QWidget* parent, const char* name, QRect geometry) {
    auto* control = new QComboBox(parent);
    makeDropDownCombo(*control);
    return place(control, name, geometry);
}

struct BarRange {
    int minimum, maximum, initial, smallChange, largeChange;
};

// Tracking off: valueChanged then means the position changed (arrow, trough, keyboard, end
// of a drag, or code), and sliderMoved that the thumb is being dragged.
QScrollBar* scrollBar(QWidget* parent, const char* name, Qt::Orientation orientation,
                      BarRange range, QRect geometry) {
    auto* control = new QScrollBar(orientation, parent);
    control->setRange(range.minimum, range.maximum);
    control->setValue(range.initial);
    control->setSingleStep(range.smallChange);
    control->setPageStep(range.largeChange);
    control->setTracking(false);
    control->setFocusPolicy(Qt::StrongFocus);
    return place(control, name, geometry);
}

} // namespace

Form1::Form1(int xOffsetRest, int yOffsetRest) {
    setWindowTitle(QString::fromLatin1(kProgramTitle));
    buildControls(xOffsetRest, yOffsetRest);
    buildMenus();
    connectHandlers();
    // The layout is fixed: the window takes the size of menu bar plus client area, no more.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

Form1::~Form1() = default;

void Form1::buildControls(int xOffsetRest, int yOffsetRest) {
    auto* client = new ClientArea(this);
    setCentralWidget(client);

    scope = place(new ScopeScreen(client), "scope", {88, 48, 509, 425});
    YOffset =
        scrollBar(client, "YOffset", Qt::Vertical, {1, 420, yOffsetRest, 1, 50}, {72, 48, 14, 425});
    Command4 = button(client, "Command4", "Run", {536, 528, 73, 33});
    Label1 = label(client, "Label1", "Port Address", {616, 96, 105, 17});
    Port_Address_Box =
        place(new OpeningList(client, [this] { runHandler([this] { portListOpening(); }); }),
              "Port_Address_Box", {624, 120, 49, 21});
    TimeBase_box = dropDownList(client, "TimeBase_box", {160, 16, 105, 21});
    Label2 = boldLabel(client, "Label2", "Time/Div", {80, 16, 65, 17});
    Label8 = boldLabel(client, "Label8", "V/Div", {320, 16, 41, 17});
    VoltPerDiv_Box = dropDownList(client, "VoltPerDiv_Box", {368, 16, 97, 21});
    XOffset = scrollBar(client, "XOffset", Qt::Horizontal, {-500, 500, xOffsetRest, 1, 100},
                        {88, 471, 508, 14});
    Command1 = button(client, "Command1", "Reser Offset", {424, 528, 89, 33});
    Label3 = label(client, "Label3", "Trigger Mode", {608, 208, 73, 25});
    trigger_mode_box = dropDownCombo(client, "trigger_mode_box", {608, 232, 81, 21});
    Label5 = label(client, "Label5", "Trigger Slop", {608, 272, 73, 25});
    Label6 = label(client, "Label6", "Trigger Viltage", {608, 336, 81, 25});
    trigger_slop_box = dropDownCombo(client, "trigger_slop_box", {608, 296, 73, 21});
    trigger_voltage_box = dropDownCombo(client, "trigger_voltage_box", {608, 360, 65, 21});
    Command2 = button(client, "Command2", "Stop", {632, 528, 49, 33});

    const auto tabOrder = std::to_array<QWidget*>(
        {scope, YOffset, Command4, Port_Address_Box, TimeBase_box, VoltPerDiv_Box, XOffset,
         Command1, trigger_mode_box, trigger_slop_box, trigger_voltage_box, Command2});
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
}

void Form1::buildMenus() {
    mnufile = menuBar()->addMenu(QStringLiteral("File"));
    mnufile->setObjectName(QStringLiteral("mnufile"));
    mnuexit = mnufile->addAction(QStringLiteral("Exit"));
    mnuexit->setObjectName(QStringLiteral("mnuexit"));
    mnuHelp = menuBar()->addMenu(QStringLiteral("Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuabout = mnuHelp->addAction(QStringLiteral("About"));
    mnuabout->setObjectName(QStringLiteral("mnuabout"));
}

// Not const: it draws on the window's own screen.
void Form1::drawtrace() { // NOLINT(readability-make-member-function-const)
    drawTrace(state, *scope, *XOffset, *YOffset);
}

} // namespace vistrace
