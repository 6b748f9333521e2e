// The driver's input actions against a dialog of known make on another thread: what
// it types, clicks and selects must arrive as a user's input would.

#include <atomic>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <thread>

#include "e2e/Driver.h"

namespace e2e {
namespace {

constexpr int kFirstEdit = 100;
constexpr int kSecondEdit = 101;
constexpr int kButton = 102;
constexpr int kCombo = 103;

// Appends raw bytes to a dialog template, which is a sequence of 16-bit words.
void Put(std::vector<WORD>& words, const void* data, size_t bytes) {
    const auto* first = static_cast<const WORD*>(data);
    words.insert(words.end(), first, first + bytes / sizeof(WORD));
}

void PutItem(std::vector<WORD>& words, DWORD style, short x, short y, short cx, short cy, int id,
             WORD atom) {
    if (words.size() % 2) words.push_back(0);  // items start on a DWORD boundary
    DLGITEMTEMPLATE item{style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy, static_cast<WORD>(id)};
    Put(words, &item, sizeof item);
    words.insert(words.end(), {0xFFFF, atom, 0, 0});  // class atom, empty text, no data
}

// A dialog with two entry fields, a push button and a drop-down list, run by its own
// thread; it counts the clicks and selection changes it is told about.
class TestDialog {
public:
    TestDialog() : m_thread([this] { Run(); }) {
        WaitUntil([this] { return m_window.load() != nullptr; });
    }
    ~TestDialog() {
        PostMessageA(m_window, WM_CLOSE, 0, 0);
        m_thread.join();
    }
    HWND Window() const { return m_window; }
    int Clicks() const { return m_clicks; }
    int SelectionChanges() const { return m_selectionChanges; }
    // From now on the button also brings up a message box, modal on the dialog.
    void AskOnClick() { m_askOnClick = true; }

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<TestDialog*>(GetWindowLongPtrA(window, DWLP_USER));
        switch (message) {
            case WM_INITDIALOG:
                SetWindowLongPtrA(window, DWLP_USER, lParam);
                SetDlgItemTextA(window, kFirstEdit, "576");
                for (const char* text : {"Alpha", "Beta", "Gamma"}) {
                    SendDlgItemMessageA(window, kCombo, CB_ADDSTRING, 0,
                                        reinterpret_cast<LPARAM>(text));
                }
                return TRUE;
            case WM_COMMAND:
                if (LOWORD(wParam) == kButton && HIWORD(wParam) == BN_CLICKED) {
                    ++self->m_clicks;
                    if (self->m_askOnClick) MessageBoxA(window, "Sure?", "Driver input", MB_YESNO);
                }
                if (LOWORD(wParam) == kCombo && HIWORD(wParam) == CBN_SELCHANGE) {
                    ++self->m_selectionChanges;
                }
                if (LOWORD(wParam) == IDCANCEL) DestroyWindow(window);
                return TRUE;
            case WM_CLOSE:
                DestroyWindow(window);
                return TRUE;
            case WM_DESTROY:
                PostQuitMessage(0);
                return TRUE;
            default:
                return FALSE;
        }
    }

    void Run() {
        std::vector<WORD> words;
        DLGTEMPLATE dialog{
            WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME, 0, 4, 10, 10, 200, 100};
        Put(words, &dialog, sizeof dialog);
        words.insert(words.end(), {0, 0});  // no menu, default class
        for (wchar_t c : std::wstring(L"Driver input")) words.push_back(c);
        words.push_back(0);
        PutItem(words, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 80, 12, kFirstEdit, 0x81);
        PutItem(words, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 10, 30, 80, 12, kSecondEdit, 0x81);
        PutItem(words, WS_TABSTOP | BS_PUSHBUTTON, 100, 10, 60, 14, kButton, 0x80);
        PutItem(words, WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL, 100, 30, 60, 60, kCombo, 0x85);
        HWND window =
            CreateDialogIndirectParamA(nullptr, reinterpret_cast<const DLGTEMPLATE*>(words.data()),
                                       nullptr, Procedure, reinterpret_cast<LPARAM>(this));
        m_window = window;
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            if (!IsDialogMessageA(window, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
    }

    std::atomic<HWND> m_window{nullptr};
    std::atomic<int> m_clicks{0};
    std::atomic<int> m_selectionChanges{0};
    std::atomic<bool> m_askOnClick{false};
    std::thread m_thread;
};

TEST(DriverInput, ReplaceTextTypesOverTheWholeEntry) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Window());
    ReplaceText(dialog.Window(), kFirstEdit, "1500");
    EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog.Window(), kFirstEdit) == "1500"; }))
        << ItemText(dialog.Window(), kFirstEdit);
    EXPECT_EQ(FocusedWindow(dialog.Window()), Item(dialog.Window(), kFirstEdit));
}

TEST(DriverInput, TabMovesTheFocusToTheNextField) {
    TestDialog dialog;
    FocusControl(dialog.Window(), kFirstEdit);
    ASSERT_TRUE(WaitUntil(
        [&] { return FocusedWindow(dialog.Window()) == Item(dialog.Window(), kFirstEdit); }));
    PressKeyInFocus(dialog.Window(), VK_TAB);
    EXPECT_TRUE(WaitUntil(
        [&] { return FocusedWindow(dialog.Window()) == Item(dialog.Window(), kSecondEdit); }));
}

TEST(DriverInput, ClickAndMouseClickNotifyTheDialog) {
    TestDialog dialog;
    Click(dialog.Window(), kButton);
    EXPECT_TRUE(WaitUntil([&] { return dialog.Clicks() == 1; }));
    MouseClick(Item(dialog.Window(), kButton));
    EXPECT_TRUE(WaitUntil([&] { return dialog.Clicks() == 2; }));
}

TEST(DriverInput, ClickOnADisabledButtonFailsTheTest) {
    TestDialog dialog;
    EnableWindow(Item(dialog.Window(), kButton), FALSE);
    EXPECT_NONFATAL_FAILURE(Click(dialog.Window(), kButton), "disabled");
}

TEST(DriverInput, SelectComboItemNotifiesLikeAUsersChoice) {
    TestDialog dialog;
    SelectComboItem(dialog.Window(), kCombo, 2);
    HWND combo = Item(dialog.Window(), kCombo);
    ASSERT_TRUE(Settle(dialog.Window()));
    EXPECT_EQ(ComboSelection(combo), 2);
    EXPECT_EQ(dialog.SelectionChanges(), 3) << "notifications for Home, Down, Down";
    SelectComboItem(dialog.Window(), kCombo, 1);
    ASSERT_TRUE(Settle(dialog.Window()));
    EXPECT_EQ(ComboSelection(combo), 1);
    EXPECT_EQ(dialog.SelectionChanges(), 4);
}

// What the "nothing happened" checks of the program's tests stand on: once Settle
// returns, posted input has been handled, and a modal window it opened is up.
TEST(DriverInput, SettleReturnsOnceInputIsHandledAndTheBoxItOpensIsShown) {
    TestDialog dialog;
    dialog.AskOnClick();
    Click(dialog.Window(), kButton);
    ASSERT_TRUE(Settle(dialog.Window()));
    EXPECT_EQ(dialog.Clicks(), 1);
    const std::optional<HWND> box = FindMessageBox(GetCurrentProcessId());
    ASSERT_TRUE(box) << "no box shown when Settle returned";
    EXPECT_TRUE(Answer(ReadMessageBox(*box), IDNO));
    ASSERT_TRUE(Settle(dialog.Window()));
    EXPECT_FALSE(FindMessageBox(GetCurrentProcessId()));
}

TEST(DriverInput, EscapeReachesTheDialogThroughTheFocusedControl) {
    TestDialog dialog;
    HWND window = dialog.Window();
    FocusControl(window, kSecondEdit);
    PressKeyInFocus(window, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }));
}

}  // namespace
}  // namespace e2e
