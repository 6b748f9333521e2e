// Reset on a system that changed after Finish, as users meet it: Windows 98 upgraded to XP,
// the dial-up adapter's TCP/IP number taken by a network card, the browser installed on a
// Windows 95 that had none; and a second start while Vornel runs.
#include <gtest/gtest.h>

#include "ResetScenario.h"

namespace e2e::reset {
namespace {

inline constexpr char kOtherFamilyQuestion[] =
    "This backup was made on Windows 98. Windows XP keeps these settings elsewhere, so Vornel "
    "cannot put them back here.\nRemove the backup?";
inline constexpr char kRestoredElsewhereLeft[] =
    "Vornel has put back your original settings wherever this Windows still reads them. Some "
    "belonged to a network adapter or a part of Windows that has changed or gone since the backup "
    "was made; Vornel left those as they are.\nPlease, restart your computer in order to feel "
    "the change.";

const std::string kNetTrans2 = std::string(keys::kNetTrans) + "\\0002";

// Windows 98 with its dial-up adapter (Enum\Root\Net\0001) bound to TCP/IP through
// MSTCP\0001 and NetTrans\0002, and a network card (0000) bound to nothing yet.
void PlantWindows98() {
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kVxd,
                                  Tree({}, {{"MSTCP", Tree({{"DefaultTTL", Sz("32")}})}})));
    ASSERT_NO_FATAL_FAILURE(Plant(
        HKEY_LOCAL_MACHINE, keys::kEnum,
        Tree({},
             {{"Root",
               Tree({}, {{"Net", Tree({}, {{"0000", Tree({{"DeviceDesc", Sz("Realtek RTL8029")}})},
                                           {"0001", Tree({{"DeviceDesc", Sz("Dial-Up Adapter")}},
                                                         {{"Bindings", Tree({{"MSTCP\\0001",
                                                                              Sz("")}})}})}})}})},
              {"Network",
               Tree({}, {{"MSTCP",
                          Tree({}, {{"0001", Tree({{"Driver", Sz("NetTrans\\0002")}})}})}})}})));
    ASSERT_NO_FATAL_FAILURE(
        Plant(HKEY_LOCAL_MACHINE, keys::kServiceClasses,
              Tree({}, {{"NetTrans", Tree({}, {{"0002", Tree({{"MaxMTU", Sz("576")}})}})}})));
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_CURRENT_USER, keys::kBrowser, Tree({})));
}

class ChangedSystem : public ResetTest {
protected:
    // The wizard run to its end on the release, the program then closed.
    void FinishOn(const char* release, const std::vector<std::string>& steps) {
        InstallProductKey(std::nullopt);
        VornelSession* vornel = nullptr;
        HWND main = StartOn(release, vornel);
        ASSERT_TRUE(main);
        ASSERT_NO_FATAL_FAILURE(RunWizard(*vornel, main, steps, WizardEnd::Finish));
        ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, kBackupKey));
        PostMessageA(main, WM_CLOSE, 0, 0);
        ASSERT_TRUE(vornel->Process().WaitForExit());
    }
    // Starts the program on the release and presses Reset.
    std::optional<MessageBoxInfo> ResetOn(const char* release, HWND& main) {
        VornelSession* vornel = nullptr;
        main = StartOn(release, vornel);
        if (!main) return std::nullopt;
        m_vornel = vornel;
        return PressReset(*vornel, main);
    }
    VornelSession* m_vornel = nullptr;
};

// The 98 backup after an upgrade to XP: Reset asks, No (the default) keeps it and changes
// nothing, Yes removes the backup alone.
TEST_F(ChangedSystem, ABackupOfWindows98IsNotPutBackOnWindowsXp) {
    ASSERT_NO_FATAL_FAILURE(PlantWindows98());
    ASSERT_NO_FATAL_FAILURE(FinishOn("win98", Win9xSteps()));
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtStack,
                                  Tree({{"DefaultTTL", Dword(128)}, {"Hostname", Sz("vm")}})));
    const SystemState upgraded = ReadSystemState();
    const std::string backup = Listing(HKEY_CURRENT_USER, kBackupKey);

    HWND main = nullptr;
    std::optional<MessageBoxInfo> box = ResetOn("winxp", main);
    ASSERT_TRUE(box) << "Reset showed no message";
    EXPECT_EQ(box->text, kOtherFamilyQuestion);
    EXPECT_EQ(box->icon, BoxIcon::Exclamation);
    EXPECT_EQ(box->ButtonIds(), (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(box->DefaultButton(), IDNO);
    ASSERT_TRUE(Answer(*box, IDNO));
    EXPECT_TRUE(SettledResetEnabled(main));
    EXPECT_EQ(Listing(HKEY_CURRENT_USER, kBackupKey), backup);
    EXPECT_EQ(Describe(ReadSystemState()), Describe(upgraded));

    box = PressReset(*m_vornel, main);
    ASSERT_TRUE(box);
    ASSERT_TRUE(Answer(*box, IDYES));
    EXPECT_FALSE(SettledResetEnabled(main));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kBackupKey));
    EXPECT_EQ(Describe(ReadSystemState()), Describe(upgraded));
}

// The dial-up adapter removed after Finish and the network card bound through its old
// binding, so that NetTrans\0002 is the card's now: Reset leaves the card's MTU and MSS.
TEST_F(ChangedSystem, TheDialUpAdaptersNumberTakenByANetworkCardIsLeftToTheCard) {
    ASSERT_NO_FATAL_FAILURE(PlantWindows98());
    ASSERT_NO_FATAL_FAILURE(FinishOn("win98", Win9xSteps()));
    const std::string net = std::string(keys::kEnum) + "\\Root\\Net";
    DeleteKeyTree(HKEY_LOCAL_MACHINE, net + "\\0001");
    SetString(HKEY_LOCAL_MACHINE, net + "\\0000\\Bindings", "MSTCP\\0001", "");
    SetString(HKEY_LOCAL_MACHINE, kNetTrans2, "MaxMTU", "1500");
    SetString(HKEY_LOCAL_MACHINE, kNetTrans2, "MaxMSS", "1460");

    HWND main = nullptr;
    const std::optional<MessageBoxInfo> box = ResetOn("win98", main);
    ASSERT_TRUE(box) << "Reset showed no message";
    ExpectOkBox(*box, kRestoredElsewhereLeft, BoxIcon::Exclamation, main);
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kNetTrans2, "MaxMTU"), "1500");
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kNetTrans2, "MaxMSS"), "1460");
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, keys::kWin9xStack, "DefaultTTL"), "32");
}

// Windows 95 without the browser at Finish; the browser installed since sets its own
// connection limits, which Reset leaves.
TEST_F(ChangedSystem, TheBrowsersKeyMadeAfterFinishKeepsWhatTheBrowserWrote) {
    ASSERT_NO_FATAL_FAILURE(PlantWindows98());
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_CURRENT_USER, keys::kBrowser, std::nullopt));
    ASSERT_NO_FATAL_FAILURE(FinishOn("win95", Win9xSteps()));
    ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, keys::kBrowser));
    SetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPerServer", 8);
    SetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPer1_0Server", 16);

    HWND main = nullptr;
    const std::optional<MessageBoxInfo> box = ResetOn("win95", main);
    ASSERT_TRUE(box) << "Reset showed no message";
    ExpectOkBox(*box, kRestored, BoxIcon::None, main);
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPerServer"), 8u);
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPer1_0Server"), 16u);
}

// A second start while Vornel runs shows no window of its own and ends; the first stays.
TEST_F(ChangedSystem, ASecondStartEndsAndLeavesTheFirst) {
    InstallProductKey(std::nullopt);
    VornelSession* first = nullptr;
    HWND main = StartOn("winxp", first);
    ASSERT_TRUE(main);
    ASSERT_NO_FATAL_FAILURE(ExpectSecondStartEnds(main));
    EXPECT_TRUE(first->Process().IsRunning());
}

}  // namespace
}  // namespace e2e::reset
