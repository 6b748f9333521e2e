// What a command would change, value by value: what Show Changes lists (what Reset will put
// back) and what the preview of Windows' defaults lists. Nothing is written to find out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/DryRunStore.h"
#include "engine/PlatformFamily.h"
#include "engine/RegistryStore.h"

namespace engine {

// Where a value is, in the words the list shows.
enum class PlaceKind : std::uint8_t {
    Browser,          // the browser's connection limits
    Stack,            // TCP/IP's own parameters
    StackParameters,  // Windows 98's key below them
    SocketDriver,     // AFD
    Ras,              // NdisWan (Windows NT 4.0 RAS)
    Interface,        // an interface of Windows 2000/XP, `detail` its name
    DialUpAdapter,    // the dial-up adapter's TCP/IP binding (Windows 95/98/Me)
    Adapter,          // an adapter TCP/IP is bound to (Windows NT 4.0), `detail` its name
    Other,            // anywhere else, `detail` the key's path
};

struct Place {
    PlaceKind kind = PlaceKind::Other;
    std::string detail;
    bool operator==(const Place&) const = default;
};

Place PlaceOf(reg::Key root, std::string_view path);

struct Change {
    Place place;
    std::string name;
    std::optional<reg::Value> now;    // in force now; nothing: not set
    std::optional<reg::Value> after;  // once the command has run; nothing: removed
};

// The changes a run through `dry` would make to `inner`: its last word on each value that
// differs from what is there now, in the order first written; the product's own key is left
// out.
std::vector<Change> ChangesOf(const DryRunStore& dry, RegistryStore& inner);

// What Reset would put back: every value the backup covers whose value now differs from the
// backup's. Empty when there is no backup or it is of the other family.
std::vector<Change> ResetChanges(RegistryStore& store, WindowsRelease release);

// What Windows' defaults would remove: every value Finish writes on the release that is set
// now (defined beside the removal itself, in the engine).
std::vector<Change> DefaultsChanges(RegistryStore& store, WindowsRelease release);

}  // namespace engine
