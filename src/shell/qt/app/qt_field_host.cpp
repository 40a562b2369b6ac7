#include "qt_field_host.h"

#include "form/accessible_texts.h"

#include "qt_text.h"

#include <QAccessible>
#include <QMessageBox>
#include <QWidget>

#include <QtGlobal>

namespace tanu::qt {

namespace {

// The form only names the fields it created, and these calls run inside focus events and
// paints, where an exception would leave Qt's event dispatch through a C++ frame it cannot
// unwind safely. A wrong id is a programming error: a debug build stops at the assertion, a
// release build ignores the call.
bool isFieldId(int id) {
    const bool known = id >= DomainField && id < DomainField + FieldCount;
    Q_ASSERT_X(known, "QtFieldHost", "no entry field has this id");
    return known;
}

std::size_t slotOf(int id) {
    return static_cast<std::size_t>(id - DomainField);
}

// Opening a menu, pressing Alt or a field's context menu takes the focus only for a moment;
// the field has not been left.
bool isMenuFocusReason(Qt::FocusReason reason) {
    return reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason;
}

} // namespace

void QtFieldHost::attach(FormState& state, QWidget& fieldParent, QWidget& messageOwner,
                         QFont font) {
    state_ = &state;
    fieldParent_ = &fieldParent;
    messageOwner_ = &messageOwner;
    font_ = std::move(font);
}

void QtFieldHost::detach() {
    state_ = nullptr;
}

FieldEdit* QtFieldHost::field(int id) const {
    return isFieldId(id) ? fields_[slotOf(id)].data() : nullptr;
}

FieldEdit* QtFieldHost::existing(int id) const {
    FieldEdit* edit = field(id);
    Q_ASSERT_X(edit != nullptr || !isFieldId(id), "QtFieldHost",
               "entry field used before it was created");
    return edit;
}

void QtFieldHost::createField(int id, FieldRect rect) {
    if (!isFieldId(id)) {
        return;
    }
    auto& slot = fields_[slotOf(id)];
    Q_ASSERT_X(!slot, "QtFieldHost", "entry field created twice");
    if (slot) {
        return;
    }
    auto* edit = new FieldEdit(id, *this, fieldParent_.data());
    edit->setFont(font_);
    // The labels are part of the background picture, which a screen reader cannot read.
    edit->setAccessibleName(toQString(fieldAccessibleName(id)));
    edit->setGeometry(rect.x, rect.y, rect.width, rect.height);
    // Children made after their window is shown stay hidden until shown themselves.
    edit->show();
    slot = edit;
}

std::u16string QtFieldHost::fieldText(int id) const {
    const FieldEdit* edit = existing(id);
    return edit != nullptr ? toU16(edit->text()) : std::u16string();
}

void QtFieldHost::setFieldText(int id, std::u16string_view text) {
    if (FieldEdit* edit = existing(id)) {
        edit->setText(toQString(text));
        // A text that overflows its narrow field shows its beginning, as a fresh field does.
        edit->setCursorPosition(0);
    }
}

void QtFieldHost::setFieldEnabled(int id, bool enabled) {
    // Disabling the focused field makes Qt move the focus on at once; the form copes with the
    // nested focus change (the field that lost the focus has committed already).
    if (FieldEdit* edit = existing(id)) {
        edit->setEnabled(enabled);
    }
}

void QtFieldHost::setFocus(int id) {
    if (FieldEdit* edit = existing(id)) {
        edit->setFocus(Qt::OtherFocusReason);
    }
}

void QtFieldHost::selectText(int id, int start, int end) {
    FieldEdit* edit = existing(id);
    if (edit == nullptr) {
        return;
    }
    if (end > start) {
        edit->setSelection(start, end - start);
    } else {
        edit->setCursorPosition(start);
    }
}

void QtFieldHost::showMessage(std::u16string_view caption, std::u16string_view text,
                              MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::Information,
                    toQString(caption), toQString(text), QMessageBox::Ok, messageOwner_.data());
    box.exec();
}

void QtFieldHost::chartChanged() {
    if (fieldParent_) {
        fieldParent_->repaint();
        // The chart's description follows the profile; screen readers are told it changed.
        QAccessibleEvent changed(fieldParent_.data(), QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

void QtFieldHost::fieldFocusIn(int id, Qt::FocusReason reason) {
    if (state_ == nullptr) {
        return;
    }
    // Back from a menu into the field that never committed: still the same visit.
    if (isMenuFocusReason(reason) && state_->focusedField == id) {
        return;
    }
    onFieldFocusGained(*state_, id);
}

void QtFieldHost::fieldFocusOut(int id, Qt::FocusReason reason) {
    if (state_ == nullptr || isMenuFocusReason(reason)) {
        return;
    }
    onFieldFocusLost(*state_, id);
}

} // namespace tanu::qt
