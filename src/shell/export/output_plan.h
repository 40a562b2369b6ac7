// Where each profile's chart goes, decided for the whole batch before anything is drawn, so
// that a chart never replaces a profile and no two charts go to the same file.
#pragma once

#include "options.h"

#include <string>
#include <vector>

namespace tanu::exporter {

struct PlannedChart {
    std::string input;
    std::string output; // "-" for standard output
};

struct OutputPlan {
    std::vector<PlannedChart> charts;
    // One line for each refusal, naming the profiles and the file concerned; nothing is
    // written for those profiles.
    std::vector<std::string> refusals;
};

// The charts of the inputs in their order. Refused: a profile whose chart would be the same
// file as any input profile, and every profile of a group whose charts would all be the same
// file. The same profile named twice is drawn once. Files are told apart by device and inode
// where they exist, by their normalised absolute path otherwise.
OutputPlan planOutputs(const Options& options);

} // namespace tanu::exporter
