// The main dialog of the program.
#include "ui/VornelDlg.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/OutcomeBox.h"
#include "app/OutcomeMessages.h"
#include "app/SingleInstance.h"
#include "app/VornelApp.h"
#include "engine/Engine.h"
#include "engine/Win32RegistryStore.h"
#include "framework/CommonControls.h"
#include "framework/MessageBox.h"
#include "framework/TemplateResource.h"
#include "res/resource.h"
#include "ui/AboutDlg.h"
#include "ui/ChangesDlg.h"
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

// The main dialog's template with the language list as a plain combo box that draws its
// items (each language's flag and name) itself, for the common controls that have no
// extended combo box; empty when the resource cannot be read.
std::vector<DWORD> TemplateWithPlainLanguageList() {
    auto dialog = ReadTemplateResource(GetModuleHandleA(nullptr), IDD_VORNEL_DIALOG);
    dialog_template::Item* list =
        dialog ? dialog_template::FindItem(*dialog, IDC_LANGUAGE_LIST) : nullptr;
    if (list == nullptr) return {};
    list->windowClass = {dialog_template::kComboBoxClass, {}};
    list->style |= CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
    return TemplateInMemory(*dialog);
}

// The language list's two forms: the extended combo box keeps each item's text and
// image; the plain one keeps the text, and the image as the item's data.
void InsertLanguage(HWND list, bool extended, std::string name, int image) {
    if (extended) {
        COMBOBOXEXITEMA item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
        item.iItem = image;
        item.pszText = name.data();
        item.iImage = image;
        item.iSelectedImage = image;
        SendMessageA(list, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return;
    }
    // A position past the end appends, as it does in the extended combo box.
    const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
    const LRESULT position = image >= 0 && image <= count ? image : -1;
    const LRESULT at = SendMessageA(list, CB_INSERTSTRING, static_cast<WPARAM>(position),
                                    reinterpret_cast<LPARAM>(name.c_str()));
    if (at >= 0) SendMessageA(list, CB_SETITEMDATA, static_cast<WPARAM>(at), image);
}

std::optional<std::string> LanguageAt(HWND list, bool extended, LRESULT index) {
    char name[MAX_PATH] = {};
    if (extended) {
        COMBOBOXEXITEMA item{};
        item.mask = CBEIF_TEXT;
        item.iItem = index;
        item.pszText = name;
        item.cchTextMax = MAX_PATH;
        if (!SendMessageA(list, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) {
            return std::nullopt;
        }
        name[MAX_PATH - 1] = '\0';
        return std::string(name);
    }
    const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0 || length >= MAX_PATH) return std::nullopt;
    if (SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(name)) == CB_ERR) {
        return std::nullopt;
    }
    return std::string(name);
}

// The width the flag takes, with the space around it, as the extended combo box draws it.
constexpr int kFlagSize = 16;
constexpr int kFlagMargin = 2;
constexpr int kTextGap = 4;

// A font selected into a device context for the scope, and the old one put back.
struct SelectedFont {
    HDC dc;
    HGDIOBJ previous;
    SelectedFont(HDC context, HFONT font)
        : dc(context), previous(font ? SelectObject(context, font) : nullptr) {}
    ~SelectedFont() {
        if (previous != nullptr) SelectObject(dc, previous);
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;
};

}  // namespace

CVornelDlg::CVornelDlg() : CDialog(IDD_VORNEL_DIALOG) {
    const comctl::Functions* controls = comctl::Get();
    m_extendedList = controls != nullptr && controls->extendedComboBox;
    if (!m_extendedList) {
        m_plainListTemplate = TemplateWithPlainLanguageList();
        if (!m_plainListTemplate.empty()) {
            UseMemoryTemplate(reinterpret_cast<const DLGTEMPLATE*>(m_plainListTemplate.data()));
        }
    }
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

    if (!m_extendedList) SizePlainLanguageList();
    FillLanguageList();
    LocalizeDialog();
    UpdateResetButton();
    instance::MarkMainWindow(m_hWnd);
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
        case WM_DESTROY:
            instance::UnmarkMainWindow(m_hWnd);
            break;
        case WM_HELP:
            result = FALSE;  // no help to show
            return true;
        case WM_DRAWITEM:
            if (wParam == IDC_LANGUAGE_LIST && !m_extendedList) {
                DrawLanguage(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                result = TRUE;
                return true;
            }
            break;
        default:
            break;
    }
    return CDialog::HandleMessage(message, wParam, lParam, result);
}

bool CVornelDlg::OnCommand(int id, int code, HWND control) {
    // The four commands, each a button's click.
    static constexpr struct {
        int id;
        void (CVornelDlg::*handler)();
    } kCommands[] = {{IDC_SET_SETTINGS, &CVornelDlg::OnSetSettings},
                     {IDC_RESET_SETTINGS, &CVornelDlg::OnResetSettings},
                     {IDC_SHOW_CHANGES, &CVornelDlg::OnShowChanges},
                     {IDC_WINDOWS_DEFAULTS, &CVornelDlg::OnWindowsDefaults}};
    for (const auto& command : kCommands) {
        if (id == command.id && code == BN_CLICKED) {
            (this->*command.handler)();
            return true;
        }
    }
    if (id == IDC_LANGUAGE_LIST && code == CBN_SELCHANGE) {
        OnSelchangeLanguage();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CVornelDlg::OnSysCommand(WPARAM, LPARAM) {
    CAboutDlg about(m_hWnd);
    if (about.DoModal() == -1) ShowWindowNotOpened(m_hWnd);
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
    theApp.SetItemLanguageText(text::kIDC_SHOW_CHANGES, IDC_SHOW_CHANGES, m_hWnd);
    theApp.SetItemLanguageText(text::kIDC_WINDOWS_DEFAULTS, IDC_WINDOWS_DEFAULTS, m_hWnd);
    theApp.SetItemLanguageText(text::kIDC_Language, IDC_Language, m_hWnd);
}

void CVornelDlg::FillLanguageList() {
    HWND list = GetDlgItem(IDC_LANGUAGE_LIST);
    const comctl::Functions* controls = comctl::Get();
    if (controls == nullptr) return;
    // Magenta is the flags' transparent colour, which needs the list's mask.
    m_imageList = controls->imageListCreate(16, 16, ILC_COLOR16 | ILC_MASK, 0, 4);
    if (m_extendedList) {
        SendMessageA(list, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_imageList));
    }

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
        InsertLanguage(list, m_extendedList, name, image);
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
    const std::optional<std::string> name = LanguageAt(list, m_extendedList, index);
    if (!name) return;
    theApp.ChangeLanguage(name->c_str());
    LocalizeDialog();
    theApp.SaveLanguage(theApp.m_pszLanguage);
}

// The items as tall as the extended combo box makes them: the flag or a line of text,
// whichever is taller, and a pixel above and below. The list's first height, from before
// the dialog was bound, is the platform's guess.
void CVornelDlg::SizePlainLanguageList() {
    HWND list = GetDlgItem(IDC_LANGUAGE_LIST);
    HDC dc = ::GetDC(list);
    if (dc == nullptr) return;
    TEXTMETRICA metrics{};
    {
        SelectedFont font(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
        GetTextMetricsA(dc, &metrics);
    }
    ::ReleaseDC(list, dc);
    const LPARAM height = std::max<LONG>(kFlagSize, metrics.tmHeight) + 2;
    SendMessageA(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
    SendMessageA(list, CB_SETITEMHEIGHT, 0, height);
}

// One item of the plain language list, in the box and the drop-down alike, as the
// extended combo box draws it: the flag, then the name, with only the name highlighted
// when selected and framed when it has the focus.
void CVornelDlg::DrawLanguage(const DRAWITEMSTRUCT& item) const {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_WINDOW));
    if (item.itemID == static_cast<UINT>(-1)) return;
    const int height = item.rcItem.bottom - item.rcItem.top;
    const int image = static_cast<int>(item.itemData);
    const comctl::Functions* controls = comctl::Get();
    if (image >= 0 && controls != nullptr && m_imageList != nullptr) {
        controls->imageListDraw(m_imageList, image, item.hDC, item.rcItem.left + kFlagMargin,
                                item.rcItem.top + (height - kFlagSize) / 2, ILD_TRANSPARENT);
    }
    const std::string name =
        LanguageAt(item.hwndItem, false, static_cast<LRESULT>(item.itemID)).value_or("");
    SelectedFont font(item.hDC,
                      reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32A(item.hDC, name.c_str(), static_cast<int>(name.size()), &extent);
    RECT box = item.rcItem;
    box.left += kFlagMargin + kFlagSize + kTextGap - 2;
    box.right = std::min<LONG>(box.left + extent.cx + 4, item.rcItem.right);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    if (selected) FillRect(item.hDC, &box, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetBkMode(item.hDC, TRANSPARENT);
    const int colour = selected                               ? COLOR_HIGHLIGHTTEXT
                       : (item.itemState & ODS_DISABLED) != 0 ? COLOR_GRAYTEXT
                                                              : COLOR_WINDOWTEXT;
    SetTextColor(item.hDC, GetSysColor(colour));
    RECT text = box;
    text.left += 2;
    DrawTextA(item.hDC, name.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(item.hDC, &box);
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
    if (m_sheet->DoModal() == -1) ShowWindowNotOpened(m_hWnd);
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
    const engine::Result result = engine::RestoreSettings(store, theApp.m_release);
    if (result.outcome == engine::Outcome::MadeOnOtherFamily) {
        OfferToDiscardBackup(store, result.madeOn);
        return;
    }
    ShowOutcome(m_hWnd, result.outcome);
}

// A backup of the other family can only be kept (for the Windows it was made on) or
// removed; keeping it is the answer that loses nothing.
void CVornelDlg::OfferToDiscardBackup(RegistryStore& store, const engine::Origin& madeOn) {
    const std::string question =
        outcome::OtherFamilyQuestion(theApp.GetLanguageText(text::k53), madeOn, theApp.m_release);
    if (AppMessageBox(m_hWnd, question, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    if (!engine::DiscardBackup(store)) ShowOutcome(m_hWnd, engine::Outcome::NotRestored);
}

void CVornelDlg::UpdateResetButton() {
    Win32RegistryStore store;
    // What Reset will put back can be shown exactly when there is a Reset.
    const bool backup = engine::BackupExists(store);
    EnableDlgItem(IDC_RESET_SETTINGS, backup);
    EnableDlgItem(IDC_SHOW_CHANGES, backup);
}

void CVornelDlg::OnShowChanges() {
    Win32RegistryStore store;
    CChangesDlg list(m_hWnd, CChangesDlg::Mode::ShowChanges,
                     engine::ResetChanges(store, theApp.m_release));
    if (list.DoModal() == -1) ShowWindowNotOpened(m_hWnd);
}

// Windows' defaults go as Finish does: a preview first, then the question before a backup is
// replaced, then a complete backup of what is in force, and only then the change.
void CVornelDlg::OnWindowsDefaults() {
    Win32RegistryStore store;
    if (!engine::MayChangeSettings(store, theApp.m_family)) {
        ShowOutcome(m_hWnd, engine::Outcome::NeedsRights);
        return;
    }
    CChangesDlg preview(m_hWnd, CChangesDlg::Mode::WindowsDefaults,
                        engine::DefaultsChanges(store, theApp.m_release));
    const INT_PTR answer = preview.DoModal();
    if (answer == -1) ShowWindowNotOpened(m_hWnd);
    if (answer != IDOK) return;
    if (engine::BackupExists(store) && !AgreesToReplaceBackup(store)) return;
    ShowOutcome(m_hWnd, engine::ApplyDefaults(store, theApp.m_release).outcome);
    UpdateResetButton();
}
