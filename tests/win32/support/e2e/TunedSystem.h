// The part of the system that Vornel tunes, as the end-to-end tests seed and inspect
// it: the keys, the value names each family's catalogue backs up, what a run that
// takes every recommendation writes whatever the connection, and a run's steps.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "e2e/Registry.h"
#include "engine/Catalogue.h"

namespace e2e {

namespace keys {
inline constexpr char kBrowser[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
inline constexpr char kWinNtStack[] = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
inline constexpr char kInterfaces[] =
    "System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
inline constexpr char kWinNtModems[] =
    "System\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}";
inline constexpr char kVxd[] = "System\\CurrentControlSet\\Services\\VxD";
inline constexpr char kWin9xStack[] = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
inline constexpr char kServiceClasses[] = "System\\CurrentControlSet\\Services\\Class";
inline constexpr char kNetTrans[] = "System\\CurrentControlSet\\Services\\Class\\NetTrans";
inline constexpr char kWin9xModems[] = "System\\CurrentControlSet\\Services\\Class\\Modem";
inline constexpr char kEnum[] = "Enum";
inline constexpr char kLinkage[] = "System\\CurrentControlSet\\Services\\Tcpip\\Linkage";
inline constexpr char kAfd[] = "System\\CurrentControlSet\\Services\\AFD";
inline constexpr char kNdisWan[] = "System\\CurrentControlSet\\Services\\NdisWan";
// The network adapters the tests of Windows NT 4.0 seed, each a service of its own.
inline constexpr const char* kTestAdapters[] = {"El90x1", "NdisWan4", "Lance01"};
inline constexpr const char* kMtuBackup = catalogue::kMtuBackupKey;
inline constexpr const char* kMssBackup = catalogue::kMssBackupKey;
}  // namespace keys

// Every key a wizard run or a Reset may change, on either family: what a test saves
// and puts back, and compares before and after.
struct SystemKey {
    HKEY root;
    const char* path;
};
extern const std::vector<SystemKey> kTouchedKeys;

// The values each family's catalogue backs up from its stack key, and from the
// browser's key on both.
extern const std::vector<std::string> kWinNtStackValues;
extern const std::vector<std::string> kWin9xStackValues;
extern const std::vector<std::string> kBrowserValues;

// What Finish writes into the stack key when every recommendation is taken, whatever
// the connection and the switches: numbers on NT, text on Windows 95/98/Me.
using NamedValues = std::vector<std::pair<std::string, RegValue>>;
extern const NamedValues kWinNtRecommendedWrites;
extern const NamedValues kWin9xRecommendedWrites;

// The step captions of a run, in order, and the modem page's, which ends a run on
// either family when a modem can be boosted.
extern const std::vector<std::string> kWin9xSteps;
extern const std::vector<std::string> kWinNtSteps;
inline constexpr char kModemStep[] = "Boost the Modem";

// Binds TCP/IP to one of the test adapters as Windows NT 4.0 records it: "\Device\<name>"
// added to the "Bind" list of Tcpip\Linkage, and the adapter's own TCP/IP key
// ("Services\<name>\Parameters\Tcpip"), with its "MTU" when one is given.
void BindTestAdapter(const std::string& name, std::optional<DWORD> mtu);
std::string AdapterTcpipKey(const std::string& name);

// A modem's "Properties": a device-capabilities record of `length` bytes counting up
// from 0x40, with the highest port rate in the word at offset 24 (as far as it reaches).
std::string ModemProperties(DWORD maxPortRate, size_t length = 32);

}  // namespace e2e
