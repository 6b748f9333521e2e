// One run of Vornel.exe seen from outside (its windows told apart by what they
// contain) and the test fixture every end-to-end test starts from.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "e2e/Installation.h"
#include "e2e/MessageBoxes.h"
#include "e2e/Process.h"
#include "e2e/Registry.h"
#include "e2e/Wait.h"
#include "res/resource.h"

namespace e2e {

enum class WindowKind {
    Splash,
    MainDialog,
    AboutBox,
    Changes,  // the list of changes, or the preview of Windows' defaults
    Wizard,
    Message,
    Other
};  // Message: a message box
const char* ToString(WindowKind kind);
std::ostream& operator<<(std::ostream& out, WindowKind kind);
WindowKind Classify(HWND window);

class VornelSession {
public:
    // Starts the exe (the Vornel.exe under test when empty) in its own folder.
    explicit VornelSession(const std::string& exe = {});
    VornelSession(const VornelSession&) = delete;
    VornelSession& operator=(const VornelSession&) = delete;
    ~VornelSession() = default;  // the process is ended with it

    AppProcess& Process() { return m_process; }
    DWORD Pid() const { return m_process.Pid(); }

    std::vector<HWND> Windows() const;            // visible top-level windows
    std::vector<WindowKind> WindowKinds() const;  // of the windows still shown once read
    HWND Find(WindowKind kind) const;
    // Shown or not yet shown (see Settle): whether something opened.
    HWND FindOpened(WindowKind kind) const;
    HWND WaitFor(WindowKind kind, Ms timeout = kDefaultTimeout) const;
    bool WaitUntilGone(HWND window, Ms timeout = kDefaultTimeout) const;
    // Settle (Windows.h) on the program's thread, which runs all its windows: after it,
    // what the program has not opened in answer to the input before it, it will not.
    ::testing::AssertionResult Settle(Ms timeout = kDefaultTimeout) const;

    // Waits for the start-up picture, ends it with Escape, and waits for the
    // main dialog; null (and a test failure) when that does not happen.
    HWND StartToMainDialog();
    // Chooses "About" from the main dialog's system menu and waits for the box.
    HWND OpenAboutBox(HWND mainDialog);
    std::optional<MessageBoxInfo> WaitForMessageBox(Ms timeout = kDefaultTimeout) const;

private:
    AppProcess m_process;
};

// Base of the end-to-end tests: a clean product key, a fresh installation folder, a
// known Windows release, and every started Vornel ended when the test ends (after a
// screenshot of the screen if the test failed).
class VornelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    Installation& Install() { return *m_install; }
    // The product key as the installer writes it: AppPath = the installation folder.
    void InstallProductKey(std::optional<std::string> language, bool backup = false);
    VornelSession& Launch(const std::string& exe = {});

    static constexpr char kDefaultRelease[] = "winxp";

private:
    std::unique_ptr<Installation> m_install;
    std::vector<std::unique_ptr<VornelSession>> m_sessions;
};

}  // namespace e2e
