// Capture, apply and restore, driven by the catalogue's tables.
#include "engine/Engine.h"

#include <optional>
#include <string>

#include "engine/Catalogue.h"

namespace {

using reg::ScopedKey;
using namespace catalogue;

// The text a value holds: its bytes up to the first NUL, or all of them.
std::string TextOf(const reg::Value& value) {
    std::string text(value.data.begin(), value.data.end());
    const std::size_t end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    return text;
}

std::string LastFour(const std::string& text) {
    return text.size() <= 4 ? text : text.substr(text.size() - 4);
}

// Whether a value passes the reading rule that decides what counts as set:
// text must fit 260 bytes, a number 4.
bool Fits(Encoding encoding, const reg::Value& value) {
    return value.data.size() <= (encoding == Encoding::Text ? kTextBufferSize : kNumberSize);
}

// Turns a value that fits into its field. A number is read straight into the
// field's bytes, so shorter data replaces only the low bytes.
void FillField(Encoding encoding, const reg::Value& value, std::int32_t& field) {
    if (encoding == Encoding::Text) {
        field = DecodeText(value.data.data(), value.data.size());
        return;
    }
    auto bits = static_cast<std::uint32_t>(field);
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        const unsigned shift = static_cast<unsigned>(8 * i);
        bits = (bits & ~(0xFFu << shift)) | (std::uint32_t{value.data[i]} << shift);
    }
    field = static_cast<std::int32_t>(bits);
}

// A readable text value such as "DeviceDesc" or "Driver".
std::optional<std::string> ReadText(RegistryStore& store, reg::Key key, const char* name) {
    reg::Value value;
    if (reg::ReadValue(store, key, name, value) != reg::kSuccess) return std::nullopt;
    if (!Fits(Encoding::Text, value)) return std::nullopt;
    return TextOf(value);
}

// ---- Capture ----

// Backs up one value with its own type and exact data, whatever its size, and
// fills its field of the values in force when it passes the reading rule.
// Returns the read's result.
reg::Status CaptureValue(RegistryStore& store, reg::Key source, const char* name, reg::Key backup,
                         const char* backupName, Encoding encoding, std::int32_t* field,
                         bool* found) {
    reg::Value value;
    const reg::Status status = reg::ReadValue(store, source, name, value);
    if (status != reg::kSuccess) return status;
    // A failed backup write is not reported; the flag follows the read alone.
    reg::WriteValue(store, backup, backupName, value);
    if (field != nullptr && Fits(encoding, value)) {
        FillField(encoding, value, *field);
        *found = true;
    }
    return status;
}

// Opens a key of fixed values; false when it does not open.
bool CaptureKey(RegistryStore& store, const KeyCatalogue& key, reg::Key backup,
                TuningValues& inForce, FoundFlags& found) {
    ScopedKey source = reg::Open(store, key.root, key.path);
    if (!source) return false;
    for (const CatalogueValue* value : InOrder(key, Step::Capture)) {
        CaptureValue(store, source.get(), value->name, backup, value->name, key.encoding,
                     value->inForce != nullptr ? &(inForce.*value->inForce) : nullptr,
                     value->found != nullptr ? &(found.*value->found) : nullptr);
    }
    return true;
}

// The NetTrans instance of the first dial-up adapter's first TCP/IP binding.
std::optional<std::string> FindDialUpNetTrans(RegistryStore& store) {
    ScopedKey adapter;
    {
        ScopedKey net = reg::Open(store, reg::kLocalMachine, kEnumRootNetKey);
        if (!net) return std::nullopt;
        reg::SubKeyWalker entries(store, net.get());
        std::string name;
        while (!adapter && entries.Next(name)) {
            ScopedKey entry = reg::Open(store, net.get(), name.c_str());
            if (entry && ReadText(store, entry.get(), "DeviceDesc") == kDialUpAdapter) {
                adapter = std::move(entry);
            }
        }
        if (!adapter) return std::nullopt;
    }

    std::optional<std::string> binding;
    {
        ScopedKey bindings = reg::Open(store, adapter.get(), "Bindings");
        adapter.Close();
        if (!bindings) return std::nullopt;
        reg::ValueWalker names(store, bindings.get());
        std::string name;
        while (!binding && names.Next(name)) {
            if (name.find("MSTCP\\") != std::string::npos) binding = LastFour(name);
        }
        if (!binding) return std::nullopt;
    }

    ScopedKey mstcp =
        reg::Open(store, reg::kLocalMachine, (kEnumMstcpKeyPrefix + *binding).c_str());
    const std::optional<std::string> driver = ReadText(store, mstcp.get(), "Driver");
    if (!driver || driver->find("NetTrans\\") == std::string::npos) return std::nullopt;
    return LastFour(*driver);
}

// Win9x: backs up the dial-up adapter's MTU and MSS under its NetTrans instance.
void CaptureAdapterMtu(RegistryStore& store, TuningValues& inForce, FoundFlags& found) {
    const std::optional<std::string> instance = FindDialUpNetTrans(store);
    if (!instance) return;
    ScopedKey adapter =
        reg::Open(store, reg::kLocalMachine, (kNetTransKeyPrefix + *instance).c_str());
    if (!adapter) return;
    ScopedKey backupKeys[2];
    {
        ScopedKey backup = reg::Open(store, reg::kCurrentUser, kBackupKey);
        for (std::size_t i = 0; i < 2; ++i) {
            backupKeys[i] = reg::Create(store, backup.get(), Links(Win9x)[i].backupName);
        }
    }
    for (std::size_t i = 0; i < 2; ++i) {
        const LinkValue& link = Links(Win9x)[i];
        const reg::Status status =
            CaptureValue(store, adapter.get(), link.name, backupKeys[i].get(), instance->c_str(),
                         Encoding::Text, &(inForce.*link.field), &(found.*link.found));
        // The MTU entry records which adapter was found, so a missing "MaxMTU"
        // is stood in for by "0". A value that exists but could not be read gets
        // no entry at all: restoring "0" would delete it.
        if (&link == &Links(Win9x)[0] && reg::IsAbsent(status)) {
            reg::WriteValue(store, backupKeys[i].get(), instance->c_str(),
                            reg::Value{reg::kSz, EncodeText(0)});
        }
    }
}

// WinNT: backs up every interface's MTU and MSS under the interface's name.
reg::Status CaptureInterfaceMtu(RegistryStore& store, TuningValues& inForce, FoundFlags& found) {
    reg::Status status = reg::kSuccess;
    ScopedKey backupKeys[2];
    {
        ScopedKey backup = reg::Open(store, reg::kCurrentUser, kBackupKey, &status);
        if (!backup) return status;
        for (std::size_t i = 0; i < 2; ++i) {
            backupKeys[i] = reg::Create(store, backup.get(), Links(WinNT)[i].backupName);
        }
    }
    ScopedKey interfaces = reg::Open(store, reg::kLocalMachine, kInterfacesKey, &status);
    if (!interfaces) return status;
    reg::SubKeyWalker walker(store, interfaces.get());
    std::string name;
    while (walker.Next(name)) {
        ScopedKey interfaceKey = reg::Open(store, interfaces.get(), name.c_str());
        if (!interfaceKey) continue;
        for (std::size_t i = 0; i < 2; ++i) {
            const LinkValue& link = Links(WinNT)[i];
            CaptureValue(store, interfaceKey.get(), link.name, backupKeys[i].get(), name.c_str(),
                         Encoding::Number, &(inForce.*link.field), &(found.*link.found));
        }
    }
    return reg::kSuccess;
}

// ---- Apply ----

void WriteTuning(RegistryStore& store, reg::Key key, const char* name, Encoding encoding,
                 std::int32_t number, bool& failed) {
    if (reg::WriteValue(store, key, name, EncodeValue(encoding, number)) != reg::kSuccess) {
        failed = true;
    }
}

// Writes the values of one key, in apply order; a failed write sets `failed`.
void ApplyKey(RegistryStore& store, reg::Key key, const KeyCatalogue& catalogue,
              const TuningValues& chosen, bool& failed) {
    for (const CatalogueValue* value : InOrder(catalogue, Step::Apply)) {
        const std::int32_t number =
            value->applied != nullptr ? chosen.*value->applied : value->constant;
        WriteTuning(store, key, value->name, catalogue.encoding, number, failed);
    }
}

// Win9x: writes MTU and MSS into the adapter that the capture recorded. No
// recorded adapter is a silent skip; one that cannot be reached is a failure.
void ApplyAdapterMtu(RegistryStore& store, const TuningValues& chosen, bool& failed) {
    reg::Status status = reg::kSuccess;
    ScopedKey mtuBackup = reg::Open(store, reg::kCurrentUser, kMtuBackupKey, &status);
    if (!mtuBackup) {
        if (!reg::IsAbsent(status)) failed = true;
        return;
    }
    reg::ValueWalker walker(store, mtuBackup.get());
    std::string instance;
    if (!walker.Next(instance)) {
        if (walker.status() != reg::kNoMoreItems) failed = true;
        return;
    }
    ScopedKey adapter =
        reg::Open(store, reg::kLocalMachine, (kNetTransKeyPrefix + instance).c_str(), &status);
    if (!adapter) {
        if (!reg::IsAbsent(status)) failed = true;
        return;
    }
    for (const LinkValue& link : Links(Win9x)) {
        WriteTuning(store, adapter.get(), link.name, Encoding::Text, chosen.*link.field, failed);
    }
}

// WinNT: visits every interface key that opens. A key that exists but
// cannot be reached counts as a failure; a missing one does not.
template <typename Visit>
void ForEachInterface(RegistryStore& store, bool& failed, Visit visit) {
    reg::Status status = reg::kSuccess;
    ScopedKey interfaces = reg::Open(store, reg::kLocalMachine, kInterfacesKey, &status);
    if (!interfaces) {
        if (!reg::IsAbsent(status)) failed = true;
        return;
    }
    reg::SubKeyWalker walker(store, interfaces.get());
    std::string name;
    while (walker.Next(name)) {
        ScopedKey interfaceKey = reg::Open(store, interfaces.get(), name.c_str(), &status);
        if (!interfaceKey) {
            if (!reg::IsAbsent(status)) failed = true;
            continue;
        }
        visit(name, interfaceKey.get());
    }
    if (walker.status() != reg::kNoMoreItems) failed = true;
}

// WinNT: writes MTU and MSS into every interface.
void ApplyInterfaceMtu(RegistryStore& store, const TuningValues& chosen, bool& failed) {
    ForEachInterface(store, failed, [&](const std::string&, reg::Key interfaceKey) {
        for (const LinkValue& link : Links(WinNT)) {
            WriteTuning(store, interfaceKey, link.name, Encoding::Number, chosen.*link.field,
                        failed);
        }
    });
}

// ---- Restore ----

// A backup key opened for restoring; a missing one makes every value absent.
struct BackupSource {
    ScopedKey key;
    reg::Status status = reg::kSuccess;
};

BackupSource OpenBackup(RegistryStore& store, const char* path) {
    BackupSource source;
    source.key = reg::Open(store, reg::kCurrentUser, path, &source.status);
    return source;
}

void DeleteSystemValue(RegistryStore& store, reg::Key key, const char* name, bool& failed) {
    const reg::Status status = store.DeleteValue(key, name);
    if (status != reg::kSuccess && !reg::IsAbsent(status)) failed = true;
}

// Puts one value back with the type and data the backup holds, or deletes it
// when the backup has none. A backup that cannot be read changes nothing.
void RestoreValue(RegistryStore& store, const BackupSource& from, const char* fromName, reg::Key to,
                  const char* name, bool& failed) {
    if (!from.key && !reg::IsAbsent(from.status)) {
        failed = true;
        return;
    }
    reg::Value value;
    const reg::Status status = reg::ReadValue(store, from.key.get(), fromName, value);
    if (status == reg::kSuccess) {
        if (reg::WriteValue(store, to, name, value) != reg::kSuccess) failed = true;
    } else if (reg::IsAbsent(status)) {
        DeleteSystemValue(store, to, name, failed);
    } else {
        failed = true;
    }
}

void RestoreKey(RegistryStore& store, const BackupSource& backup, reg::Key key,
                const KeyCatalogue& catalogue, bool& failed) {
    for (const CatalogueValue* value : InOrder(catalogue, Step::Restore)) {
        RestoreValue(store, backup, value->name, key, value->name, failed);
    }
}

bool IsMissingMtuPlaceholder(const reg::Value& value) {
    return value.type == reg::kSz && TextOf(value) == "0";
}

// Win9x: restores MTU and MSS of the adapter that the backup names.
void RestoreAdapterMtu(RegistryStore& store, bool& failed) {
    BackupSource mtu = OpenBackup(store, kMtuBackupKey);
    if (!mtu.key) {
        if (!reg::IsAbsent(mtu.status)) failed = true;
        return;
    }
    const BackupSource mss = OpenBackup(store, kMssBackupKey);
    reg::ValueWalker walker(store, mtu.key.get());
    std::string instance;
    reg::Value mtuValue;
    if (!walker.Next(instance, &mtuValue)) {
        if (walker.status() != reg::kNoMoreItems) failed = true;
        return;
    }
    reg::Status status = reg::kSuccess;
    ScopedKey adapter =
        reg::Open(store, reg::kLocalMachine, (kNetTransKeyPrefix + instance).c_str(), &status);
    if (!adapter) {
        if (!reg::IsAbsent(status)) failed = true;
        return;
    }
    const LinkValue& mtuLink = Links(Win9x)[0];
    const LinkValue& mssLink = Links(Win9x)[1];
    if (IsMissingMtuPlaceholder(mtuValue)) {
        DeleteSystemValue(store, adapter.get(), mtuLink.name, failed);
    } else if (reg::WriteValue(store, adapter.get(), mtuLink.name, mtuValue) != reg::kSuccess) {
        failed = true;
    }
    RestoreValue(store, mss, instance.c_str(), adapter.get(), mssLink.name, failed);
}

// WinNT: restores MTU and MSS of every interface that exists now.
void RestoreInterfaceMtu(RegistryStore& store, bool& failed) {
    const BackupSource sources[2] = {OpenBackup(store, Links(WinNT)[0].backupPath),
                                     OpenBackup(store, Links(WinNT)[1].backupPath)};
    ForEachInterface(store, failed, [&](const std::string& name, reg::Key interfaceKey) {
        for (std::size_t i = 0; i < 2; ++i) {
            RestoreValue(store, sources[i], name.c_str(), interfaceKey, Links(WinNT)[i].name,
                         failed);
        }
    });
}

}  // namespace

void CaptureSettings(RegistryStore& store, PlatformFamily family, TuningValues& inForce,
                     FoundFlags& found) {
    store.DeleteTree(reg::kCurrentUser, kBackupKey);
    ScopedKey backup = reg::Create(store, reg::kCurrentUser, kBackupKey);
    CaptureKey(store, Browser(), backup.get(), inForce, found);
    if (family == Win9x) {
        CaptureAdapterMtu(store, inForce, found);
    } else {
        CaptureInterfaceMtu(store, inForce, found);
    }
    CaptureKey(store, Stack(family), backup.get(), inForce, found);
}

void ApplySettings(RegistryStore& store, PlatformFamily family, const TuningValues& chosen,
                   bool boostModem, EngineHost& host) {
    if (boostModem) BoostModemPortSpeed(store, family);
    bool failed = false;
    {
        // The browser key is never created, and its writes are not the stack's:
        // a system without it, or a write into it that fails, is passed over.
        ScopedKey browser = reg::Open(store, Browser().root, Browser().path);
        bool browserFailed = false;
        if (browser) ApplyKey(store, browser.get(), Browser(), chosen, browserFailed);
    }
    {
        const KeyCatalogue& stack = Stack(family);
        ScopedKey stackKey = reg::Create(store, stack.root, stack.path);
        if (stackKey) {
            ApplyKey(store, stackKey.get(), stack, chosen, failed);
        } else {
            failed = true;
        }
    }
    if (family == Win9x) {
        ApplyAdapterMtu(store, chosen, failed);
    } else {
        ApplyInterfaceMtu(store, chosen, failed);
    }
    const TextEntry& message = failed ? text::k44 : text::k41;
    host.ShowMessage(host.Text(message.key, message.english),
                     failed ? MessageKind::Error : MessageKind::Plain);
}

void RestoreSettings(RegistryStore& store, PlatformFamily family, EngineHost& host) {
    const BackupSource backup = OpenBackup(store, kBackupKey);
    if (!backup.key) {
        host.ShowMessage(engine_text::kRestoreFailed, MessageKind::Error);
        return;
    }
    bool failed = false;
    {
        // A system without the browser key has nothing to restore there; a key
        // that exists but does not open is a failure like any other.
        reg::Status status = reg::kSuccess;
        ScopedKey browser = reg::Open(store, Browser().root, Browser().path, &status);
        if (browser) {
            RestoreKey(store, backup, browser.get(), Browser(), failed);
        } else if (!reg::IsAbsent(status)) {
            failed = true;
        }
    }
    if (family == Win9x) {
        RestoreAdapterMtu(store, failed);
    } else {
        RestoreInterfaceMtu(store, failed);
    }
    const KeyCatalogue& stack = Stack(family);
    ScopedKey stackKey = reg::Open(store, stack.root, stack.path);
    if (stackKey) RestoreKey(store, backup, stackKey.get(), stack, failed);
    // Anything left undone keeps the backup, so that the next Reset can finish the job.
    if (!stackKey || failed) {
        host.ShowMessage(engine_text::kRestoreFailed, MessageKind::Error);
        return;
    }
    store.DeleteTree(reg::kCurrentUser, kBackupKey);
    host.ShowMessage(host.Text(text::k42.key, text::k42.english), MessageKind::Plain);
}

bool BackupExists(RegistryStore& store) {
    return static_cast<bool>(reg::Open(store, reg::kCurrentUser, kBackupKey));
}
