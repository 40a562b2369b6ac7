#include "document/profile.h"

#include "document/document_texts.h"
#include "document/profile_codec.h"
#include "document/profile_file.h"

#include <algorithm>
#include <vector>

namespace tanu {

DecodedProfile decodeProfile(std::string_view bytes) {
    DecodedProfile decoded;
    if (bytes.size() > MaxProfileBytes) {
        decoded.refusal = ProfileRefusal::TooLarge;
        return decoded;
    }
    if (holdsControlCharacters(bytes)) {
        decoded.refusal = ProfileRefusal::Binary;
        return decoded;
    }
    const std::vector<std::string> lines = splitProfileLines(bytes, ProfileLineCount);
    if (lines.size() < ProfileLineCount) {
        decoded.refusal = ProfileRefusal::TooShort;
        return decoded;
    }
    Profile& profile = decoded.profile;
    for (std::size_t i = 0; i < HeaderLineCount; ++i) {
        profile.text(ProfileFieldOrder[i]) = decodeHeaderLine(lines[i]);
    }
    for (std::size_t k = 0; k < DomainCount; ++k) {
        profile.values[k] = openedDomainValue(lines[HeaderLineCount + k]);
        profile.texts[k] = domainFieldText(profile.values[k]);
    }
    return decoded;
}

std::string encodeProfile(const Profile& profile) {
    std::string bytes;
    for (std::size_t i = 0; i < HeaderLineCount; ++i) {
        bytes += encodeHeaderText(cutHeaderText(profile.text(ProfileFieldOrder[i])));
        bytes += LineEnd;
    }
    for (const std::uint32_t value : profile.values) {
        bytes += std::to_string(value);
        bytes += LineEnd;
    }
    return bytes;
}

std::u16string refusalMessage(ProfileRefusal refusal, std::u16string_view name) {
    switch (refusal) {
    case ProfileRefusal::TooLarge:
        return fillMessage(OpenTooLargeText, {name});
    case ProfileRefusal::Binary:
        return fillMessage(OpenNotTextText, {name});
    case ProfileRefusal::TooShort:
        return fillMessage(OpenTooShortText, {name});
    case ProfileRefusal::None:
        break;
    }
    return {};
}

OpenedProfile openedProfile(const Profile& profile, const ChartModel& current, CalendarDate today) {
    OpenedProfile opened;
    opened.model = current;
    opened.model.domainValues = profile.values;
    opened.shown = profile;
    // The field holds what the commits read of it.
    std::u16string birth = profile.text(BirthDateField);
    if (birth.size() > CommitTextLimit) {
        birth.resize(CommitTextLimit);
    }
    opened.birthDateAccepted = isAcceptableBirthDate(birth, today);
    if (opened.birthDateAccepted) {
        // The values as saved: scores above the age are ordinary, and pulling them down to it
        // here would lose them at the next Save.
        const std::int32_t age = ageFromDate(parseDateText(birth), today);
        opened.ageText = ageTextOf(age);
        rebuildScaleAroundValues(opened.model, age);
    } else {
        const std::u16string& date = profile.text(BirthDateField);
        const bool dateGiven = !date.empty() && date != DatePlaceholder;
        const bool valuesGiven = std::any_of(profile.values.begin(), profile.values.end(),
                                             [](std::uint32_t v) { return v != 0; });
        opened.dropped = dateGiven || valuesGiven;
        opened.model.domainValues.fill(0);
        opened.shown.text(BirthDateField) = DatePlaceholder;
        opened.ageText.assign(1, u'-'); // (assigning the literal trips a false GCC 12 warning)
    }
    for (std::size_t k = 0; k < DomainCount; ++k) {
        opened.shown.values[k] = opened.model.domainValues[k];
        opened.shown.texts[k] = domainFieldText(opened.model.domainValues[k]);
    }
    return opened;
}

} // namespace tanu
