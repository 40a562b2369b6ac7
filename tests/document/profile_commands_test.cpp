// Save and Open through an in-memory file port and the scripted form.
#include "document/profile_file.h"
#include "fake_document_port.h"
#include "form_snapshot.h"
#include "scripted_host.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace tanu {
namespace {

using namespace std::string_literals;
using testing::FakeDocumentPort;
using testing::FormSnapshot;
using testing::snapshot;
using testing::StartedForm;

constexpr std::u16string_view StudentPath = u"/home/ann/st\u00FCdent \U0001F600.tanu";
constexpr std::u16string_view StudentName = u"st\u00FCdent \U0001F600.tanu";
constexpr std::u16string_view SavePath = u"/home/ann/out.tanu";

std::string joinLines(const std::vector<std::string>& lines, std::string_view end = "\r\n") {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line;
        bytes += end;
    }
    return bytes;
}

std::vector<std::string> studentLines() {
    return {"Anna", "2016/1/1", "2026/11/30", "Class 3b", "5",  "",  "x",
            "1",    "23",       "-4",         "9",        "10", "0", "3"};
}

std::string lineOf(const std::string& file, std::size_t n) {
    return splitProfileLines(file).at(n - 1);
}

class ProfileCommands : public ::testing::Test {
protected:
    // The clock of the started form says 2026-12-06, so 2016/1/1 gives the age 10.
    StartedForm form;
    FakeDocumentPort port;
    testing::ScriptedHost& host = form.host;
    FormState& state = form.state;

    void open(const std::string& bytes, std::u16string_view path = StudentPath) {
        port.files[std::u16string(path)] = bytes;
        port.openChoice = std::u16string(path);
        openProfile(state, port);
    }

    std::string save() {
        port.saveChoice = std::u16string(SavePath);
        saveProfile(state, port);
        return port.files[std::u16string(SavePath)];
    }

    // A student on screen: an accepted date of birth and a few values, the last commit being
    // the date's so the scale is the one an Open of the same file builds.
    void enterStudent() {
        host.enter(FirstTextField, u"Bo \u00D8stergaard \u0141\u00F3d\u017A \U0001F600");
        host.enter(BirthDateField, u"2016/1/1");
        host.enter(SecondDateField, u"2026/11/30");
        host.enter(SecondTextField, u"Class 3b");
        host.enter(DomainField + 0, u"5");
        host.enter(DomainField + 3, u"1");
        host.enter(DomainField + 9, u"9");
        host.enter(BirthDateField, u"2016/1/1");
        ASSERT_TRUE(host.messages.empty());
    }
};

TEST_F(ProfileCommands, SavedNewFormIsExactly58Bytes) {
    const std::string expected =
        "\r\nYYYY/MM/DD\r\nYYYY/MM/DD\r\n\r\n" + joinLines(std::vector<std::string>(10, "0"));
    ASSERT_EQ(expected.size(), 58u);

    EXPECT_EQ(save(), expected); // as started
    enterStudent();
    newProfile(state);
    EXPECT_EQ(save(), expected);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ProfileCommands, SaveProposesUntitledAndCancelWritesNothing) {
    saveProfile(state, port);
    EXPECT_EQ(port.saveDialogs, 1);
    EXPECT_EQ(port.proposedNames, std::vector<std::u16string>{u"untitled.tanu"});
    EXPECT_EQ(port.writes, 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ProfileCommands, SaveWritesDomainTextsByTheSaveRuleAndChangesNothing) {
    const std::vector<std::pair<std::u16string, std::string>> cases{
        {u"1", "2"},  {u"007", "7"}, {u"", "0"},  {u"a1", "0"},         {u"-3", "0"},
        {u" 5", "0"}, {u"23", "23"}, {u"0", "0"}, {u"2147483648", "0"}, {u"21", "21"},
    };
    for (std::size_t k = 0; k < DomainCount; ++k) {
        host.setFieldText(DomainField + static_cast<int>(k), cases[k].first);
    }
    commitFocusedField(state);
    const FormSnapshot before = snapshot(form);
    const int repaints = host.repaints;

    const std::string file = save();
    for (std::size_t k = 0; k < DomainCount; ++k) {
        EXPECT_EQ(lineOf(file, 5 + k), cases[k].second) << "domain " << k;
    }
    EXPECT_EQ(snapshot(form), before);
    EXPECT_EQ(host.repaints, repaints);
}

TEST_F(ProfileCommands, SaveWritesHeaderTextsOnTheirLines) {
    host.setFieldText(FirstTextField, std::u16string(300, u'x'));
    host.setFieldText(BirthDateField, u"2016/1/1\n");
    host.setFieldText(SecondDateField, u"\u01E9");
    host.setFieldText(SecondTextField, u"Zo\u00EB");

    const std::string file = save();
    const std::vector<std::string> lines = splitProfileLines(file);
    ASSERT_EQ(lines.size(), ProfileLineCount);
    EXPECT_EQ(lines[0], std::string(259, 'x'));
    EXPECT_EQ(lines[1], "2016/1/1 ");
    EXPECT_EQ(lines[2], "\xC7\xA9");
    EXPECT_EQ(lines[3], "Zo\xEB");
    EXPECT_EQ(file.substr(file.size() - 2), "\r\n");
}

TEST_F(ProfileCommands, FailedSaveSaysSoAndKeepsTheOldFile) {
    port.files[std::u16string(SavePath)] = "old profile";
    port.failWrites = true;
    save();

    EXPECT_EQ(port.files[std::u16string(SavePath)], "old profile");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, SaveFailedCaption);
    EXPECT_NE(host.messages[0].text.find(u"\"out.tanu\""), std::u16string::npos);
    EXPECT_NE(host.messages[0].text.find(u"No space left on device."), std::u16string::npos);
}

TEST_F(ProfileCommands, BothCommandsCommitTheFocusedFieldBeforeTheDialog) {
    for (const bool saving : {true, false}) {
        StartedForm f;
        FakeDocumentPort p;
        f.host.enter(BirthDateField, u"2016/1/1");
        f.host.click(DomainField);
        f.host.type(u"30"); // not yet left
        std::u16string seen;
        p.duringDialog = [&] { seen = f.host.fieldText(DomainField); };
        p.saveChoice = std::u16string(SavePath);
        if (saving) {
            saveProfile(f.state, p);
            EXPECT_EQ(lineOf(p.files[std::u16string(SavePath)], 5), "22");
        } else {
            openProfile(f.state, p);
        }
        EXPECT_EQ(seen, u"22") << (saving ? "save" : "open");
        EXPECT_EQ(f.state.model.domainValues[0], 22u);
    }
}

TEST_F(ProfileCommands, OpenRestoresTheStoredValuesOnAScaleThatSpansThem) {
    open(joinLines(studentLines()));

    EXPECT_EQ(host.fieldText(FirstTextField), u"Anna");
    EXPECT_EQ(host.fieldText(BirthDateField), u"2016/1/1");
    EXPECT_EQ(host.fieldText(SecondDateField), u"2026/11/30");
    EXPECT_EQ(host.fieldText(SecondTextField), u"Class 3b");
    // Read 5, 0, 0, 2, 22, 2, 9, 10, 0, 3: the 22 above the age of 10 is kept as saved.
    const std::array<std::uint32_t, DomainCount> values{5, 0, 0, 2, 22, 2, 9, 10, 0, 3};
    EXPECT_EQ(state.model.domainValues, values);
    const std::vector<std::u16string> texts{u"5", u"",  u"",   u"2", u"22",
                                            u"2", u"9", u"10", u"",  u"3"};
    for (std::size_t k = 0; k < DomainCount; ++k) {
        const int id = DomainField + static_cast<int>(k);
        EXPECT_EQ(host.fieldText(id), texts[k]) << k;
        EXPECT_TRUE(host.isEnabled(id)) << k;
    }
    EXPECT_EQ(state.model.rings.front().years, 2u);
    EXPECT_EQ(state.model.rings.back().years, 22u);
    EXPECT_EQ(state.ageText, u"10");
    EXPECT_FALSE(state.birthDatePlaceholder);
    EXPECT_FALSE(state.secondDatePlaceholder);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_GT(host.repaints, 0);

    // The file is read by the very path chosen, and never written.
    EXPECT_EQ(port.readPaths, std::vector<std::u16string>{std::u16string(StudentPath)});
    EXPECT_EQ(port.writes, 0);
}

TEST_F(ProfileCommands, CancelledOpenChangesNothing) {
    enterStudent();
    commitFocusedField(state);
    const FormSnapshot before = snapshot(form);
    openProfile(state, port);
    EXPECT_EQ(port.openDialogs, 1);
    EXPECT_EQ(snapshot(form), before);
    EXPECT_TRUE(port.readPaths.empty());
}

TEST_F(ProfileCommands, LineEndsAndExtraLinesDoNotMatter) {
    const std::vector<std::string> lines = studentLines();
    std::string noFinalEnd = joinLines(lines);
    noFinalEnd.resize(noFinalEnd.size() - 2);
    std::string lfNoFinalEnd = joinLines(lines, "\n");
    lfNoFinalEnd.pop_back();
    std::string mixed;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        mixed += lines[i] + (i % 2 == 0 ? "\n" : "\r\n");
    }
    const std::vector<std::pair<const char*, std::string>> variants{
        {"line feeds alone", joinLines(lines, "\n")},
        {"no final line end", noFinalEnd},
        {"line feeds, no final line end", lfNoFinalEnd},
        {"mixed line ends", mixed},
        {"more than fourteen lines", joinLines(lines) + "extra\r\n1\r\n\r\nYYYY\r\n"},
        {"fifteenth line without end", joinLines(lines) + "extra"},
    };

    StartedForm reference;
    FakeDocumentPort referencePort;
    referencePort.files[u"p"] = joinLines(lines);
    referencePort.openChoice = u"p";
    openProfile(reference.state, referencePort);
    const FormSnapshot expected = snapshot(reference);

    for (const auto& [what, bytes] : variants) {
        StartedForm f;
        FakeDocumentPort p;
        p.files[u"p"] = bytes;
        p.openChoice = u"p";
        openProfile(f.state, p);
        EXPECT_EQ(snapshot(f), expected) << what;
        EXPECT_TRUE(f.host.messages.empty()) << what;
    }
}

TEST_F(ProfileCommands, RefusedFilesShowAMessageAndChangeNothing) {
    const std::string valid = joinLines(studentLines());
    std::string oversize = valid;
    oversize.insert(0, MaxProfileBytes + 1 - valid.size(), 'x');

    std::string thirteenNoEnd = joinLines(std::vector<std::string>(13, "5"));
    thirteenNoEnd.resize(thirteenNoEnd.size() - 2);

    struct Refusal {
        const char* what;
        std::optional<std::string> bytes; // none: no such file
        bool unreadable;
        std::u16string_view said;
    };
    const std::vector<Refusal> cases{
        {"empty file", "", false, u"fewer than fourteen lines"},
        {"thirteen lines", joinLines(std::vector<std::string>(13, "5")), false,
         u"fewer than fourteen lines"},
        {"thirteen lines, the last without end", thirteenNoEnd, false,
         u"fewer than fourteen lines"},
        {"line feeds only, thirteen", std::string(13, '\n'), false, u"fewer than fourteen lines"},
        {"one byte too large", oversize, false, u"larger than 64 KB"},
        {"missing", std::nullopt, false, u"No such file."},
        {"a NUL byte", valid + "\0"s, false, u"binary data"},
        {"an escape in a header", "\x1B[1m" + valid, false, u"binary data"},
        {"a DEL after the fourteenth line", valid + "\x7F\r\n", false, u"binary data"},
        {"unreadable", valid, true, u"Permission denied."},
    };
    for (const Refusal& c : cases) {
        StartedForm f;
        FakeDocumentPort p;
        f.host.enter(FirstTextField, u"Previous");
        f.host.enter(BirthDateField, u"2016/1/1");
        f.host.enter(DomainField + 2, u"7");
        commitFocusedField(f.state);
        const FormSnapshot before = snapshot(f);

        const std::u16string path(StudentPath);
        if (c.bytes) {
            p.files[path] = *c.bytes;
        }
        if (c.unreadable) {
            p.unreadable.insert(path);
        }
        p.openChoice = path;
        openProfile(f.state, p);

        EXPECT_EQ(snapshot(f), before) << c.what;
        ASSERT_EQ(f.host.messages.size(), 1u) << c.what;
        EXPECT_EQ(f.host.messages[0].caption, OpenFailedCaption) << c.what;
        EXPECT_NE(f.host.messages[0].text.find(StudentName), std::u16string::npos) << c.what;
        EXPECT_NE(f.host.messages[0].text.find(c.said), std::u16string::npos) << c.what;
    }
}

TEST_F(ProfileCommands, AFileOfExactly64KiBOpens) {
    std::vector<std::string> lines = studentLines();
    const std::size_t others = joinLines(lines).size() - lines[0].size();
    lines[0] = std::string(MaxProfileBytes - others, 'n');
    const std::string bytes = joinLines(lines);
    ASSERT_EQ(bytes.size(), MaxProfileBytes);

    open(bytes);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.fieldText(FirstTextField).size(), lines[0].size());
}

TEST_F(ProfileCommands, RejectedBirthDateLeavesNothingOfThePreviousStudent) {
    const std::vector<std::string> dates{"YYYY/MM/DD", "1979/12/31", "2026/12/7",
                                         "",           "2016/2/30",  "1/1/2016"};
    for (const std::string& date : dates) {
        StartedForm f;
        FakeDocumentPort p;
        f.host.enter(BirthDateField, u"2012/5/5");
        f.host.enter(DomainField + 1, u"8");
        f.host.enter(DomainField + 4, u"12");
        const auto ringsBefore = snapshot(f).rings;

        std::vector<std::string> lines = studentLines();
        lines[1] = date;
        p.files[u"f.tanu"] = joinLines(lines);
        p.openChoice = u"f.tanu";
        openProfile(f.state, p);

        EXPECT_EQ(f.host.fieldText(BirthDateField), u"YYYY/MM/DD") << date;
        EXPECT_TRUE(f.state.birthDatePlaceholder) << date;
        EXPECT_EQ(f.state.model.domainValues, (std::array<std::uint32_t, DomainCount>{})) << date;
        for (int id = DomainField; id < DomainField + static_cast<int>(DomainCount); ++id) {
            EXPECT_EQ(f.host.fieldText(id), u"") << date << " field " << id;
            EXPECT_FALSE(f.host.isEnabled(id)) << date << " field " << id;
        }
        EXPECT_EQ(f.state.ageText, u"-") << date;
        EXPECT_EQ(snapshot(f).rings, ringsBefore) << date;
        EXPECT_EQ(f.host.fieldText(FirstTextField), u"Anna") << date;
        EXPECT_EQ(f.host.focus(), FirstTextField) << date;
        ASSERT_EQ(f.host.messages.size(), 1u) << date;
        EXPECT_EQ(f.host.messages[0].caption, BirthDateNotLoadedCaption) << date;
        EXPECT_NE(f.host.messages[0].text.find(u"\"f.tanu\""), std::u16string::npos) << date;
    }
}

TEST_F(ProfileCommands, FieldsShowExactlyTheFilesValuesAndOnlyALossIsReported) {
    struct Case {
        const char* what;
        std::string date;
        std::string values;        // ten digits, one per domain
        std::u16string_view shown; // what the ten fields show afterwards, one character each
        bool reported;
    };
    const std::vector<Case> cases{
        {"accepted date, no values", "2016/1/1", "0000000000", u"          ", false},
        {"accepted date, values", "2016/1/1", "0300500009", u" 3  5    9", false},
        {"name only", "YYYY/MM/DD", "0000000000", u"          ", false},
        {"empty date, no values", "", "0000000000", u"          ", false},
        {"placeholder with values", "YYYY/MM/DD", "0300000000", u"          ", true},
        {"unacceptable date, no values", "2031/1/1", "0000000000", u"          ", true},
    };
    for (const Case& c : cases) {
        StartedForm f;
        FakeDocumentPort p;
        f.host.enter(BirthDateField, u"2012/5/5");
        for (int k = 0; k < static_cast<int>(DomainCount); ++k) {
            f.host.enter(DomainField + k, u"8");
        }
        std::vector<std::string> lines{"Name", c.date, "YYYY/MM/DD", ""};
        for (const char digit : c.values) {
            lines.emplace_back(1, digit);
        }
        p.files[u"f.tanu"] = joinLines(lines);
        p.openChoice = u"f.tanu";
        openProfile(f.state, p);

        for (std::size_t k = 0; k < DomainCount; ++k) {
            const std::u16string expected =
                c.shown[k] == u' ' ? u"" : std::u16string(1, c.shown[k]);
            EXPECT_EQ(f.host.fieldText(DomainField + static_cast<int>(k)), expected)
                << c.what << " domain " << k;
        }
        EXPECT_EQ(f.host.messages.size(), c.reported ? 1u : 0u) << c.what;
    }
}

TEST_F(ProfileCommands, SecondDatePlaceholderFollowsLineThree) {
    const std::vector<std::pair<std::string, bool>> cases{
        {"YYYY/MM/DD", true},  {"YYYY/MM/DD ", false}, {" YYYY/MM/DD", false},
        {"yyyy/mm/dd", false}, {"2020/1/1", false},    {"", false},
        {"YYYY/MM/D", false},
    };
    for (const auto& [line, flag] : cases) {
        for (const bool placeholderBefore : {true, false}) {
            state.secondDatePlaceholder = placeholderBefore;
            std::vector<std::string> lines = studentLines();
            lines[2] = line;
            open(joinLines(lines));
            EXPECT_EQ(state.secondDatePlaceholder, flag) << '"' << line << '"';
            EXPECT_EQ(host.fieldText(SecondDateField), widenText(line));
        }
    }
    // With line feeds alone the placeholder is still recognised.
    std::vector<std::string> lines = studentLines();
    lines[2] = "YYYY/MM/DD";
    open(joinLines(lines, "\n"));
    EXPECT_TRUE(state.secondDatePlaceholder);
}

TEST_F(ProfileCommands, OpenLeavesTheCaretAfterTheFirstLine) {
    const std::vector<std::pair<std::string, int>> cases{{"Anna", 4},
                                                         {"", 0},
                                                         {"a\xF0\x9F\x98\x80"
                                                          "b",
                                                          4},
                                                         {"Zo\xEB", 3}};
    for (const auto& [line, caret] : cases) {
        host.click(SecondTextField);
        std::vector<std::string> lines = studentLines();
        lines[0] = line;
        open(joinLines(lines));
        EXPECT_EQ(host.focus(), FirstTextField);
        EXPECT_EQ(host.field(FirstTextField).selectionStart, caret) << line;
        EXPECT_EQ(host.field(FirstTextField).selectionEnd, caret) << line;
    }
}

TEST_F(ProfileCommands, OpensOwnFocusMoveCommitsNothing) {
    // The focus comes back into the birth-date field when the dialog closes; leaving it for the
    // first text field must not commit the placeholder that Open has just written there.
    enterStudent();
    port.duringDialog = [this] { host.click(BirthDateField); };
    std::vector<std::string> lines = studentLines();
    lines[1] = "YYYY/MM/DD";
    open(joinLines(lines));

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, BirthDateNotLoadedCaption);
    EXPECT_EQ(host.focus(), FirstTextField);

    // The same with the focus back in a domain field and an acceptable date: the loaded values
    // stay as the file gave them.
    host.messages.clear();
    host.enter(BirthDateField, u"2016/1/1");
    port.duringDialog = [this] { host.click(DomainField + 4); };
    open(joinLines(studentLines()));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.fieldText(DomainField + 4), u"22");
    EXPECT_EQ(state.model.rings.back().years, 22u);
}

TEST_F(ProfileCommands, SaveThenOpenGivesTheSameForm) {
    for (const bool secondDateVisited : {true, false}) {
        StartedForm f;
        FakeDocumentPort p;
        // Leaves the date field by a click, so the second date keeps its placeholder unless it
        // is visited.
        const auto enterBirthDate = [&f] {
            f.host.click(BirthDateField);
            f.host.type(u"2016/1/1");
            f.host.click(SecondTextField);
        };
        f.host.enter(FirstTextField, u"Bo \u00D8stergaard \u0141\u00F3d\u017A \U0001F600");
        enterBirthDate();
        if (secondDateVisited) {
            f.host.enter(SecondDateField, u"2026/11/30");
        }
        f.host.enter(SecondTextField, u"Zo\u00EB \u00C3\u00A9");
        f.host.enter(DomainField + 0, u"5");
        f.host.enter(DomainField + 3, u"1");
        f.host.enter(DomainField + 9, u"9");
        enterBirthDate();
        f.host.click(FirstTextField);
        commitFocusedField(f.state);
        ASSERT_EQ(f.state.secondDatePlaceholder, !secondDateVisited);
        FormSnapshot saved = snapshot(f);

        p.saveChoice = u"r.tanu";
        saveProfile(f.state, p);
        newProfile(f.state);
        p.openChoice = u"r.tanu";
        openProfile(f.state, p);

        // Selections are the one thing that may differ: Open puts the caret after line 1.
        FormSnapshot opened = snapshot(f);
        for (FormSnapshot* s : {&saved, &opened}) {
            for (auto& field : s->fields) {
                std::get<2>(field) = std::get<3>(field) = 0;
            }
        }
        EXPECT_EQ(opened, saved) << secondDateVisited;
        EXPECT_TRUE(f.host.messages.empty());
    }
}

} // namespace
} // namespace tanu
