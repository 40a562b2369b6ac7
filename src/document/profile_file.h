// The Save and Open commands, which write the form as a profile file and read one back.
#pragma once

#include "document/document_port.h"
#include "document/profile_codec.h"
#include "form/entry_form.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tanu {

// The fields in the order of their lines: the four header fields, then domains 0..9.
inline constexpr std::array<int, ProfileLineCount> ProfileFieldOrder = [] {
    std::array<int, ProfileLineCount> order{FirstTextField, BirthDateField, SecondDateField,
                                            SecondTextField};
    for (std::size_t k = 0; k < DomainCount; ++k) {
        order[HeaderLineCount + k] = DomainField + static_cast<int>(k);
    }
    return order;
}();

// The last component of a path, for messages.
std::u16string displayName(std::u16string_view path);

struct Profile;

// The profile the fields hold: their texts as the printed picture shows them, and each domain
// field's value as Save writes it.
Profile profileOf(const FormState& state);
// The file as Save writes it from the current field texts.
std::string profileBytes(const FormState& state);

// The Save command: commits the focused field, asks for a path and writes the file.
void saveProfile(FormState& state, DocumentPort& port);

// The Open command: commits the focused field, asks for a path, reads the file and loads it into
// the fields and the model; a file that cannot be read or is no profile changes nothing.
void openProfile(FormState& state, DocumentPort& port);

// Open without the dialog: reads the file at path and loads it, with the same refusals and
// messages (a file named on the command line, say).
void openProfileFile(FormState& state, DocumentPort& port, const std::u16string& path);

// The profile a program opens once it has started: the first of its arguments after its own
// name (a double-clicked file), or nothing.
std::optional<std::u16string> profileNamedAtStart(const std::vector<std::u16string>& arguments);

} // namespace tanu
