// A profile file read exactly as Open reads it in the window, and turned into what the painter
// prints, without any window.
#pragma once

#include "chart/chart_painter.h"
#include "model/dates.h"

#include <string>
#include <vector>

namespace tanu::exporter {

struct LoadedProfile {
    bool loaded = false;
    // Why the file is not a profile, as Open words it; only when not loaded.
    std::u16string failure;
    // What Open would show about a file it still loads (a date of birth it does not accept).
    std::vector<std::u16string> warnings;
    ChartContent content;
};

// nativePath is the file name as the system takes it; the messages name the file by
// displayPath.
LoadedProfile loadProfile(const std::string& nativePath, const std::u16string& displayPath,
                          const Clock& today);

} // namespace tanu::exporter
