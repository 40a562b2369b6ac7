#include "field_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace tanu::qt {

FieldEdit::FieldEdit(int id, FieldFocusListener& listener, QWidget* parent)
    : QLineEdit(parent), id_(id), listener_(listener) {
    setObjectName(QStringLiteral("field%1").arg(id));
}

void FieldEdit::focusInEvent(QFocusEvent* event) {
    // The line edit's own handling first, so the form's selection is the one that stays.
    QLineEdit::focusInEvent(event);
    listener_.fieldFocusIn(id_, event->reason());
}

void FieldEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    listener_.fieldFocusOut(id_, event->reason());
}

void FieldEdit::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape mean nothing on this form; swallow them so no parent acts on them.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

} // namespace tanu::qt
