#include "qt_field_host.h"

#include "qt_text.h"

#include <QAccessible>
#include <QMessageBox>
#include <QWidget>

#include <stdexcept>

namespace tanu::qt {

namespace {

std::size_t slotOf(int id) {
    if (id < DomainField || id >= DomainField + FieldCount) {
        throw std::out_of_range("no entry field has this id");
    }
    return static_cast<std::size_t>(id - DomainField);
}

// Opening a menu, pressing Alt or a field's context menu takes the focus only for a moment;
// the field has not been left.
bool isMenuFocusReason(Qt::FocusReason reason) {
    return reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason;
}

} // namespace

QString fieldAccessibleName(int id) {
    switch (id) {
    case FirstTextField:
        return QStringLiteral("Name");
    case BirthDateField:
        return QStringLiteral("Date of birth");
    case SecondDateField:
        return QStringLiteral("Date of assessment");
    case SecondTextField:
        return QStringLiteral("Assessed by");
    default:
        return QStringLiteral("Domain %1").arg(id - DomainField + 1);
    }
}

void QtFieldHost::attach(AppState& state, QWidget& fieldParent, QWidget& messageOwner, QFont font) {
    state_ = &state;
    fieldParent_ = &fieldParent;
    messageOwner_ = &messageOwner;
    font_ = std::move(font);
}

void QtFieldHost::detach() {
    state_ = nullptr;
}

FieldEdit* QtFieldHost::field(int id) const {
    return fields_.at(slotOf(id)).data();
}

FieldEdit& QtFieldHost::existing(int id) const {
    FieldEdit* edit = field(id);
    if (edit == nullptr) {
        throw std::logic_error("entry field used before it was created");
    }
    return *edit;
}

void QtFieldHost::createField(int id, FieldRect rect) {
    auto& slot = fields_.at(slotOf(id));
    if (slot) {
        throw std::logic_error("entry field created twice");
    }
    auto* edit = new FieldEdit(id, *this, fieldParent_.data());
    edit->setFont(font_);
    // The labels are part of the background picture, which a screen reader cannot read.
    edit->setAccessibleName(fieldAccessibleName(id));
    edit->setGeometry(rect.x, rect.y, rect.width, rect.height);
    // Children made after their window is shown stay hidden until shown themselves.
    edit->show();
    slot = edit;
}

std::u16string QtFieldHost::fieldText(int id) const {
    return toU16(existing(id).text());
}

void QtFieldHost::setFieldText(int id, std::u16string_view text) {
    FieldEdit& edit = existing(id);
    edit.setText(toQString(text));
    // A text that overflows its narrow field shows its beginning, as a fresh field does.
    edit.setCursorPosition(0);
}

void QtFieldHost::setFieldEnabled(int id, bool enabled) {
    // Disabling the focused field makes Qt move the focus on at once; the form copes with the
    // nested focus change (the field that lost the focus has committed already).
    existing(id).setEnabled(enabled);
}

void QtFieldHost::setFocus(int id) {
    existing(id).setFocus(Qt::OtherFocusReason);
}

void QtFieldHost::selectText(int id, int start, int end) {
    FieldEdit& edit = existing(id);
    if (end > start) {
        edit.setSelection(start, end - start);
    } else {
        edit.setCursorPosition(start);
    }
}

void QtFieldHost::showMessage(std::u16string_view caption, std::u16string_view text,
                              MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::Information,
                    toQString(caption), toQString(text), QMessageBox::Ok, messageOwner_.data());
    box.exec();
}

void QtFieldHost::repaintNow() {
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
