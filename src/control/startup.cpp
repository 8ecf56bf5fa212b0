#include "adc.h"
#include "errors.h"
#include "instrument_tables.h"
#include "program_identity.h"
#include "scope_window.h"

#include <QComboBox>
#include <QMessageBox>

namespace vistrace {
namespace {

const char* itemText(const char* item) {
    return item;
}

template <typename Row> const char* itemText(const Row& row) {
    return row.item;
}

template <typename Items> void appendItems(QComboBox* box, const Items& items) {
    for (const auto& item : items) {
        box->addItem(QString::fromLatin1(itemText(item)));
    }
}

} // namespace

// The order matters: selecting an index runs that selector's handler at once, and the
// direct assignments in between are overwritten by the handlers that follow them.
void ScopeWindow::Form_Load() {
    offerMachinePorts();
    setListIndex(Port_Address_Box, kStartPortRow);

    state.trigger_level = kStartTriggerLevel;
    state.sample_interval = kStartSampleInterval;
    state.port_address = kStartPortAddress;
    state.sample_count = kStartSampleCount;
    state.x_step = kStartXStep;
    state.trace_width = kStartTraceWidth;

    appendItems(trigger_mode_box, kTriggerModeItems);
    setListIndex(trigger_mode_box, static_cast<int>(kStartTriggerMode));
    appendItems(trigger_slop_box, kTriggerSlopeItems);
    setListIndex(trigger_slop_box, static_cast<int>(kStartTriggerSlope));

    appendItems(trigger_voltage_box, kTriggerLevelRows);
    setListIndex(trigger_voltage_box, kStartTriggerLevelRow);
    appendItems(TimeBase_box, kTimeBaseRows);
    setListIndex(TimeBase_box, kStartTimeBaseRow);
    appendItems(VoltPerDiv_Box, kGainRows);
    setListIndex(VoltPerDiv_Box, kStartGainRow);
    state.volts_gain = kStartVoltsGain;

    // The window opens also on a port that fails here, so the counter is still asked for.
    bindPort();
    try {
        port_.Out32(state.port_address, kIdle);
    } catch (const PortError& error) {
        dropPort(error);
    }

    if (counter_.QueryPerformanceFrequency(state.counter_frequency) == 0) {
        QMessageBox::critical(this, QString::fromLatin1(kProgramTitle),
                              QStringLiteral("This computer doesn't support high-res timers"));
    }
}

} // namespace vistrace
