#include "errors.h"
#include "form1.h"
#include "program_identity.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>

namespace vistrace {

void Form1::connectHandlers() {
    const auto on = [this](auto* sender, auto signal, void (Form1::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { runHandler([this, handler] { (this->*handler)(); }); });
    };
    on(Command4, &QPushButton::clicked, &Form1::Command4_Click);
    on(Command2, &QPushButton::clicked, &Form1::Command2_Click);
    on(Command1, &QPushButton::clicked, &Form1::Command1_Click);
    on(Port_Address_Box, &QComboBox::currentIndexChanged, &Form1::Port_Address_Box_Click);
    on(Port_Address_Box, &QComboBox::activated, &Form1::portAddressPicked);
    on(TimeBase_box, &QComboBox::currentIndexChanged, &Form1::TimeBase_box_Click);
    on(VoltPerDiv_Box, &QComboBox::currentIndexChanged, &Form1::VoltPerDiv_Box_Click);
    on(trigger_voltage_box, &QComboBox::currentIndexChanged, &Form1::trigger_voltage_box_Click);
    on(XOffset, &QScrollBar::valueChanged, &Form1::XOffset_Change);
    on(XOffset, &QScrollBar::sliderMoved, &Form1::XOffset_Scroll);
    on(YOffset, &QScrollBar::valueChanged, &Form1::YOffset_Change);
    on(YOffset, &QScrollBar::sliderMoved, &Form1::YOffset_Scroll);
    on(mnuexit, &QAction::triggered, &Form1::mnuexit_Click);
    on(mnuabout, &QAction::triggered, &Form1::mnuabout_Click);
}

void Form1::load() {
    runHandler([this] { Form_Load(); });
}

void Form1::runHandler(const std::function<void()>& handler) {
    if (ending_) {
        return;
    }
    try {
        handler();
    } catch (const ProgramEnding&) {
        // Already ended by whoever threw; only the unwinding was left to do.
    } catch (const PortError& error) {
        portFailed(error);
    } catch (const std::exception& error) {
        fail(QString::fromStdString(error.what()));
    } catch (...) {
        fail(QStringLiteral("Unexpected error"));
    }
}

void Form1::pumpEvents() {
    QApplication::processEvents(QEventLoop::AllEvents);
    checkEnding();
}

void Form1::setListIndex(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    checkEnding();
}

void Form1::setBarPosition(QScrollBar* bar, int position) {
    bar->setValue(position);
    checkEnding();
}

void Form1::checkEnding() const {
    if (ending_) {
        throw ProgramEnding();
    }
}

void Form1::fail(const QString& message) {
    QMessageBox::critical(this, QString::fromLatin1(kProgramTitle), message);
    endProgram(1);
}

void Form1::endProgram(int exitCode) {
    if (ending_) {
        return;
    }
    ending_ = true;
    exitCode_ = exitCode;
    hide();
    // Leaves every event loop, the main one and any modal box's alike.
    QApplication::exit(exitCode);
}

void Form1::mnuexit_Click() {
    endProgram(0);
}

void Form1::closeEvent(QCloseEvent* event) {
    endProgram(0);
    event->accept();
}

void Form1::mnuabout_Click() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral(" "), QString::fromLatin1(kAboutText),
                    QMessageBox::Ok, this);
    box.exec();
}

} // namespace vistrace
