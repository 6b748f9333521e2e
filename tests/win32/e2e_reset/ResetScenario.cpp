// Seeding and reading the tuned keys, walking the wizard, and the Reset command's boxes.
#include "ResetScenario.h"

#include <cstdio>
#include <sstream>

namespace e2e::reset {

std::vector<std::string> NtSteps(bool modemBoost) {
    std::vector<std::string> steps = kWinNtSteps;
    if (modemBoost) steps.push_back(kModemStep);
    return steps;
}

std::vector<std::string> Win9xSteps(bool modemBoost) {
    std::vector<std::string> steps = kWin9xSteps;
    if (modemBoost) steps.push_back(kModemStep);
    return steps;
}

RegValue Sz(std::string_view text) {
    return RegValue::String(text);
}

RegValue Raw(DWORD type, std::string bytes) {
    return RegValue{type, std::move(bytes)};
}

RegValue Dword(DWORD number) {
    return RegValue::Dword(number);
}

RegValue Modem(DWORD maxPortRate, std::size_t length) {
    return Raw(REG_BINARY, ModemProperties(maxPortRate, length));
}

KeyTree Tree(std::map<std::string, RegValue> values, std::map<std::string, KeyTree> subkeys) {
    return KeyTree{std::move(values), std::move(subkeys)};
}

namespace {

// RegSetValueExA adds a terminator to text whose next byte in memory is NUL (so
// does NT); a copy followed by another byte keeps unterminated text as it is.
void SetExactly(HKEY key, const std::string& name, const RegValue& value) {
    std::string copy = value.bytes;
    copy.push_back('\xFF');
    const LONG result =
        RegSetValueExA(key, name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(copy.data()),
                       static_cast<DWORD>(value.bytes.size()));
    if (result != ERROR_SUCCESS)
        ADD_FAILURE() << "cannot seed " << name << " (error " << result << ")";
}

void WriteExactly(HKEY root, const std::string& path, const KeyTree& tree) {
    RegKey key = RegKey::Create(root, path);
    if (!key) {
        ADD_FAILURE() << "cannot create " << path;
        return;
    }
    for (const auto& [name, value] : tree.values) SetExactly(key.Get(), name, value);
    for (const auto& [name, sub] : tree.subkeys) WriteExactly(root, path + "\\" + name, sub);
}

std::string Bytes(const std::string& bytes) {
    std::string text;
    char hex[4];
    for (char c : bytes) {
        std::snprintf(hex, sizeof hex, " %02X", static_cast<unsigned char>(c));
        text += hex;
    }
    return text;
}

std::string ValueLine(const std::string& name, const RegValue& value) {
    return name + " = " + TypeName(value.type) + "[" + std::to_string(value.bytes.size()) + "]" +
           Bytes(value.bytes);
}

void List(const KeyTree& tree, const std::string& prefix, std::string& out) {
    for (const auto& [name, value] : tree.values) out += prefix + ValueLine(name, value) + "\n";
    for (const auto& [name, sub] : tree.subkeys) {
        out += prefix + "[" + name + "]\n";
        List(sub, prefix + "  ", out);
    }
}

}  // namespace

void Plant(HKEY root, const std::string& path, const std::optional<KeyTree>& tree) {
    DeleteKeyTree(root, path);
    if (tree) WriteExactly(root, path, *tree);
    ASSERT_EQ(Listing(root, path), Listing(tree))
        << "the registry did not take the seed of " << path;
}

std::string Listing(const std::optional<KeyTree>& tree) {
    if (!tree) return "(no key)\n";
    std::string out;
    List(*tree, "", out);
    return out.empty() ? "(empty key)\n" : out;
}

std::string Listing(HKEY root, const std::string& path) {
    return Listing(ReadKeyTree(root, path));
}

std::string ValuesListing(const std::optional<KeyTree>& tree,
                          const std::vector<std::string>& names) {
    if (!tree) return "(no key)\n";
    std::string out;
    for (const std::string& name : names) {
        const auto found = tree->values.find(name);
        out += found == tree->values.end() ? name + " absent" : ValueLine(name, found->second);
        out += "\n";
    }
    return out;
}

std::string ValuesListing(HKEY root, const std::string& path,
                          const std::vector<std::string>& names) {
    return ValuesListing(ReadKeyTree(root, path), names);
}

SystemState ReadSystemState() {
    SystemState state;
    for (const SystemKey& key : kTouchedKeys)
        state.listings[key.path] = Listing(key.root, key.path);
    return state;
}

std::string Describe(const SystemState& state) {
    std::string out;
    for (const auto& [path, listing] : state.listings) out += "== " + path + "\n" + listing;
    return out;
}

ResetTest::ResetTest() {
    for (const SystemKey& key : kTouchedKeys) {
        m_restorers.push_back(std::make_unique<ScopedKeyRestore>(key.root, key.path));
    }
}

// The restorers run after the base class's TearDown has ended the program.
ResetTest::~ResetTest() = default;

HWND ResetTest::StartOn(const char* release, VornelSession*& session) {
    SetWindowsVersion(release);
    session = &Launch();
    return session->StartToMainDialog();
}

HWND ResetTest::Restart(VornelSession& running, HWND main, VornelSession*& session) {
    PostMessageA(main, WM_CLOSE, 0, 0);
    if (!running.Process().WaitForExit()) {
        ADD_FAILURE() << "the program did not end when its main dialog was closed";
        return nullptr;
    }
    session = &Launch();
    return session->StartToMainDialog();
}

void ResetTest::ExpectSecondStartEnds(HWND runningMain) {
    VornelSession& second = Launch();
    EXPECT_TRUE(second.Process().WaitForExit()) << DescribeWindows(second.Pid());
    EXPECT_TRUE(IsWindowVisible(runningMain));
}

void WalkWizard(VornelSession& vornel, HWND wizard, const std::vector<std::string>& captions,
                WizardEnd end) {
    for (std::size_t step = 0; step < captions.size(); ++step) {
        ASSERT_TRUE(WaitUntil([&] { return Text(wizard) == captions[step]; }))
            << "expected \"" << captions[step] << "\", the wizard shows \"" << Text(wizard) << "\"";
        if (step + 1 == captions.size()) break;
        HWND next = Item(wizard, ID_WIZNEXT);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(next) && IsWindowEnabled(next); }))
            << "no Next on \"" << captions[step] << "\"";
        Click(wizard, ID_WIZNEXT);
    }
    if (end == WizardEnd::Cancel) {
        Click(wizard, IDCANCEL);
    } else {
        HWND finish = Item(wizard, ID_WIZFINISH);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(finish) && IsWindowEnabled(finish); }))
            << "no Finish on \"" << captions.back() << "\"";
        Click(wizard, ID_WIZFINISH);
        const std::optional<MessageBoxInfo> box = vornel.WaitForMessageBox();
        ASSERT_TRUE(box) << "Finish showed no message";
        ExpectOkBox(*box, kApplied, BoxIcon::None, wizard);
        ASSERT_TRUE(Answer(*box, IDOK));
    }
    ASSERT_TRUE(vornel.WaitUntilGone(wizard)) << "the wizard did not close";
}

void RunWizard(VornelSession& vornel, HWND main, const std::vector<std::string>& captions,
               WizardEnd end) {
    Click(main, IDC_SET_SETTINGS);
    HWND wizard = vornel.WaitFor(WindowKind::Wizard);
    ASSERT_TRUE(wizard) << "Set opened no wizard\n" << DescribeWindows(vornel.Pid());
    EXPECT_FALSE(vornel.Find(WindowKind::Message)) << "Set asked before opening the wizard";
    WalkWizard(vornel, wizard, captions, end);
}

bool ResetEnabled(HWND main) {
    return IsWindowEnabled(Item(main, IDC_RESET_SETTINGS)) != FALSE;
}

bool SettledResetEnabled(HWND main) {
    EXPECT_TRUE(Settle(main));
    return ResetEnabled(main);
}

std::optional<MessageBoxInfo> PressReset(VornelSession& vornel, HWND main) {
    Click(main, IDC_RESET_SETTINGS);
    return vornel.WaitForMessageBox();
}

void ExpectOkBox(const MessageBoxInfo& box, const std::string& text, BoxIcon icon, HWND owner) {
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, kCaption);
    EXPECT_EQ(box.icon, icon);
    EXPECT_EQ(box.owner, owner);
    EXPECT_EQ(box.ButtonIds(), std::vector<int>{IDOK});
}

}  // namespace e2e::reset
