#include "profile_loader.h"

#include "document/profile_file.h"
#include "form/chart_content.h"
#include "form/entry_form.h"

#include "shell/files/safe_files.h"

#include <optional>

namespace tanu::exporter {

namespace {

// The fourteen fields in memory. Focus moves reach the form as a window reports them; messages
// are kept for the caller instead of being shown.
class MemoryFields final : public FieldHost {
public:
    struct Message {
        std::u16string caption;
        std::u16string text;
    };

    void attach(AppState& state) { state_ = &state; }

    void createField(int, FieldRect) override {}
    std::u16string fieldText(int id) const override { return texts_.at(index(id)); }
    void setFieldText(int id, std::u16string_view text) override { texts_.at(index(id)) = text; }
    void setFieldEnabled(int, bool) override {}
    void setFocus(int id) override {
        if (focus_ == id) {
            return;
        }
        const std::optional<int> old = focus_;
        focus_ = id;
        if (old) {
            onFieldFocusLost(*state_, *old);
        }
        onFieldFocusGained(*state_, id);
    }
    void selectText(int, int, int) override {}
    void showMessage(std::u16string_view caption, std::u16string_view text, MessageIcon) override {
        messages.push_back({std::u16string(caption), std::u16string(text)});
    }
    void repaintNow() override {}

    std::vector<Message> messages;

private:
    static std::size_t index(int id) { return static_cast<std::size_t>(id - DomainField); }

    AppState* state_ = nullptr;
    std::array<std::u16string, PrintedFieldCount> texts_;
    std::optional<int> focus_;
};

// Reads the one file named on the command line; there are no dialogs and nothing is saved.
class CommandLineFile final : public DocumentPort {
public:
    explicit CommandLineFile(const std::string& nativePath) : path_(nativePath) {}

    std::optional<std::u16string> chooseOpenPath() override { return std::nullopt; }
    std::optional<std::u16string> chooseSavePath(std::u16string_view) override {
        return std::nullopt;
    }
    WriteResult writeFileAtomically(const std::u16string&, std::string_view) override {
        return {false, u"Profiles are not written here."};
    }

    // The path argument is the display form of path_, which names the file exactly.
    ReadResult readFile(const std::u16string&, std::size_t maxBytes) override {
        return files::readRegularFile(path_, maxBytes);
    }

private:
    std::string path_;
};

} // namespace

LoadedProfile loadProfile(const std::string& nativePath, const std::u16string& displayPath,
                          const Clock& today) {
    MemoryFields fields;
    AppState state(fields, today);
    fields.attach(state);
    // The window's start state, which Open then changes.
    state.birthDatePlaceholder = true;
    state.secondDatePlaceholder = true;
    createDomainFields(state);
    createHeaderFields(state);

    CommandLineFile file(nativePath);
    openProfileFile(state, file, displayPath);

    LoadedProfile result;
    result.loaded = true;
    for (const MemoryFields::Message& message : fields.messages) {
        if (message.caption == OpenFailedCaption) {
            result.loaded = false;
            result.failure = message.text;
        } else {
            result.warnings.push_back(message.text);
        }
    }
    if (result.loaded) {
        result.content = chartContentOf(state);
    }
    return result;
}

} // namespace tanu::exporter
