// The program's start and end: its entry point, exit with the handlers registered by
// atexit, abort, and the C++ library's terminate handler.
//
// Vornel carries its own small C runtime instead of importing msvcrt.dll. A library a
// program imports by name is looked for in the program's folder first unless the system
// always takes it from its own folder, and msvcrt.dll is not such a library on Windows
// 95, 98, Me and NT 4.0: a msvcrt.dll left in a download folder beside Vornel.exe would
// run inside it. The first release of Windows 95 does not have msvcrt.dll at all. So the
// program imports only kernel32, user32, gdi32 and advapi32, and the few C functions it
// and the static C++ library need live here and beside it (Memory.cpp, Strings.cpp).
#include <windows.h>

#include <cstddef>
#include <exception>

#include "app/runtime/StartRules.h"

extern "C" {

// The global constructors and destructors, laid out by the linker: a count (or -1),
// the functions, a null. The constructors include the registration of the exception
// frames (crtbegin.o's).
extern void (*__CTOR_LIST__[])();
extern void (*__DTOR_LIST__[])();

}  // extern "C"

namespace {

// The handlers registered by atexit, the latest first. The program is single-threaded.
struct ExitHandler {
    void (*function)();
    ExitHandler* next;
};
ExitHandler* g_exitHandlers = nullptr;

}  // namespace

extern "C" {

int atexit(void (*function)()) {
    auto* handler = static_cast<ExitHandler*>(HeapAlloc(GetProcessHeap(), 0, sizeof(ExitHandler)));
    if (handler == nullptr) return -1;
    *handler = {function, g_exitHandlers};
    g_exitHandlers = handler;
    return 0;
}

// Runs the handlers in the reverse order of their registration, one registered by a
// handler included, then ends the process.
[[noreturn]] void exit(int code) {
    while (ExitHandler* handler = g_exitHandlers) {
        g_exitHandlers = handler->next;
        void (*function)() = handler->function;
        HeapFree(GetProcessHeap(), 0, handler);
        function();
    }
    ExitProcess(static_cast<UINT>(code));
}

// Ends the process at once with the exit code the platform's runtime gives it.
[[noreturn]] void abort() {
    ExitProcess(3);
}

}  // extern "C"

namespace {

void RunDestructors() {
    for (void (**destructor)() = __DTOR_LIST__ + 1; *destructor != nullptr; ++destructor) {
        (*destructor)();
    }
}

// As the toolchain's own start-up does (its __main, which would bring a library built
// for a newer processor): the constructors last to first, the destructors at exit.
void RunConstructors() {
    auto count = reinterpret_cast<std::size_t>(__CTOR_LIST__[0]);
    if (count == static_cast<std::size_t>(-1)) {
        for (count = 0; __CTOR_LIST__[count + 1] != nullptr; ++count) {
        }
    }
    for (std::size_t i = count; i >= 1; --i) __CTOR_LIST__[i]();
    atexit(RunDestructors);
}

}  // namespace

extern "C" {

// The entry point the linker gives a GUI program. Windows enters it with the stack
// aligned to 4 bytes only; the compiled code may expect 16.
[[noreturn]] __attribute__((force_align_arg_pointer)) void WinMainCRTStartup() {
    RunConstructors();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const int show =
        (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    char* arguments = const_cast<char*>(runtime::CommandLineArguments(GetCommandLineA()));
    exit(WinMain(GetModuleHandleA(nullptr), nullptr, arguments, show));
}

}  // extern "C"

// The C++ library's default terminate handler, the program's own: the library's writes
// the exception's name to the standard error stream, which a GUI program does not have,
// and brings a printf and a demangler with it. An exception that gets here has escaped
// every boundary where the program reports exceptions (framework/CallbackGuard.h).
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    abort();
}
}  // namespace __gnu_cxx
