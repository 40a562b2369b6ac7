// Everything on the form that a command could change, compared as a whole.
#pragma once

#include "scripted_host.h"

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tanu::testing {

struct FormSnapshot {
    std::vector<std::tuple<std::u16string, bool, int, int>> fields;
    std::vector<std::pair<std::uint32_t, std::int32_t>> rings;
    std::array<std::uint32_t, DomainCount> values{};
    std::u16string ageText;
    bool birthDatePlaceholder = false;
    bool secondDatePlaceholder = false;
    std::optional<int> focus;
    bool operator==(const FormSnapshot&) const = default;
};

inline std::string ascii(const std::u16string& text) {
    std::string out;
    for (const char16_t unit : text) {
        out += unit < 0x80 ? std::string(1, static_cast<char>(unit)) : "?";
    }
    return out;
}

inline void PrintTo(const FormSnapshot& s, std::ostream* os) {
    *os << "fields:";
    for (const auto& [text, enabled, start, end] : s.fields) {
        *os << " [" << ascii(text) << (enabled ? "" : " off") << " " << start << "-" << end << "]";
    }
    *os << " rings:";
    for (const auto& [years, radius] : s.rings) {
        *os << " " << years << "@" << radius;
    }
    *os << " values:";
    for (const std::uint32_t v : s.values) {
        *os << " " << v;
    }
    *os << " age " << ascii(s.ageText) << " placeholders " << s.birthDatePlaceholder
        << s.secondDatePlaceholder << " focus " << s.focus.value_or(-1);
}

inline FormSnapshot snapshot(const StartedForm& form) {
    FormSnapshot s;
    for (int id = DomainField; id <= SecondTextField; ++id) {
        const auto& f = form.host.field(id);
        s.fields.emplace_back(f.text, f.enabled, f.selectionStart, f.selectionEnd);
    }
    for (const RingMark& ring : form.state.model.rings) {
        s.rings.emplace_back(ring.years, ring.radius);
    }
    s.values = form.state.model.domainValues;
    s.ageText = form.state.ageText;
    s.birthDatePlaceholder = form.state.birthDatePlaceholder;
    s.secondDatePlaceholder = form.state.secondDatePlaceholder;
    s.focus = form.host.focus();
    return s;
}

} // namespace tanu::testing
