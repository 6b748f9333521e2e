// The common controls library, loaded from where the system keeps it rather than
// imported (an import would be searched for beside the program first), and the few
// of its functions the program calls.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

namespace comctl {

// Every function here is in the library's first release, 4.00 (Windows 95 and NT 4.0 as
// first released), but InitCommonControlsEx, which came with 4.70 (Internet Explorer 3).
struct Functions {
    void(WINAPI* initCommonControls)();
    // Null where the library is 4.00.
    BOOL(WINAPI* initCommonControlsEx)(const INITCOMMONCONTROLSEX*);
    INT_PTR(WINAPI* propertySheet)(LPCPROPSHEETHEADERA);
    HPROPSHEETPAGE(WINAPI* createPropertySheetPage)(LPCPROPSHEETPAGEA);
    BOOL(WINAPI* destroyPropertySheetPage)(HPROPSHEETPAGE);
    HIMAGELIST(WINAPI* imageListCreate)(int, int, UINT, int, int);
    int(WINAPI* imageListAddMasked)(HIMAGELIST, HBITMAP, COLORREF);
    BOOL(WINAPI* imageListDraw)(HIMAGELIST, int, HDC, int, int, UINT);
    BOOL(WINAPI* imageListDestroy)(HIMAGELIST);
    // Whether a dialog can hold an extended combo box ("ComboBoxEx32"): the library has
    // one from 4.70 on, registered by InitCommonControlsEx. Where it has not, the main
    // dialog's language list is a plain combo box that draws its flags itself.
    bool extendedComboBox;
};

// Loads the library on the first call, registers the control classes the program's
// dialogs use and gives its functions; null when the library or one of the functions
// it must have is missing. The library stays loaded until the program ends.
const Functions* Get();

}  // namespace comctl
