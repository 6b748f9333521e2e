// Message boxes of another process.
#include "e2e/MessageBoxes.h"

#include <algorithm>
#include <gtest/gtest.h>

#include "e2e/Screen.h"
#include "e2e/Windows.h"

namespace e2e {
namespace {

// Control ids of the dialog that MessageBox builds: the text is 0xFFFF on every
// system; the icon is 1088 (stc1) under Wine and 20 on Windows.
constexpr int kTextId = 0xFFFF;
constexpr int kIconIds[] = {1088, 20};

HWND IconControl(HWND box) {
    for (int id : kIconIds) {
        HWND control = GetDlgItem(box, id);
        if (control && ClassName(control) == "Static" &&
            (Style(control) & SS_TYPEMASK) == SS_ICON) {
            return control;
        }
    }
    return nullptr;
}

HICON IconOf(HWND control) {
    DWORD_PTR icon = 0;
    SendMessageTimeoutA(control, STM_GETICON, 0, 0, SMTO_NORMAL, kAnswerTimeout, &icon);
    return reinterpret_cast<HICON>(icon);
}

// The icon control when it shows an icon. A box without one keeps the control, with
// no icon set (and Wine shrinks it to nothing).
HWND ShownIconControl(HWND box) {
    HWND control = IconControl(box);
    if (!control || !IsWindowVisible(control) || !IconOf(control)) return nullptr;
    return control;
}

// Share of pixels that are the same in both pictures.
double Likeness(const Pixels& a, const Pixels& b) {
    if (a.width != b.width || a.height != b.height || a.colours.empty()) return 0.0;
    size_t same = 0;
    for (size_t i = 0; i < a.colours.size(); ++i) {
        if ((a.colours[i] & 0xFFFFFF) == (b.colours[i] & 0xFFFFFF)) ++same;
    }
    return static_cast<double>(same) / static_cast<double>(a.colours.size());
}

struct IconCandidate {
    BoxIcon icon;
    LPCSTR resource;
};
const IconCandidate kSystemIcons[] = {
    {BoxIcon::Error, IDI_HAND},
    {BoxIcon::Question, IDI_QUESTION},
    {BoxIcon::Exclamation, IDI_EXCLAMATION},
    {BoxIcon::Information, IDI_ASTERISK},
};

Pixels DrawSystemIcon(LPCSTR resource, int width, int height) {
    return DrawOffscreen(width, height, [&](HDC dc) {
        RECT all{0, 0, width, height};
        FillRect(dc, &all, GetSysColorBrush(COLOR_3DFACE));
        DrawIcon(dc, 0, 0, LoadIconA(nullptr, resource));
    });
}

}  // namespace

const char* ToString(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::None:
            return "none";
        case BoxIcon::Error:
            return "error";
        case BoxIcon::Question:
            return "question";
        case BoxIcon::Exclamation:
            return "exclamation";
        case BoxIcon::Information:
            return "information";
    }
    return "?";
}

std::ostream& operator<<(std::ostream& out, BoxIcon icon) {
    return out << ToString(icon);
}

bool MessageBoxInfo::HasButton(int id) const {
    return std::any_of(buttons.begin(), buttons.end(),
                       [id](const BoxButton& button) { return button.id == id; });
}

int MessageBoxInfo::DefaultButton() const {
    const auto found = std::find_if(buttons.begin(), buttons.end(),
                                    [](const BoxButton& button) { return button.isDefault; });
    return found == buttons.end() ? 0 : found->id;
}

std::vector<int> MessageBoxInfo::ButtonIds() const {
    std::vector<int> ids;
    for (const BoxButton& button : buttons) ids.push_back(button.id);
    return ids;
}

std::ostream& operator<<(std::ostream& out, const MessageBoxInfo& box) {
    out << "message box \"" << box.caption << "\": \"" << box.text << "\", icon " << box.icon
        << ", owner " << box.owner << ", buttons";
    for (const BoxButton& button : box.buttons) out << " " << button.id << ":" << button.text;
    return out;
}

bool IsMessageBox(HWND window) {
    if (!IsDialog(window)) return false;
    HWND text = GetDlgItem(window, kTextId);
    return text && ClassName(text) == "Static" && IconControl(window) != nullptr;
}

std::optional<HWND> FindMessageBox(DWORD pid, bool shownOnly) {
    for (HWND window : TopLevelWindows(pid, shownOnly)) {
        if (IsMessageBox(window)) return window;
    }
    return std::nullopt;
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, Ms timeout) {
    std::optional<HWND> box = WaitFor([&] { return FindMessageBox(pid); }, timeout);
    if (!box) return std::nullopt;
    return ReadMessageBox(*box);
}

MessageBoxInfo ReadMessageBox(HWND box) {
    MessageBoxInfo info;
    info.window = box;
    info.text = ItemText(box, kTextId);
    info.caption = Text(box);
    info.owner = Owner(box);
    std::vector<HWND> buttons;
    for (HWND child : ChildWindows(box)) {
        if (ClassName(child) == "Button" && IsWindowVisible(child)) buttons.push_back(child);
    }
    std::sort(buttons.begin(), buttons.end(),
              [](HWND a, HWND b) { return ScreenRect(a).left < ScreenRect(b).left; });
    for (HWND button : buttons) {
        const auto style = static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE));
        info.buttons.push_back(
            {GetDlgCtrlID(button), Text(button), (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON});
    }
    info.icon = RecogniseIcon(box);
    return info;
}

BoxIcon RecogniseIcon(HWND box) {
    HWND control = ShownIconControl(box);
    if (!control) return BoxIcon::None;
    DWORD pid = 0;
    GetWindowThreadProcessId(box, &pid);
    if (pid != GetCurrentProcessId()) return RecogniseShownIcon(box);
    const HICON icon = IconOf(control);
    for (const IconCandidate& candidate : kSystemIcons) {
        if (icon == LoadIconA(nullptr, candidate.resource)) return candidate.icon;
    }
    return BoxIcon::None;
}

BoxIcon RecogniseShownIcon(HWND box) {
    HWND control = ShownIconControl(box);
    if (!control) return BoxIcon::None;
    const RECT rect = ScreenRect(control);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    std::vector<Pixels> references;
    for (const IconCandidate& candidate : kSystemIcons) {
        references.push_back(DrawSystemIcon(candidate.resource, width, height));
    }
    // The box has an icon: wait until the display shows it (Wine copies a window's
    // painting to the display a little after the paint).
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    BoxIcon recognised = BoxIcon::None;
    const bool shown = WaitUntil(
        [&] {
            const Pixels onScreen = CaptureScreen(ScreenRect(control));
            for (size_t i = 0; i < references.size(); ++i) {
                if (Likeness(onScreen, references[i]) >= 0.98) {
                    recognised = kSystemIcons[i].icon;
                    return true;
                }
            }
            return false;
        },
        kDefaultTimeout, Ms(50));
    if (!shown) ADD_FAILURE() << "the box \"" << Text(box) << "\" shows no system icon";
    return recognised;
}

bool Answer(const MessageBoxInfo& box, int buttonId, Ms timeout) {
    if (!box.HasButton(buttonId)) {
        ADD_FAILURE() << "the " << box << " has no button " << buttonId;
        return false;
    }
    Click(box.window, buttonId);
    return WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); },
                     timeout);
}

}  // namespace e2e
