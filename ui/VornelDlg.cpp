// The main dialog of the program.
#include "ui/VornelDlg.h"

#include <cstring>
#include <string>

#include "app/OutcomeBox.h"
#include "app/VornelApp.h"
#include "engine/Engine.h"
#include "engine/Win32RegistryStore.h"
#include "framework/CommonControls.h"
#include "framework/MessageBox.h"
#include "res/resource.h"
#include "ui/AboutDlg.h"
#include "wizard/MyPropertySheet.h"

namespace {

// A bitmap handle deleted when it goes out of scope.
struct BitmapHandle {
    HBITMAP handle;
    ~BitmapHandle() {
        if (handle != nullptr) DeleteObject(handle);
    }
};

// A file enumeration closed when it goes out of scope.
struct FindHandle {
    HANDLE handle;
    ~FindHandle() {
        if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
    }
};

bool EndsWithIni(const char* name) {
    const std::size_t length = std::strlen(name);
    return length > 4 && lstrcmpiA(name + length - 4, ".ini") == 0;
}

}  // namespace

CVornelDlg::CVornelDlg() : CDialog(IDD_VORNEL_DIALOG) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    m_hIcon =
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    m_hSmallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME),
                                                 IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), 0));
}

CVornelDlg::~CVornelDlg() {
    if (m_imageList != nullptr) comctl::Get()->imageListDestroy(m_imageList);
    if (m_hIcon != nullptr) DestroyIcon(m_hIcon);
    if (m_hSmallIcon != nullptr) DestroyIcon(m_hSmallIcon);
}

BOOL CVornelDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    char about[256] = {};
    if (LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, about, sizeof about) > 0) {
        if (HMENU menu = GetSystemMenu(m_hWnd, FALSE)) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));

    FillLanguageList();
    LocalizeDialog();
    UpdateResetButton();
    return TRUE;
}

bool CVornelDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
                OnSysCommand(wParam, lParam);
                result = 0;
                return true;
            }
            break;
        case WM_PAINT:
            if (OnPaint()) {
                result = 0;
                return true;
            }
            break;
        case WM_QUERYDRAGICON:
            result = reinterpret_cast<LRESULT>(m_hIcon);
            return true;
        case WM_HELP:
            result = FALSE;  // no help to show
            return true;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (id == IDC_SET_SETTINGS && code == BN_CLICKED) {
                OnSetSettings();
                return true;
            }
            if (id == IDC_RESET_SETTINGS && code == BN_CLICKED) {
                OnResetSettings();
                return true;
            }
            if (id == IDC_LANGUAGE_LIST && code == CBN_SELCHANGE) {
                OnSelchangeLanguage();
                return true;
            }
            break;
        }
        default:
            break;
    }
    return CDialog::HandleMessage(message, wParam, lParam, result);
}

void CVornelDlg::OnSysCommand(WPARAM, LPARAM) {
    CAboutDlg about(m_hWnd);
    about.DoModal();
}

bool CVornelDlg::OnPaint() {
    if (!IsIconic(m_hWnd)) return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(m_hWnd, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(m_hWnd, &paint);
    return true;
}

void CVornelDlg::LocalizeDialog() {
    ::SetWindowTextA(m_hWnd, theApp.GetLanguageText(text::k18).c_str());
    theApp.SetItemLanguageText(text::kIDC_static_Introduction, IDC_static_Introduction, m_hWnd);
    theApp.SetItemLanguageText(text::kIDC_HINT, IDC_HINT, m_hWnd);
    theApp.SetItemLanguageText(text::kIDC_SET_SETTINGS, IDC_SET_SETTINGS, m_hWnd);
    theApp.SetItemLanguageText(text::kIDC_RESET_SETTINGS, IDC_RESET_SETTINGS, m_hWnd);
    theApp.SetItemLanguageText(text::kIDC_Language, IDC_Language, m_hWnd);
}

void CVornelDlg::FillLanguageList() {
    HWND list = GetDlgItem(IDC_LANGUAGE_LIST);
    const comctl::Functions* controls = comctl::Get();
    if (controls == nullptr) return;
    m_imageList = controls->imageListCreate(16, 16, ILC_COLOR16, 0, 4);
    SendMessageA(list, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_imageList));

    const std::string folder = std::string(theApp.m_pszAppPath) + "\\Lang\\";
    WIN32_FIND_DATAA found{};
    FindHandle search{FindFirstFileA((folder + "*.ini").c_str(), &found)};
    for (bool more = search.handle != INVALID_HANDLE_VALUE; more;
         more = FindNextFileA(search.handle, &found) != FALSE) {
        // The pattern also matches names whose short form ends in .ini.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
            !EndsWithIni(found.cFileName))
            continue;
        std::string name(found.cFileName);
        name.resize(name.size() - 4);

        BitmapHandle flag{static_cast<HBITMAP>(LoadImageA(nullptr, (folder + name + ".bmp").c_str(),
                                                          IMAGE_BITMAP, 16, 16, LR_LOADFROMFILE))};
        // Magenta is transparent, a colour no flag uses (black would take the German stripe).
        const int image = flag.handle != nullptr ? controls->imageListAddMasked(
                                                       m_imageList, flag.handle, RGB(255, 0, 255))
                                                 : -1;

        // An item without a picture goes to the end at the moment it is inserted.
        COMBOBOXEXITEMA item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
        item.iItem = image;
        item.pszText = name.data();
        item.iImage = image;
        item.iSelectedImage = image;
        SendMessageA(list, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }

    const LRESULT index = SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(theApp.m_pszLanguage));
    SendMessageA(list, CB_SETCURSEL,
                 index == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(index), 0);
}

void CVornelDlg::OnSelchangeLanguage() {
    HWND list = GetDlgItem(IDC_LANGUAGE_LIST);
    const LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return;
    char name[MAX_PATH] = {};
    COMBOBOXEXITEMA item{};
    item.mask = CBEIF_TEXT;
    item.iItem = index;
    item.pszText = name;
    item.cchTextMax = MAX_PATH;
    if (!SendMessageA(list, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return;
    name[MAX_PATH - 1] = '\0';
    theApp.ChangeLanguage(name);
    LocalizeDialog();
    theApp.SaveLanguage(theApp.m_pszLanguage);
}

void CVornelDlg::OnSetSettings() {
    Win32RegistryStore store;
    // A user who may not change the settings learns it before choosing any.
    if (!engine::MayChangeSettings(store, theApp.m_family)) {
        ShowOutcome(m_hWnd, engine::Outcome::NeedsRights);
        return;
    }
    // Ask the registry, not the Reset button: a restore that stopped early
    // leaves the backup in place with the button disabled.
    if (engine::BackupExists(store) && !AgreesToReplaceBackup(store)) return;
    m_sheet = std::make_unique<CMyPropertySheet>(IDS_WIZARD, m_boostModem);
    m_sheet->DoModal();
    // What the run found of the modem holds for every later run, cancelled or not.
    m_boostModem = m_sheet->state.boostModem;
    // Finish made a backup; Cancel left the one there was, if any.
    UpdateResetButton();
}

bool CVornelDlg::AgreesToReplaceBackup(RegistryStore& store) {
    // A backup whose Reset did not complete holds originals that are not in force
    // again: the user is warned of losing them, and must choose to.
    if (engine::BackupAwaitsReset(store, theApp.m_family)) {
        return AppMessageBox(m_hWnd, theApp.GetLanguageText(text::k48),
                             MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
    }
    return AppMessageBox(m_hWnd, theApp.GetLanguageText(text::k43), MB_YESNO | MB_ICONQUESTION) ==
           IDYES;
}

void CVornelDlg::OnResetSettings() {
    RestoreSettings();
    UpdateResetButton();
}

void CVornelDlg::RestoreSettings() {
    Win32RegistryStore store;
    ShowOutcome(m_hWnd, engine::RestoreSettings(store, theApp.m_family).outcome);
}

void CVornelDlg::UpdateResetButton() {
    Win32RegistryStore store;
    EnableDlgItem(IDC_RESET_SETTINGS, engine::BackupExists(store));
}
