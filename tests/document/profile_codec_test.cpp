// The pure rules of the profile file: line splitting, the two number rules, the header text
// encoding and the message texts.
#include "document/profile_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tanu {
namespace {

using namespace std::string_literals;

struct SaveCase {
    std::u16string text;
    std::uint32_t saved;
};

TEST(SavedDomainValue, FollowsTheSaveRule) {
    const std::vector<SaveCase> cases{
        {u"", 0},
        {u"0", 0},
        {u"1", 2},
        {u"2", 2},
        {u"007", 7},
        {u"21", 21},
        {u"23", 23},
        {u" 5", 0},
        {u"5 ", 0},
        {u"+5", 0},
        {u"-3", 0},
        {u"a", 0},
        {u"12abc", 0},
        {u"\uFF15", 0},
        {u"2147483647", 2147483647},
        {u"2147483648", 0},
        {u"4294967295", 0},
        {u"99999999999", 0},
        {u"0000000000000000000001", 2},
    };
    for (const SaveCase& c : cases) {
        EXPECT_EQ(savedDomainValue(c.text), c.saved) << std::string(c.text.begin(), c.text.end());
    }
}

struct OpenCase {
    std::string line;
    std::uint32_t value;
};

TEST(OpenedDomainValue, ReadsAFormattedNumberAndClampsIt) {
    const std::vector<OpenCase> cases{
        {"0", 0},
        {"-0", 0},
        {"1", 2},
        {"2", 2},
        {"-5", 2},
        {"-2147483648", 2},
        {"3", 3},
        {"21", 21},
        {"22", 22},
        {"23", 22},
        {"2147483647", 22},
        {"2147483648", 0},
        {"-2147483649", 0},
        {"99999999999999999999999", 0},
        {"  7", 7},
        {"\t\v\f\r 8", 8},
        {"+9", 9},
        {"7abc", 7},
        {"3.9", 3},
        {"12 34", 12},
        {"", 0},
        {"abc", 0},
        {"+", 0},
        {"-", 0},
        {"- 5", 0},
        {"++5", 0},
        {"x5", 0},
        {"0005", 5},
    };
    for (const OpenCase& c : cases) {
        EXPECT_EQ(openedDomainValue(c.line), c.value) << '"' << c.line << '"';
    }
}

TEST(ReadLineNumber, KeepsTheSignedValueBeforeClamping) {
    EXPECT_EQ(readLineNumber("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(readLineNumber("2147483647"), 2147483647);
    EXPECT_EQ(readLineNumber(" -17x"), -17);
}

struct SplitCase {
    std::string bytes;
    std::vector<std::string> lines;
};

TEST(SplitProfileLines, SplitsAtLineFeedsOnly) {
    const std::vector<SplitCase> cases{
        {"", {}},
        {"\n", {""}},
        {"\r\n", {""}},
        {"\r\n\r\n", {"", ""}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\r\n\nb\r\n", {"a", "", "b"}},
        {"a\rb\n", {"a\rb"}},
        {"a\r\r\n", {"a\r"}},
        {"a\r", {"a\r"}},
        {"\r", {"\r"}},
        {"x\0y\n"s, {"x\0y"s}},
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(splitProfileLines(c.bytes), c.lines) << '"' << c.bytes << '"';
    }
}

TEST(SplitProfileLines, StopsAtTheLimit) {
    EXPECT_EQ(splitProfileLines("a\nb\r\nc\nd", 2), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(splitProfileLines("a\nb", 5), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(splitProfileLines("a\n", 0).empty());
}

struct EncodeCase {
    const char* what;
    std::u16string text;
    std::string bytes;
};

TEST(EncodeHeaderText, OneBytePerCharacterOrUtf8) {
    const std::vector<EncodeCase> cases{
        {"ascii", u"Anna B.", "Anna B."},
        {"empty", u"", ""},
        {"latin-1 one byte each", u"Zo\u00EB \u00E9t\u00E9 \u00FF\u0080",
         "Zo\xEB \xE9t\xE9 \xFF\x80"},
        {"other controls become spaces, TAB stays", u"a\tb\u0001c\u001B\u007F", "a\tb c  "},
        {"above U+00FF as UTF-8", u"\u01E9", "\xC7\xA9"},
        {"whole text UTF-8 once one character needs it", u"\u00E9\u0100", "\xC3\xA9\xC4\x80"},
        {"low byte 0A does not end the line", u"\u010A\u010D", "\xC4\x8A\xC4\x8D"},
        {"line feed, carriage return, NUL become spaces", u"a\nb\rc\0d"s, "a b c d"},
        {"spaces also in UTF-8 texts", u"\u0100\n\u0100", "\xC4\x80 \xC4\x80"},
        {"surrogate pair as one character", u"\U0001F600", "\xF0\x9F\x98\x80"},
        {"lone high surrogate", u"a\xD83D"s + u"\u0100", "a\xEF\xBF\xBD\xC4\x80"},
        {"lone low surrogate", u"\xDE00"s, "\xEF\xBF\xBD"},
        {"reversed pair", u"\xDE00\xD83D"s, "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"latin-1 whose bytes would read as UTF-8", u"\u00C3\u00A9", "\xC3\x83\xC2\xA9"},
    };
    for (const EncodeCase& c : cases) {
        EXPECT_EQ(encodeHeaderText(c.text), c.bytes) << c.what;
    }
}

TEST(EncodeHeaderText, NeverWritesAControlCharacterOpenWouldRefuse) {
    for (char16_t unit = 0; unit < 0x800; ++unit) {
        const std::string bytes = encodeHeaderText(std::u16string(1, unit));
        for (const char b : bytes) {
            const auto byte = static_cast<unsigned char>(b);
            EXPECT_TRUE(byte == '\t' || (byte >= 0x20 && byte != 0x7F)) << static_cast<int>(unit);
        }
    }
}

struct DecodeCase {
    const char* what;
    std::string line;
    std::u16string text;
};

TEST(DecodeHeaderLine, Utf8WhenValidElseOneCharacterPerByte) {
    const std::vector<DecodeCase> cases{
        {"ascii", "Anna", u"Anna"},
        {"latin-1", "Zo\xEB", u"Zo\u00EB"},
        {"two-byte UTF-8", "\xC7\xA9", u"\u01E9"},
        {"three-byte UTF-8", "\xE2\x82\xAC", u"\u20AC"},
        {"four-byte UTF-8", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {"overlong form", "\xC0\xAF", u"\u00C0\u00AF"},
        {"overlong three-byte", "\xE0\x80\xAF", u"\u00E0\u0080\u00AF"},
        {"encoded surrogate", "\xED\xA0\x80", u"\u00ED\u00A0\u0080"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\u00F4\u0090\u0080\u0080"},
        {"cut sequence", "ab\xE2\x82", u"ab\u00E2\u0082"},
        {"stray continuation", "\x80", u"\u0080"},
        {"one bad byte spoils the line", "\xC7\xA9\xFF", u"\u00C7\u00A9\u00FF"},
        {"NUL byte", "a\0b"s, u"a\0b"s},
    };
    for (const DecodeCase& c : cases) {
        EXPECT_EQ(decodeHeaderLine(c.line), c.text) << c.what;
    }
}

TEST(HeaderText, ComesBackUnchanged) {
    const std::vector<std::u16string> texts{
        u"",
        u"Class 3b, group \u00BD",
        u"\u00C3\u00A9 \u00C2\u00A0", // latin-1 that looks like UTF-8 once narrowed
        u"\u00FF\u00FE\u0080",
        u"\u01E9\u0100 Zo\u00EB",
        u"\u4E2D\u6587 \U0001F600 \U0010FFFF",
        u"\uFEFF\uFFFD",
    };
    for (const std::u16string& text : texts) {
        EXPECT_EQ(decodeHeaderLine(encodeHeaderText(text)), text);
    }
}

TEST(WidenText, EachByteBecomesTheCodeUnitOfItsValue) {
    std::string bytes;
    std::u16string expected;
    for (int b = 0; b < 256; ++b) {
        bytes.push_back(static_cast<char>(b));
        expected.push_back(static_cast<char16_t>(b));
    }
    EXPECT_EQ(widenText(bytes), expected);
}

TEST(CutHeaderText, KeepsAtMost259UnitsAndWholePairs) {
    EXPECT_EQ(cutHeaderText(std::u16string(300, u'a')), std::u16string(259, u'a'));
    EXPECT_EQ(cutHeaderText(std::u16string(259, u'a')), std::u16string(259, u'a'));

    // A pair across the cut is dropped whole.
    const std::u16string straddling = std::u16string(258, u'a') + u"\U0001F600" + u"b";
    EXPECT_EQ(cutHeaderText(straddling), std::u16string(258, u'a'));
    // A pair that ends at unit 259 stays.
    const std::u16string fitting = std::u16string(257, u'a') + u"\U0001F600" + u"b";
    EXPECT_EQ(cutHeaderText(fitting), std::u16string(257, u'a') + u"\U0001F600");
    // A text of 259 units is not cut at all, even if it ends in half a pair.
    const std::u16string lone = std::u16string(258, u'a') + u"\xD83D"s;
    EXPECT_EQ(cutHeaderText(lone), lone);
}

TEST(FillMessage, PutsTheArgumentsOnceAndDropsAnEmptyReason) {
    EXPECT_EQ(fillMessage(u"File \"%1\" failed.\n\n%2", {u"a.tanu", u"Disk full"}),
              u"File \"a.tanu\" failed.\n\nDisk full");
    EXPECT_EQ(fillMessage(u"File \"%1\" failed.\n\n%2\n\nTry again.", {u"a.tanu", u""}),
              u"File \"a.tanu\" failed.\n\nTry again.");
    EXPECT_EQ(fillMessage(u"%1 and %1", {u"x"}), u"x and x");
    EXPECT_EQ(fillMessage(u"No %3 here", {u"x"}), u"No %3 here");
    // Inserted text is never read for placeholders again.
    EXPECT_EQ(fillMessage(u"\"%1\": %2", {u"100%2.tanu", u"gone"}), u"\"100%2.tanu\": gone");
    EXPECT_EQ(fillMessage(u"\"%1\": %2", {u"50%2off%1.tanu", u"No such file"}),
              u"\"50%2off%1.tanu\": No such file");
}

TEST(DisplayName, IsTheLastComponent) {
    EXPECT_EQ(displayName(u"/home/ann/p\u00F6.tanu"), u"p\u00F6.tanu");
    EXPECT_EQ(displayName(u"C:\\Users\\ann\\p.tanu"), u"p.tanu");
    EXPECT_EQ(displayName(u"p.tanu"), u"p.tanu");
    EXPECT_EQ(displayName(u"/odd/"), u"/odd/");
}

} // namespace
} // namespace tanu
