#pragma once

#include "scope_screen.h"
#include "scope_state.h"

#include <QMainWindow>
#include <functional>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;

namespace vistrace {

class PortError;

// Thrown by pumpEvents once the program is to end, to unwind a running loop or trigger wait
// back to the handler that started it. It is not an error and is never shown.
class ProgramEnding {};

// The instrument's one window: it owns the state record and every control, builds the
// layout, and runs every event handler behind one boundary, the only place where errors
// are caught. The handlers of operator control are supplied by a subclass. form1.cpp builds
// the window; form1_events.cpp holds the boundary, the event pump and the menus' handlers.
class Form1 : public QMainWindow {
    Q_OBJECT

public:
    // The offset bars start at these positions.
    Form1(int xOffsetRest, int yOffsetRest);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Runs Form_Load behind the handler boundary. Call once, before the window is shown;
    // if it fails, ending() is true afterwards and the window must not be shown.
    void load();

    // True once Exit, a window close or an error has ended the program.
    [[nodiscard]] bool ending() const { return ending_; }
    // 0 after Exit or a window close, 1 after an error.
    [[nodiscard]] int exitCode() const { return exitCode_; }

    // Runs every pending window event and returns; throws ProgramEnding when one of them
    // ended the program.
    void pumpEvents();
    // Set a control from code. Its handler runs at once, nested behind its own boundary;
    // if that ended the program, these throw ProgramEnding so that the caller stops too.
    void setListIndex(QComboBox* box, int index);
    void setBarPosition(QScrollBar* bar, int position);

    // Draws samples as the blue trace at the scroll bars' offsets. Callers clear first.
    void drawtrace();

    void mnuexit_Click();
    void mnuabout_Click();

    virtual void Form_Load() = 0;
    virtual void Command4_Click() = 0;
    virtual void Command2_Click() = 0;
    virtual void Command1_Click() = 0;
    virtual void Port_Address_Box_Click() = 0;
    // The operator picked an item of the port list, also the one already shown, which
    // raises no click.
    virtual void portAddressPicked() = 0;
    // The port list is about to open.
    virtual void portListOpening() = 0;
    virtual void TimeBase_box_Click() = 0;
    virtual void VoltPerDiv_Box_Click() = 0;
    virtual void trigger_voltage_box_Click() = 0;
    virtual void XOffset_Change() = 0;
    virtual void XOffset_Scroll() = 0;
    virtual void YOffset_Change() = 0;
    virtual void YOffset_Scroll() = 0;
    // A handler ended because the port stopped answering: the operator may fix it and carry on.
    virtual void portFailed(const PortError& error) = 0;

    ScopeState state;

    ScopeScreen* scope = nullptr;
    QScrollBar* YOffset = nullptr;
    QPushButton* Command4 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* Port_Address_Box = nullptr;
    QComboBox* TimeBase_box = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label8 = nullptr;
    QComboBox* VoltPerDiv_Box = nullptr;
    QScrollBar* XOffset = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* trigger_mode_box = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QComboBox* trigger_slop_box = nullptr;
    QComboBox* trigger_voltage_box = nullptr;
    QPushButton* Command2 = nullptr;

    QMenu* mnufile = nullptr;
    QAction* mnuexit = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuabout = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

    // Runs one event handler. A port failure ends it here and goes to portFailed; any other
    // error of the program ends the program too: the operator sees the message, and the
    // program ends with status 1. No handler runs once the program ends.
    void runHandler(const std::function<void()>& handler);

private:
    void buildControls(int xOffsetRest, int yOffsetRest);
    void buildMenus();
    void connectHandlers();
    void endProgram(int exitCode);
    void fail(const QString& message);
    void checkEnding() const;

    bool ending_ = false;
    int exitCode_ = 0;
};

} // namespace vistrace
