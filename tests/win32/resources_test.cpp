// The resource script as windres compiles it into this test program: what the window's menu,
// keys, About box and strings will be, read back through the platform's own calls.
#include "shell/win32/gdiplus_api.h"
#include "shell/win32/resource_ids.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace tanu::win32 {
namespace {

HINSTANCE module() {
    return GetModuleHandleW(nullptr);
}

std::wstring loadString(UINT id) {
    const wchar_t* text = nullptr;
    // A length of 0 hands back a pointer into the resource itself.
    const int length = LoadStringW(module(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

TEST(Resources, StringsGiveTheTitleAndTheWindowClass) {
    EXPECT_EQ(loadString(TANU_TITLE_STRING), L"tanu");
    EXPECT_EQ(loadString(TANU_CLASS_STRING), L"TANU");
}

struct MenuItem {
    std::wstring text; // empty for a separator
    UINT id;
    bool operator==(const MenuItem&) const = default;
};

std::vector<MenuItem> itemsOf(HMENU menu) {
    std::vector<MenuItem> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 127;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back({(info.fType & MFT_SEPARATOR) != 0 ? L"" : text, info.wID});
    }
    return items;
}

TEST(Resources, MenuShowsEveryShortcutThatWorks) {
    HMENU bar = LoadMenuW(module(), MAKEINTRESOURCEW(TANU_MAIN_MENU));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    wchar_t title[32] = {};
    GetMenuStringW(bar, 0, title, 32, MF_BYPOSITION);
    EXPECT_STREQ(title, L"&File");
    GetMenuStringW(bar, 1, title, 32, MF_BYPOSITION);
    EXPECT_STREQ(title, L"&Help");
    const std::vector<MenuItem> file{{L"&New\tCtrl+N", TANU_COMMAND_NEW},
                                     {L"&Open\tCtrl+O", TANU_COMMAND_OPEN},
                                     {L"&Save\tCtrl+S", TANU_COMMAND_SAVE},
                                     {L"&Print\tCtrl+P", TANU_COMMAND_PRINT},
                                     {L"", 0},
                                     {L"E&xit\tAlt+F4", TANU_COMMAND_EXIT}};
    EXPECT_EQ(itemsOf(GetSubMenu(bar, 0)), file);
    const std::vector<MenuItem> help{{L"&About ...", TANU_COMMAND_ABOUT}};
    EXPECT_EQ(itemsOf(GetSubMenu(bar, 1)), help);
    DestroyMenu(bar);
}

TEST(Resources, AcceleratorsBindTheShortcutsTheMenuShows) {
    HACCEL table = LoadAcceleratorsW(module(), MAKEINTRESOURCEW(TANU_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    std::vector<ACCEL> entries(static_cast<std::size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, entries.data(), static_cast<int>(entries.size()));
    using Entry = std::tuple<int, int, int>; // flags without FNOINVERT, key, command
    std::set<Entry> got;
    for (const ACCEL& a : entries) {
        got.insert({a.fVirt & ~FNOINVERT, a.key, a.cmd});
    }
    const std::set<Entry> expected{{FVIRTKEY | FCONTROL, 'N', TANU_COMMAND_NEW},
                                   {FVIRTKEY | FCONTROL, 'O', TANU_COMMAND_OPEN},
                                   {FVIRTKEY | FCONTROL, 'S', TANU_COMMAND_SAVE},
                                   {FVIRTKEY | FCONTROL, 'P', TANU_COMMAND_PRINT},
                                   {FALT, '?', TANU_COMMAND_ABOUT},
                                   {FALT, '/', TANU_COMMAND_ABOUT}};
    EXPECT_EQ(got, expected);
    DestroyAcceleratorTable(table);
}

// Reads an extended dialog template field by field, keeping the alignment rules.
class TemplateReader {
public:
    explicit TemplateReader(const std::uint8_t* data) : at_(data) {}

    template <typename T> T read() {
        T value;
        std::memcpy(&value, at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    // A string, or an ordinal (0xFFFF and a number), or nothing (0).
    std::wstring text() {
        std::wstring s;
        if (read<std::uint16_t>() == 0xFFFF) {
            return L"#" + std::to_wstring(read<std::uint16_t>());
        }
        at_ -= 2;
        for (wchar_t c = read<wchar_t>(); c != 0; c = read<wchar_t>()) {
            s += c;
        }
        return s;
    }
    void alignTo(std::uintptr_t bytes, const std::uint8_t* base) {
        const auto offset = static_cast<std::uintptr_t>(at_ - base);
        at_ += (bytes - offset % bytes) % bytes;
    }

private:
    const std::uint8_t* at_;
};

struct Control {
    std::wstring kind; // "#128" button, "#130" static
    std::wstring text;
    int id;
    short x, y, width, height;
    DWORD style;
    bool operator==(const Control&) const = default;
};

TEST(Resources, AboutBoxIsLaidOutInDialogUnits) {
    HRSRC found = FindResourceW(module(), MAKEINTRESOURCEW(TANU_ABOUT_DIALOG),
                                MAKEINTRESOURCEW(5)); // RT_DIALOG
    ASSERT_NE(found, nullptr);
    const auto* base =
        static_cast<const std::uint8_t*>(LockResource(LoadResource(module(), found)));
    TemplateReader r(base);
    EXPECT_EQ(r.read<WORD>(), 1);      // version
    EXPECT_EQ(r.read<WORD>(), 0xFFFF); // extended
    r.read<DWORD>();                   // help id
    EXPECT_EQ(r.read<DWORD>(), 0u);    // extended style
    EXPECT_EQ(r.read<DWORD>(), static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU |
                                                  DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS));
    const WORD count = r.read<WORD>();
    const short box[] = {r.read<short>(), r.read<short>(), r.read<short>(), r.read<short>()};
    EXPECT_EQ(std::vector<short>(box, box + 4), (std::vector<short>{0, 0, 330, 190}));
    EXPECT_EQ(r.text(), L""); // no menu
    EXPECT_EQ(r.text(), L""); // the standard dialog class
    EXPECT_EQ(r.text(), L"About tanu");
    EXPECT_EQ(r.read<WORD>(), 8);   // points
    EXPECT_EQ(r.read<WORD>(), 400); // weight
    EXPECT_EQ(r.read<BYTE>(), 0);   // not italic
    EXPECT_EQ(r.read<BYTE>(), DEFAULT_CHARSET);
    EXPECT_EQ(r.text(), L"MS Shell Dlg");

    constexpr DWORD Child = WS_CHILD | WS_VISIBLE;
    constexpr DWORD Line = Child | WS_GROUP | SS_LEFT;
    const std::vector<Control> expected{
        {L"#130", L"tanu, Version 1.0", -1, 20, 14, 114, 8, Line | SS_NOPREFIX},
        {L"#130", L"Step 1 - enter a DOB to unlock the wedge input areas.", -1, 20, 50, 320, 8,
         Line},
        {L"#130",
         L"Q: I accidentally put a large number into a domain and now the ring values have "
         L"changed.",
         -1, 20, 70, 320, 8, Line},
        {L"#130", L"How do I reset them?", -1, 30, 82, 320, 8, Line},
        {L"#130",
         L"A: Click in the Date of Birth field and then click in the domain you want to change - "
         L"it "
         L"should",
         -1, 20, 100, 320, 8, Line},
        {L"#130",
         L"reset to the age of the student. Warning: clicking in the Date of Birth field and then "
         L"clicking",
         -1, 30, 112, 320, 8, Line},
        {L"#130",
         L"any other field will reset ALL domains with values higher than the chronological age.",
         -1, 30, 124, 320, 8, Line},
        {L"#128", L"OK", IDOK, 142, 168, 50, 14, Child | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON}};
    std::vector<Control> controls;
    for (WORD i = 0; i < count; ++i) {
        r.alignTo(4, base);
        r.read<DWORD>(); // help id
        r.read<DWORD>(); // extended style
        const DWORD style = r.read<DWORD>();
        Control c{};
        c.x = r.read<short>();
        c.y = r.read<short>();
        c.width = r.read<short>();
        c.height = r.read<short>();
        c.id = static_cast<int>(r.read<std::int32_t>());
        c.kind = r.text();
        c.text = r.text();
        c.style = style;
        const WORD extra = r.read<WORD>();
        for (WORD b = 0; b < extra; ++b) {
            r.read<BYTE>();
        }
        controls.push_back(c);
    }
    EXPECT_EQ(controls, expected);
}

TEST(Resources, ManifestAsksToRunAtTheCallersLevel) {
    HRSRC found = FindResourceW(module(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    ASSERT_NE(found, nullptr);
    const auto* data = static_cast<const char*>(LockResource(LoadResource(module(), found)));
    const std::string manifest(data, SizeofResource(module(), found));
    EXPECT_NE(manifest.find(R"(level="asInvoker")"), std::string::npos);
    EXPECT_NE(manifest.find(R"(uiAccess="false")"), std::string::npos);
}

// What Properties > Details shows of the program.
TEST(Resources, VersionResourceNamesTheProductAndItsMaker) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeW(path, &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(info.size()), info.data()));
    const auto value = [&info](const wchar_t* name) {
        wchar_t* text = nullptr;
        UINT length = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        return VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&text), &length) &&
                       length > 0
                   ? std::wstring(text)
                   : std::wstring();
    };
    EXPECT_EQ(value(L"ProductName"), L"TANU");
    EXPECT_EQ(value(L"CompanyName"), L"The TANU developers");
    EXPECT_EQ(value(L"FileDescription"), L"TANU developmental profile chart");
    EXPECT_EQ(value(L"ProductVersion"), L"1.0");
    EXPECT_EQ(value(L"LegalCopyright"), L"Copyright 2026 The TANU developers");
}

} // namespace
} // namespace tanu::win32
