#include "selector_setup.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QValidator>

namespace vistrace {
namespace {

// Qt's combo box selects the item matching the typed text when the field reports finished
// editing (Enter or focus loss), and a field reports that only for acceptable input. Typed
// text is therefore never acceptable, only a plausible draft: typing and editing still work.
class TypedTextIsDraft : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& /*input*/, int& /*pos*/) const override { return Intermediate; }
};

// With a placeholder, appending the first item leaves the index at -1 instead of selecting
// it. A blank one shows the empty field the operator expects before start-up selects.
void keepUnselectedWhenFilled(QComboBox& box) {
    box.setPlaceholderText(QStringLiteral(" "));
}

// The lists are as narrow as their boxes; "-500mV" needs more than the 65 px of its box.
constexpr int kMinimumListWidth = 96;

} // namespace

void makeDropDownList(QComboBox& box) {
    box.setEditable(false);
    box.view()->setMinimumWidth(kMinimumListWidth);
    keepUnselectedWhenFilled(box);
}

void makeDropDownCombo(QComboBox& box) {
    box.setEditable(true);
    box.setInsertPolicy(QComboBox::NoInsert);
    box.setCompleter(nullptr);
    box.setValidator(new TypedTextIsDraft(&box));
    box.view()->setMinimumWidth(kMinimumListWidth);
    keepUnselectedWhenFilled(box);
    // Show a chosen item from its start: "100mV" is a pixel wider than its text field.
    QLineEdit* field = box.lineEdit();
    QObject::connect(&box, &QComboBox::currentIndexChanged, field,
                     [field] { field->setCursorPosition(0); });
}

} // namespace vistrace
