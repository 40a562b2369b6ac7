// An in-memory file system behind the two file dialogs.
#pragma once

#include "document/document_port.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tanu::testing {

// The profile the golden printed picture shows, as its file holds it; the browser's test opens
// the same bytes.
inline constexpr std::string_view PrintedProfileFile =
    "Anna Example\r\n2015/3/10\r\n2024/6/1\r\nMr Jones\r\n9\r\n12\r\n14\r\n10\r\n11\r\n13\r\n8\r\n"
    "15\r\n12\r\n10\r\n";

class FakeDocumentPort : public DocumentPort {
public:
    std::optional<std::u16string> chooseOpenPath() override {
        ++openDialogs;
        if (duringDialog) {
            duringDialog();
        }
        return openChoice;
    }

    std::optional<std::u16string> chooseSavePath(std::u16string_view proposedName) override {
        ++saveDialogs;
        proposedNames.emplace_back(proposedName);
        if (duringDialog) {
            duringDialog();
        }
        return saveChoice;
    }

    ReadResult readFile(const std::u16string& path, std::size_t maxBytes) override {
        readPaths.push_back(path);
        const auto file = files.find(path);
        if (file == files.end() || unreadable.count(path) != 0) {
            return {false, {}, file == files.end() ? u"No such file." : u"Permission denied."};
        }
        return {true, file->second.substr(0, maxBytes + 1), {}};
    }

    WriteResult writeFileAtomically(const std::u16string& path, std::string_view bytes) override {
        ++writes;
        if (failWrites) {
            return {false, u"No space left on device."};
        }
        files[path] = std::string(bytes);
        return {true, {}};
    }

    std::map<std::u16string, std::string> files;
    std::set<std::u16string> unreadable;
    bool failWrites = false;
    std::optional<std::u16string> openChoice;
    std::optional<std::u16string> saveChoice;
    // Runs while a dialog is up, to look at the form the dialog sees.
    std::function<void()> duringDialog;

    int openDialogs = 0;
    int saveDialogs = 0;
    int writes = 0;
    std::vector<std::u16string> proposedNames;
    std::vector<std::u16string> readPaths;
};

} // namespace tanu::testing
