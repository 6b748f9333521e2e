// The platform's floor for scripts/bench.sh: the least a Win32 program does to show a dialog
// with the common controls, and Finish's registry calls on Windows NT made straight to advapi32,
// followed by the same message box; and, on the driver's command, a wizard of Vornel.exe's own
// nine page templates with no code behind them, the floor of a page's activation; or, asked by
// the environment, Vornel's start-up picture, gone on Escape, then Vornel's own main dialog
// template with no code behind it: the floor of Vornel's start-up.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "FloorResource.h"
#include "engine/Catalogue.h"
#include "res/TextCatalog.h"
#include "resource.h"

namespace {

// An open key, closed when it goes.
class Key {
public:
    explicit Key(HKEY key) : m_key(key) {}
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() {
        if (m_key != nullptr) RegCloseKey(m_key);
    }
    static Key Open(HKEY parent, const char* path, REGSAM access) {
        HKEY key = nullptr;
        RegOpenKeyExA(parent, path, 0, access, &key);
        return Key(key);
    }
    static Key Create(HKEY parent, const char* path) {
        HKEY key = nullptr;
        char emptyClass[] = "";
        RegCreateKeyExA(parent, path, 0, emptyClass, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                        nullptr, &key, nullptr);
        return Key(key);
    }
    HKEY get() const { return m_key; }
    explicit operator bool() const { return m_key != nullptr; }

private:
    HKEY m_key;
};

struct Named {
    std::string name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// Reads a value as the program does: its size first, then its data with one spare byte.
void Read(HKEY key, const char* name, const std::string& as, std::vector<Named>& into) {
    DWORD type = REG_NONE, size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return;
    std::vector<BYTE> data(size + 1);
    size += 1;
    if (RegQueryValueExA(key, name, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) return;
    data.resize(size);
    into.push_back({as, type, std::move(data)});
}

void Write(HKEY key, const Named& value) {
    RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
                   static_cast<DWORD>(value.data.size()));
}

std::vector<BYTE> DwordBytes(DWORD number) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&number);
    return {bytes, bytes + sizeof number};
}

void WriteNumber(HKEY key, const char* name, std::int32_t number) {
    const DWORD data = static_cast<DWORD>(number);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

// The subkeys' names, as walked with the longest name's length asked first.
std::vector<std::string> SubKeys(HKEY key) {
    DWORD longest = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr);
    std::vector<std::string> names;
    std::vector<char> buffer(longest + 1);
    for (DWORD i = 0;; ++i) {
        DWORD length = static_cast<DWORD>(buffer.size());
        if (RegEnumKeyExA(key, i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(buffer.data(), length);
    }
    return names;
}

// Subkeys first, deepest first, as NT wants them deleted.
void DeleteTree(HKEY parent, const char* path) {
    {
        Key key = Key::Open(parent, path, KEY_READ | KEY_WRITE);
        if (!key) return;
        char name[256];
        for (;;) {
            DWORD length = sizeof name;
            if (RegEnumKeyExA(key.get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                break;
            }
            DeleteTree(key.get(), name);
        }
    }
    RegDeleteKeyA(parent, path);
}

// A backup goes as Vornel deletes one: its completeness marker first.
void DeleteBackup(HKEY user, const char* path) {
    {
        Key key = Key::Open(user, path, KEY_READ | KEY_WRITE);
        if (key) RegDeleteValueA(key.get(), catalogue::kBackupCompleteValue);
    }
    DeleteTree(user, path);
}

struct Backup {
    std::vector<Named> values, mtu, mss, interfaces, afd;
};

void WriteBackup(const char* path, const Backup& backup) {
    Key key = Key::Create(HKEY_CURRENT_USER, path);
    const std::pair<const char*, const std::vector<Named>*> subKeys[] = {
        {catalogue::kMtuBackupName, &backup.mtu},
        {catalogue::kMssBackupName, &backup.mss},
        {catalogue::kInterfacesBackupName, &backup.interfaces},
        {catalogue::kAfdBackupName, &backup.afd}};
    for (const auto& [name, values] : subKeys) {
        Key sub = Key::Create(key.get(), name);
        for (const Named& value : *values) Write(sub.get(), value);
    }
    for (const Named& value : backup.values) Write(key.get(), value);
}

// Finish on Windows NT: the rights check, the reading of what is in force, the backup
// written aside and put in place, then the writes.
void Finish() {
    using namespace catalogue;
    const KeyCatalogue& browser = Browser();
    const KeyCatalogue& stack = Stack(WinNT);
    const HKEY machine = HKEY_LOCAL_MACHINE, user = HKEY_CURRENT_USER;
    Key::Open(machine, stack.path, KEY_READ | KEY_WRITE);

    Backup backup;
    std::vector<std::string> interfaces;
    {
        Key key = Key::Open(user, browser.path, KEY_READ);
        for (const CatalogueValue* value : InOrder(browser, Step::Capture)) {
            Read(key.get(), value->name, value->name, backup.values);
        }
    }
    {
        Key parent = Key::Open(machine, kInterfacesKey, KEY_READ);
        for (const std::string& name : SubKeys(parent.get())) {
            Key key = Key::Open(parent.get(), name.c_str(), KEY_READ);
            interfaces.push_back(name);
            backup.interfaces.push_back({name, REG_DWORD, DwordBytes(1)});
            Read(key.get(), "MTU", name, backup.mtu);
            Read(key.get(), "MSS", name, backup.mss);
        }
    }
    {
        Key key = Key::Open(machine, stack.path, KEY_READ);
        for (const CatalogueValue* value : InOrder(stack, Step::Capture)) {
            Read(key.get(), value->name, value->name, backup.values);
        }
    }
    // The socket driver's key, looked for as Vornel does; the bench's system has none.
    if (!Key::Open(machine, kAfdParametersKey, KEY_READ)) {
        Key::Open(machine, "System\\CurrentControlSet\\Services\\AFD", KEY_READ);
    }

    Key::Open(user, kPendingBackupKey, KEY_READ);
    const std::string parts = std::string(kMtuBackupName) + "\\" + kMssBackupName + "\\" +
                              kInterfacesBackupName + "\\" + kAfdBackupName;
    backup.values.push_back({kBackupPartsValue, REG_SZ,
                             std::vector<BYTE>(parts.c_str(), parts.c_str() + parts.size() + 1)});
    backup.values.push_back({kBackupCompleteValue, REG_DWORD, DwordBytes(1)});
    WriteBackup(kPendingBackupKey, backup);
    DeleteBackup(user, kBackupKey);
    WriteBackup(kBackupKey, backup);
    DeleteBackup(user, kPendingBackupKey);

    {
        Key key = Key::Open(user, browser.path, KEY_READ | KEY_WRITE);
        for (const CatalogueValue* value : InOrder(browser, Step::Apply)) {
            WriteNumber(key.get(), value->name, 4);
        }
    }
    {
        Key key = Key::Create(machine, stack.path);
        for (const CatalogueValue* value : InOrder(stack, Step::Apply)) {
            WriteNumber(key.get(), value->name, value->constant);
        }
    }
    Key parent = Key::Open(machine, kInterfacesKey, KEY_READ);
    for (const std::string& name : interfaces) {
        Key key = Key::Open(parent.get(), name.c_str(), KEY_READ | KEY_WRITE);
        WriteNumber(key.get(), "MTU", 576);
        WriteNumber(key.get(), "MSS", 536);
    }
}

INT_PTR CALLBACK EmptyPageProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// The wizard's pages in Vornel's order, from the templates of the program named by the
// environment (loaded as data only), each with a dialog procedure that does nothing.
void ShowPagesWizard(HWND owner) {
    char path[MAX_PATH];
    if (GetEnvironmentVariableA(FLOOR_PAGES_VARIABLE, path, sizeof path) == 0) return;
    HMODULE pages = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (pages == nullptr) return;
    const int templates[] = {
        IDD_CONNECTION_TYPE, IDD_MTU,       IDD_OTHER_MTU,     IDD_RWIN,       IDD_TTL,
        IDD_KEEP_ALIVE,      IDD_SYN_FLOOD, IDD_ICMP_REDIRECT, IDD_MODEM_BOOST};
    std::vector<HPROPSHEETPAGE> handles;
    for (int id : templates) {
        PROPSHEETPAGEA page{};
        page.dwSize = PROPSHEETPAGEA_V1_SIZE;
        page.dwFlags = PSP_DEFAULT;
        page.hInstance = pages;
        page.pszTemplate = MAKEINTRESOURCEA(id);
        page.pfnDlgProc = EmptyPageProc;
        if (HPROPSHEETPAGE handle = CreatePropertySheetPageA(&page)) handles.push_back(handle);
    }
    PROPSHEETHEADERA header{};
    header.dwSize = PROPSHEETHEADERA_V1_SIZE;
    header.dwFlags = PSH_NOAPPLYNOW | PSH_WIZARD;
    header.hwndParent = owner;
    header.pszCaption = "Wizard";
    header.nPages = static_cast<UINT>(handles.size());
    header.phpage = handles.data();
    PropertySheetA(&header);
    FreeLibrary(pages);
}

INT_PTR CALLBACK PictureProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
    return FALSE;
}

// The start-up as Vornel's without its own work: its start-up picture, gone on Escape, then its
// main dialog from its own template with nothing behind it (no languages in the list, no flags).
// False when the environment does not ask for it.
bool ShowVornelStartup() {
    char path[MAX_PATH];
    if (GetEnvironmentVariableA(FLOOR_PICTURE_VARIABLE, nullptr, 0) == 0 ||
        GetEnvironmentVariableA(FLOOR_PAGES_VARIABLE, path, sizeof path) == 0) {
        return false;
    }
    HMODULE program = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (program == nullptr) return false;
    DialogBoxParamA(program, MAKEINTRESOURCEA(IDD_SPLASH), nullptr, PictureProc, 0);
    DialogBoxParamA(program, MAKEINTRESOURCEA(IDD_VORNEL_DIALOG), nullptr, PictureProc, 0);
    FreeLibrary(program);
    return true;
}

INT_PTR CALLBACK FloorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDC_FLOOR_FINISH) {
        Finish();
        MessageBoxA(dialog, text::k41.english, "Vornel", MB_OK);
        return TRUE;
    }
    if (LOWORD(wParam) == IDC_FLOOR_WIZARD) {
        ShowPagesWizard(dialog);
        return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
    return TRUE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The classes Vornel's dialogs use, its language list's extended combo box among them.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&controls);
    if (ShowVornelStartup()) return 0;
    return static_cast<int>(
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_FLOOR), nullptr, FloorProc, 0));
}
