#include "selector_setup.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
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

// A selector changes the instrument the moment its index changes, also mid-run. A wheel
// turned over a list on the way to somewhere else must not do that, so only a list the
// operator has chosen (by click or Tab) takes the wheel, and the wheel gives no list the
// focus. In an editable selector the validator keeps Qt from acting on typed text, and so
// also from putting the field back: on Enter or when the focus leaves, the field shows the
// selected item again, the one in effect.
class SelectorGuard : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = static_cast<QComboBox*>(watched);
        if (event->type() == QEvent::Wheel) {
            return !box->hasFocus();
        }
        if (box->isEditable() && (event->type() == QEvent::FocusOut || isEnter(*event))) {
            box->setEditText(box->itemText(box->currentIndex()));
        }
        return false;
    }

private:
    static bool isEnter(const QEvent& event) {
        if (event.type() != QEvent::KeyPress) {
            return false;
        }
        const int key = static_cast<const QKeyEvent&>(event).key();
        return key == Qt::Key_Return || key == Qt::Key_Enter;
    }
};

void guard(QComboBox& box) {
    box.setFocusPolicy(Qt::StrongFocus);
    box.installEventFilter(new SelectorGuard(&box));
}

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
    guard(box);
}

void makeDropDownCombo(QComboBox& box) {
    box.setEditable(true);
    box.setInsertPolicy(QComboBox::NoInsert);
    box.setCompleter(nullptr);
    box.setValidator(new TypedTextIsDraft(&box));
    box.view()->setMinimumWidth(kMinimumListWidth);
    keepUnselectedWhenFilled(box);
    guard(box);
}

} // namespace vistrace
