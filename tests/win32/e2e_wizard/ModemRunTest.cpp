// Runs with a modem capped at 115200 bps: the modem page after the family's last step,
// the way back from it, the boost on Finish, and the flag surviving a change of
// connection type and a second wizard run.
#include <atomic>
#include <gtest/gtest.h>
#include <iostream>
#include <thread>

#include "PageChecks.h"
#include "WizardTest.h"

namespace e2e::wizard {
namespace {

constexpr DWORD kCapped = 115200;
constexpr DWORD kBoosted = 921600;  // bytes 00 10 0E 00

// The modem's record with its rate raised, everything else as it was.
std::string Boosted(std::string properties) {
    for (size_t i = 0; i < 4 && 24 + i < properties.size(); ++i) {
        properties[24 + i] = static_cast<char>((kBoosted >> (8 * i)) & 0xFF);
    }
    return properties;
}

std::optional<std::string> Properties(const char* classKey, const std::string& modem) {
    std::optional<RegValue> value =
        GetValue(HKEY_LOCAL_MACHINE, std::string(classKey) + "\\" + modem, "Properties");
    if (!value) return std::nullopt;
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_BINARY)) << modem;
    return value->bytes;
}

// From the step shown to the family's last step, which offers Next instead of Finish
// once the probe has found the capped modem.
void ForwardToLastStep(const Wizard& wizard, const std::vector<std::string>& steps, size_t shown) {
    for (size_t i = shown + 1; i < steps.size(); ++i) {
        ASSERT_TRUE(wizard.NextTo(steps[i], kBackNext));
    }
}

// Watches the registry while the program finishes: does any other value appear
// before the last of the capped modems is boosted?
class WriteOrderWatch {
public:
    explicit WriteOrderWatch(std::string lastModem)
        : m_lastModem(std::move(lastModem)), m_thread([this] { Watch(); }) {}
    ~WriteOrderWatch() { Stop(); }
    WriteOrderWatch(const WriteOrderWatch&) = delete;
    WriteOrderWatch& operator=(const WriteOrderWatch&) = delete;

    void Stop() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
    }
    bool OtherWriteBeforeBoost() const { return m_violation; }
    bool SawBoostBeforeOthers() const { return m_sawBoostBeforeOthers; }

private:
    bool OthersWritten() const {
        return GetValue(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPer1_0Server") ||
               GetValue(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "SackOpts");
    }
    bool LastBoosted() const {
        std::optional<RegValue> value = GetValue(HKEY_LOCAL_MACHINE, m_lastModem, "Properties");
        return value && value->bytes.size() > 26 && value->bytes[26] == 0x0E;
    }
    void Watch() {
        while (!m_stop) {
            // The boost first, then the other values: in that order a snapshot can
            // never show another value without the finished boost.
            const bool others = OthersWritten();
            const bool boosted = LastBoosted();
            if (others && !boosted) m_violation = true;
            if (others && boosted) return;
            if (!others && boosted) m_sawBoostBeforeOthers = true;
        }
    }

    std::string m_lastModem;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_violation{false};
    std::atomic<bool> m_sawBoostBeforeOthers{false};
    std::thread m_thread;
};

// ---------------------------------------------------------------------------
// Windows 98: Next on "Step 6 of 6" leads to the modem page and Back returns there.
// A change of connection type and a second run keep the flag.

TEST_F(WizardTest, Windows98ModemIsBoostedByALaterRunWithoutDialUp) {
    const std::string capped = ModemProperties(kCapped);
    const std::string fast = ModemProperties(kBoosted);
    const std::string shortCapped = ModemProperties(kCapped, 27);  // ends inside the rate
    AddModem(keys::kWin9xModems, "0000", fast);
    AddModem(keys::kWin9xModems, "0001", capped);
    AddModem(keys::kWin9xModems, "0002", shortCapped);

    HWND main = StartAs("win98");
    ASSERT_TRUE(main);
    {
        std::optional<Wizard> opened = OpenWizard(main, kWin9xSteps);
        ASSERT_TRUE(opened);
        const Wizard& wizard = *opened;
        // Leaving with dial-up runs the probe; then the user changes his mind.
        ASSERT_TRUE(wizard.NextTo(kWin9xSteps[1]));
        ASSERT_TRUE(wizard.BackTo(kWin9xSteps[0], kNextOnly));
        wizard.ClickItem(IDC_step2_RADIO_LAN);
        ASSERT_TRUE(WaitUntil([&] { return wizard.IsChecked(IDC_step2_RADIO_LAN); }));
        ASSERT_TRUE(wizard.NextTo(kWin9xSteps[1]));
        ForwardToLastStep(wizard, kWin9xSteps, 1);
        ASSERT_TRUE(wizard.NextTo(kModemStep, kBackFinish));
        ExpectModemPage(wizard);
        EXPECT_TRUE(SaveScreenshot("wizard-win9x-modem-boost", wizard.Sheet()));
        ASSERT_TRUE(wizard.BackTo(kWin9xSteps[5], kBackNext));
        ASSERT_TRUE(wizard.NextTo(kModemStep, kBackFinish));
        wizard.Cancel();
        ASSERT_TRUE(wizard.WaitUntilClosed());
        EXPECT_EQ(Properties(keys::kWin9xModems, "0001"), capped) << "Cancel boosted the modem";
    }

    // A second run in the same program, never choosing dial-up. (The cancelled run
    // made no backup, so Set asks nothing.)
    Click(main, IDC_SET_SETTINGS);
    HWND sheet = Vornel().WaitFor(WindowKind::Wizard);
    ASSERT_TRUE(sheet);
    const Wizard wizard(Vornel(), sheet);
    ASSERT_TRUE(wizard.WaitForStep(kWin9xSteps[0], kNextOnly));
    wizard.ClickItem(IDC_step2_RADIO_LAN);
    ASSERT_TRUE(WaitUntil([&] { return wizard.IsChecked(IDC_step2_RADIO_LAN); }));
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[1]));
    ForwardToLastStep(wizard, kWin9xSteps, 1);
    ASSERT_TRUE(wizard.NextTo(kModemStep, kBackFinish));
    FinishWith41(wizard, main, [&] {
        EXPECT_EQ(Properties(keys::kWin9xModems, "0000"), fast);
        EXPECT_EQ(Properties(keys::kWin9xModems, "0001"), Boosted(capped));
        EXPECT_EQ(Properties(keys::kWin9xModems, "0002"), Boosted(shortCapped));
        // The run's own values are written as well.
        EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, keys::kWin9xStack, "DefaultRcvWindow"), "256960");
        EXPECT_EQ(GetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPerServer"), 8u);
    });
}

// ---------------------------------------------------------------------------
// Windows XP: the ICMP page offers Next, the modem page follows it and Back returns
// to it; Finish boosts every capped modem before it writes anything else.

TEST_F(WizardTest, WindowsXpModemPageFollowsTheIcmpPageAndFinishBoostsFirst) {
    // Enough modems that the boost takes a while, so a watcher can see its order.
    constexpr int kModems = 150;
    const std::string capped = ModemProperties(kCapped);
    char name[8];
    for (int i = 0; i < kModems; ++i) {
        snprintf(name, sizeof name, "%04d", i);
        AddModem(keys::kWinNtModems, name, capped);
    }
    const std::string lastModem = std::string(keys::kWinNtModems) + "\\" + name;

    HWND main = StartAs("winxp");
    ASSERT_TRUE(main);
    std::optional<Wizard> opened = OpenWizard(main, kWinNtSteps);
    ASSERT_TRUE(opened);
    const Wizard& wizard = *opened;
    ForwardToLastStep(wizard, kWinNtSteps, 0);
    ASSERT_TRUE(wizard.NextTo(kModemStep, kBackFinish));
    ExpectModemPage(wizard);
    EXPECT_TRUE(SaveScreenshot("wizard-winnt-modem-boost", wizard.Sheet()));
    ASSERT_TRUE(wizard.BackTo(kWinNtSteps[7], kBackNext));
    ASSERT_TRUE(wizard.NextTo(kModemStep, kBackFinish));

    WriteOrderWatch watch(lastModem);
    FinishWith41(wizard, main, [&] {
        watch.Stop();
        for (int i = 0; i < kModems; ++i) {
            snprintf(name, sizeof name, "%04d", i);
            EXPECT_EQ(Properties(keys::kWinNtModems, name), Boosted(capped)) << name;
        }
        EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "TcpWindowSize"), 64320u);
        EXPECT_EQ(GetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPer1_0Server"), 20u);
    });
    EXPECT_FALSE(watch.OtherWriteBeforeBoost()) << "a value was written before the modems";
    std::cout << "the watcher " << (watch.SawBoostBeforeOthers() ? "saw" : "did not see")
              << " the boost finished before any other value\n";
}

}  // namespace
}  // namespace e2e::wizard
