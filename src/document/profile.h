// One student's profile as a value: what a .tanu file holds and the form shows, read and written
// by pure functions, so that a program can open, draw or save a profile without any window.
#pragma once

#include "chart/chart_painter.h"
#include "form/entry_form.h"
#include "model/chart_model.h"
#include "model/dates.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tanu {

struct Profile {
    // Each field's text by its id less DomainField: the ten domains, then the first text, the
    // date of birth, the second date and the second text (the painter's print order).
    std::array<std::u16string, PrintedFieldCount> texts;
    // The domain values, 0 for none.
    std::array<std::uint32_t, DomainCount> values{};

    std::u16string& text(int id) { return texts[static_cast<std::size_t>(id - DomainField)]; }
    const std::u16string& text(int id) const {
        return texts[static_cast<std::size_t>(id - DomainField)];
    }
};

// Why bytes are not a profile.
enum class ProfileRefusal { None, TooLarge, Binary, TooShort };

struct DecodedProfile {
    Profile profile;
    ProfileRefusal refusal = ProfileRefusal::None;
};

// The profile in a file's bytes, by the rules of Open: larger than 64 KiB, holding a control
// character other than TAB, CR and LF, or shorter than fourteen lines is refused; header lines
// are UTF-8 or one byte per character; domain lines are clamped to 0 or 2..22, and the domain
// texts are those values as the fields show them.
DecodedProfile decodeProfile(std::string_view bytes);

// The file's bytes, by the rules of Save: each header text cut to 259 units without control
// characters, one byte per character or UTF-8; each value in decimal; every line ended by CR LF.
std::string encodeProfile(const Profile& profile);

// The message Open shows about a refused file, which the name names.
std::u16string refusalMessage(ProfileRefusal refusal, std::u16string_view name);

// What opening a profile makes of it. With a date of birth that is accepted on today: the age,
// the values as saved and the scale rebuilt around them and the age. Without: the birth field's
// placeholder, no values, the current scale kept and no age; dropped says whether that lost a
// date or values the file held.
struct OpenedProfile {
    ChartModel model;
    std::u16string ageText;
    Profile shown; // the texts the fields show, with the values the model holds
    bool birthDateAccepted = false;
    bool dropped = false;
};
OpenedProfile openedProfile(const Profile& profile, const ChartModel& current, CalendarDate today);

} // namespace tanu
