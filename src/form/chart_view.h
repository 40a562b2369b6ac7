// The notification that the profile's chart has changed and the window must show it anew.
#pragma once

namespace tanu {

class ChartView {
public:
    virtual ~ChartView() = default;
    // Repaints the whole chart before returning, and tells screen readers its description
    // changed where the shell has them.
    virtual void chartChanged() = 0;
};

} // namespace tanu
