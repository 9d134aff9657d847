#include "Classes.h"

#include <stdexcept>
#include <string>

namespace practice_room {

WNDPROC RegisterSuperclass(HINSTANCE instance, const char* base, const char* name, WNDPROC proc) {
    WNDCLASSEXA superclass{};
    superclass.cbSize = sizeof superclass;
    if (!GetClassInfoExA(nullptr, base, &superclass)) throw std::runtime_error(std::string("no ") + base + " class");
    const WNDPROC baseProc = superclass.lpfnWndProc;
    if (proc) superclass.lpfnWndProc = proc;
    superclass.hInstance = instance;
    superclass.lpszClassName = name;
    superclass.style &= ~CS_GLOBALCLASS;
    if (!RegisterClassExA(&superclass)) throw std::runtime_error(std::string("cannot register ") + name);
    return baseProc;
}

}  // namespace practice_room
