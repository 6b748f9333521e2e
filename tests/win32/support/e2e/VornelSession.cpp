// One run of Vornel.exe seen from outside, and the end-to-end test fixture.
#include "e2e/VornelSession.h"

#include <algorithm>
#include <cctype>
#include <iostream>

#include "e2e/Screen.h"
#include "e2e/Windows.h"

namespace e2e {
namespace {

bool HasOnlyAPicture(HWND dialog) {
    const std::vector<HWND> children = ChildWindows(dialog);
    return children.size() == 1 && ClassName(children[0]) == "Static" &&
           (Style(children[0]) & SS_TYPEMASK) == SS_BITMAP;
}

std::string SafeFileName(std::string name) {
    for (char& c : name) {
        if (!isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') c = '-';
    }
    return name;
}

}  // namespace

const char* ToString(WindowKind kind) {
    switch (kind) {
        case WindowKind::Splash:
            return "start-up picture";
        case WindowKind::MainDialog:
            return "main dialog";
        case WindowKind::AboutBox:
            return "About box";
        case WindowKind::Changes:
            return "list of changes";
        case WindowKind::Wizard:
            return "wizard";
        case WindowKind::Message:
            return "message box";
        case WindowKind::Other:
            return "other window";
    }
    return "?";
}

std::ostream& operator<<(std::ostream& out, WindowKind kind) {
    return out << ToString(kind);
}

WindowKind Classify(HWND window) {
    if (!IsDialog(window)) return WindowKind::Other;
    if (IsMessageBox(window)) return WindowKind::Message;
    if (Item(window, IDC_LANGUAGE_LIST)) return WindowKind::MainDialog;
    if (Item(window, IDC_STATIC2) && Item(window, IDC_FILE_VERSION)) {
        return WindowKind::AboutBox;
    }
    if (Item(window, IDC_CHANGES_LIST)) return WindowKind::Changes;
    if (Item(window, ID_WIZNEXT) || FindWindowExA(window, nullptr, "SysTabControl32", nullptr)) {
        return WindowKind::Wizard;
    }
    if ((Style(window) & WS_CAPTION) != WS_CAPTION && HasOnlyAPicture(window)) {
        return WindowKind::Splash;
    }
    return WindowKind::Other;
}

VornelSession::VornelSession(const std::string& exe)
    : m_process(AppProcess::Start(exe.empty() ? VornelExePath() : exe)) {}

std::vector<HWND> VornelSession::Windows() const {
    if (!m_process) return {};
    return TopLevelWindows(m_process.Pid());
}

std::vector<WindowKind> VornelSession::WindowKinds() const {
    std::vector<WindowKind> kinds;
    for (HWND window : Windows()) {
        const WindowKind kind = Classify(window);
        // One that went while it was looked at may have been taken for another kind.
        if (IsWindow(window) && IsWindowVisible(window)) kinds.push_back(kind);
    }
    return kinds;
}

HWND VornelSession::Find(WindowKind kind) const {
    for (HWND window : Windows()) {
        if (Classify(window) == kind) return window;
    }
    return nullptr;
}

HWND VornelSession::FindOpened(WindowKind kind) const {
    if (!m_process) return nullptr;
    for (HWND window : TopLevelWindows(m_process.Pid(), false)) {
        if (Classify(window) == kind) return window;
    }
    return nullptr;
}

HWND VornelSession::WaitFor(WindowKind kind, Ms timeout) const {
    return e2e::WaitFor([&] { return Find(kind); }, timeout);
}

bool VornelSession::WaitUntilGone(HWND window, Ms timeout) const {
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeout);
}

::testing::AssertionResult VornelSession::Settle(Ms timeout) const {
    if (!m_process.IsRunning()) return ::testing::AssertionFailure() << "Vornel is not running";
    return e2e::Settle(m_process.MainThreadId(), timeout);
}

HWND VornelSession::StartToMainDialog() {
    HWND splash = WaitFor(WindowKind::Splash);
    if (!splash) {
        ADD_FAILURE() << "no start-up picture appeared";
        return nullptr;
    }
    PressKey(splash, VK_ESCAPE);
    HWND main = WaitFor(WindowKind::MainDialog);
    if (!main) ADD_FAILURE() << "no main dialog appeared after the start-up picture";
    return main;
}

HWND VornelSession::OpenAboutBox(HWND mainDialog) {
    SystemCommand(mainDialog, IDM_ABOUTBOX);
    HWND about = WaitFor(WindowKind::AboutBox);
    if (!about) ADD_FAILURE() << "the system menu's About entry opened no About box";
    return about;
}

std::optional<MessageBoxInfo> VornelSession::WaitForMessageBox(Ms timeout) const {
    if (!m_process) return std::nullopt;
    return e2e::WaitForMessageBox(m_process.Pid(), timeout);
}

void VornelTest::SetUp() {
    DeleteProductKey();
    SetWindowsVersion(kDefaultRelease);
    m_install = std::make_unique<Installation>();
}

void VornelTest::TearDown() {
    if (HasFailure()) {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        SaveScreenshot("failed-" +
                       SafeFileName(std::string(test->test_suite_name()) + "." + test->name()));
        for (const auto& session : m_sessions) {
            if (session->Process().IsRunning()) {
                std::cout << "windows of Vornel (process " << session->Pid() << "):\n"
                          << DescribeWindows(session->Pid());
            }
        }
    }
    m_sessions.clear();
    m_install.reset();
    SetWindowsVersion("");
    DeleteProductKey();
}

void VornelTest::InstallProductKey(std::optional<std::string> language, bool backup) {
    WriteProductKey({Install().Folder(), std::move(language), backup});
}

VornelSession& VornelTest::Launch(const std::string& exe) {
    m_sessions.push_back(std::make_unique<VornelSession>(exe));
    return *m_sessions.back();
}

}  // namespace e2e
