// The common controls library, loaded from where the system keeps it rather than
// imported (an import would be searched for beside the program first), and the few
// of its functions the program calls.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

namespace comctl {

struct Functions {
    void(WINAPI* initCommonControls)();
    // Missing from the first releases of the library (Windows 95, NT 4.0): may be null.
    BOOL(WINAPI* initCommonControlsEx)(const INITCOMMONCONTROLSEX*);
    INT_PTR(WINAPI* propertySheet)(LPCPROPSHEETHEADERA);
    HPROPSHEETPAGE(WINAPI* createPropertySheetPage)(LPCPROPSHEETPAGEA);
    BOOL(WINAPI* destroyPropertySheetPage)(HPROPSHEETPAGE);
    HIMAGELIST(WINAPI* imageListCreate)(int, int, UINT, int, int);
    int(WINAPI* imageListAddMasked)(HIMAGELIST, HBITMAP, COLORREF);
    BOOL(WINAPI* imageListDestroy)(HIMAGELIST);
};

// Loads the library on the first call, registers the control classes the program's
// dialogs use and gives its functions; null when the library or one of the functions
// it must have is missing. The library stays loaded until the program ends.
const Functions* Get();

}  // namespace comctl
