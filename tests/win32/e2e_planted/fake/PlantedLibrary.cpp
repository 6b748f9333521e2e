// A stand-in for a DLL someone left beside the program: loaded, it leaves a file
// "<its own path>.loaded" and refuses to load. It has no runtime of its own and
// imports kernel32 alone, so that it can take any other library's name.
#include <windows.h>

extern "C" BOOL WINAPI PlantedLibraryMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char path[MAX_PATH + 8] = {};
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        lstrcatA(path, ".loaded");
        HANDLE marker = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
    }
    return FALSE;
}
