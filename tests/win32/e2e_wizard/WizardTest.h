// The fixture of the wizard's end-to-end tests: the system keys saved and emptied,
// Vornel started as a chosen Windows release, and the checks several tests share.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>

#include "SystemKeys.h"
#include "WizardDriver.h"
#include "e2e/Driver.h"

namespace e2e::wizard {

class WizardTest : public VornelTest {
protected:
    void SetUp() override {
        VornelTest::SetUp();
        m_keys = std::make_unique<SystemKeys>();
    }
    void TearDown() override {
        VornelTest::TearDown();  // ends Vornel before its keys are put back
        m_keys.reset();
    }

    // Starts Vornel as this Windows release (no language file, no backup) and
    // returns its main dialog, or null after a test failure.
    HWND StartAs(const char* release) {
        SetWindowsVersion(release);
        InstallProductKey(std::nullopt);
        return Start();
    }
    // Starts Vornel with the product key and release as the test left them.
    HWND Start() {
        m_vornel = &Launch();
        return m_vornel->StartToMainDialog();
    }
    VornelSession& Vornel() { return *m_vornel; }

    // The first step of a new run: the step-1 caption, dial-up chosen, Next only.
    std::optional<Wizard> OpenWizard(HWND main, const std::vector<std::string>& steps) {
        std::optional<Wizard> wizard = Wizard::Open(*m_vornel, main);
        if (!wizard) return std::nullopt;
        // Modal on top of the main dialog.
        EXPECT_EQ(Owner(wizard->Sheet()), main);
        EXPECT_FALSE(IsWindowEnabled(main));
        EXPECT_TRUE(wizard->WaitForStep(steps[0], kNextOnly));
        if (!wizard->WaitForText(IDC_step2_RADIO_DialUp, "Dial Up Connection (&Modem).")) {
            ADD_FAILURE() << "the first page did not show its texts";
            return std::nullopt;
        }
        return wizard;
    }

    // Finish: message "41" (plain, owned by the wizard); OK closes the wizard and
    // leaves Reset enabled. `written` runs while the message is up, when every value
    // has been written.
    template <class Check>
    void FinishWith41(const Wizard& wizard, HWND main, Check written) {
        wizard.Finish();
        Expect41AndClose(wizard, main, written);
    }
    // The same once Finish has been pressed.
    template <class Check>
    void Expect41AndClose(const Wizard& wizard, HWND main, Check written) {
        const std::optional<MessageBoxInfo> box = wizard.WaitForMessageBox();
        ASSERT_TRUE(IsBox(box, Shown(text::k41), BoxIcon::None, wizard.Sheet()));
        EXPECT_EQ(box->ButtonIds(), std::vector<int>{IDOK});
        written();
        ASSERT_TRUE(Answer(*box, IDOK));
        EXPECT_TRUE(wizard.WaitUntilClosed());
        EXPECT_TRUE(
            WaitUntil([&] { return IsWindowEnabled(Item(main, IDC_RESET_SETTINGS)) != 0; }));
        EXPECT_TRUE(IsWindowEnabled(main));
    }

private:
    std::unique_ptr<SystemKeys> m_keys;
    VornelSession* m_vornel = nullptr;
};

}  // namespace e2e::wizard
