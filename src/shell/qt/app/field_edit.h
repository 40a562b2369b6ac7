// One entry field: a line edit that reports its focus changes to the field host.
#pragma once

#include <QLineEdit>

namespace tanu::qt {

class FieldFocusListener {
public:
    virtual void fieldFocusIn(int id, Qt::FocusReason reason) = 0;
    virtual void fieldFocusOut(int id, Qt::FocusReason reason) = 0;

protected:
    ~FieldFocusListener() = default;
};

class FieldEdit final : public QLineEdit {
public:
    FieldEdit(int id, FieldFocusListener& listener, QWidget* parent);

    int id() const { return id_; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int id_;
    FieldFocusListener& listener_;
};

} // namespace tanu::qt
