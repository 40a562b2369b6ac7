// The entry form's fields as EDIT controls on the main window.
#pragma once

#include "form/chart_view.h"
#include "form/field_host.h"
#include "form/message_port.h"

#include <map>

struct HWND__;
struct HFONT__;

namespace tanu {
struct FormState;
}

namespace tanu::win32 {

class Win32FieldHost final : public FieldHost, public MessagePort, public ChartView {
public:
    // The fields will be children of window, drawn in font (null: the system font), placed
    // at scale device pixels per chart unit. The form holds the host before the window exists,
    // so these come later.
    void attach(HWND__* window, HFONT__* font, double scale = 1.0) {
        window_ = window;
        font_ = font;
        scale_ = scale;
    }
    // Places every field anew for another scale, in another font (the window moved to a screen
    // of another density).
    void rescale(HFONT__* font, double scale);

    void createField(int id, FieldRect rect) override;
    std::u16string fieldText(int id) const override;
    void setFieldText(int id, std::u16string_view text) override;
    void setFieldEnabled(int id, bool enabled) override;
    void setFocus(int id) override;
    void selectText(int id, int start, int end) override;
    void showMessage(std::u16string_view caption, std::u16string_view text,
                     MessageIcon icon) override;
    void chartChanged() override;

    // The field id of a control, or 0 when it is none of ours.
    int idOf(HWND__* control) const;
    HWND__* control(int id) const;

private:
    HWND__* window_ = nullptr;
    HFONT__* font_ = nullptr;
    double scale_ = 1.0;
    std::map<int, HWND__*> fields_; // ordered by id, which is the Tab order
};

} // namespace tanu::win32
