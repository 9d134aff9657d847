#include "Context.h"

#include <cstdio>

namespace practice_room {

void Context::Fail(const char* what) noexcept {
    try {
        if (failure.empty()) failure = what;
    } catch (...) {
    }
    try {
        log.Write({"practice-room", "error", what}, true);
    } catch (...) {
    }
    std::fprintf(stderr, "practice-room: %s\n", what);
    exitCode = 3;
    PostQuitMessage(3);
}

}  // namespace practice_room
