// The system keys a wizard run reads and writes: saved when a test starts, emptied of
// everything the program tunes, seeded by the test, and put back when the test ends.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "e2e/Driver.h"

namespace e2e::wizard {

// Saves the keys when built and puts them back when destroyed; in between the tuned
// values, the network enumeration, the adapters, the interfaces and the modems are gone.
class SystemKeys {
public:
    SystemKeys();
    SystemKeys(const SystemKeys&) = delete;
    SystemKeys& operator=(const SystemKeys&) = delete;

private:
    std::vector<std::unique_ptr<ScopedKeyRestore>> m_saved;
};

// Network entries of a Windows 95/98/Me machine: "Enum\Root\Net\<entry>" with its
// "DeviceDesc" and TCP/IP binding "MSTCP\<binding>", whose "Driver" names the
// adapter's key "NetTrans\<netTrans>".
struct Win9xAdapter {
    std::string entry;
    std::string deviceDesc;
    std::string binding;
    std::string netTrans;
    std::optional<std::string> maxMtu;
    std::optional<std::string> maxMss;
};
void AddWin9xAdapter(const Win9xAdapter& adapter);
std::string NetTransKey(const std::string& instance);

// A TCP/IP interface of an NT machine with its own values (MTU / MSS when given).
void AddInterface(const std::string& name, std::optional<DWORD> mtu, std::optional<DWORD> mss);
std::string InterfaceKey(const std::string& name);

// A modem with these "Properties" (see ModemProperties) under a family's modem class.
void AddModem(const char* classKey, const std::string& name, const std::string& properties);

// Readable dump of a key tree, for failure messages.
std::string Describe(const std::optional<KeyTree>& tree);
::testing::AssertionResult KeyIs(HKEY root, const std::string& path,
                                 const std::optional<KeyTree>& expected);

}  // namespace e2e::wizard
