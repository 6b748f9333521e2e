// The backup of the settings in force: writing it whole, which copy counts, deleting it
// so that no interruption leaves a copy that lies, and the mark of a Reset left unfinished.
//
// Where it lives. "Original Settings" under the product key is the backup Reset puts
// back. Finish writes a new one under "New Backup" first and then copies it over
// "Original Settings". A backup holds the values of the fixed keys by name, and in its
// subkeys (its parts) the per-adapter or per-interface values and the lists of the
// adapters or interfaces it saw.
//
// Complete. A backup key is complete when it holds "Backup Complete", the very last
// thing written into it: every subkey and value went in before it. "Backup Parts",
// written just before, names its subkeys. A complete key that lacks one of its parts
// (for a backup of an earlier version, which names none, one that every backup of the
// family had) is damaged: something deleted it in part after it was written.
//
// Which copy counts. A complete "New Backup" counts, and is copied into place, unless
// a complete "Original Settings" is there as well and the new one is damaged or holds
// nothing the other does not (the copy had been made, and only its removal was
// interrupted); then "Original Settings" counts and "New Backup" is dropped. Without a
// complete "New Backup", "Original Settings" counts in whatever state it is, and a
// "New Backup" that is not complete never counts and is dropped.
//
// Deleting. "Backup Complete" goes first, and nothing else unless it went, so a delete
// of this program's never leaves a damaged key: only one that is not complete. Then go
// the parts that prove absence (the values of each adapter and interface), then the
// lists of adapters and interfaces, then the rest with the key's own values, which
// therefore stay whole until the very end.
//
// Interrupted states, and what they become:
// - "New Backup" not complete (being written, or being deleted): never counts; the next
//   Finish or Reset deletes it, and the earlier backup stays as it was.
// - "New Backup" complete, "Original Settings" half deleted or half written: the copy
//   was under way; the next Finish or Reset makes it again.
// - "Original Settings" not complete (a delete after Reset, or before a copy, was
//   interrupted; or a backup of an earlier version): Reset puts back what it holds, the
//   interfaces on its list if it has one, as Reset always did.
// - "Original Settings" damaged (left by an earlier version's delete): Reset puts back
//   what it holds and deletes only what it proves absent, says what it could not check,
//   and removes it.
// - After a Reset that could not put everything back, the copy that counts holds
//   "Reset Incomplete", so that Set warns before a Finish replaces the originals.
#pragma once

#include <string>
#include <vector>

#include "engine/PlatformFamily.h"
#include "engine/RegistryStore.h"

namespace backup {

// What Reset may rely on in "Original Settings".
struct Shape {
    reg::Status status = reg::kSuccess;  // not kSuccess: it could not be read whole
    bool exists = false;
    bool complete = false;             // holds "Backup Complete"
    std::vector<std::string> parts;    // the parts a complete backup of it must have
    std::vector<std::string> missing;  // those of them it lacks

    bool Damaged() const { return complete && !missing.empty(); }
    // True when the part belongs to the backup, so that its absence leaves something
    // unchecked.
    bool Expects(const std::string& part) const;
};

// Reads how "Original Settings" stands. Settle first, so that it is the copy that counts.
Shape Examine(RegistryStore& store, PlatformFamily family);

enum class Written {
    InPlace,  // the new backup is "Original Settings"
    Pending,  // it counts, but its copy into place failed; the next run makes it
    Failed,   // no new backup: the one there was, if any, counts as before
};
// Replaces the backup with `image`: written whole as "New Backup", then copied into place.
Written Replace(RegistryStore& store, PlatformFamily family, reg::KeyImage image);

// Finishes what an interrupted run left, by the rules above; kSuccess once only
// "Original Settings" (or nothing) is left.
reg::Status Settle(RegistryStore& store, PlatformFamily family);

// Deletes "Original Settings" in the order above.
reg::Status Delete(RegistryStore& store);
// Deletes both copies, "New Backup" first, so that nothing of the backup can count again.
reg::Status Discard(RegistryStore& store);

// True when a backup exists that Reset would put back.
bool Exists(RegistryStore& store);

// Marks the copy that counts as one whose Reset did not complete; and whether it is.
void MarkResetIncomplete(RegistryStore& store, PlatformFamily family);
bool ResetIncomplete(RegistryStore& store, PlatformFamily family);

}  // namespace backup
