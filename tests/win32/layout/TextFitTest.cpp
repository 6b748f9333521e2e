// Every text of the main dialog, the About box, the wizard pages and the wizard's buttons fits
// its control in every shipped language, and every window the program shows, message boxes
// included, lies inside the work area of the small screens its users have: each dialog is made
// from Vornel.exe's own template, so the font and the dialog-unit conversion are the real ones,
// and each text is measured as the control draws it. The whole check runs at normal and at large
// fonts.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "app/LanguageStore.h"
#include "app/OutcomeMessages.h"
#include "e2e/Registry.h"
#include "framework/IntegerText.h"
#include "framework/PalettePicture.h"
#include "framework/PropertySheet.h"
#include "res/TextCatalog.h"
#include "res/resource.h"
#include "tests/shared/WizardTestSupport.h"
#include "wizard/ModemPicture.h"
#include "wizard/WizardRules.h"

namespace {

// ---- Languages -------------------------------------------------------------

std::string WindowsPath(std::string unixPath) {
    for (char& c : unixPath) {
        if (c == '/') c = '\\';
    }
    return "Z:" + unixPath;
}

// The checkout holds the shipped language files in its Lang folder, as an installation does.
const std::string& ShippedFolder() {
    static const std::string folder = WindowsPath(VORNEL_SOURCE_DIR);
    return folder;
}

std::vector<std::string> ShippedLanguages() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((ShippedFolder() + "\\lang\\*.ini").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string file = found.cFileName;
        names.push_back(file.substr(0, file.size() - 4));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// A language's texts, looked up by the program's own reader.
struct Language {
    std::string name;
    std::string operator()(const TextEntry& entry) const {
        return LanguageStore().Text(ShippedFolder(), name, entry.key, entry.english);
    }
};

// ---- The screens -----------------------------------------------------------

// The smallest screens of the program's users, one for each size of the system font: a window
// must lie inside the work area (the screen less a 28-pixel taskbar) of the one of the dots per
// inch the system runs at.
struct SmallScreen {
    int dotsPerInch;
    int dialogFontHeight;  // MS Sans Serif 8 at that resolution
    SIZE workArea;
    const char* name;
};
constexpr SmallScreen kSmallScreens[] = {
    {96, 13, {640, 452}, "640 x 480 at normal fonts"},
    {120, 16, {800, 572}, "800 x 600 at large fonts"},
};

// The large-fonts run is this program again, told by this variable which resolution its system
// was started with.
constexpr char kDotsPerInchVariable[] = "VORNEL_LAYOUT_DPI";

const SmallScreen& ScreenOfThisRun() {
    char value[16] = {};
    const DWORD length = GetEnvironmentVariableA(kDotsPerInchVariable, value, sizeof value);
    const int dotsPerInch = length > 0 && length < sizeof value ? std::atoi(value) : 96;
    for (const SmallScreen& screen : kSmallScreens) {
        if (screen.dotsPerInch == dotsPerInch) return screen;
    }
    return kSmallScreens[0];
}

// ---- What each control shows -----------------------------------------------

// Every text a control can show in a language: one per state of the value it reports.
using Variants = std::function<std::vector<std::string>(const Language&)>;

Variants Plain(TextEntry entry) {
    return [entry](const Language& t) { return std::vector<std::string>{t(entry)}; };
}

// A recommendation: "%d" becomes the widest value the page recommends there.
Variants Recommendation(TextEntry entry, std::int32_t widest) {
    return [entry, widest](const Language& t) {
        return std::vector<std::string>{wizard::ReplacePercentD(t(entry), widest)};
    };
}

// An explanation followed by the value in force (its widest plausible reading) or "isn't set.".
Variants NumberStatus(TextEntry entry, std::int32_t widest, TextEntry unit) {
    return [entry, widest, unit](const Language& t) {
        const std::string explanation = t(entry);
        return std::vector<std::string>{
            wizard::WithNumberStatus(explanation, true, widest, t(text::k2), t(unit), t(text::k3)),
            wizard::WithNumberStatus(explanation, false, 0, t(text::k2), t(unit), t(text::k3))};
    };
}

Variants CountStatus(TextEntry entry, std::int32_t widest, TextEntry wasSetTo) {
    return [entry, widest, wasSetTo](const Language& t) {
        const std::string explanation = t(entry);
        return std::vector<std::string>{
            wizard::WithCountStatus(explanation, true, widest, t(wasSetTo), t(text::k3)),
            wizard::WithCountStatus(explanation, false, 0, t(wasSetTo), t(text::k3))};
    };
}

// An explanation followed by "enabled", "disabled" or "isn't set.".
Variants SwitchStatus(TextEntry entry) {
    return [entry](const Language& t) {
        const std::string explanation = t(entry);
        std::vector<std::string> all;
        for (int state : {0, 1, 2}) {
            all.push_back(wizard::WithSwitchStatus(explanation, state != 2, state, t(text::k6),
                                                   t(text::k5), t(text::k3)));
        }
        return all;
    };
}

// A string of the program's version resource, which the About box shows in every language.
std::string VersionString(const std::string& name);

Variants Version(const char* name) {
    return [name](const Language&) { return std::vector<std::string>{VersionString(name)}; };
}

struct ControlText {
    int id;
    const char* name;
    Variants texts;
};
#define CONTROL(id, texts) (ControlText{id, #id, texts})

// Controls of the template left out of a table keep their template text, which is measured too.
struct DialogLayout {
    int templateId;
    const char* name;
    std::vector<ControlText> controls;
};

// The widest plausible numbers, in force or recommended: an MTU, MSS or connection count the
// stack takes, the TTL's and the receive window's upper limits, and for both keep-alive values
// the longer default in milliseconds.
constexpr std::int32_t kWidestCount = 65535;
constexpr auto kWidestWindow = static_cast<std::int32_t>(wizard::kMaxReceiveWindow);
const std::int32_t kWidestKeepAlive = wizardtest::DefaultsFor(WinNT).keepAliveTime;

const std::vector<DialogLayout>& Dialogs() {
    using namespace text;
    static const std::vector<DialogLayout> dialogs = {
        {IDD_VORNEL_DIALOG,
         "main dialog",
         {CONTROL(IDC_static_Introduction, Plain(kIDC_static_Introduction)),
          CONTROL(IDC_HINT, Plain(kIDC_HINT)), CONTROL(IDC_Language, Plain(kIDC_Language)),
          CONTROL(IDC_SET_SETTINGS, Plain(kIDC_SET_SETTINGS)),
          CONTROL(IDC_RESET_SETTINGS, Plain(kIDC_RESET_SETTINGS)),
          CONTROL(IDC_SHOW_CHANGES, Plain(kIDC_SHOW_CHANGES)),
          CONTROL(IDC_WINDOWS_DEFAULTS, Plain(kIDC_WINDOWS_DEFAULTS))}},
        // Both of its uses: what Reset will put back, and Windows' defaults.
        {IDD_CHANGES,
         "list of changes",
         {CONTROL(IDC_CHANGES_SETTING, Plain(kIDC_CHANGES_SETTING)),
          CONTROL(IDC_CHANGES_NOW, Plain(kIDC_CHANGES_NOW)), CONTROL(IDC_CHANGES_AFTER, Plain(k56)),
          CONTROL(IDC_CHANGES_AFTER, Plain(k57)), CONTROL(IDOK, Plain(k60)),
          CONTROL(IDCANCEL, Plain(kIDCANCEL)), CONTROL(IDCANCEL, Plain(k61))}},
        {IDD_ABOUTBOX,
         "About box",
         {CONTROL(IDOK, Plain(kIDOK)), CONTROL(IDC_STATIC2, Plain(kIDC_STATIC2)),
          CONTROL(IDC_FILE_VERSION, Version("FileVersion")),
          CONTROL(IDC_LEGAL_COPYRIGHT, Version("LegalCopyright"))}},
        {IDD_CONNECTION_TYPE,
         "connection type page",
         {CONTROL(IDC_static_step2_Explain, Plain(kIDC_static_step2_Explain)),
          CONTROL(IDC_step2_RADIO_DialUp, Plain(kIDC_step2_RADIO_DialUp)),
          CONTROL(IDC_step2_RADIO_CableModem, Plain(kIDC_step2_RADIO_CableModem)),
          CONTROL(IDC_step2_RADIO_DSL, Plain(kIDC_step2_RADIO_DSL)),
          CONTROL(IDC_step2_RADIO_LAN, Plain(kIDC_step2_RADIO_LAN))}},
        {IDD_MTU,
         "MTU page",
         {CONTROL(IDC_static_step3_MTUExplain,
                  NumberStatus(kIDC_static_step3_MTUExplain, kWidestCount, k4)),
          CONTROL(IDC_static_step3_MSSExplain,
                  NumberStatus(kIDC_static_step3_MSSExplain, kWidestCount, k4)),
          CONTROL(IDC_static_RecommendedMTU,
                  Recommendation(kIDC_static_RecommendedMTU, kWidestCount)),
          CONTROL(IDC_static_RecommendedMSS,
                  Recommendation(kIDC_static_RecommendedMSS, kWidestCount))}},
        {IDD_OTHER_MTU,
         "path MTU page",
         {CONTROL(IDC_static_step4_MTUDiscoveryExplain,
                  SwitchStatus(kIDC_static_step4_MTUDiscoveryExplain)),
          CONTROL(IDC_static_step4_BlackHoeDetectExplain,
                  SwitchStatus(kIDC_static_step4_BlackHoeDetectExplain)),
          CONTROL(IDC_static_MTUDiscovery, Plain(kIDC_static_MTUDiscovery)),
          CONTROL(IDC_static_BlackHoleDetect, Plain(kIDC_static_BlackHoleDetect)),
          CONTROL(IDC_chk_MTUDiscovery, Plain(kIDC_chk_MTUDiscovery)),
          CONTROL(IDC_chk_BlackHoleDetection, Plain(kIDC_chk_BlackHoleDetection))}},
        {IDD_RWIN,
         "receive window page",
         {CONTROL(IDC_static_step5_Explain,
                  NumberStatus(kIDC_static_step5_Explain, kWidestWindow, k4)),
          CONTROL(IDC_static_RecommendedRWIN,
                  Recommendation(kIDC_static_RecommendedRWIN, kWidestWindow)),
          CONTROL(IDC_STATIC_SCALING_FACTOR, Plain(kIDC_STATIC_SCALING_FACTOR)),
          CONTROL(IDC_STATIC_MULTIPLIER, Plain(kIDC_STATIC_MULTIPLIER))}},
        {IDD_TTL,
         "TTL page",
         {CONTROL(IDC_static_step6_Explain,
                  NumberStatus(kIDC_static_step6_Explain, wizard::kMaxTtl, k7)),
          CONTROL(IDC_static_RecommendedTTL,
                  Recommendation(kIDC_static_RecommendedTTL, wizard::kMaxTtl)),
          CONTROL(IDC_IE_GROUP_BOX, Plain(kIDC_IE_GROUP_BOX)),
          CONTROL(IDC_IE_OPTIMIZATION, Plain(kIDC_IE_OPTIMIZATION)),
          CONTROL(IDC_CURRENT_HTTP_1_0, CountStatus(kIDC_CURRENT_HTTP_1_0, kWidestCount, k2)),
          CONTROL(IDC_RECOMMENDED_HTTP_1_0,
                  Recommendation(kIDC_RECOMMENDED_HTTP_1_0, kWidestCount)),
          CONTROL(IDC_CURRENT_HTTP_1_1, CountStatus(kIDC_CURRENT_HTTP_1_1, kWidestCount, k2)),
          CONTROL(IDC_RECOMMENDED_HTTP_1_1,
                  Recommendation(kIDC_RECOMMENDED_HTTP_1_1, kWidestCount))}},
        {IDD_KEEP_ALIVE,
         "keep-alive page",
         {CONTROL(IDC_static_step7_KeepAliveTimeExplain,
                  NumberStatus(kIDC_static_step7_KeepAliveTimeExplain, kWidestKeepAlive, k1)),
          CONTROL(IDC_static_step7_KeepLAliveIntervalExplain,
                  NumberStatus(kIDC_static_step7_KeepLAliveIntervalExplain, kWidestKeepAlive, k1)),
          CONTROL(IDC_static_RecommendedKeepAliveTime,
                  Recommendation(kIDC_static_RecommendedKeepAliveTime, kWidestKeepAlive)),
          CONTROL(IDC_static_RecommendedKeepAliveInterval,
                  Recommendation(kIDC_static_RecommendedKeepAliveInterval, kWidestKeepAlive))}},
        {IDD_SYN_FLOOD,
         "SYN flood page",
         {CONTROL(IDC_static_step8_SYNExplain, Plain(kIDC_static_step8_SYNExplain)),
          CONTROL(IDC_static_RecommendedSYN,
                  CountStatus(kIDC_static_RecommendedSYN, kWidestCount, k8)),
          CONTROL(IDC_STATIC_SYN, Plain(kIDC_STATIC_SYN))}},
        {IDD_ICMP_REDIRECT,
         "ICMP redirect page",
         {CONTROL(IDC_static_step9_ICMPExplain, Plain(kIDC_static_step9_ICMPExplain)),
          CONTROL(IDC_static_step9_ICMPExplain2, Plain(kIDC_static_step9_ICMPExplain2)),
          CONTROL(IDC_static_step9_ICMPExplain3, Plain(kIDC_static_step9_ICMPExplain3)),
          CONTROL(IDC_static_step9_ICMPExplain4, SwitchStatus(kIDC_static_step9_ICMPExplain4)),
          CONTROL(IDC_RecommendedICMP, Plain(kIDC_RecommendedICMP)),
          CONTROL(IDC_chk_ICMP, Plain(kIDC_chk_ICMP))}},
        {IDD_MODEM_BOOST, "modem boost page", {CONTROL(IDC_DESCRIBTION, Plain(kIDC_DESCRIBTION))}},
    };
    return dialogs;
}

// The wizard's own buttons, which the program names in the chosen language.
const DialogLayout& WizardSheetLayout() {
    using namespace text;
    static const DialogLayout sheet = {
        0,
        "wizard",
        {CONTROL(ID_WIZBACK, Plain(kID_WIZBACK)), CONTROL(ID_WIZNEXT, Plain(kID_WIZNEXT)),
         CONTROL(IDCANCEL, Plain(kIDCANCEL))}};
    return sheet;
}

// The wizard's pages in the program's order.
constexpr int kWizardPages[] = {
    IDD_CONNECTION_TYPE, IDD_MTU,       IDD_OTHER_MTU,     IDD_RWIN,       IDD_TTL,
    IDD_KEEP_ALIVE,      IDD_SYN_FLOOD, IDD_ICMP_REDIRECT, IDD_MODEM_BOOST};

// Every text the program shows in a message box in a language: the outcomes of Finish and
// Reset, the questions before a backup is replaced, the receive window's ranges, the Windows
// version that cannot be told, and the framework's own (English) entry checks.
std::vector<std::string> MessageBoxTexts(const Language& t) {
    using engine::Outcome;
    std::vector<std::string> texts;
    for (Outcome outcome : {Outcome::Applied, Outcome::PartlyApplied, Outcome::NeedsRights,
                            Outcome::NoBackupMade, Outcome::Restored, Outcome::RestoredInPart,
                            Outcome::RestoredElsewhereLeft, Outcome::NotRestored}) {
        texts.push_back(t(outcome::MessageFor(outcome).text));
    }
    // A backup of the other family, with the longest names that go into the question.
    texts.push_back(outcome::OtherFamilyQuestion(t(text::k53), engine::Origin{WinNT, std::nullopt},
                                                 WindowsRelease::WinNT4));
    for (const TextEntry& entry :
         {text::k43, text::k48, text::k79, wizard::ReceiveWindowRangeText(true),
          wizard::ReceiveWindowRangeText(false)}) {
        texts.push_back(t(entry));
    }
    texts.emplace_back(kEnterIntegerMessage);
    texts.push_back(exchange::EnterIntegerRangeMessage(std::numeric_limits<std::int64_t>::min(),
                                                       std::numeric_limits<std::int64_t>::max()));
    return texts;
}

// ---- The program's templates -------------------------------------------------

std::string VornelExe() {
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("VORNEL_EXE", path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? path : "";
}

std::string VersionString(const std::string& name) {
    const std::string exe = VornelExe();
    DWORD handle = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(exe.c_str(), &handle));
    if (block.empty() ||
        !GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(block.size()), block.data())) {
        return "";
    }
    char* value = nullptr;
    UINT length = 0;
    const std::string query = "\\StringFileInfo\\040904b0\\" + name;
    if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) ||
        value == nullptr) {
        return "";
    }
    return value;
}

INT_PTR CALLBACK PassiveDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

// One top-level dialog of the program made from its template, hidden.
class MadeDialog {
public:
    MadeDialog(HMODULE program, int templateId) {
        HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(templateId), RT_DIALOG);
        HGLOBAL loaded = found ? LoadResource(program, found) : nullptr;
        const auto* dialogTemplate = static_cast<const DLGTEMPLATE*>(LockResource(loaded));
        if (!dialogTemplate) return;
        m_dialog =
            CreateDialogIndirectParamA(program, dialogTemplate, nullptr, PassiveDialogProc, 0);
    }
    ~MadeDialog() {
        if (m_dialog) DestroyWindow(m_dialog);
    }
    MadeDialog(const MadeDialog&) = delete;
    MadeDialog& operator=(const MadeDialog&) = delete;

    HWND get() const { return m_dialog; }

private:
    HWND m_dialog = nullptr;
};

// The wizard as the program makes it: a wizard-mode property sheet of the nine pages, each
// template sized in the sheet's units where its own are larger, with the platform's buttons
// below them; modeless here, hidden, and destroyed with the object.
class MadeWizard {
public:
    explicit MadeWizard(HMODULE program) {
        std::vector<HPROPSHEETPAGE> pages;
        for (int templateId : kWizardPages) {
            PROPSHEETPAGEA page{};
            page.dwSize = PROPSHEETPAGEA_V1_SIZE;
            page.dwFlags = PSP_DEFAULT;
            page.hInstance = program;
            page.pszTemplate = MAKEINTRESOURCEA(templateId);
            m_templates.push_back(PageTemplateInSheetUnits(program, static_cast<UINT>(templateId)));
            if (!m_templates.back().empty()) {
                page.dwFlags |= PSP_DLGINDIRECT;
                page.pResource = reinterpret_cast<const DLGTEMPLATE*>(m_templates.back().data());
            }
            page.pfnDlgProc = PassiveDialogProc;
            if (HPROPSHEETPAGE made = CreatePropertySheetPageA(&page)) pages.push_back(made);
        }
        if (pages.size() != std::size(kWizardPages)) {
            for (HPROPSHEETPAGE made : pages) DestroyPropertySheetPage(made);
            return;
        }
        PROPSHEETHEADERA header{};
        header.dwSize = PROPSHEETHEADERA_V1_SIZE;
        header.dwFlags = PSH_WIZARD | PSH_NOAPPLYNOW | PSH_MODELESS;
        header.hInstance = program;
        header.pszCaption = MAKEINTRESOURCEA(IDS_WIZARD);
        header.nPages = static_cast<UINT>(pages.size());
        header.phpage = pages.data();
        m_sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
        if (m_sheet) ShowWindow(m_sheet, SW_HIDE);
    }
    ~MadeWizard() {
        if (m_sheet) DestroyWindow(m_sheet);
    }
    MadeWizard(const MadeWizard&) = delete;
    MadeWizard& operator=(const MadeWizard&) = delete;

    HWND get() const { return m_sheet; }

    // Shows the page of this template, as Next and Back do; null when it is not one.
    HWND ShowPage(int templateId) const {
        for (std::size_t index = 0; index < std::size(kWizardPages); ++index) {
            if (kWizardPages[index] != templateId) continue;
            SendMessageA(m_sheet, PSM_SETCURSEL, index, 0);
            return reinterpret_cast<HWND>(SendMessageA(m_sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        }
        return nullptr;
    }

private:
    std::vector<std::vector<DWORD>> m_templates;
    HWND m_sheet = nullptr;
};

// The window rectangle of a real message box of this text, in the largest form the program
// shows one (an icon and two buttons): read when the box is activated, then answered.
thread_local std::optional<RECT> t_boxPlace;
thread_local HHOOK t_boxHook = nullptr;

LRESULT CALLBACK OnBoxActivated(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && !t_boxPlace) {
        const auto box = reinterpret_cast<HWND>(wParam);
        RECT place{};
        GetWindowRect(box, &place);
        t_boxPlace = place;
        PostMessageA(box, WM_COMMAND, IDNO, 0);
    }
    return CallNextHookEx(t_boxHook, code, wParam, lParam);
}

std::optional<RECT> MessageBoxPlace(const std::string& text) {
    t_boxPlace.reset();
    t_boxHook = SetWindowsHookExA(WH_CBT, OnBoxActivated, nullptr, GetCurrentThreadId());
    if (!t_boxHook) return std::nullopt;
    MessageBoxA(nullptr, text.c_str(), "Vornel", MB_YESNO | MB_ICONEXCLAMATION);
    UnhookWindowsHookEx(t_boxHook);
    t_boxHook = nullptr;
    return t_boxPlace;
}

// ---- Measuring -------------------------------------------------------------

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// How a control lays out its text: the room it gives and the DrawText flags it uses.
struct TextRoom {
    bool measured = false;  // false for pictures, edits, lists
    SIZE room{};
    UINT format = 0;
    bool checkHeight = true;
};

TextRoom RoomOf(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    const std::string cls = ClassOf(control);
    TextRoom r;
    r.room = {client.right, client.bottom};
    if (lstrcmpiA(cls.c_str(), "Static") == 0) {
        const LONG type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_SIMPLE &&
            type != SS_LEFTNOWORDWRAP) {
            return r;
        }
        r.measured = true;
        const bool oneLine =
            type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP || (style & SS_CENTERIMAGE) != 0;
        r.format = DT_EXPANDTABS | (oneLine ? DT_SINGLELINE : DT_WORDBREAK) |
                   ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
        return r;
    }
    if (lstrcmpiA(cls.c_str(), "Button") != 0) return r;
    r.measured = true;
    r.format = DT_SINGLELINE;
    const LONG type = style & BS_TYPEMASK;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
        // The raised edge and the focus rectangle inside it.
        const int inset = 2 * (GetSystemMetrics(SM_CXEDGE) + 1);
        r.room = {client.right - inset, client.bottom - inset};
    } else if (type == BS_GROUPBOX) {
        // The caption sits in the frame's top line, a character's width in from each corner.
        r.room.cx = client.right - 2 * LOWORD(GetDialogBaseUnits());
        r.checkHeight = false;
    } else {
        // Check boxes and radio buttons: the box and the gap before the text.
        r.room.cx = client.right - GetSystemMetrics(SM_CXMENUCHECK) - GetSystemMetrics(SM_CXEDGE);
    }
    if (style & BS_MULTILINE) r.format = DT_WORDBREAK;
    return r;
}

SIZE Needed(HWND control, const std::string& text, const TextRoom& room) {
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT rect{0, 0, room.room.cx, 0};
    DrawTextA(dc, text.c_str(), -1, &rect, room.format | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {rect.right, rect.bottom};
}

std::string Quoted(const std::string& text) {
    std::string quoted(1, '"');
    quoted.append(text).push_back('"');
    return quoted;
}

std::string Shortened(std::string text) {
    for (char& c : text) {
        if (c == '\n') c = '*';
    }
    return text.size() > 70 ? text.substr(0, 67) + "..." : text;
}

// Every text of a window's controls, in every language, fits the room its control gives it, and
// every control lies inside the window's client area.
void ExpectTextsFit(HWND window, const DialogLayout& layout,
                    const std::vector<std::string>& languages) {
    RECT area{};
    GetClientRect(window, &area);
    for (const ControlText& entry : layout.controls) {
        EXPECT_TRUE(GetDlgItem(window, entry.id)) << layout.name << " has no " << entry.name;
    }
    for (HWND control = GetWindow(window, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(control);
        const ControlText* entry = nullptr;
        for (const ControlText& candidate : layout.controls) {
            if (candidate.id == id) entry = &candidate;
        }
        // What the window hides (the sheet's Help button, the header line of other wizards)
        // is never seen.
        if ((GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) == 0) continue;
        const std::string name = entry ? entry->name : Quoted(WindowText(control));

        RECT place{};
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.right <= area.right &&
                    place.bottom <= area.bottom)
            << layout.name << ": " << name << " lies outside the window";

        const TextRoom room = RoomOf(control);
        if (!room.measured) continue;
        for (const std::string& language : languages) {
            const std::vector<std::string> texts =
                entry ? entry->texts(Language{language}) : std::vector{WindowText(control)};
            for (const std::string& text : texts) {
                const SIZE needed = Needed(control, text, room);
                const bool fits =
                    needed.cx <= room.room.cx && (!room.checkHeight || needed.cy <= room.room.cy);
                EXPECT_TRUE(fits) << layout.name << ", " << name << ", " << language << ": needs "
                                  << needed.cx << " x " << needed.cy << " pixels, has "
                                  << room.room.cx << " x " << room.room.cy << ": \""
                                  << Shortened(text) << "\"";
            }
        }
    }
}

// A window, caption and frame included, centred in the work area of the small screen lies
// inside it when it is no larger than the work area.
void ExpectFitsTheScreen(const RECT& place, const std::string& name) {
    const SmallScreen& screen = ScreenOfThisRun();
    const LONG width = place.right - place.left;
    const LONG height = place.bottom - place.top;
    EXPECT_TRUE(width <= screen.workArea.cx && height <= screen.workArea.cy)
        << name << " is " << width << " x " << height << " pixels; the work area of " << screen.name
        << " is " << screen.workArea.cx << " x " << screen.workArea.cy;
}

void ExpectFitsTheScreen(HWND window, const std::string& name) {
    RECT place{};
    ASSERT_TRUE(GetWindowRect(window, &place)) << name;
    ExpectFitsTheScreen(place, name);
}

class TextFit : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_USEREX_CLASSES};
        InitCommonControlsEx(&controls);
    }
    void SetUp() override {
        const std::string exe = VornelExe();
        ASSERT_FALSE(exe.empty()) << "VORNEL_EXE is not set (the Windows path of Vornel.exe)";
        m_program = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(m_program) << "cannot load " << exe;
        m_languages = ShippedLanguages();
        ASSERT_GE(m_languages.size(), 2u) << "no language files in " << ShippedFolder();
    }
    void TearDown() override {
        if (m_program) FreeLibrary(m_program);
    }

    HMODULE m_program = nullptr;
    std::vector<std::string> m_languages;
};

// Without Wine's own fonts the dialogs would be laid out, and measured here, with a stand-in
// of other metrics; and a large-fonts run whose system kept its normal fonts would check
// nothing new.
TEST_F(TextFit, DialogsUseTheirOwnFontAtTheRunsResolution) {
    const SmallScreen& screen = ScreenOfThisRun();
    MadeDialog dialog(m_program, IDD_VORNEL_DIALOG);
    ASSERT_TRUE(dialog.get());
    HDC dc = GetDC(dialog.get());
    const int dotsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog.get(), WM_GETFONT, 0, 0)));
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, face);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(dialog.get(), dc);
    EXPECT_EQ(dotsPerInch, screen.dotsPerInch);
    EXPECT_STREQ(face, "MS Sans Serif");
    EXPECT_EQ(metrics.tmHeight, screen.dialogFontHeight)
        << "8 points at " << screen.dotsPerInch << " dots per inch";
}

// A page is measured where the wizard shows it: the sheet gives it the room of the largest
// template in the sheet's own dialog units, which its controls must not outgrow.
TEST_F(TextFit, EveryTextFitsItsControlInEveryShippedLanguage) {
    MadeWizard wizard(m_program);
    ASSERT_TRUE(wizard.get()) << "cannot make the wizard";
    ExpectTextsFit(wizard.get(), WizardSheetLayout(), m_languages);
    for (const DialogLayout& layout : Dialogs()) {
        if (HWND page = wizard.ShowPage(layout.templateId)) {
            ExpectTextsFit(page, layout, m_languages);
            continue;
        }
        MadeDialog dialog(m_program, layout.templateId);
        ASSERT_TRUE(dialog.get()) << "cannot make the " << layout.name;
        ExpectTextsFit(dialog.get(), layout, m_languages);
    }
}

// The templates' sizes do not depend on the language; a message box's does.
TEST_F(TextFit, EveryWindowLiesInsideTheWorkAreaOfTheSmallScreen) {
    for (const auto& [templateId, name] : {std::pair{IDD_SPLASH, "start-up picture"},
                                           {IDD_VORNEL_DIALOG, "main dialog"},
                                           {IDD_ABOUTBOX, "About box"}}) {
        MadeDialog dialog(m_program, templateId);
        ASSERT_TRUE(dialog.get()) << "cannot make the " << name;
        EXPECT_TRUE(GetWindowLongA(dialog.get(), GWL_STYLE) & DS_CENTER)
            << "the " << name << " does not centre itself";
        ExpectFitsTheScreen(dialog.get(), name);
    }
    MadeWizard wizard(m_program);
    ASSERT_TRUE(wizard.get()) << "cannot make the wizard";
    ExpectFitsTheScreen(wizard.get(), "wizard");

    for (const std::string& language : m_languages) {
        for (const std::string& text : MessageBoxTexts(Language{language})) {
            const std::optional<RECT> place = MessageBoxPlace(text);
            ASSERT_TRUE(place) << "no message box was shown";
            ExpectFitsTheScreen(*place, language + " message box \"" + Shortened(text) + "\"");
        }
    }
}

// The modem page writes the words of its picture in the picture's own font, each on one line
// that must end where the picture leaves room for it, at every screen resolution.
TEST_F(TextFit, ModemPictureWordsFitInEveryShippedLanguage) {
    HDC dc = GetDC(nullptr);
    const GdiObject<HFONT> font =
        PixelFont(wizard::kPictureFontPixels, wizard::kPictureLineHeight, wizard::kPictureFontFace,
                  wizard::kPictureFallbackFace, wizard::kPictureFallbackPixels);
    ASSERT_TRUE(font);
    HGDIOBJ old = SelectObject(dc, font.get());
    for (const wizard::PictureWords& words : wizard::kModemPictureWords) {
        for (const std::string& language : m_languages) {
            const std::string text = Language{language}(words.text);
            SIZE needed{};
            GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &needed);
            EXPECT_LE(words.left + needed.cx, words.right)
                << "modem picture, " << words.text.key << ", " << language << ": needs "
                << needed.cx << " pixels, has " << words.right - words.left << ": \"" << text
                << "\"";
            EXPECT_EQ(text.find('\n'), std::string::npos) << words.text.key << ", " << language;
        }
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
}

// ---- Large fonts -------------------------------------------------------------

// Wine reads the resolution of the system font (LogPixels) when a process starts, so the
// large-fonts run is a process of its own, started while the setting says 120.
class LogPixelsFor {
public:
    explicit LogPixelsFor(DWORD dotsPerInch)
        : m_before(e2e::GetValue(HKEY_CURRENT_USER, kDesktop, kName)) {
        e2e::SetDword(HKEY_CURRENT_USER, kDesktop, kName, dotsPerInch);
    }
    ~LogPixelsFor() {
        if (m_before) {
            e2e::SetValue(HKEY_CURRENT_USER, kDesktop, kName, *m_before);
        } else {
            e2e::DeleteValue(HKEY_CURRENT_USER, kDesktop, kName);
        }
    }
    LogPixelsFor(const LogPixelsFor&) = delete;
    LogPixelsFor& operator=(const LogPixelsFor&) = delete;

private:
    static constexpr char kDesktop[] = "Control Panel\\Desktop";
    static constexpr char kName[] = "LogPixels";
    std::optional<e2e::RegValue> m_before;
};

// Runs this program's layout tests again with its output; returns its exit code.
std::optional<DWORD> RunLayoutTestsAgain() {
    char self[MAX_PATH] = {};
    if (GetModuleFileNameA(nullptr, self, MAX_PATH) == 0) return std::nullopt;
    std::string commandLine = std::string("\"") + self + "\" --gtest_filter=TextFit.*";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    for (HANDLE handle : {startup.hStdOutput, startup.hStdError}) {
        SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    }
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return std::nullopt;
    }
    CloseHandle(started.hThread);
    WaitForSingleObject(started.hProcess, INFINITE);
    DWORD code = 0;
    const bool read = GetExitCodeProcess(started.hProcess, &code);
    CloseHandle(started.hProcess);
    return read ? std::optional{code} : std::nullopt;
}

TEST(LargeFonts, EveryLayoutCheckHoldsAt120DotsPerInch) {
    if (ScreenOfThisRun().dotsPerInch != 96) GTEST_SKIP() << "this is the large-fonts run";
    std::cout.flush();
    std::optional<DWORD> exitCode;
    {
        LogPixelsFor largeFonts(120);
        SetEnvironmentVariableA(kDotsPerInchVariable, "120");
        exitCode = RunLayoutTestsAgain();
        SetEnvironmentVariableA(kDotsPerInchVariable, nullptr);
    }
    ASSERT_TRUE(exitCode) << "cannot run the layout tests again (error " << GetLastError() << ")";
    EXPECT_EQ(*exitCode, 0u) << "the layout tests failed at 120 dots per inch (above)";
}

}  // namespace
