// An in-memory field host: fourteen fields, their enabled state, the focus and the Tab order,
// with focus changes delivered to the form synchronously, as a window would.
#pragma once

#include "form/entry_form.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tanu::testing {

struct ShownMessage {
    std::u16string caption;
    std::u16string text;
    MessageIcon icon;
};

class ScriptedHost : public FieldHost, public MessagePort, public ChartView {
public:
    struct Field {
        FieldRect rect;
        std::u16string text;
        bool enabled = true;
        int selectionStart = 0;
        int selectionEnd = 0;
    };

    // Focus changes go to this form; set before the fields are created.
    void attach(FormState& state) { state_ = &state; }

    // FieldHost
    void createField(int id, FieldRect rect) override;
    std::u16string fieldText(int id) const override;
    void setFieldText(int id, std::u16string_view text) override;
    void setFieldEnabled(int id, bool enabled) override;
    void setFocus(int id) override;
    void selectText(int id, int start, int end) override;
    void showMessage(std::u16string_view caption, std::u16string_view text,
                     MessageIcon icon) override;
    void chartChanged() override { ++repaints; }

    // What a user does.
    void pressTab();
    void pressShiftTab();
    void click(int id); // a click into a field: it takes the focus when enabled
    // Typing replaces the selection of the focused field, as keystrokes do.
    void type(std::u16string_view text);
    // Select all, type, and leave the field with Tab.
    void enter(int id, std::u16string_view text);

    const Field& field(int id) const { return fields_.at(id); }
    bool isEnabled(int id) const { return fields_.at(id).enabled; }
    std::optional<int> focus() const { return focus_; }
    const std::vector<int>& creationOrder() const { return order_; }

    std::vector<ShownMessage> messages;
    int repaints = 0;

private:
    void moveFocus(int step);

    FormState* state_ = nullptr;
    std::map<int, Field> fields_;
    std::vector<int> order_;
    std::optional<int> focus_;
};

// A clock that always gives the same day.
inline Clock fixedClock(std::uint32_t year, std::uint32_t month, std::uint32_t day) {
    return [=] { return CalendarDate{year, month, day}; };
}

// A host and a form brought up as start-up does: scale 7..15, fields created, focus in the first
// text field.
struct StartedForm {
    explicit StartedForm(Clock clock = fixedClock(2026, 12, 6));
    ScriptedHost host;
    FormState state;
};

} // namespace tanu::testing
