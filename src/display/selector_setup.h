#pragma once

class QComboBox;

namespace vistrace {

// Selectors behave as the instrument's drop-downs do, not as Qt's: appending to an empty
// list selects nothing (the index stays -1 until code or the operator selects), and typing
// into an editable selector's field never selects, inserts or completes an item; Enter or
// leaving the field shows the selected item again. A wheel changes only the focused list.
void makeDropDownList(QComboBox& box);
void makeDropDownCombo(QComboBox& box);

} // namespace vistrace
