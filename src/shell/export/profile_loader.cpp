#include "profile_loader.h"

#include "document/document_texts.h"
#include "document/profile.h"
#include "document/profile_codec.h"
#include "document/profile_file.h"
#include "shell/files/safe_files.h"

namespace tanu::exporter {

LoadedProfile loadProfile(const std::string& nativePath, const std::u16string& displayPath,
                          const Clock& today) {
    LoadedProfile result;
    const std::u16string name = displayName(displayPath);
    const ReadResult read = files::readRegularFile(nativePath, MaxProfileBytes);
    if (!read.ok) {
        result.failure = fillMessage(OpenUnreadableText, {name, read.reason});
        return result;
    }
    const DecodedProfile decoded = decodeProfile(read.bytes);
    if (decoded.refusal != ProfileRefusal::None) {
        result.failure = refusalMessage(decoded.refusal, name);
        return result;
    }
    // As the window opens it, just started.
    const OpenedProfile opened = openedProfile(decoded.profile, startModel(), today());
    if (opened.dropped) {
        result.warnings.push_back(fillMessage(BirthDateNotLoadedText, {name}));
    }
    result.loaded = true;
    result.content.model = opened.model;
    result.content.ageText = opened.ageText;
    for (std::size_t k = 0; k < PrintedFieldCount; ++k) {
        // As much of each text as the printed picture reads of a field.
        result.content.fieldTexts[k] = opened.shown.texts[k].substr(0, PaintTextLimit);
    }
    return result;
}

} // namespace tanu::exporter
