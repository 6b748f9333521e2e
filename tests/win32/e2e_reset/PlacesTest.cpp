// Each value where the running release reads it: after Finish the places of Windows NT 4.0,
// Windows 98 and Windows XP of their own hold what was chosen, and Reset gives back the
// registry as it was seeded, keys Finish had to make included.
#include <gtest/gtest.h>

#include "ResetScenario.h"

namespace e2e::reset {
namespace {

// A dial-up run that takes every recommendation: the MTU and window Finish then writes.
constexpr DWORD kDialUpMtu = 576;
constexpr DWORD kDialUpWindow = 536 * 30 * 4;

class Places : public ResetTest {
protected:
    // Finish, the checks of what it wrote while its message is up, Reset, and the seed back.
    template <class Check>
    void FinishCheckAndReset(const char* release, const std::vector<std::string>& steps,
                             Check written) {
        InstallProductKey(std::nullopt);
        const SystemState seeded = ReadSystemState();
        VornelSession* vornel = nullptr;
        HWND main = StartOn(release, vornel);
        ASSERT_TRUE(main);
        ASSERT_NO_FATAL_FAILURE(RunWizard(*vornel, main, steps, WizardEnd::Finish));
        written();
        ASSERT_TRUE(WaitUntil([&] { return ResetEnabled(main); }));
        const std::optional<MessageBoxInfo> box = PressReset(*vornel, main);
        ASSERT_TRUE(box) << "Reset showed no message";
        ExpectOkBox(*box, kRestored, BoxIcon::None, main);
        ASSERT_TRUE(Answer(*box, IDOK));
        EXPECT_EQ(Describe(ReadSystemState()), Describe(seeded));
    }
};

// NT 4.0: the MTU of each adapter TCP/IP is bound to (not of one it is not), RAS's own for
// the dial-up link, and the socket driver's receive window in a key Finish makes.
TEST_F(Places, OnWindowsNt40TheAdaptersRasAndTheSocketDriverGetTheirValues) {
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtStack, Tree({})));
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtModems, std::nullopt));
    BindTestAdapter("El90x1", 1500);
    BindTestAdapter("NdisWan4", std::nullopt);
    SetDword(HKEY_LOCAL_MACHINE, AdapterTcpipKey("Lance01"), "MTU", 1400);
    SetDword(HKEY_LOCAL_MACHINE, std::string(keys::kNdisWan) + "\\Parameters", "TapiLines", 2);
    SetDword(HKEY_LOCAL_MACHINE, keys::kAfd, "Start", 1);
    FinishCheckAndReset("nt40", NtSteps(), [] {
        EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, AdapterTcpipKey("El90x1"), "MTU"), kDialUpMtu);
        EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, AdapterTcpipKey("NdisWan4"), "MTU"), kDialUpMtu);
        EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, AdapterTcpipKey("Lance01"), "MTU"), 1400u);
        EXPECT_FALSE(GetValue(HKEY_LOCAL_MACHINE, AdapterTcpipKey("El90x1"), "MSS"));
        EXPECT_EQ(
            GetDword(HKEY_LOCAL_MACHINE, std::string(keys::kNdisWan) + "\\Parameters", "IPMTU"),
            kDialUpMtu);
        EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, std::string(keys::kAfd) + "\\Parameters",
                           "DefaultReceiveWindow"),
                  8192u);
        // The NT 4.0 window is one it takes without scaling.
        EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "TcpWindowSize"), kDialUpWindow);
    });
}

// Windows 98 reads its global window limit under the misspelt name, as a number, in a key
// of its own below the stack's; the name of the other releases is still written.
TEST_F(Places, OnWindows98TheWindowLimitGoesUnderTheNameItReads) {
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kVxd,
                                  Tree({}, {{"MSTCP", Tree({{"LanaBase", Sz("0")}})}})));
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kEnum, std::nullopt));
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kServiceClasses, std::nullopt));
    FinishCheckAndReset("win98", Win9xSteps(), [] {
        EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, std::string(keys::kWin9xStack) + "\\Parameters",
                           "GlobalMaxTcpWindoSize"),
                  Dword(kDialUpWindow));
        EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, keys::kWin9xStack, "GlobalMaxTcpWindowSize"),
                  std::to_string(kDialUpWindow));
    });
}

// Windows XP: the socket driver's receive window in its own key, there already.
TEST_F(Places, OnWindowsXpTheSocketDriverGetsItsReceiveWindow) {
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtStack, Tree({})));
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtModems, std::nullopt));
    SetDword(HKEY_LOCAL_MACHINE, std::string(keys::kAfd) + "\\Parameters", "DefaultReceiveWindow",
             16384);
    FinishCheckAndReset("winxp", NtSteps(), [] {
        EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, std::string(keys::kAfd) + "\\Parameters",
                           "DefaultReceiveWindow"),
                  8192u);
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(keys::kNdisWan) + "\\Parameters"));
    });
}

}  // namespace
}  // namespace e2e::reset
