#include "shell/files/program_folders.h"

#include "chart/chart_artwork.h"

#ifdef _WIN32
#include <windows.h>

#include <string>
#else
#include <cstdlib>
#endif

namespace tanu::files {

#ifdef _WIN32

namespace {

std::filesystem::path variable(const wchar_t* name) {
    std::wstring value(MAX_PATH, L'\0');
    DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    if (length > value.size()) {
        value.resize(length);
        length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    }
    value.resize(length < value.size() ? length : 0);
    return value;
}

} // namespace

std::filesystem::path programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    return std::filesystem::path(slash == std::wstring::npos ? std::wstring(L".")
                                                             : path.substr(0, slash));
}

std::vector<std::filesystem::path> programArtworkFolders() {
    ArtworkEnvironment environment;
    environment.windows = true;
    environment.programData = variable(L"ProgramData");
    return artworkFolders(programFolder(), environment);
}

#else

namespace {

std::filesystem::path variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}

} // namespace

std::filesystem::path programFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path(error) : program.parent_path();
}

std::vector<std::filesystem::path> programArtworkFolders() {
    ArtworkEnvironment environment;
    environment.dataHome = variable("XDG_DATA_HOME");
    environment.home = variable("HOME");
    return artworkFolders(programFolder(), environment);
}

#endif

} // namespace tanu::files
