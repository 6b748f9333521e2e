// The registry catalogue: every key and value the engine reads, writes, backs up and
// restores, on which Windows releases, and where each release reads it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/PlatformFamily.h"
#include "engine/RegistryStore.h"
#include "engine/TuningValues.h"

namespace catalogue {
// In a backup: the key a part stands for did not exist when the backup was made. Its
// number says whether Finish then made the key (kKeyMade), so that Reset removes it once
// it leaves it empty, or did not (kKeyNotMade), so that Reset leaves alone whatever
// another program has put there since.
inline constexpr const char* kKeyAbsentValue = "Key Absent";
inline constexpr std::int32_t kKeyMade = 1;
inline constexpr std::int32_t kKeyNotMade = 2;
}  // namespace catalogue

// How a tuning value is stored: decimal text with one NUL (REG_SZ) or a
// little-endian 32-bit number (REG_DWORD).
enum class Encoding : std::uint8_t { Text, Number };

// The three passes over the catalogue; a key may give each its own order of values.
enum class Step : std::uint8_t { Capture = 0, Apply = 1, Restore = 2 };

// A set of releases.
using Releases = std::uint8_t;
constexpr Releases Only(WindowsRelease release) {
    return static_cast<Releases>(1u << static_cast<unsigned>(release));
}
inline constexpr Releases kWin9xReleases =
    Only(WindowsRelease::Win95) | Only(WindowsRelease::Win98) | Only(WindowsRelease::WinMe);
inline constexpr Releases kWinNtReleases =
    Only(WindowsRelease::WinNT4) | Only(WindowsRelease::Win2000) | Only(WindowsRelease::WinXP);
constexpr bool Includes(Releases releases, WindowsRelease release) {
    return (releases & Only(release)) != 0;
}

// What Finish writes for a value whose number depends on the connection as well, or
// nothing when it leaves the value alone for that connection.
using AppliedRule = std::optional<std::int32_t> (*)(const TuningValues& chosen,
                                                    ConnectionType type);

// Windows' own default for a value: what a clean installation of each release holds under
// its name, with the Microsoft article that says so. No release holds any value Vornel
// writes ("do not normally exist", KB 158474; "Windows 2000 does not add this entry",
// Windows 2000 Resource Kit registry reference; "Generally, these parameters do not exist
// in the registry", KB 314053): the stack then uses its built-in default, which the README's
// table gives per release.
struct WindowsDefault {
    const char* source;     // the article
    Releases present = 0;   // the releases whose clean installation holds the value
    std::int32_t data = 0;  // what it holds there
};

struct CatalogueValue {
    const char* name;
    WindowsDefault windowsDefault;
    std::int32_t TuningValues::*applied;  // null: `constant` is written instead
    std::int32_t constant;
    std::int32_t TuningValues::*inForce;  // null: read for the backup only
    bool FoundFlags::*found;
    AppliedRule rule = nullptr;  // set: decides what is written, over the two above
};

// How Finish comes to a key it writes into.
enum class Reach : std::uint8_t {
    OpenOnly,         // written only where it exists; Reset passes over it when it has gone
    Create,           // made when it is missing; Reset fails without it
    CreateInService,  // made when missing below a key that exists (a service's Parameters)
};

// One key of fixed values, all with the same encoding.
struct KeyCatalogue {
    reg::Key root;
    const char* path;
    Encoding encoding;
    std::span<const CatalogueValue> values;
    Releases releases = kWin9xReleases | kWinNtReleases;  // where Finish writes it
    Reach reach = Reach::OpenOnly;
    // The part of the backup that holds its values; null: the backup key's own values.
    const char* part = nullptr;
    // Where the backup records that the key did not exist when it was made: a value of
    // that name in the key's part (or, for a key without one, in the backup key itself).
    const char* absentName = catalogue::kKeyAbsentValue;
    // The names of its values in the order Finish writes them and in the order Reset puts
    // them back; empty: the table's order, which capture always takes.
    std::span<const char* const> applyOrder{};
    std::span<const char* const> restoreOrder{};
};

// A value that every adapter or interface has, backed up in a part of the backup
// under the adapter's or interface's name.
struct LinkValue {
    const char* name;
    WindowsDefault windowsDefault;
    const char* backupName;               // subkey of the backup key
    const char* backupPath;               // the same, from HKEY_CURRENT_USER
    std::int32_t TuningValues::*applied;  // what Finish writes
    std::int32_t TuningValues::*field;    // what it shows in force; null: backup only
    bool FoundFlags::*found;
};

// Where per-link values live.
enum class LinkKind : std::uint8_t {
    DialUpAdapter,  // Win9x: the one dial-up adapter's TCP/IP binding, found through Enum
    Interface,      // Windows 2000 and XP: each subkey of Tcpip\Parameters\Interfaces
    BoundAdapter,   // Windows NT 4.0: each adapter TCP/IP is bound to, in Tcpip\Linkage
};

struct LinkCatalogue {
    LinkKind kind;
    Encoding encoding;
    std::span<const LinkValue> values;
    const char* listName;  // the part listing each link seen; null for the dial-up adapter
    const char* listPath;
    Releases releases;
    bool smallestInForce;  // the value in force is the smallest found, not the last one
};

namespace catalogue {

inline constexpr const char* kBrowserKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
inline constexpr const char* kWin9xStackKey = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
inline constexpr const char* kWin98ParametersKey =
    "System\\CurrentControlSet\\Services\\VxD\\MSTCP\\Parameters";
inline constexpr const char* kWinNtStackKey =
    "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
inline constexpr const char* kInterfacesKey =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
inline constexpr const char* kServicesKey = "System\\CurrentControlSet\\Services";
inline constexpr const char* kLinkageKey = "System\\CurrentControlSet\\Services\\Tcpip\\Linkage";
// In the linkage key: the NT objects TCP/IP is bound to, "\Device\<adapter>" each.
inline constexpr const char* kBindValue = "Bind";
inline constexpr const char* kDevicePrefix = "\\Device\\";
// Below the services key, an adapter's own TCP/IP parameters (Windows NT 4.0).
inline constexpr const char* kAdapterTcpipSuffix = "\\Parameters\\Tcpip";
inline constexpr const char* kAfdParametersKey =
    "System\\CurrentControlSet\\Services\\AFD\\Parameters";
inline constexpr const char* kNdisWanParametersKey =
    "System\\CurrentControlSet\\Services\\NdisWan\\Parameters";
// Present once the Windows Sockets 2 update is installed on Windows 95 (KB 177719).
inline constexpr const char* kWinsock2Key = "System\\CurrentControlSet\\Services\\Winsock2";
inline constexpr const char* kNetTransKeyPrefix =
    "System\\CurrentControlSet\\Services\\Class\\NetTrans\\";
inline constexpr const char* kEnumRootNetKey = "Enum\\Root\\Net";
inline constexpr const char* kEnumMstcpKeyPrefix = "Enum\\Network\\MSTCP\\";
inline constexpr const char* kWin9xModemKey = "System\\CurrentControlSet\\Services\\Class\\Modem";
inline constexpr const char* kWinNtModemKey =
    "System\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}";
// Each modem's device-capabilities record under the modem class key, whose port
// rate the modem boost raises.
inline constexpr const char* kModemPropertiesValue = "Properties";

// A registry path made of a parent key and a subkey name, joined while compiling
// so that each key of the product is spelled once.
template <std::size_t ParentSize, std::size_t NameSize>
consteval std::array<char, ParentSize + NameSize> JoinKeyPath(
    const std::array<char, ParentSize>& parent, const char (&name)[NameSize]) {
    std::array<char, ParentSize + NameSize> path{};
    std::size_t at = 0;
    for (std::size_t i = 0; i + 1 < ParentSize; ++i) path[at++] = parent[i];
    path[at++] = '\\';
    for (std::size_t i = 0; i < NameSize; ++i) path[at++] = name[i];
    return path;
}

// The product's own key under HKEY_CURRENT_USER, and the backup within it.
inline constexpr auto kProductPath = std::to_array("Software\\Vornel");
inline constexpr auto kBackupPath = JoinKeyPath(kProductPath, "Original Settings");
// A new backup is written here first, with "Backup Complete" as its very last
// value; only then does it replace "Original Settings". Written without that
// value, it never counts, and the backup it was to replace stays as it was.
inline constexpr auto kPendingBackupPath = JoinKeyPath(kProductPath, "New Backup");
inline constexpr char kMtuBackupName[] = "MTU Settings";
inline constexpr char kMssBackupName[] = "MSS Settings";
// WinNT: one value per interface that existed when the backup was made, so that
// Reset touches those and no other. Backups without it predate the list.
inline constexpr char kInterfacesBackupName[] = "Interfaces";
// Windows NT 4.0: the "MTU" of each bound adapter, and the list of the adapters seen.
inline constexpr char kAdapterMtuBackupName[] = "Adapter MTU Settings";
inline constexpr char kAdaptersBackupName[] = "Adapters";
// The values of the keys of one service each, read by one release or family only.
inline constexpr char kWin98ParametersBackupName[] = "MSTCP Parameters";
inline constexpr char kAfdBackupName[] = "AFD Parameters";
inline constexpr char kNdisWanBackupName[] = "NdisWan Parameters";
inline constexpr auto kMtuBackupPath = JoinKeyPath(kBackupPath, kMtuBackupName);
inline constexpr auto kMssBackupPath = JoinKeyPath(kBackupPath, kMssBackupName);
inline constexpr auto kInterfacesBackupPath = JoinKeyPath(kBackupPath, kInterfacesBackupName);
inline constexpr auto kAdapterMtuBackupPath = JoinKeyPath(kBackupPath, kAdapterMtuBackupName);
inline constexpr auto kAdaptersBackupPath = JoinKeyPath(kBackupPath, kAdaptersBackupName);

inline constexpr const char* kProductKey = kProductPath.data();
inline constexpr const char* kBackupKey = kBackupPath.data();
inline constexpr const char* kPendingBackupKey = kPendingBackupPath.data();
inline constexpr const char* kMtuBackupKey = kMtuBackupPath.data();
inline constexpr const char* kMssBackupKey = kMssBackupPath.data();
inline constexpr const char* kInterfacesBackupKey = kInterfacesBackupPath.data();
inline constexpr const char* kAdapterMtuBackupKey = kAdapterMtuBackupPath.data();
inline constexpr const char* kAdaptersBackupKey = kAdaptersBackupPath.data();
inline constexpr const char* kBackupCompleteValue = "Backup Complete";
// Written just before "Backup Complete": the names of the backup's subkeys, joined by
// backslashes, so that one of them gone missing shows.
inline constexpr const char* kBackupPartsValue = "Backup Parts";
// Left in the backup by a Reset that could not put everything back.
inline constexpr const char* kResetIncompleteValue = "Reset Incomplete";
// The same record for the two keys whose values are the backup key's own.
inline constexpr const char* kBrowserAbsentValue = "Browser Key Absent";
inline constexpr const char* kStackAbsentValue = "Stack Key Absent";
// The Windows release the backup was made on, by name (ReleaseName); Windows 95/98/Me and
// NT 4.0/2000/XP keep these settings in different places and forms.
inline constexpr const char* kWindowsValue = "Windows";
// Windows 95/98/Me: the dial-up adapter's entry below "Enum\Root\Net" and its TCP/IP
// binding instance, through which the backup reached its NetTrans key.
inline constexpr const char* kDialUpEntryValue = "Dial-Up Adapter Entry";
inline constexpr const char* kDialUpBindingValue = "Dial-Up Adapter Binding";

inline constexpr const char* kDialUpAdapter = "Dial-Up Adapter";
inline constexpr std::uint32_t kTextBufferSize = 260;
inline constexpr std::uint32_t kNumberSize = 4;

// A release's name as a backup records it and messages show it ("Windows 98"), and back.
const char* ReleaseName(WindowsRelease release);
std::optional<WindowsRelease> ReleaseNamed(std::string_view name);
// A family's releases together ("Windows 95, 98 or Me"), for a backup that names none.
const char* FamilyName(PlatformFamily family);

const KeyCatalogue& Browser();
const KeyCatalogue& Stack(PlatformFamily family);
// Every key of fixed values Finish writes on the release: the browser's, the stack's,
// then those read by that release alone. In that order.
std::vector<const KeyCatalogue*> FixedKeys(WindowsRelease release);
// Every such key of the family, whatever the release: what a Reset may put back.
std::vector<const KeyCatalogue*> FixedKeys(PlatformFamily family);
// The per-link values Finish writes on the release, and those a Reset on the family may
// put back.
std::vector<const LinkCatalogue*> Links(WindowsRelease release);
std::vector<const LinkCatalogue*> Links(PlatformFamily family);
const char* ModemClassKey(PlatformFamily family);
std::uint32_t RegistryType(Encoding encoding);

// True for a part of the backup that lists the adapters or interfaces it saw, as
// opposed to one that holds their values.
bool IsLinkList(std::string_view part);

// The key of a bound adapter's TCP/IP parameters below the services key.
std::string AdapterKeyBelowServices(std::string_view adapter);
// The adapters of a "Bind" list: each "\Device\<adapter>" entry's name, once, in order;
// an entry that names no single key is left out.
std::vector<std::string> BoundAdapters(const reg::Value& bind);

// The key's values in the order of one step.
std::vector<const CatalogueValue*> InOrder(const KeyCatalogue& key, Step step);

}  // namespace catalogue

// A text with its NUL.
std::vector<std::uint8_t> EncodeString(std::string_view text);
// Decimal text of a number with its NUL, as Win9x stores tuning values.
std::vector<std::uint8_t> EncodeText(std::int32_t number);
// Leading white space, an optional sign, then digits up to the first other
// character (or the end of the data); no digits give 0, overflow saturates.
std::int32_t DecodeText(const std::uint8_t* data, std::size_t size);
// The 4 little-endian bytes of a REG_DWORD.
std::vector<std::uint8_t> EncodeNumber(std::int32_t number);
// A value as the catalogue's encoding stores it.
reg::Value EncodeValue(Encoding encoding, std::int32_t number);
