// Seeded system registries, the wizard walked to its end, and the Reset command seen
// from outside: what the Reset end-to-end tests share.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "e2e/Driver.h"

namespace e2e::reset {

// The program's own texts, as its users read them.
inline constexpr char kCaption[] = "Vornel";
inline constexpr char kApplied[] =
    "Congratulation, Vornel has boosted your internet connections.\nPlease, restart your "
    "computer in order to feel the change.";
inline constexpr char kRestored[] =
    "Vornel has reset your system to the backup settings.\nPlease, restart your computer in "
    "order to feel the change.";
inline constexpr char kRestoreFailed[] = "Failed to reset your connection settings.";
inline constexpr char kRestoredInPart[] =
    "Vornel has put back every setting its backup still held. Part of the backup was lost, so "
    "Vornel could not check some settings, such as the MTU of network connections it has no "
    "record of; they keep the values they have now.\nPlease, restart your computer in order to "
    "feel the change.";
inline constexpr char kNeedsRights[] =
    "Vornel needs administrator rights to change your connection settings.\nPlease log on as "
    "an administrator and start Vornel again. Nothing has been changed.";
inline constexpr char kOverwriteQuestion[] =
    "Now, your old connection settings saved as backup will be overwritten with the current "
    "settings as they will be the new backup.\nDo you want to proceed?";
inline constexpr char kUnfinishedResetQuestion[] =
    "Vornel could not put all of your original settings back yet. If you go on, that copy is "
    "replaced by the settings in force now, some of which are Vornel's. Press Reset Connection "
    "Settings again (as an administrator on Windows NT, 2000 and XP) to put them back first. Go "
    "on anyway?";

// The step captions of a whole run.
std::vector<std::string> NtSteps(bool modemBoost = false);
std::vector<std::string> Win9xSteps(bool modemBoost = false);

// Building values and trees.
RegValue Sz(std::string_view text);  // with its NUL
RegValue Raw(DWORD type, std::string bytes);
RegValue Dword(DWORD number);
RegValue Modem(DWORD maxPortRate, std::size_t length);  // "Properties" (ModemProperties)
KeyTree Tree(std::map<std::string, RegValue> values, std::map<std::string, KeyTree> subkeys = {});

// Replaces a key with the tree, byte for byte (text without a NUL stays so), or
// removes it. Fails the test when the registry does not then hold exactly the tree.
void Plant(HKEY root, const std::string& path, const std::optional<KeyTree>& tree);
// A readable listing of a key, one line per value with its type and bytes: two
// listings are equal exactly when the trees are.
std::string Listing(const std::optional<KeyTree>& tree);
std::string Listing(HKEY root, const std::string& path);
// The named values of a key (absent ones marked) as a listing.
std::string ValuesListing(HKEY root, const std::string& path,
                          const std::vector<std::string>& names);
std::string ValuesListing(const std::optional<KeyTree>& tree,
                          const std::vector<std::string>& names);

// Every key the tests may change, for the before/after comparisons.
struct SystemState {
    std::map<std::string, std::string> listings;
    bool operator==(const SystemState&) const = default;
};
SystemState ReadSystemState();
std::string Describe(const SystemState& state);

// Fixture: every system key the program tunes is put back when the test ends
// (the Wine prefix is shared by every test of the run).
class ResetTest : public VornelTest {
protected:
    ResetTest();
    ~ResetTest() override;

    // Starts the program on the release and waits for its main dialog.
    HWND StartOn(const char* release, VornelSession*& session);
    // Closes the running program as a user would and starts it again on the same release
    // (only one runs at a time); the new main dialog, or null.
    HWND Restart(VornelSession& running, HWND main, VornelSession*& session);
    // A second start while the program runs: it ends at once and leaves the first as it was.
    void ExpectSecondStartEnds(HWND runningMain);

private:
    std::vector<std::unique_ptr<ScopedKeyRestore>> m_restorers;
};

enum class WizardEnd { Finish, Cancel };

// Walks an open wizard with Next through the captions and ends it, with Finish
// (checking message "41") or Cancel; returns when the wizard is gone.
void WalkWizard(VornelSession& vornel, HWND wizard, const std::vector<std::string>& captions,
                WizardEnd end);
// Presses Set, expects the wizard without a question, and walks it.
void RunWizard(VornelSession& vornel, HWND main, const std::vector<std::string>& captions,
               WizardEnd end);

bool ResetEnabled(HWND main);
// Waits until the main dialog has handled everything before and reads the button.
bool SettledResetEnabled(HWND main);

// Presses Reset and reads the message box it brings up (nullopt: none, a failure).
std::optional<MessageBoxInfo> PressReset(VornelSession& vornel, HWND main);
// Checks a box against a text and icon, owned by `owner`, with the program's caption
// and an OK button only.
void ExpectOkBox(const MessageBoxInfo& box, const std::string& text, BoxIcon icon, HWND owner);

}  // namespace e2e::reset
