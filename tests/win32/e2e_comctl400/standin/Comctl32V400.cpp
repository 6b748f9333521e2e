// A stand-in for the common controls of Windows 95 and NT 4.0 as first released
// (comctl32.dll 4.00), for a Wine that has only the newest: it exports the functions of
// 4.00 (comctl32_v400.def), forwarding them to a copy of Wine's own library named
// wine_comctl32.dll, and has no InitCommonControlsEx. Wine's library registers every
// class it has when it loads; InitCommonControls, which every program of that time calls
// first, takes away the classes 4.00 did not have yet, the extended combo box among them.
#include <windows.h>

namespace {

constexpr char kWineLibrary[] = "wine_comctl32.dll";

// The classes that came with version 4.70 (Internet Explorer 3) and later.
constexpr const char* kNewerClasses[] = {"ComboBoxEx32",  "ReBarWindow32",  "SysDateTimePick32",
                                         "SysMonthCal32", "SysIPAddress32", "SysPager",
                                         "NativeFontCtl", "SysLink"};

}  // namespace

extern "C" void WINAPI InitCommonControls() {
    HMODULE wine = LoadLibraryA(kWineLibrary);
    if (wine == nullptr) return;
    using Init = void(WINAPI*)();
    if (auto init = reinterpret_cast<Init>(
            reinterpret_cast<void*>(GetProcAddress(wine, "InitCommonControls")))) {
        init();
    }
    for (const char* name : kNewerClasses) UnregisterClassA(name, wine);
}
