// The driver's reading of message boxes checked against boxes of known style: the
// control ids, default caption and icon pictures it relies on are Wine's, and a
// change there must show here rather than as puzzling failures of the program's tests.
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

#include "e2e/Driver.h"

namespace e2e {
namespace {

struct BoxCase {
    const char* name;
    UINT style;
    BoxIcon icon;
    std::vector<int> buttons;
};

void PrintTo(const BoxCase& box, std::ostream* out) {
    *out << box.name;
}

// Shows a message box on its own thread, as another program would show it.
class ShownBox {
public:
    ShownBox(HWND owner, const char* text, const char* caption, UINT style)
        : m_thread([=, this] { m_result = MessageBoxA(owner, text, caption, style); }) {}
    ~ShownBox() {
        if (m_thread.joinable()) {
            if (std::optional<HWND> box = FindMessageBox(GetCurrentProcessId())) {
                PostMessageA(*box, WM_COMMAND, IDCANCEL, 0);
            }
            m_thread.join();
        }
    }
    int Result() {
        m_thread.join();
        return m_result;
    }

private:
    std::atomic<int> m_result{0};
    std::thread m_thread;
};

class MessageBoxReading : public ::testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxReading, GivesTextIconButtonsAndTheAnswer) {
    const BoxCase& expected = GetParam();
    ShownBox shown(nullptr, "First line\nsecond line", "Vornel", expected.style);
    std::optional<MessageBoxInfo> box = WaitForMessageBox(GetCurrentProcessId());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, "First line\nsecond line");
    EXPECT_EQ(box->caption, "Vornel");
    EXPECT_EQ(box->owner, nullptr);
    EXPECT_EQ(box->icon, expected.icon);
    // Read as a box of another process is read: from the screen.
    EXPECT_EQ(RecogniseShownIcon(box->window), expected.icon);
    EXPECT_EQ(box->ButtonIds(), expected.buttons);
    const int last = expected.buttons.back();
    ASSERT_TRUE(Answer(*box, last));
    EXPECT_EQ(shown.Result(), last);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, MessageBoxReading,
    ::testing::Values(
        BoxCase{"Plain", MB_OK, BoxIcon::None, {IDOK}},
        BoxCase{"Error", MB_OK | MB_ICONERROR, BoxIcon::Error, {IDOK}},
        BoxCase{"Question", MB_YESNO | MB_ICONQUESTION, BoxIcon::Question, {IDYES, IDNO}},
        BoxCase{"Exclamation", MB_OK | MB_ICONEXCLAMATION, BoxIcon::Exclamation, {IDOK}},
        BoxCase{"Information",
                MB_OKCANCEL | MB_ICONINFORMATION,
                BoxIcon::Information,
                {IDOK, IDCANCEL}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(MessageBoxDetails, NoCaptionGivesWinesDefaultTitle) {
    ShownBox shown(nullptr, "Refused", nullptr, MB_ICONERROR);
    std::optional<MessageBoxInfo> box = WaitForMessageBox(GetCurrentProcessId());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "Error");
    Answer(*box, IDOK);
}

TEST(MessageBoxDetails, GivesTheOwnerWindow) {
    std::atomic<HWND> owner{nullptr};
    std::atomic<int> result{0};
    std::thread shower([&] {
        HWND window = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                                      10, 200, 100, nullptr, nullptr, nullptr, nullptr);
        owner = window;
        result = MessageBoxA(window, "Owned", "Vornel", MB_YESNO | MB_ICONQUESTION);
        DestroyWindow(window);
    });
    std::optional<MessageBoxInfo> box = WaitForMessageBox(GetCurrentProcessId());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->owner, owner.load());
    EXPECT_TRUE(Answer(*box, IDNO));
    shower.join();
    EXPECT_EQ(result, IDNO);
}

}  // namespace
}  // namespace e2e
