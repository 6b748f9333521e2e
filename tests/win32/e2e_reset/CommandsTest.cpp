// Show Changes and Windows Defaults as a user meets them: the list of what Reset will put
// back after Finish, the preview of Windows' defaults and its Cancel, and Windows' defaults
// restored and then taken back by Reset.
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

#include "ResetScenario.h"

namespace e2e::reset {
namespace {

inline constexpr char kDefaultsRestored[] =
    "Windows' own settings are back: Vornel has removed the values it sets. What was set before "
    "is kept in the backup, and Reset Connection Settings puts it back.\nPlease, restart your "
    "computer in order to feel the change.";

KeyTree NtStack() {
    return Tree(
        {{"Hostname", Sz("vm")}, {"DefaultTTL", Dword(100)}, {"TcpWindowSize", Dword(8760)}},
        {{"Interfaces",
          Tree({}, {{"{AAAAAAAA-0000-0000-0000-000000000001}", Tree({{"MTU", Dword(1400)}})}})}});
}

// Windows 98 with its dial-up adapter bound to TCP/IP through NetTrans\0002, whose MTU is set.
void PlantWindows98() {
    ASSERT_NO_FATAL_FAILURE(
        Plant(HKEY_LOCAL_MACHINE, keys::kVxd,
              Tree({}, {{"MSTCP", Tree({{"DefaultTTL", Sz("100")}, {"LanaBase", Sz("0")}})}})));
    ASSERT_NO_FATAL_FAILURE(Plant(
        HKEY_LOCAL_MACHINE, keys::kEnum,
        Tree({},
             {{"Root",
               Tree({}, {{"Net", Tree({}, {{"0001", Tree({{"DeviceDesc", Sz("Dial-Up Adapter")}},
                                                         {{"Bindings", Tree({{"MSTCP\\0001",
                                                                              Sz("")}})}})}})}})},
              {"Network",
               Tree({}, {{"MSTCP",
                          Tree({}, {{"0001", Tree({{"Driver", Sz("NetTrans\\0002")}})}})}})}})));
    ASSERT_NO_FATAL_FAILURE(
        Plant(HKEY_LOCAL_MACHINE, keys::kServiceClasses,
              Tree({}, {{"NetTrans", Tree({}, {{"0002", Tree({{"MaxMTU", Sz("1400")}})}})}})));
}

class Commands : public ResetTest {
protected:
    // Presses a command of the main dialog, with the mouse or by its mnemonic, and waits
    // for the list of changes it opens.
    HWND OpenList(VornelSession& vornel, HWND main, int command, char mnemonic = 0) {
        if (mnemonic) {
            PressAlt(main, mnemonic);
        } else {
            Click(main, command);
        }
        HWND list = vornel.WaitFor(WindowKind::Changes);
        if (!list) ADD_FAILURE() << "no list of changes\n" << DescribeWindows(vornel.Pid());
        return list;
    }
};

// The controls Tab visits in a dialog, from the focused one until it comes back to it.
std::vector<int> TabOrder(HWND dialog) {
    std::vector<int> order;
    const auto focused = [&] { return GetDlgCtrlID(FocusedWindow(dialog)); };
    EXPECT_TRUE(Settle(dialog));
    const int first = focused();
    for (int id = first; order.size() < 6; id = focused()) {
        order.push_back(id);
        PressKeyInFocus(dialog, VK_TAB);
        if (!Settle(dialog) || focused() == first) break;
    }
    return order;
}

// After Finish, the list holds every value Finish changed, and opening it writes nothing.
TEST_F(Commands, ShowChangesListsEveryValueFinishChangedAndWritesNothing) {
    InstallProductKey(std::nullopt);
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtStack, NtStack()));
    VornelSession* vornel = nullptr;
    HWND main = StartOn("winxp", vornel);
    ASSERT_TRUE(main);
    EXPECT_FALSE(IsWindowEnabled(Item(main, IDC_SHOW_CHANGES))) << "offered without a backup";
    ASSERT_NO_FATAL_FAILURE(RunWizard(*vornel, main, NtSteps(), WizardEnd::Finish));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(Item(main, IDC_SHOW_CHANGES)); }));
    const SystemState finished = ReadSystemState();
    const std::string backup = Listing(HKEY_CURRENT_USER, kBackupKey);

    HWND list = OpenList(*vornel, main, IDC_SHOW_CHANGES, 'c');
    ASSERT_TRUE(list);
    // Its keyboard: the list first, then Close, which Enter presses as well.
    EXPECT_EQ(TabOrder(list), (std::vector<int>{IDC_CHANGES_LIST, IDCANCEL}));
    const std::vector<std::string> rows = ListBoxItems(Item(list, IDC_CHANGES_LIST));
    const auto listed = [&](const std::string& start) {
        return std::any_of(rows.begin(), rows.end(),
                           [&](const std::string& row) { return row.rfind(start, 0) == 0; });
    };
    for (const char* name :
         {"SackOpts", "Tcp1323Opts", "TcpMaxDupAcks", "DefaultTTL", "TcpWindowSize",
          "GlobalMaxTcpWindowSize", "EnablePMTUBHDetect", "EnablePMTUDiscovery", "KeepAliveTime",
          "KeepAliveInterval", "SYNAttackProtect", "EnableICMPRedirects", "EnableICMPRedirect"}) {
        EXPECT_TRUE(listed(std::string("TCP/IP: ") + name)) << name;
    }
    EXPECT_TRUE(listed("Interface {AAAAAAAA-0000-0000-0000-000000000001}: MTU\t"));
    EXPECT_TRUE(listed("TCP/IP: DefaultTTL\t"));
    EXPECT_FALSE(IsWindowVisible(Item(list, IDOK))) << "a list to read offers no action";
    SaveScreenshot("show-changes", list);
    PressKeyInFocus(list, VK_RETURN);
    ASSERT_TRUE(vornel->WaitUntilGone(list));
    EXPECT_EQ(Describe(ReadSystemState()), Describe(finished));
    EXPECT_EQ(Listing(HKEY_CURRENT_USER, kBackupKey), backup);
}

// The preview of Windows' defaults, cancelled: nothing written, no backup made.
TEST_F(Commands, WindowsDefaultsCancelledWritesNothingAndMakesNoBackup) {
    InstallProductKey(std::nullopt);
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtStack, NtStack()));
    const SystemState seeded = ReadSystemState();
    VornelSession* vornel = nullptr;
    HWND main = StartOn("winxp", vornel);
    ASSERT_TRUE(main);
    HWND preview = OpenList(*vornel, main, IDC_WINDOWS_DEFAULTS, 'd');
    ASSERT_TRUE(preview);
    EXPECT_EQ(TabOrder(preview), (std::vector<int>{IDC_CHANGES_LIST, IDOK, IDCANCEL}));
    const std::vector<std::string> rows = ListBoxItems(Item(preview, IDC_CHANGES_LIST));
    EXPECT_NE(std::find(rows.begin(), rows.end(), "TCP/IP: DefaultTTL\t100\tnot set"), rows.end());
    SaveScreenshot("windows-defaults", preview);
    PressKeyInFocus(preview, VK_ESCAPE);
    ASSERT_TRUE(vornel->WaitUntilGone(preview));
    ASSERT_TRUE(vornel->Settle());
    EXPECT_FALSE(vornel->FindOpened(WindowKind::Message));
    EXPECT_EQ(Describe(ReadSystemState()), Describe(seeded));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kBackupKey));
}

// Windows' defaults restored, then Reset: the registry as it was seeded, on both families.
TEST_F(Commands, WindowsDefaultsThenResetGivesBackTheSeededRegistry) {
    for (const char* release : {"winxp", "win98"}) {
        SCOPED_TRACE(release);
        InstallProductKey(std::nullopt);
        if (std::string(release) == "winxp") {
            ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtStack, NtStack()));
        } else {
            ASSERT_NO_FATAL_FAILURE(PlantWindows98());
        }
        SetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPerServer", 6);
        const SystemState seeded = ReadSystemState();
        VornelSession* vornel = nullptr;
        HWND main = StartOn(release, vornel);
        ASSERT_TRUE(main);

        HWND preview = OpenList(*vornel, main, IDC_WINDOWS_DEFAULTS);
        ASSERT_TRUE(preview);
        PressKeyInFocus(preview, VK_RETURN);  // Restore Defaults is the default button
        std::optional<MessageBoxInfo> box = vornel->WaitForMessageBox();
        ASSERT_TRUE(box) << "Windows' defaults showed no message";
        ExpectOkBox(*box, kDefaultsRestored, BoxIcon::None, main);
        ASSERT_TRUE(Answer(*box, IDOK));
        EXPECT_FALSE(GetValue(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPerServer"));
        const char* stack = std::string(release) == "winxp" ? keys::kWinNtStack : keys::kWin9xStack;
        EXPECT_FALSE(GetValue(HKEY_LOCAL_MACHINE, stack, "DefaultTTL"));
        ASSERT_TRUE(SettledResetEnabled(main));

        box = PressReset(*vornel, main);
        ASSERT_TRUE(box) << "Reset showed no message";
        ExpectOkBox(*box, kRestored, BoxIcon::None, main);
        ASSERT_TRUE(Answer(*box, IDOK));
        EXPECT_EQ(Describe(ReadSystemState()), Describe(seeded));
        PostMessageA(main, WM_CLOSE, 0, 0);
        ASSERT_TRUE(vornel->Process().WaitForExit());
    }
}

}  // namespace
}  // namespace e2e::reset
