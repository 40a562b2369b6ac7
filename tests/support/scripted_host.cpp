#include "scripted_host.h"

#include <algorithm>
#include <stdexcept>

namespace tanu::testing {

void ScriptedHost::createField(int id, FieldRect rect) {
    if (fields_.count(id) != 0) {
        throw std::logic_error("field created twice");
    }
    fields_[id] = Field{rect, {}, true, 0, 0};
    order_.push_back(id);
}

std::u16string ScriptedHost::fieldText(int id) const {
    return fields_.at(id).text;
}

void ScriptedHost::setFieldText(int id, std::u16string_view text) {
    Field& f = fields_.at(id);
    f.text = text;
    f.selectionStart = f.selectionEnd = 0;
}

void ScriptedHost::setFieldEnabled(int id, bool enabled) {
    fields_.at(id).enabled = enabled;
    // As a window does: the focus does not stay on a field that takes no input.
    if (!enabled && focus_ == id) {
        moveFocus(1);
        if (focus_ == id) {
            focus_.reset();
            if (state_ != nullptr) {
                onFieldFocusLost(*state_, id);
            }
        }
    }
}

void ScriptedHost::setFocus(int id) {
    if (!fields_.at(id).enabled || focus_ == id) {
        return;
    }
    const std::optional<int> old = focus_;
    focus_ = id;
    // The losing field reports first, then the gaining one, both before the move returns.
    if (old && state_ != nullptr) {
        onFieldFocusLost(*state_, *old);
    }
    if (state_ != nullptr && focus_ == id) {
        onFieldFocusGained(*state_, id);
    }
}

void ScriptedHost::selectText(int id, int start, int end) {
    Field& f = fields_.at(id);
    const int length = static_cast<int>(f.text.size());
    f.selectionStart = std::clamp(start, 0, length);
    f.selectionEnd = std::clamp(end, 0, length);
}

void ScriptedHost::showMessage(std::u16string_view caption, std::u16string_view text,
                               MessageIcon icon) {
    messages.push_back({std::u16string(caption), std::u16string(text), icon});
}

void ScriptedHost::moveFocus(int step) {
    const auto n = static_cast<int>(order_.size());
    int start = 0;
    if (focus_) {
        start = static_cast<int>(std::find(order_.begin(), order_.end(), *focus_) - order_.begin());
    } else {
        start = step > 0 ? n - 1 : 0;
    }
    for (int i = 1; i <= n; ++i) {
        const int id = order_[static_cast<std::size_t>(((start + step * i) % n + n) % n)];
        if (fields_.at(id).enabled) {
            setFocus(id);
            return;
        }
    }
}

void ScriptedHost::pressTab() {
    moveFocus(1);
}
void ScriptedHost::pressShiftTab() {
    moveFocus(-1);
}
void ScriptedHost::click(int id) {
    setFocus(id);
}

void ScriptedHost::type(std::u16string_view text) {
    if (!focus_) {
        return;
    }
    Field& f = fields_.at(*focus_);
    const auto lo = static_cast<std::size_t>(std::min(f.selectionStart, f.selectionEnd));
    const auto hi = static_cast<std::size_t>(std::max(f.selectionStart, f.selectionEnd));
    f.text.replace(lo, hi - lo, text);
    f.selectionStart = f.selectionEnd = static_cast<int>(lo + text.size());
}

void ScriptedHost::enter(int id, std::u16string_view text) {
    click(id);
    if (focus_ != id) {
        return;
    }
    Field& f = fields_.at(id);
    f.selectionStart = 0;
    f.selectionEnd = static_cast<int>(f.text.size());
    type(text);
    pressTab();
}

StartedForm::StartedForm(Clock clock) : state(host, host, host, std::move(clock)) {
    host.attach(state);
    startForm(state);
}

} // namespace tanu::testing
