// Capture: the values in force and the backup that records them, read as the catalogue
// lists them. Writes nothing.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "engine/Reading.h"

namespace engine::detail {
namespace {

using namespace catalogue;
using reg::ScopedKey;
using reg::TextOf;

// Reads one value into the backup under `backupName`, with its own type and exact data
// whatever its size. Gives the value when it passes the reading rule of the values in
// force, and the read's result.
std::optional<reg::Value> CaptureValue(reg::ValueReader& source, const char* name,
                                       reg::KeyImage& backup, const std::string& backupName,
                                       Encoding encoding, Reading& reading,
                                       reg::Status* result = nullptr) {
    reg::Value value;
    const reg::Status status = source.Read(name, value);
    reading.Note(status);
    if (result != nullptr) *result = status;
    if (!Succeeded(status)) return std::nullopt;
    std::optional<reg::Value> fitting;
    if (Fits(encoding, value)) fitting = value;
    backup.values.emplace_back(backupName, std::move(value));
    return fitting;
}

void CaptureFixedKey(RegistryStore& store, const KeyCatalogue& key, Reading& reading) {
    reg::KeyImage part;
    part.name = key.part != nullptr ? key.part : "";
    reg::KeyImage& into = key.part != nullptr ? part : reading.backup;
    reg::Status status = reg::kSuccess;
    ScopedKey source = reading.Open(store, key.root, key.path, &status);
    if (source) {
        reading.reachable.push_back(&key);
        reg::ValueReader values(store, source.get());
        for (const CatalogueValue* value : InOrder(key, Step::Capture)) {
            const std::optional<reg::Value> read =
                CaptureValue(values, value->name, into, value->name, key.encoding, reading);
            if (read && value->inForce != nullptr) {
                FillField(key.encoding, *read, reading.inForce.*value->inForce);
                reading.found.*value->found = true;
            }
        }
    } else if (reg::IsAbsent(status)) {
        // Finish makes the stack's key whenever it is missing, a service's own only below a
        // service that is there, and the browser's never. Reset removes a key Finish made
        // once it is empty again, and leaves one it did not make to whoever made it since.
        bool made = key.reach == Reach::Create;
        if (key.reach == Reach::CreateInService) {
            const auto [parent, name] = SplitParent(key.path);
            made = static_cast<bool>(reading.Open(store, key.root, parent.c_str()));
        }
        if (made) reading.reachable.push_back(&key);
        into.values.emplace_back(
            key.absentName, reg::Value{reg::kDword, EncodeNumber(made ? kKeyMade : kKeyNotMade)});
    }
    if (key.part != nullptr) reading.backup.subKeys.push_back(std::move(part));
}

// A text value such as "DeviceDesc" or "Driver"; nothing when absent or unreadable.
std::optional<std::string> ReadText(RegistryStore& store, reg::Key key, const char* name,
                                    Reading& reading) {
    reg::Value value;
    const reg::Status status = reg::ValueReader(store, key).Read(name, value);
    reading.Note(status);
    if (!Succeeded(status) || !Fits(Encoding::Text, value)) return std::nullopt;
    return TextOf(value);
}

// The first dial-up adapter's entry below "Enum\Root\Net", its first TCP/IP binding
// instance, and the NetTrans instance that binding leads to.
struct DialUpPath {
    std::string entry;
    std::string binding;
    std::string instance;
};

std::optional<DialUpPath> FindDialUpNetTrans(RegistryStore& store, Reading& reading) {
    ScopedKey adapter;
    std::string entryName;
    {
        ScopedKey net = reading.Open(store, reg::kLocalMachine, kEnumRootNetKey);
        if (!net) return std::nullopt;
        reg::SubKeyWalker entries(store, net.get());
        std::string name;
        while (!adapter && entries.Next(name)) {
            ScopedKey entry = reading.Open(store, net.get(), name.c_str());
            if (entry && ReadText(store, entry.get(), "DeviceDesc", reading) == kDialUpAdapter) {
                adapter = std::move(entry);
                entryName = name;
            }
        }
        if (!adapter) {
            reading.NoteWalk(entries.status());
            return std::nullopt;
        }
    }

    std::optional<std::string> binding;
    {
        ScopedKey bindings = reading.Open(store, adapter.get(), "Bindings");
        adapter.Close();
        if (!bindings) return std::nullopt;
        reg::ValueWalker names(store, bindings.get());
        std::string name;
        while (!binding && names.Next(name)) {
            if (name.find("MSTCP\\") != std::string::npos) binding = LastFour(name);
        }
        if (!binding) {
            reading.NoteWalk(names.status());
            return std::nullopt;
        }
    }

    ScopedKey mstcp =
        reading.Open(store, reg::kLocalMachine, (kEnumMstcpKeyPrefix + *binding).c_str());
    if (!mstcp) return std::nullopt;
    const std::optional<std::string> driver = ReadText(store, mstcp.get(), "Driver", reading);
    if (!driver || driver->find("NetTrans\\") == std::string::npos) return std::nullopt;
    return DialUpPath{entryName, *binding, LastFour(*driver)};
}

// Win9x: the dial-up adapter's MTU and MSS, recorded under its NetTrans instance.
void CaptureDialUpAdapter(RegistryStore& store, const LinkCatalogue& set, Reading& reading) {
    const std::optional<DialUpPath> path = FindDialUpNetTrans(store, reading);
    if (!path) return;
    const std::string& instance = path->instance;
    ScopedKey adapter =
        reading.Open(store, reg::kLocalMachine, (kNetTransKeyPrefix + instance).c_str());
    if (!adapter) return;
    reading.adapter = instance;
    // Which adapter reached the key: another may hold its number by the time of Reset.
    reading.backup.values.emplace_back(kDialUpEntryValue,
                                       reg::Value{reg::kSz, EncodeString(path->entry)});
    reading.backup.values.emplace_back(kDialUpBindingValue,
                                       reg::Value{reg::kSz, EncodeString(path->binding)});
    reg::ValueReader values(store, adapter.get());
    for (const LinkValue& link : set.values) {
        reg::KeyImage& part = reading.backup.subKeys.emplace_back();
        part.name = link.backupName;
        reg::Status status = reg::kSuccess;
        const std::optional<reg::Value> read =
            CaptureValue(values, link.name, part, instance, set.encoding, reading, &status);
        if (read) {
            FillField(set.encoding, *read, reading.inForce.*link.field);
            reading.found.*link.found = true;
        }
        // The MTU entry records which adapter was found, so a missing "MaxMTU"
        // is stood in for by "0".
        if (&link == &set.values.front() && reg::IsAbsent(status)) {
            part.values.emplace_back(instance, reg::Value{reg::kSz, EncodeText(0)});
        }
    }
}

// WinNT: each interface's or bound adapter's values under its name, and the list of those
// seen.
void CaptureLinks(RegistryStore& store, const LinkCatalogue& set, Reading& reading) {
    // One record per value of the set: its backup part (an entry per link), and the smallest
    // number in force where the set takes the smallest of its links.
    struct ValueCapture {
        const LinkValue& value;
        reg::KeyImage part;
        std::uint32_t smallest = 0xFFFFFFFFu;
    };
    std::vector<ValueCapture> captures;
    for (const LinkValue& value : set.values) {
        captures.push_back({value, reg::KeyImage{value.backupName, {}, {}}});
    }
    reg::KeyImage list{set.listName, {}, {}};
    std::vector<std::string>& seen =
        reading.links.emplace_back(&set, std::vector<std::string>{}).second;
    ScopedKey parent = reading.Open(store, reg::kLocalMachine, LinkParent(set));
    if (parent) {
        reg::Status walk = reg::kNoMoreItems;
        for (const std::string& name : PresentLinks(store, set, parent.get(), walk)) {
            ScopedKey link = reading.Open(store, parent.get(), LinkPath(set, name).c_str());
            if (!link) continue;
            seen.push_back(name);
            list.values.emplace_back(name, reg::Value{reg::kDword, EncodeNumber(1)});
            reg::ValueReader linkValues(store, link.get());
            for (ValueCapture& capture : captures) {
                const LinkValue& value = capture.value;
                const std::optional<reg::Value> read =
                    CaptureValue(linkValues, value.name, capture.part, name, set.encoding, reading);
                if (!read || value.field == nullptr) continue;
                std::int32_t& field = reading.inForce.*value.field;
                if (set.smallestInForce) {
                    std::int32_t number = 0;
                    FillField(set.encoding, *read, number);
                    capture.smallest =
                        std::min(capture.smallest, static_cast<std::uint32_t>(number));
                    field = static_cast<std::int32_t>(capture.smallest);
                } else {
                    FillField(set.encoding, *read, field);
                }
                reading.found.*value.found = true;
            }
        }
        reading.NoteWalk(walk);
    }
    for (ValueCapture& capture : captures)
        reading.backup.subKeys.push_back(std::move(capture.part));
    reading.backup.subKeys.push_back(std::move(list));
}

}  // namespace

Reading ReadInForce(RegistryStore& store, WindowsRelease release, TuningValues& inForce,
                    FoundFlags& found) {
    Reading reading(inForce, found);
    const std::vector<const KeyCatalogue*> keys = FixedKeys(release);
    CaptureFixedKey(store, *keys.front(), reading);  // the browser's
    for (const LinkCatalogue* set : Links(release)) {
        if (set->kind == LinkKind::DialUpAdapter) {
            CaptureDialUpAdapter(store, *set, reading);
        } else {
            CaptureLinks(store, *set, reading);
        }
    }
    for (std::size_t i = 1; i < keys.size(); ++i) CaptureFixedKey(store, *keys[i], reading);
    reading.backup.values.emplace_back(kWindowsValue,
                                       reg::Value{reg::kSz, EncodeString(ReleaseName(release))});
    return reading;
}

}  // namespace engine::detail

namespace engine {

void CaptureSettings(RegistryStore& store, WindowsRelease release, TuningValues& inForce,
                     FoundFlags& found) {
    detail::ReadInForce(store, release, inForce, found);
}

bool WindowScaling(RegistryStore& store, WindowsRelease release) {
    if (release == WindowsRelease::WinNT4) return false;
    if (release != WindowsRelease::Win95) return true;
    return static_cast<bool>(reg::Open(store, reg::kLocalMachine, catalogue::kWinsock2Key));
}

}  // namespace engine
