// The real main window of the Windows program, driven in this process as a user would: focus
// moves, keys through the program's own message handling, commands, and the dialogs they open.
#include "app/system_texts.h"
#include "chart/chart_painter.h"
#include "document/document_texts.h"
#include "form/accessible_texts.h"
#include "form/chart_content.h"
#include "form/entry_form.h"
#include "gdiplus_test_support.h"
#include "pixel_difference.h"
#include "shell/win32/dpi.h"
#include "shell/win32/gdiplus_artwork.h"
#include "shell/win32/gdiplus_surface.h"
#include "shell/win32/main_window.h"
#include "shell/win32/resource_ids.h"
#include "shell/win32/win32_document_port.h"
#include "shell/win32/win32_printer_port.h"
#include "shell/win32/win32_text.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tanu::win32 {
namespace {

// The dialogs pick the paths the test queues, in order; the files are real.
class QueuedPathPort final : public Win32DocumentPort {
public:
    std::deque<std::u16string> paths;
    std::optional<std::u16string> chooseOpenPath() override { return next(); }
    std::optional<std::u16string> chooseSavePath(std::u16string_view) override { return next(); }

private:
    std::optional<std::u16string> next() {
        if (paths.empty()) {
            return std::nullopt;
        }
        std::u16string path = paths.front();
        paths.pop_front();
        return path;
    }
};

// The page goes into a bitmap: a US Letter landscape sheet at 96 dots per inch, white.
class BitmapPrinterPort final : public Win32PrinterPort {
public:
    static constexpr int Width = 1056;
    static constexpr int Height = 816;
    std::vector<std::uint32_t> page; // 0xRRGGBB, row by row, once the job ended
    int jobs = 0;

protected:
    HDC startPage(std::u16string_view, std::u16string&) override {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = Width;
        info.bmiHeader.biHeight = -Height; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<std::uint32_t*>(bits);
        SelectObject(dc_, bitmap_);
        PatBlt(dc_, 0, 0, Width, Height, WHITENESS);
        return dc_;
    }
    void finishPage(HDC) override {
        GdiFlush();
        page.assign(bits_, bits_ + Width * Height);
        for (std::uint32_t& p : page) {
            p &= 0xFFFFFFu;
        }
        ++jobs;
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

// Answers every dialog box of this thread (message boxes, the About box) as it is activated:
// records it and presses the queued key in it. Driven by the activation itself, not by time.
class DialogAnswerer {
public:
    struct Seen {
        std::wstring caption;
        std::wstring text; // a message box's message
        POINT clientOrigin;
    };

    DialogAnswerer() {
        current = this;
        hook_ = SetWindowsHookExW(WH_CBT, onHook, nullptr, GetCurrentThreadId());
    }
    ~DialogAnswerer() {
        UnhookWindowsHookEx(hook_);
        current = nullptr;
    }

    std::deque<WPARAM> keys; // VK_RETURN or VK_ESCAPE, one per dialog
    std::vector<Seen> seen;

private:
    static LRESULT CALLBACK onHook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE && current != nullptr) {
            current->activated(reinterpret_cast<HWND>(wParam));
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    void activated(HWND window) {
        wchar_t className[32] = {};
        GetClassNameW(window, className, 32);
        if (std::wstring(className) != L"#32770" || window == last_) {
            return;
        }
        last_ = window;
        Seen s{};
        wchar_t text[512] = {};
        GetWindowTextW(window, text, 512);
        s.caption = text;
        text[0] = 0;
        GetDlgItemTextW(window, 0xFFFF, text, 512); // a message box's message
        s.text = text;
        ClientToScreen(window, &s.clientOrigin);
        seen.push_back(s);
        const WPARAM key = keys.empty() ? VK_ESCAPE : keys.front();
        if (!keys.empty()) {
            keys.pop_front();
        }
        // Handled by the box's own loop once it runs, as a key press would be.
        PostMessageW(window, WM_KEYDOWN, key, 0);
    }

    static inline DialogAnswerer* current = nullptr;
    HHOOK hook_ = nullptr;
    HWND last_ = nullptr;
};

// The smallest rectangle holding every pixel that is not white, right and bottom exclusive.
struct Box {
    int left = 1 << 30, top = 1 << 30, right = 0, bottom = 0;
};
Box inkBox(const std::vector<std::uint32_t>& rgb, int width) {
    Box box;
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        if (rgb[i] != 0xFFFFFFu) {
            const int x = static_cast<int>(i % static_cast<std::size_t>(width));
            const int y = static_cast<int>(i / static_cast<std::size_t>(width));
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                   std::max(box.bottom, y + 1)};
        }
    }
    return box;
}

class ShellTest : public ::testing::Test {
protected:
    ShellTest()
        : window_(GetModuleHandleW(nullptr), images_, documents_, printer_, [] {
              return CalendarDate{2020, 6, 1};
          }) {
        images_ = loadImageSet(testing::programFolder() / "data", decoder_);
        main_ = window_.create(SW_SHOW);
    }

    HWND field(int id) const { return window_.fields().control(id); }
    void type(int id, const wchar_t* text) {
        SetFocus(field(id));
        SetWindowTextW(field(id), text);
    }
    // A key pressed in the focused control, through the program's own message handling.
    void press(WPARAM key, bool shift = false, bool ctrl = false) {
        holdKeys(shift, ctrl, false);
        MSG message{GetFocus(), WM_KEYDOWN, key, 1, 0, {}};
        window_.handleMessage(message);
        holdKeys(false, false, false);
    }
    // A character typed with Alt held, as the keyboard's translation delivers it.
    void typeWithAlt(wchar_t character) {
        holdKeys(false, false, true);
        MSG message{GetFocus(), WM_SYSCHAR, character, 1 | (1 << 29), 0, {}};
        window_.handleMessage(message);
        holdKeys(false, false, false);
    }
    static void holdKeys(bool shift, bool ctrl, bool alt) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        keys[VK_MENU] = alt ? 0x80 : 0;
        SetKeyboardState(keys);
    }
    void command(int id) { SendMessageW(main_, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    std::wstring text(int id) const {
        wchar_t buffer[300] = {};
        GetWindowTextW(field(id), buffer, 300);
        return buffer;
    }
    std::filesystem::path temporaryFile(const char* name) const {
        return testing::programFolder() / (std::string("shell_test_") + name);
    }

    // Answers every box, so that none waits for a user; tests queue keys and read what showed.
    DialogAnswerer boxes_;
    GdiplusImageDecoder decoder_{true}; // with the double-size pictures, as the program
    ImageSet images_;
    QueuedPathPort documents_;
    BitmapPrinterPort printer_;
    MainWindow window_;
    HWND main_ = nullptr;
};

// A device context on a top-down 32-bit bitmap, by default of the chart's size, as a window's
// is.
class ChartDc {
public:
    explicit ChartDc(int width = ChartWidth, int height = ChartHeight)
        : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
    }
    ~ChartDc() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    ChartDc(const ChartDc&) = delete;
    ChartDc& operator=(const ChartDc&) = delete;

    HDC dc() const { return dc_; }
    testing::Pixels pixels() const {
        GdiFlush();
        const auto* first = static_cast<const std::uint32_t*>(bits_);
        testing::Pixels opaque{width_, height_, {first, first + width_ * height_}};
        for (std::uint32_t& p : opaque.argb) {
            p |= 0xFF000000u;
        }
        return opaque;
    }

private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    void* bits_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// What the window shows before anything repaints it: the fixture has just created it, and no
// message has run since.
TEST_F(ShellTest, TheFirstPaintIsTheWholeStartChart) {
    const double scale = window_.chartScale();
    const SIZE client = win32::clientSizeFor(scale);
    ChartDc shown(client.cx, client.cy);
    HDC windowDc = GetDC(main_);
    BitBlt(shown.dc(), 0, 0, client.cx, client.cy, windowDc, 0, 0, SRCCOPY);
    ReleaseDC(main_, windowDc);

    // The start chart as the painter makes it on a device context: rings 7..15, the one-year
    // legend, the badges.
    ChartDc expected(client.cx, client.cy);
    {
        GdiplusSurface surface(expected.dc(), scale);
        ChartContent start;
        rebuildRings(start.model, StartScaleLow, StartScaleHigh);
        paintChart(surface, start, images_, false);
    }
    // Wine draws a window's device context without antialiasing and with its text its own way:
    // as against the golden picture, each must lie within the other's colours nearby.
    testing::Pixels window = shown.pixels();
    const testing::Pixels chart = expected.pixels();
    // The fields with their sunken edges and the caret are the controls' own.
    const int edge = win32::scaled(2, scale);
    for (const IntRect& chartRect : FieldRects) {
        const IntRect r = win32::scaled(chartRect, scale);
        for (int y = r.y - edge; y < r.y + r.height + edge; ++y) {
            for (int x = r.x - edge; x < r.x + r.width + edge; ++x) {
                const auto at = static_cast<std::size_t>(y * client.cx + x);
                window.argb[at] = chart.argb[at];
            }
        }
    }
    // The tolerance in chart units, as at the standard density.
    const int radius = win32::scaled(testing::ShapeRadius, scale);
    const double area = scale * scale;
    const int windowOutside =
        testing::outsideRange(window, chart, radius, testing::ColourTolerance);
    const int chartOutside = testing::outsideRange(chart, window, radius, testing::ColourTolerance);
    EXPECT_LE(windowOutside, 150 * area);
    EXPECT_LE(chartOutside, 20 * area);
}

// At the screen's density: the client area, each field and the control font scale by dpi / 96,
// and the chart is drawn at that scale with the double-size pictures. The Windows tests run at
// 96 dots per inch, and this one also at 144 and 192.
TEST_F(ShellTest, ScalesWithTheScreensDensity) {
    const UINT dpi = win32::dpiOf(main_);
    const double scale = dpi / 96.0;
    std::printf("screen density %u dots per inch\n", dpi);
    EXPECT_EQ(window_.chartScale(), scale);
    RECT client{};
    GetClientRect(main_, &client);
    EXPECT_EQ(client.right, win32::scaled(ChartWidth, scale));
    EXPECT_EQ(client.bottom, win32::scaled(ChartHeight, scale));
    for (int id = DomainField; id <= SecondTextField; ++id) {
        RECT place{};
        GetWindowRect(field(id), &place);
        MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&place), 2);
        const IntRect expected = win32::scaled(fieldRect(id), scale);
        EXPECT_EQ(place.left, expected.x) << id;
        EXPECT_EQ(place.top, expected.y) << id;
        EXPECT_EQ(place.right - place.left, expected.width) << id;
        EXPECT_EQ(place.bottom - place.top, expected.height) << id;
    }
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(field(FirstTextField), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(font.lfHeight, win32::scaled(ControlFontCellHeight, scale));

    // The typical profile as the window paints it, against the golden picture of its density.
    const char* golden = dpi == 96    ? "typical_profile.png"
                         : dpi == 192 ? "typical_profile@2x.png"
                                      : nullptr;
    if (golden == nullptr) {
        return;
    }
    rebuildRings(window_.state().model, 7, 15);
    window_.state().model.domainValues = {9, 12, 14, 10, 11, 13, 8, 15, 12, 10};
    window_.state().ageText = u"12";
    ChartDc painted(client.right, client.bottom);
    window_.paintChartOn(painted.dc());
    GdiplusImageDecoder decoder;
    const auto picture =
        decoder.decodeFile(testing::programFolder() / "golden" / golden, {4000, 4000}).bitmap;
    ASSERT_NE(picture, nullptr);
    const testing::Pixels expected =
        testing::readPixels(static_cast<const GdiplusBitmap&>(*picture).handle());
    const testing::Pixels shown = painted.pixels();
    ASSERT_EQ(expected.width, shown.width);
    // The golden test's tolerance in chart units: shapes may lie as many device pixels apart as
    // a chart unit has, and the counts grow with the area.
    const int density = static_cast<int>(dpi / 96);
    const int shownOutside = testing::outsideRange(shown, expected, testing::ShapeRadius * density,
                                                   testing::ColourTolerance);
    const int goldenOutside = testing::outsideRange(expected, shown, testing::ShapeRadius * density,
                                                    testing::ColourTolerance);
    std::printf("at %u dpi, outside each other's colours: %d painted, %d golden pixels\n", dpi,
                shownOutside, goldenOutside);
    EXPECT_LE(shownOutside, 150 * density * density);
    EXPECT_LE(goldenOutside, 20 * density * density);
}

// Moved to a screen of another density, the window takes that screen's scale, and back.
TEST_F(ShellTest, DensityChangeRescalesTheWindowFieldsAndFont) {
    RECT start{};
    GetClientRect(main_, &start);
    const UINT dpi = win32::dpiOf(main_);
    for (const UINT screen : {96u, dpi}) {
        SCOPED_TRACE(screen);
        RECT proposed{};
        GetWindowRect(main_, &proposed);
        SendMessageW(main_, WM_DPICHANGED, MAKEWPARAM(screen, screen),
                     reinterpret_cast<LPARAM>(&proposed));
        RECT client{};
        GetClientRect(main_, &client);
        const double scale = screen == 96 ? 1.0 : window_.chartScale();
        EXPECT_EQ(window_.chartScale(), screen == 96 ? 1.0 : static_cast<double>(dpi) / 96);
        EXPECT_EQ(client.right, screen == 96 ? ChartWidth : start.right);
        EXPECT_EQ(client.bottom, screen == 96 ? ChartHeight : start.bottom);
        RECT place{};
        GetWindowRect(field(BirthDateField), &place);
        MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&place), 2);
        const IntRect expected = win32::scaled(fieldRect(BirthDateField), scale);
        EXPECT_EQ(place.left, expected.x);
        EXPECT_EQ(place.bottom - place.top, expected.height);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(field(SecondTextField), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        EXPECT_EQ(font.lfHeight, win32::scaled(ControlFontCellHeight, scale));
    }
}

// What a screen reader reads: each field by its label, the chart by its name and a description
// that follows the profile.
TEST_F(ShellTest, ScreenReadersGetTheFieldNamesAndTheChartsDescription) {
    // A screen reader's thread, as the program's own, runs COM.
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const auto text = [](HWND window,
                         HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
        IAccessible* object = nullptr;
        if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                              IID_IAccessible,
                                              reinterpret_cast<void**>(&object)))) {
            return std::wstring(L"(no accessible object)");
        }
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR got = nullptr;
        std::wstring result;
        if ((object->*get)(self, &got) == S_OK && got != nullptr) {
            result.assign(got, SysStringLen(got));
        }
        SysFreeString(got);
        object->Release();
        return result;
    };
    for (int id = DomainField; id <= SecondTextField; ++id) {
        EXPECT_EQ(text(field(id), &IAccessible::get_accName), wide(fieldAccessibleName(id))) << id;
    }
    EXPECT_EQ(text(main_, &IAccessible::get_accName), L"Profile chart");
    EXPECT_EQ(text(main_, &IAccessible::get_accDescription).substr(0, 54),
              L"Age: -. Rings from 7 to 15 years, one ring per year. D");
    type(BirthDateField, L"2010/1/1");
    press(VK_TAB);
    EXPECT_EQ(text(main_, &IAccessible::get_accDescription),
              wide(chartDescription(window_.state().model, u"10")));
    CoUninitialize();
}

TEST_F(ShellTest, WindowHasTheFixedClientAreaTitleMenuAndPlace) {
    ASSERT_NE(main_, nullptr);
    RECT client{};
    GetClientRect(main_, &client);
    EXPECT_EQ(client.right - client.left, ChartWidth);
    EXPECT_EQ(client.bottom - client.top, ChartHeight);
    wchar_t title[32] = {};
    GetWindowTextW(main_, title, 32);
    EXPECT_EQ(std::wstring(title), wide(MainWindowTitle));
    const LONG_PTR style = GetWindowLongPtrW(main_, GWL_STYLE);
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    RECT frame{}, screen{};
    GetWindowRect(main_, &frame);
    GetWindowRect(GetDesktopWindow(), &screen);
    EXPECT_EQ(frame.left, (screen.right - (frame.right - frame.left)) / 2);
    EXPECT_EQ(frame.top, (screen.bottom - (frame.bottom - frame.top)) / 2);

    // Each command's menu item shows its caption and the shortcut that runs it.
    for (const CommandInfo& info : Commands) {
        wchar_t item[64] = {};
        GetMenuStringW(GetMenu(main_), static_cast<UINT>(info.id), item, 64, MF_BYCOMMAND);
        const std::u16string shortcut = shortcutText(info);
        EXPECT_EQ(std::wstring(item),
                  wide(info.caption) + (shortcut.empty() ? L"" : L"\t" + wide(shortcut)));
    }
}

TEST_F(ShellTest, TabSkipsLockedFieldsUntilABirthDateUnlocksThem) {
    EXPECT_EQ(GetFocus(), field(FirstTextField));
    struct Step {
        int from;
        bool shift;
        int to;
    };
    // Leaving the date of birth empty would commit it: the steps end in it.
    for (const Step& step :
         {Step{FirstTextField, true, SecondTextField}, Step{SecondTextField, false, FirstTextField},
          Step{FirstTextField, false, BirthDateField}}) {
        SetFocus(field(step.from));
        press(VK_TAB, step.shift);

        EXPECT_EQ(GetFocus(), field(step.to)) << step.from << (step.shift ? " back" : "");
    }
    EXPECT_FALSE(IsWindowEnabled(field(DomainField)));

    type(BirthDateField, L"2010/1/1");
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), field(SecondDateField));
    for (int k = 0; k < 10; ++k) {
        EXPECT_TRUE(IsWindowEnabled(field(DomainField + k))) << k;
    }
    EXPECT_EQ(window_.state().ageText, u"10");
    SetFocus(field(SecondTextField));
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), field(DomainField));
}

TEST_F(ShellTest, InvalidBirthDateShowsItsBoxOverTheWindowAndKeepsTheLock) {
    DialogAnswerer& boxes = boxes_;
    boxes.keys = {VK_RETURN};
    type(BirthDateField, L"1970/1/1");
    press(VK_TAB);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].caption, wide(InvalidDateCaption));
    EXPECT_EQ(boxes.seen[0].text, wide(InvalidDateText));
    EXPECT_FALSE(IsWindowEnabled(field(DomainField)));
}

// Every command by the key its menu item shows, typed in a field.
TEST_F(ShellTest, OpenSavePrintAndNewByTheirKeys) {
    const std::string profile = "Ada\r\n2010/1/1\r\nYYYY/MM/DD\r\nClass \xE9t\xE9\r\n"
                                "3\r\n5\r\n7\r\n9\r\n11\r\n13\r\n15\r\n17\r\n0\r\n10\r\n";
    const std::filesystem::path opened = temporaryFile("opened.tanu");
    const std::filesystem::path saved = temporaryFile("saved.tanu");
    std::ofstream(opened, std::ios::binary) << profile;
    std::filesystem::remove(saved);
    documents_.paths = {opened.u16string(), saved.u16string()};

    press('O', false, true);
    EXPECT_EQ(text(FirstTextField), L"Ada");
    EXPECT_EQ(text(SecondTextField), L"Class \u00E9t\u00E9");
    EXPECT_EQ(text(DomainField + 9), L"10");
    EXPECT_TRUE(IsWindowEnabled(field(DomainField)));

    press('S', false, true);
    {
        std::ifstream in(saved, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), profile);
    }

    // The printed page shows the chart centred on the printable area at 1/100 inch a unit.
    press('P', false, true);
    ASSERT_EQ(printer_.jobs, 1);
    const Box printed = inkBox(printer_.page, BitmapPrinterPort::Width);
    // The same picture on the window's own scale, where the chart fills 912 x 699.
    testing::Canvas canvas(ChartWidth, ChartHeight, 0xFFFFFFFFu);
    {
        GdiplusSurface surface(canvas.bitmap());
        paintChart(surface, chartContentOf(window_.state()), images_, true);
    }
    std::vector<std::uint32_t> onScreen = testing::readPixels(canvas.bitmap()).argb;
    for (std::uint32_t& p : onScreen) {
        p &= 0xFFFFFFu;
    }
    const Box drawn = inkBox(onScreen, ChartWidth);
    const double scale = 96.0 / PrintUnitsPerInch;
    const double left = (BitmapPrinterPort::Width - ChartWidth * scale) / 2;
    const double top = (BitmapPrinterPort::Height - ChartHeight * scale) / 2;
    EXPECT_NEAR(printed.left, left + drawn.left * scale, 2.0);
    EXPECT_NEAR(printed.right, left + drawn.right * scale, 2.0);
    EXPECT_NEAR(printed.top, top + drawn.top * scale, 2.0);
    EXPECT_NEAR(printed.bottom, top + drawn.bottom * scale, 2.0);

    // A rejected Open while a domain field has the focus locks that field: the focus moves on
    // to an enabled field, never staying where no key goes.
    std::string rejected = "Bob\r\n1970/1/1\r\nYYYY/MM/DD\r\n\r\n";
    for (int k = 0; k < 10; ++k) {
        rejected += "3\r\n";
    }
    std::ofstream(opened, std::ios::binary) << rejected;
    documents_.paths = {opened.u16string()};
    DialogAnswerer& boxes = boxes_;
    boxes.keys = {VK_RETURN};
    SetFocus(field(DomainField + 4));
    command(TANU_COMMAND_OPEN);
    EXPECT_EQ(boxes.seen.size(), 1u);
    EXPECT_FALSE(IsWindowEnabled(field(DomainField + 4)));
    // Once the box has closed, the keyboard is back on a field that takes it.
    EXPECT_EQ(GetFocus(), field(FirstTextField));

    press('N', false, true);
    EXPECT_EQ(text(FirstTextField), L"");
    EXPECT_EQ(text(BirthDateField), wide(DatePlaceholder));
    EXPECT_EQ(GetFocus(), field(FirstTextField));
    std::filesystem::remove(opened);
    std::filesystem::remove(saved);
}

// A device's name opens the device wherever the path puts it: refused, and said so.
TEST_F(ShellTest, DeviceNamesAreRefusedAsReservedByWindows) {
    DialogAnswerer& boxes = boxes_;
    const struct {
        int command;
        const char* name;
        std::u16string_view caption;
    } rows[] = {
        {TANU_COMMAND_SAVE, "nul.tanu", SaveFailedCaption},
        {TANU_COMMAND_SAVE, "CON", SaveFailedCaption},
        {TANU_COMMAND_SAVE, "com1.tanu", SaveFailedCaption},
        {TANU_COMMAND_OPEN, "aux.tanu", OpenFailedCaption},
        {TANU_COMMAND_OPEN, "prn.tanu", OpenFailedCaption},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        boxes.seen.clear();
        boxes.keys = {VK_RETURN};
        documents_.paths = {(testing::programFolder() / row.name).u16string()};
        command(row.command);
        ASSERT_EQ(boxes.seen.size(), 1u);
        EXPECT_EQ(boxes.seen[0].caption, wide(row.caption));
        EXPECT_NE(boxes.seen[0].text.find(wide(ReservedNameReason)), std::wstring::npos)
            << std::string(boxes.seen[0].text.begin(), boxes.seen[0].text.end());
    }
}

TEST_F(ShellTest, AboutBoxStandsAtTheClientOriginAndEndsWithEnterOrEscape) {
    DialogAnswerer& boxes = boxes_;
    boxes.keys = {VK_RETURN, VK_RETURN, VK_RETURN, VK_RETURN, VK_ESCAPE};
    // The menu's command, then Alt+? and Alt+/ typed in a field.
    command(TANU_COMMAND_ABOUT);
    typeWithAlt(L'?');
    typeWithAlt(L'/');
    ASSERT_EQ(boxes.seen.size(), 3u);
    POINT origin{0, 0};
    ClientToScreen(main_, &origin);
    for (const DialogAnswerer::Seen& box : boxes.seen) {
        EXPECT_EQ(box.caption, wide(AboutCaption));
        // A box that is not centred has its client area where its template says, from the
        // owner's client origin; its frame stands out around it.
        EXPECT_EQ(box.clientOrigin.x, origin.x);
        EXPECT_EQ(box.clientOrigin.y, origin.y);
    }

    struct Case {
        WPARAM key;
        INT_PTR result;
    };
    for (const Case& c : {Case{VK_RETURN, IDOK}, Case{VK_ESCAPE, IDCANCEL}}) {
        EXPECT_EQ(DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TANU_ABOUT_DIALOG),
                                  main_, aboutDialogProc, 0),
                  c.result);
    }
}

// Every way a user closes the window ends the program with 0.
enum class CloseBy { ExitCommand, CloseBox, AltF4 };

class ShellCloseTest : public ShellTest, public ::testing::WithParamInterface<CloseBy> {};

TEST_P(ShellCloseTest, EndsTheLoopWithZero) {
    // Should the window stay open, the loop still ends, with 99 instead of hanging: the quit
    // comes only once the queue is empty, and closing the window replaces its code with 0.
    PostQuitMessage(99);
    switch (GetParam()) {
    case CloseBy::ExitCommand:
        command(TANU_COMMAND_EXIT);
        break;
    case CloseBy::CloseBox:
        PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case CloseBy::AltF4: {
        // The system's own key: no accelerator of ours, the default handling closes.
        holdKeys(false, false, true);
        MSG message{GetFocus(), WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29), 0, {}};
        window_.handleMessage(message);
        holdKeys(false, false, false);
        break;
    }
    }
    EXPECT_EQ(window_.runMessageLoop(), 0);
    EXPECT_FALSE(IsWindow(main_));
}

INSTANTIATE_TEST_SUITE_P(Ways, ShellCloseTest,
                         ::testing::Values(CloseBy::ExitCommand, CloseBy::CloseBox,
                                           CloseBy::AltF4));

} // namespace
} // namespace tanu::win32
