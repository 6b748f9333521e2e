// Every text of the main dialog, the About box and the wizard pages fits its control in every
// shipped language: each dialog is made from Vornel.exe's own template, so the font and the
// dialog-unit conversion are the real ones, and each text is measured as the control draws it.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "app/LanguageStore.h"
#include "res/TextCatalog.h"
#include "res/resource.h"
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
        return ReadLanguageText(ShippedFolder(), name, entry.key, entry.english);
    }
};

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
const std::int32_t kWidestKeepAlive = wizard::DefaultsFor(WinNT).keepAliveTime;

const std::vector<DialogLayout>& Dialogs() {
    using namespace text;
    static const std::vector<DialogLayout> dialogs = {
        {IDD_VORNEL_DIALOG,
         "main dialog",
         {CONTROL(IDC_static_Introduction, Plain(kIDC_static_Introduction)),
          CONTROL(IDC_HINT, Plain(kIDC_HINT)), CONTROL(IDC_Language, Plain(kIDC_Language)),
          CONTROL(IDC_SET_SETTINGS, Plain(kIDC_SET_SETTINGS)),
          CONTROL(IDC_RESET_SETTINGS, Plain(kIDC_RESET_SETTINGS))}},
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

// One dialog of the program made from its template, hidden; a wizard page gets a parent.
class MadeDialog {
public:
    MadeDialog(HMODULE program, int templateId) {
        HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(templateId), RT_DIALOG);
        HGLOBAL loaded = found ? LoadResource(program, found) : nullptr;
        const auto* dialogTemplate = static_cast<const DLGTEMPLATE*>(LockResource(loaded));
        if (!dialogTemplate) return;
        const auto* extended = reinterpret_cast<const DWORD*>(dialogTemplate);
        const DWORD style = extended[0] == 0xFFFF0001 ? extended[3] : dialogTemplate->style;
        if (style & WS_CHILD) {
            m_parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 600, nullptr, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
        }
        m_dialog =
            CreateDialogIndirectParamA(program, dialogTemplate, m_parent, PassiveDialogProc, 0);
    }
    ~MadeDialog() {
        if (m_dialog) DestroyWindow(m_dialog);
        if (m_parent) DestroyWindow(m_parent);
    }
    MadeDialog(const MadeDialog&) = delete;
    MadeDialog& operator=(const MadeDialog&) = delete;

    HWND get() const { return m_dialog; }

private:
    HWND m_parent = nullptr;
    HWND m_dialog = nullptr;
};

// ---- Measuring -------------------------------------------------------------

std::string WindowText(HWND window) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

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
// of other metrics.
TEST_F(TextFit, DialogsUseTheirOwnFont) {
    MadeDialog dialog(m_program, IDD_VORNEL_DIALOG);
    ASSERT_TRUE(dialog.get());
    HDC dc = GetDC(dialog.get());
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog.get(), WM_GETFONT, 0, 0)));
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, face);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(dialog.get(), dc);
    EXPECT_STREQ(face, "MS Sans Serif");
    EXPECT_EQ(metrics.tmHeight, 13) << "8 points at 96 dots per inch";
}

TEST_F(TextFit, EveryTextFitsItsControlInEveryShippedLanguage) {
    for (const DialogLayout& layout : Dialogs()) {
        MadeDialog dialog(m_program, layout.templateId);
        ASSERT_TRUE(dialog.get()) << "cannot make the " << layout.name;
        RECT area{};
        GetClientRect(dialog.get(), &area);
        for (const ControlText& entry : layout.controls) {
            EXPECT_TRUE(GetDlgItem(dialog.get(), entry.id))
                << layout.name << " has no " << entry.name;
        }
        for (HWND control = GetWindow(dialog.get(), GW_CHILD); control;
             control = GetWindow(control, GW_HWNDNEXT)) {
            const int id = GetDlgCtrlID(control);
            const ControlText* entry = nullptr;
            for (const ControlText& candidate : layout.controls) {
                if (candidate.id == id) entry = &candidate;
            }
            const std::string name = entry ? entry->name : Quoted(WindowText(control));

            RECT place{};
            GetWindowRect(control, &place);
            MapWindowPoints(nullptr, dialog.get(), reinterpret_cast<POINT*>(&place), 2);
            EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.right <= area.right &&
                        place.bottom <= area.bottom)
                << layout.name << ": " << name << " lies outside the dialog";

            const TextRoom room = RoomOf(control);
            if (!room.measured) continue;
            for (const std::string& language : m_languages) {
                const std::vector<std::string> texts =
                    entry ? entry->texts(Language{language}) : std::vector{WindowText(control)};
                for (const std::string& text : texts) {
                    const SIZE needed = Needed(control, text, room);
                    const bool fits = needed.cx <= room.room.cx &&
                                      (!room.checkHeight || needed.cy <= room.room.cy);
                    EXPECT_TRUE(fits)
                        << layout.name << ", " << name << ", " << language << ": needs "
                        << needed.cx << " x " << needed.cy << " pixels, has " << room.room.cx
                        << " x " << room.room.cy << ": \"" << Shortened(text) << "\"";
                }
            }
        }
    }
}

// The modem page writes the words of its picture with the page's font, each on one line that
// must end where the picture leaves room for it.
TEST_F(TextFit, ModemPictureWordsFitInEveryShippedLanguage) {
    MadeDialog page(m_program, IDD_MODEM_BOOST);
    ASSERT_TRUE(page.get());
    HDC dc = GetDC(page.get());
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(page.get(), WM_GETFONT, 0, 0)));
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
    ReleaseDC(page.get(), dc);
}

}  // namespace
