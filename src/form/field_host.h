// The port through which the entry form reaches the fields of a window and their keyboard focus.
// A shell implements it on its toolkit's line edits; tests implement it in memory. Messages and
// the chart go through ports of their own (message_port.h, chart_view.h).
//
// Focus reports. The shell reports every focus move between fields, the form's own and the
// user's, with onFieldFocusLost for the field that loses the focus and then onFieldFocusGained
// for the one that gains it. A field commits when it loses the focus after its gain was
// reported, at most once per gain; a loss without a reported gain commits nothing, and the field
// commits again after its next reported gain. A menu opening or closing is no focus move: the
// field has not been left. A dialog or another window taking the focus is one: the loss is
// reported (the form has usually committed the field already), and the gain when the focus
// comes back.
#pragma once

#include "chart/layout.h"

#include <string>
#include <string_view>

namespace tanu {

// A field's place on the window in chart pixels: the same rectangles the painter and the
// artwork place their texts by.
using FieldRect = IntRect;

class FieldHost {
public:
    virtual ~FieldHost() = default;

    // Creates an empty, enabled single-line field; creation order is the Tab order.
    virtual void createField(int id, FieldRect rect) = 0;
    virtual std::u16string fieldText(int id) const = 0;
    virtual void setFieldText(int id, std::u16string_view text) = 0;
    // A disabled field takes neither focus nor input, and Tab skips it. Disabling the field that
    // holds the focus moves the focus on to the next enabled field in Tab order, reported as any
    // focus move, so the keyboard never stays on a field that takes no input.
    virtual void setFieldEnabled(int id, bool enabled) = 0;
    // Moves the keyboard focus. Before this returns, the field that loses the focus has been
    // reported to onFieldFocusLost and the one that gains it to onFieldFocusGained. When the
    // window is not active (a dialog has just closed), the window first takes the focus back,
    // with its reports, and then the focus moves.
    virtual void setFocus(int id) = 0;
    // Selects the code units [start, end) of the field's text; start == end puts the caret there.
    virtual void selectText(int id, int start, int end) = 0;
};

} // namespace tanu
