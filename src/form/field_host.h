// The port through which the entry form reaches the fields of a window. A shell implements it
// on its toolkit's line edits; tests implement it in memory.
#pragma once

#include <string>
#include <string_view>

namespace tanu {

struct FieldRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

enum class MessageIcon { Information, Warning };

class FieldHost {
public:
    virtual ~FieldHost() = default;

    // Creates an empty, enabled single-line field; creation order is the Tab order.
    virtual void createField(int id, FieldRect rect) = 0;
    virtual std::u16string fieldText(int id) const = 0;
    virtual void setFieldText(int id, std::u16string_view text) = 0;
    // A disabled field takes neither focus nor input, and Tab skips it.
    virtual void setFieldEnabled(int id, bool enabled) = 0;
    // Moves the keyboard focus. Before this returns, the field that loses the focus has been
    // reported to onFieldFocusLost and the one that gains it to onFieldFocusGained.
    virtual void setFocus(int id) = 0;
    // Selects the code units [start, end) of the field's text; start == end puts the caret there.
    virtual void selectText(int id, int start, int end) = 0;
    // A modal message box with an OK button, owned by the main window.
    virtual void showMessage(std::u16string_view caption, std::u16string_view text,
                             MessageIcon icon) = 0;
    // Repaints the whole chart before returning.
    virtual void repaintNow() = 0;
};

} // namespace tanu
