// The batch runner of tanu-export: the charts of a plan drawn by a pool of workers, each written
// by the shared atomic writer (or to standard output), with progress and failures reported.
#pragma once

#include "options.h"
#include "output_plan.h"

#include "model/dates.h"

#include <cstddef>

namespace tanu::exporter {

// Draws and writes every chart of the plan; the number that failed. Needs the Qt application.
std::size_t runBatch(const Options& options, const OutputPlan& plan, const Clock& today);

} // namespace tanu::exporter
