#include "shell/win32/win32_field_host.h"

#include "form/accessible_texts.h"
#include "form/entry_form.h"
#include "shell/win32/chart_accessible.h"
#include "shell/win32/dpi.h"
#include "shell/win32/win32_text.h"

#include <windows.h>

namespace tanu::win32 {

void Win32FieldHost::createField(int id, FieldRect chartRect) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    // Screen readers name an edit control after the static text just before it: the label the
    // chart's background shows beside the field, as a control of no size.
    CreateWindowExW(0, L"STATIC", win32::wide(fieldAccessibleName(id)).c_str(),
                    WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 0, 0, 0, window_, nullptr, instance,
                    nullptr);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    const IntRect rect = win32::scaled(chartRect, scale_);
    HWND edit =
        CreateWindowExW(0, L"EDIT", L"", style, rect.x, rect.y, rect.width, rect.height, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (font_ != nullptr) {
        SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    fields_[id] = edit;
}

void Win32FieldHost::rescale(HFONT__* font, double scale) {
    font_ = font;
    scale_ = scale;
    for (const auto& [id, edit] : fields_) {
        const IntRect rect = win32::scaled(fieldRect(id), scale_);
        MoveWindow(edit, rect.x, rect.y, rect.width, rect.height, FALSE);
        SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
}

std::u16string Win32FieldHost::fieldText(int id) const {
    HWND edit = control(id);
    const int length = GetWindowTextLengthW(edit);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(edit, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return win32::utf16(text);
}

void Win32FieldHost::setFieldText(int id, std::u16string_view text) {
    SetWindowTextW(control(id), win32::wide(text).c_str());
}

void Win32FieldHost::setFieldEnabled(int id, bool enabled) {
    HWND edit = control(id);
    if (!enabled && GetFocus() == edit) {
        // Windows lets a disabled control keep the focus, where it takes no key: move the focus
        // on first, to the next enabled field in Tab order, or to the window when none is left.
        HWND next = nullptr;
        auto it = fields_.upper_bound(id);
        for (std::size_t n = 0; n + 1 < fields_.size(); ++n) {
            if (it == fields_.end()) {
                it = fields_.begin();
            }
            if (IsWindowEnabled(it->second)) {
                next = it->second;
                break;
            }
            ++it;
        }
        SetFocus(next != nullptr ? next : window_);
    }
    EnableWindow(edit, enabled ? TRUE : FALSE);
}

void Win32FieldHost::setFocus(int id) {
    HWND edit = control(id);
    if (GetActiveWindow() != window_) {
        // After a dialog: the window takes the focus back (with its own reports) first.
        SetActiveWindow(window_);
    }
    SetFocus(edit);
}

void Win32FieldHost::selectText(int id, int start, int end) {
    SendMessageW(control(id), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void Win32FieldHost::showMessage(std::u16string_view caption, std::u16string_view text,
                                 MessageIcon icon) {
    const UINT type =
        static_cast<UINT>(MB_OK) |
        static_cast<UINT>(icon == MessageIcon::Warning ? MB_ICONWARNING : MB_ICONINFORMATION);
    MessageBoxW(window_, win32::wide(text).c_str(), win32::wide(caption).c_str(), type);
}

void Win32FieldHost::chartChanged() {
    // The window does not clip its children: they paint again after the chart, over it.
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    win32::announceChartChanged(window_);
}

int Win32FieldHost::idOf(HWND__* edit) const {
    for (const auto& [id, handle] : fields_) {
        if (handle == edit) {
            return id;
        }
    }
    return 0;
}

HWND__* Win32FieldHost::control(int id) const {
    const auto it = fields_.find(id);
    return it == fields_.end() ? nullptr : it->second;
}

} // namespace tanu::win32
