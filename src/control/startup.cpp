#include "adc.h"
#include "scope_window.h"
#include "selector_tables.h"

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
    setListIndex(Port_Address_Box, 0);

    state.trigger_level = 126;
    state.sample_interval = 0;
    state.port_address = 888;
    state.sample_count = 500;
    state.x_step = 1;
    state.trace_width = 3;

    appendItems(trigger_mode_box, kTriggerModeItems);
    setListIndex(trigger_mode_box, static_cast<int>(TriggerMode::None));
    appendItems(trigger_slop_box, kTriggerSlopeItems);
    setListIndex(trigger_slop_box, static_cast<int>(TriggerSlope::Rising));

    appendItems(trigger_voltage_box, kTriggerLevelRows);
    setListIndex(trigger_voltage_box, 5);
    appendItems(TimeBase_box, kTimeBaseRows);
    setListIndex(TimeBase_box, 2);
    appendItems(VoltPerDiv_Box, kGainRows);
    setListIndex(VoltPerDiv_Box, 0);
    state.volts_gain = FixedDecimal::fromTenThousandths(3600);

    bindPort();
    port_.Out32(state.port_address, kIdle);

    if (counter_.QueryPerformanceFrequency(state.counter_frequency) == 0) {
        QMessageBox::critical(this, QStringLiteral("Vistrace"),
                              QStringLiteral("This computer doesn't support high-res timers"));
    }
}

} // namespace vistrace
