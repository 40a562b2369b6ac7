// The entry form's fields as real line edits on the chart widget.
#pragma once

#include "field_edit.h"
#include "form/entry_form.h"

#include <QFont>
#include <QPointer>

#include <array>

class QWidget;

namespace tanu::qt {

// ids 500..513
inline constexpr int FieldCount = static_cast<int>(LayoutFieldCount);

class QtFieldHost final : public FieldHost,
                          public MessagePort,
                          public ChartView,
                          private FieldFocusListener {
public:
    // fieldParent holds the fields and is repainted by chartChanged; messageOwner owns the boxes.
    void attach(FormState& state, QWidget& fieldParent, QWidget& messageOwner, QFont font);
    // Stops reporting focus changes to the form: a closing window commits nothing.
    void detach();

    // The field with that id, or null before it is created (or for an id of no field).
    FieldEdit* field(int id) const;

    void createField(int id, FieldRect rect) override;
    std::u16string fieldText(int id) const override;
    void setFieldText(int id, std::u16string_view text) override;
    void setFieldEnabled(int id, bool enabled) override;
    void setFocus(int id) override;
    void selectText(int id, int start, int end) override;
    void showMessage(std::u16string_view caption, std::u16string_view text,
                     MessageIcon icon) override;
    void chartChanged() override;

private:
    void fieldFocusIn(int id, Qt::FocusReason reason) override;
    void fieldFocusOut(int id, Qt::FocusReason reason) override;
    // The created field, or null (asserted in debug builds).
    FieldEdit* existing(int id) const;

    FormState* state_ = nullptr;
    QPointer<QWidget> fieldParent_;
    QPointer<QWidget> messageOwner_;
    QFont font_;
    std::array<QPointer<FieldEdit>, FieldCount> fields_{};
};

} // namespace tanu::qt
