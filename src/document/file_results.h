// What a whole-file read or write gives back: the bytes, or why there are none.
#pragma once

#include <string>

namespace tanu {

struct ReadResult {
    bool ok = false;
    std::string bytes;     // when ok
    std::u16string reason; // a short human-readable reason when not ok
};

struct WriteResult {
    bool ok = false;
    std::u16string reason; // a short human-readable reason when not ok
};

} // namespace tanu
