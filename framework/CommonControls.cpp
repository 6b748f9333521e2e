// Where the common controls library comes from, and its function table.
//
// Windows 95/98/Me and NT 4.0 do not count comctl32.dll among the libraries they
// always load from the system folder, so an import of it (or LoadLibrary by its bare
// name) would take a comctl32.dll lying beside the program. Two cases:
// - Windows XP reads the program's manifest and makes it the process's default
//   activation context; that context redirects "comctl32.dll" to the side-by-side
//   version 6, which the loader takes before looking at any folder. Whether the
//   redirection is in force is asked of the context itself (FindActCtxSectionStringA,
//   which only systems with activation contexts have), not assumed from the version.
// - Everywhere else the library is loaded by its full path in the system folder, with
//   the libraries it needs in turn searched from that folder as well.
// (Under Wine the manifest applies whatever release Wine plays.)
#include "framework/CommonControls.h"

#include <string>

namespace comctl {
namespace {

// The fields of ACTCTX_SECTION_KEYED_DATA that Windows XP knows (the headers only
// declare the structure for XP and later targets).
struct SectionKeyedData {
    ULONG cbSize;
    ULONG ulDataFormatVersion;
    PVOID lpData;
    ULONG ulLength;
    PVOID lpSectionGlobalData;
    ULONG ulSectionGlobalDataLength;
    PVOID lpSectionBase;
    ULONG ulSectionTotalLength;
    HANDLE hActCtx;
    ULONG ulAssemblyRosterIndex;
};
constexpr ULONG kDllRedirectionSection = 2;  // ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION

bool RedirectedBySideBySide(const char* library) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr) return false;
    using Find = BOOL(WINAPI*)(DWORD, const GUID*, ULONG, LPCSTR, SectionKeyedData*);
    const auto find = reinterpret_cast<Find>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "FindActCtxSectionStringA")));
    if (find == nullptr) return false;
    SectionKeyedData data{};
    data.cbSize = sizeof(data);
    return find(0, nullptr, kDllRedirectionSection, library, &data) != FALSE;
}

std::string SystemPath(const char* library) {
    char folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(folder, length) + "\\" + library;
}

template <typename Function>
bool Find(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

class Library {
public:
    Library() {
        constexpr char kName[] = "comctl32.dll";
        if (RedirectedBySideBySide(kName)) {
            m_module = LoadLibraryA(kName);
        } else if (const std::string path = SystemPath(kName); !path.empty()) {
            m_module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        }
        if (m_module == nullptr) return;
        Functions& f = m_functions;
        m_complete = Find(m_module, "InitCommonControls", f.initCommonControls) &&
                     Find(m_module, "PropertySheetA", f.propertySheet) &&
                     Find(m_module, "CreatePropertySheetPageA", f.createPropertySheetPage) &&
                     Find(m_module, "DestroyPropertySheetPage", f.destroyPropertySheetPage) &&
                     Find(m_module, "ImageList_Create", f.imageListCreate) &&
                     Find(m_module, "ImageList_AddMasked", f.imageListAddMasked) &&
                     Find(m_module, "ImageList_Draw", f.imageListDraw) &&
                     Find(m_module, "ImageList_Destroy", f.imageListDestroy);
        Find(m_module, "InitCommonControlsEx", f.initCommonControlsEx);
        if (m_complete) RegisterClasses();
    }
    ~Library() {
        if (m_module != nullptr) FreeLibrary(m_module);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    const Functions* Table() const { return m_complete ? &m_functions : nullptr; }

private:
    // The extended combo box of the main dialog needs InitCommonControlsEx; the plain
    // call covers the rest, and all of it on the first releases. Whether the class is
    // there is asked of the system, as the dialog that creates it would.
    void RegisterClasses() {
        m_functions.initCommonControls();
        if (m_functions.initCommonControlsEx == nullptr) return;
        INITCOMMONCONTROLSEX classes{};
        classes.dwSize = sizeof(classes);
        classes.dwICC = ICC_USEREX_CLASSES | ICC_WIN95_CLASSES;
        WNDCLASSA extended{};
        m_functions.extendedComboBox =
            m_functions.initCommonControlsEx(&classes) != FALSE &&
            GetClassInfoA(GetModuleHandleA(nullptr), WC_COMBOBOXEXA, &extended) != FALSE;
    }

    HMODULE m_module = nullptr;
    Functions m_functions{};
    bool m_complete = false;
};

Library& Instance() {
    static Library library;
    return library;
}

}  // namespace

const Functions* Get() {
    return Instance().Table();
}

}  // namespace comctl
