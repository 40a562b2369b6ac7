// Where the running program stands and where its pictures are looked for, read from the
// operating system: the one place every program of the project asks.
#pragma once

#include <filesystem>
#include <vector>

namespace tanu::files {

// The folder of the running executable.
std::filesystem::path programFolder();

// The folders this program reads the chart's pictures from, most particular first, from its own
// folder and the environment (see artworkFolders).
std::vector<std::filesystem::path> programArtworkFolders();

} // namespace tanu::files
