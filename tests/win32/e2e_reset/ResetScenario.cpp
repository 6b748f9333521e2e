// Seeding and reading the tuned keys, walking the wizard, and the Reset command's boxes.
#include "ResetScenario.h"

#include <cstdio>
#include <sstream>

namespace e2e::reset {

using namespace std::chrono_literals;

const std::vector<std::string> kNtStackValues = {"SackOpts",
                                                 "Tcp1323Opts",
                                                 "GlobalMaxTcpWindowSize",
                                                 "TcpMaxDupAcks",
                                                 "DefaultTTL",
                                                 "TcpWindowSize",
                                                 "DefaultReceiveWindow",
                                                 "EnablePMTUBHDetect",
                                                 "EnablePMTUDiscovery",
                                                 "KeepAliveTime",
                                                 "KeepAliveInterval",
                                                 "SYNAttackProtect",
                                                 "EnableICMPRedirects",
                                                 "EnableICMPRedirect"};
const std::vector<std::string> k9xStackValues = {"SackOpts",
                                                 "Tcp1323Opts",
                                                 "DefaultTTL",
                                                 "DefaultRcvWindow",
                                                 "GlobalMaxTcpWindowSize",
                                                 "PMTUBlackHoleDetect",
                                                 "PMTUDiscovery",
                                                 "KeepAliveTime",
                                                 "KeepAliveInterval"};
const std::vector<std::string> kBrowserValues = {"MaxConnectionsPer1_0Server",
                                                 "MaxConnectionsPerServer"};

std::vector<std::string> NtSteps(bool modemBoost) {
    std::vector<std::string> steps = {"Step 1 of 8 : Choose Connection Type",
                                      "Step 2 of 8 : Specify MTU Settings",
                                      "Step 3 of 8 : Other MTU Settings",
                                      "Step 4 of 8 : RWIN Setting",
                                      "Step 5 of 8 : TTL & Internet Explorer Optimization",
                                      "Step 6 of 8 : Keep Alive Settings",
                                      "Step 7 of 8 : SYN Flood Attack Setting",
                                      "Step 8 of 8 : ICMP Redirect Attack Setting"};
    if (modemBoost) steps.push_back("Boost the Modem");
    return steps;
}

std::vector<std::string> Win9xSteps(bool modemBoost) {
    std::vector<std::string> steps = {"Step 1 of 6 : Choose Connection Type",
                                      "Step 2 of 6 : Specify MTU Settings",
                                      "Step 3 of 6 : Other MTU Settings",
                                      "Step 4 of 6 : RWIN Setting",
                                      "Step 5 of 6 : TTL & Internet Explorer Optimization",
                                      "Step 6 of 6 : Keep Alive Settings"};
    if (modemBoost) steps.push_back("Boost the Modem");
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

RegValue ModemProperties(std::size_t length, DWORD rate) {
    std::string bytes(length, '\0');
    for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(0x40 + i);
    for (std::size_t i = 0; i < 4 && 24 + i < length; ++i) {
        bytes[24 + i] = static_cast<char>((rate >> (8 * i)) & 0xFF);
    }
    return Raw(REG_BINARY, bytes);
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

const char* TypeName(DWORD type) {
    switch (type) {
        case REG_NONE:
            return "NONE";
        case REG_SZ:
            return "SZ";
        case REG_EXPAND_SZ:
            return "EXPAND_SZ";
        case REG_BINARY:
            return "BINARY";
        case REG_DWORD:
            return "DWORD";
        case REG_MULTI_SZ:
            return "MULTI_SZ";
        default:
            return "?";
    }
}

std::string Bytes(const std::string& bytes) {
    std::string text;
    char hex[4];
    for (unsigned char c : bytes) {
        std::snprintf(hex, sizeof hex, " %02X", c);
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

struct WatchedKey {
    HKEY root;
    const char* path;
};

// Every key that a test seeds or that the program could touch.
const WatchedKey kWatched[] = {
    {HKEY_CURRENT_USER, kBrowserKey},       {HKEY_LOCAL_MACHINE, kNtStackKey},
    {HKEY_LOCAL_MACHINE, kNtModemKey},      {HKEY_LOCAL_MACHINE, kVxdKey},
    {HKEY_LOCAL_MACHINE, kServiceClassKey}, {HKEY_LOCAL_MACHINE, kEnumKey},
};

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
    for (const WatchedKey& key : kWatched) state.listings[key.path] = Listing(key.root, key.path);
    return state;
}

std::string Describe(const SystemState& state) {
    std::string out;
    for (const auto& [path, listing] : state.listings) out += "== " + path + "\n" + listing;
    return out;
}

ResetTest::ResetTest() {
    for (const WatchedKey& key : kWatched) {
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

void WalkWizard(VornelSession& vornel, HWND wizard, const std::vector<std::string>& captions,
                WizardEnd end) {
    for (std::size_t step = 0; step < captions.size(); ++step) {
        ASSERT_TRUE(WaitUntil([&] { return Text(wizard) == captions[step]; }, 10s))
            << "expected \"" << captions[step] << "\", the wizard shows \"" << Text(wizard) << "\"";
        if (step + 1 == captions.size()) break;
        HWND next = Item(wizard, ID_WIZNEXT);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(next) && IsWindowEnabled(next); }, 5s))
            << "no Next on \"" << captions[step] << "\"";
        Click(wizard, ID_WIZNEXT);
    }
    if (end == WizardEnd::Cancel) {
        Click(wizard, IDCANCEL);
    } else {
        HWND finish = Item(wizard, ID_WIZFINISH);
        ASSERT_TRUE(
            WaitUntil([&] { return IsWindowVisible(finish) && IsWindowEnabled(finish); }, 5s))
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
    EXPECT_TRUE(Responds(main)) << "the main dialog does not answer";
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
