// The backup's transaction over the registry: write, commit, copy into place, settle, delete.
#include "engine/Backup.h"

#include <algorithm>
#include <optional>

#include "engine/Catalogue.h"

namespace {

using namespace catalogue;
using reg::ScopedKey;

bool Succeeded(reg::Status status) {
    return status == reg::kSuccess;
}

// Values that say how a backup stands rather than what was in force.
bool IsStateValue(const std::string& name) {
    return reg::SameName(name, kBackupCompleteValue) || reg::SameName(name, kBackupPartsValue) ||
           reg::SameName(name, kResetIncompleteValue);
}

std::vector<std::string> SplitParts(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\\', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string JoinParts(const reg::KeyImage& image) {
    std::string text;
    for (const reg::KeyImage& part : image.subKeys) {
        if (!text.empty()) text += '\\';
        text += part.name;
    }
    return text;
}

// The parts every backup of the family had before backups named their parts: the
// three of Windows NT always; on Windows 95/98/Me both adapter keys or neither.
std::vector<std::string> PartsOfEarlierBackups(PlatformFamily family, bool hasMtu, bool hasMss) {
    if (family == WinNT) return {kMtuBackupName, kMssBackupName, kInterfacesBackupName};
    if (hasMtu || hasMss) return {kMtuBackupName, kMssBackupName};
    return {};
}

// Reads how a backup key stands. Any read that fails for another reason than
// absence leaves `status` set: such a key is neither taken as complete nor as not.
backup::Shape ExamineKey(RegistryStore& store, PlatformFamily family, const char* path) {
    backup::Shape shape;
    const auto note = [&shape](reg::Status status) {
        if (!reg::IsAbsentOrDone(status) && Succeeded(shape.status)) shape.status = status;
        return Succeeded(status);
    };
    reg::Status status = reg::kSuccess;
    ScopedKey key = reg::Open(store, reg::kCurrentUser, path, &status);
    shape.exists = key || !reg::IsAbsent(status);
    if (!note(status)) return shape;
    const auto has = [&](const char* name) {
        reg::Status opened = reg::kSuccess;
        const bool found = static_cast<bool>(reg::Open(store, key.get(), name, &opened));
        note(opened);
        return found;
    };
    reg::Value value;
    reg::ValueReader values(store, key.get());
    shape.complete = note(values.Read(kBackupCompleteValue, value));
    if (!shape.complete) return shape;
    if (note(values.Read(kBackupPartsValue, value))) {
        shape.parts = SplitParts(reg::TextOf(value));
    } else {
        shape.parts = PartsOfEarlierBackups(family, has(kMtuBackupName), has(kMssBackupName));
    }
    for (const std::string& part : shape.parts) {
        if (!has(part.c_str())) shape.missing.push_back(part);
    }
    return shape;
}

// The image without the values that say how it stands.
reg::KeyImage Contents(reg::KeyImage image) {
    std::erase_if(image.values, [](const auto& entry) { return IsStateValue(entry.first); });
    return image;
}

const reg::KeyImage* FindPart(const reg::KeyImage& image, const std::string& name) {
    for (const reg::KeyImage& part : image.subKeys) {
        if (reg::SameName(part.name, name)) return &part;
    }
    return nullptr;
}

bool SameValues(const reg::KeyImage& a, const reg::KeyImage& b) {
    if (a.values.size() != b.values.size()) return false;
    for (const auto& entry : a.values) {
        const auto match = std::find_if(b.values.begin(), b.values.end(), [&](const auto& other) {
            return reg::SameName(other.first, entry.first);
        });
        if (match == b.values.end() || !(match->second == entry.second)) return false;
    }
    return true;
}

bool SameTree(const reg::KeyImage& a, const reg::KeyImage& b) {
    if (!SameValues(a, b) || a.subKeys.size() != b.subKeys.size()) return false;
    for (const reg::KeyImage& part : a.subKeys) {
        const reg::KeyImage* other = FindPart(b, part.name);
        if (other == nullptr || !SameTree(part, *other)) return false;
    }
    return true;
}

// True when `copy` holds the very values of `whole` and nothing but parts of it: what an
// earlier version's interrupted removal of "New Backup" leaves after the copy was made.
bool IsCopyInPart(const reg::KeyImage& copy, const reg::KeyImage& whole) {
    const reg::KeyImage a = Contents(copy);
    const reg::KeyImage b = Contents(whole);
    if (!SameValues(a, b)) return false;
    for (const reg::KeyImage& part : a.subKeys) {
        const reg::KeyImage* other = FindPart(b, part.name);
        if (other == nullptr || !SameTree(part, *other)) return false;
    }
    return true;
}

std::optional<reg::KeyImage> ReadBackup(RegistryStore& store, const char* path) {
    ScopedKey key = reg::Open(store, reg::kCurrentUser, path);
    reg::KeyImage image;
    if (!key || !Succeeded(reg::ReadTree(store, key.get(), image))) return std::nullopt;
    return image;
}

enum class Counts { None, Original, Pending };

// Which copy counts, and whether "New Backup" is there to be dropped or copied into place.
// Not kSuccess: a key could not be read, and nothing may be decided on it.
struct Decision {
    reg::Status status = reg::kSuccess;
    Counts counts = Counts::None;
    bool pendingExists = false;
};

Decision Decide(RegistryStore& store, PlatformFamily family) {
    Decision decision;
    const backup::Shape pending = ExamineKey(store, family, kPendingBackupKey);
    const backup::Shape original = ExamineKey(store, family, kBackupKey);
    decision.status = Succeeded(pending.status) ? original.status : pending.status;
    decision.pendingExists = pending.exists;
    decision.counts = original.exists ? Counts::Original : Counts::None;
    if (!Succeeded(decision.status) || !pending.complete) return decision;
    if (original.complete) {
        if (pending.Damaged()) return decision;
        const std::optional<reg::KeyImage> copy = ReadBackup(store, kPendingBackupKey);
        const std::optional<reg::KeyImage> whole = ReadBackup(store, kBackupKey);
        if (!copy || !whole) {
            decision.status = reg::kAccessDenied;
            return decision;
        }
        if (IsCopyInPart(*copy, *whole)) return decision;
    }
    decision.counts = Counts::Pending;
    return decision;
}

const char* PathOf(Counts counts) {
    return counts == Counts::Pending ? kPendingBackupKey : kBackupKey;
}

// Deletes a backup key in the order that keeps every interrupted state truthful.
reg::Status DeleteBackupKey(RegistryStore& store, const char* path) {
    {
        reg::Status status = reg::kSuccess;
        ScopedKey key = reg::OpenForWrite(store, reg::kCurrentUser, path, &status);
        if (!key) return reg::IsAbsent(status) ? reg::kSuccess : status;
        status = reg::DeleteValueProven(store, key.get(), kBackupCompleteValue);
        if (!reg::IsAbsentOrDone(status)) return status;
        std::vector<std::string> parts;
        reg::SubKeyWalker walker(store, key.get());
        std::string name;
        while (walker.Next(name)) parts.push_back(name);
        if (walker.status() != reg::kNoMoreItems) return walker.status();
        // The proofs of absence first, the lists they go with after them.
        std::stable_partition(parts.begin(), parts.end(),
                              [](const std::string& part) { return !IsLinkList(part); });
        for (const std::string& part : parts) {
            status = reg::DeleteTree(store, key.get(), part.c_str());
            if (!reg::IsAbsentOrDone(status)) return status;
        }
    }
    const reg::Status status = reg::DeleteTree(store, reg::kCurrentUser, path);
    return reg::IsAbsentOrDone(status) ? reg::kSuccess : status;
}

// A new backup as it must be written: "Backup Parts" and then "Backup Complete" last,
// "Backup Parts" naming the parts it has.
reg::KeyImage Committed(reg::KeyImage image) {
    std::erase_if(image.values, [](const auto& entry) {
        return reg::SameName(entry.first, kBackupCompleteValue) ||
               reg::SameName(entry.first, kBackupPartsValue);
    });
    image.values.emplace_back(kBackupPartsValue,
                              reg::Value{reg::kSz, EncodeString(JoinParts(image))});
    image.values.emplace_back(kBackupCompleteValue, reg::Value{reg::kDword, EncodeNumber(1)});
    return image;
}

// A complete backup read back, to be written again: its own "Backup Parts" (never rebuilt
// from the parts present, which would hide one that went missing) and then "Backup
// Complete" last, whatever order the values were read in (Wine lists a key's values by
// name).
reg::KeyImage Recommitted(reg::KeyImage image) {
    std::vector<std::pair<std::string, reg::Value>> last;
    for (const char* name : {kBackupPartsValue, kBackupCompleteValue}) {
        const auto found =
            std::find_if(image.values.begin(), image.values.end(),
                         [&](const auto& entry) { return reg::SameName(entry.first, name); });
        if (found == image.values.end()) continue;
        last.push_back(std::move(*found));
        image.values.erase(found);
    }
    for (auto& entry : last) image.values.push_back(std::move(entry));
    return image;
}

// Copies a complete new backup into the place of "Original Settings" and drops it. Until
// its own marker is deleted at the end, it is the copy that counts, so an interruption
// anywhere only means doing this again.
reg::Status Promote(RegistryStore& store, const reg::KeyImage& image) {
    reg::Status status = DeleteBackupKey(store, kBackupKey);
    if (!Succeeded(status)) return status;
    status = reg::WriteTree(store, reg::kCurrentUser, kBackupKey, image);
    if (!Succeeded(status)) return status;
    return DeleteBackupKey(store, kPendingBackupKey);
}

}  // namespace

namespace backup {

bool Shape::Expects(const std::string& part) const {
    if (!complete) return false;
    return std::any_of(parts.begin(), parts.end(),
                       [&](const std::string& name) { return reg::SameName(name, part); });
}

Shape Examine(RegistryStore& store, PlatformFamily family) {
    return ExamineKey(store, family, kBackupKey);
}

reg::Status Settle(RegistryStore& store, PlatformFamily family) {
    const Decision decision = Decide(store, family);
    if (!Succeeded(decision.status)) return decision.status;
    if (!decision.pendingExists) return reg::kSuccess;
    if (decision.counts != Counts::Pending) return DeleteBackupKey(store, kPendingBackupKey);
    const std::optional<reg::KeyImage> image = ReadBackup(store, kPendingBackupKey);
    if (!image) return reg::kAccessDenied;
    return Promote(store, Recommitted(*image));
}

Written Replace(RegistryStore& store, PlatformFamily family, reg::KeyImage image) {
    if (!Succeeded(Settle(store, family))) return Written::Failed;
    image = Committed(std::move(image));
    if (!Succeeded(reg::WriteTree(store, reg::kCurrentUser, kPendingBackupKey, image))) {
        DeleteBackupKey(store, kPendingBackupKey);  // never counts anyway
        return Written::Failed;
    }
    return Succeeded(Promote(store, image)) ? Written::InPlace : Written::Pending;
}

reg::Status Delete(RegistryStore& store) {
    return DeleteBackupKey(store, kBackupKey);
}

reg::Status Discard(RegistryStore& store) {
    const reg::Status status = DeleteBackupKey(store, kPendingBackupKey);
    return Succeeded(status) ? DeleteBackupKey(store, kBackupKey) : status;
}

bool Exists(RegistryStore& store) {
    // Whichever of the two counts, there is one exactly when either of these holds.
    if (reg::Open(store, reg::kCurrentUser, kBackupKey)) return true;
    ScopedKey pending = reg::Open(store, reg::kCurrentUser, kPendingBackupKey);
    reg::Value marker;
    return pending && Succeeded(reg::ReadValue(store, pending.get(), kBackupCompleteValue, marker));
}

void MarkResetIncomplete(RegistryStore& store, PlatformFamily family) {
    // Undecided, the mark goes where Reset found the backup.
    Decision decision = Decide(store, family);
    if (!Succeeded(decision.status)) decision.counts = Counts::Original;
    if (decision.counts == Counts::None) return;
    ScopedKey key = reg::OpenForWrite(store, reg::kCurrentUser, PathOf(decision.counts));
    if (key) {
        reg::WriteValue(store, key.get(), kResetIncompleteValue,
                        reg::Value{reg::kDword, EncodeNumber(1)});
    }
}

bool ResetIncomplete(RegistryStore& store, PlatformFamily family) {
    Decision decision = Decide(store, family);
    if (!Succeeded(decision.status)) decision.counts = Counts::Original;
    if (decision.counts == Counts::None) return false;
    ScopedKey key = reg::Open(store, reg::kCurrentUser, PathOf(decision.counts));
    reg::Value value;
    return key && Succeeded(reg::ReadValue(store, key.get(), kResetIncompleteValue, value));
}

}  // namespace backup
