// What capture, apply and restore share: the reading rule of the values in force, the
// record of a reading (the values in force and the backup that records them), where the
// link keys are, and opening and writing a key's values. Inside the engine only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "engine/RegistryStore.h"

namespace engine::detail {

inline bool Succeeded(reg::Status status) {
    return status == reg::kSuccess;
}

// The last four characters of a name: an instance number such as "0002".
std::string LastFour(const std::string& text);

// Whether a value passes the reading rule that decides what counts as set:
// text must fit 260 bytes, a number 4.
bool Fits(Encoding encoding, const reg::Value& value);

// Turns a value that fits into its field. A number is read straight into the
// field's bytes, so shorter data replaces only the low bytes.
void FillField(Encoding encoding, const reg::Value& value, std::int32_t& field);

// The key a path names below its parent: "...\AFD\Parameters" is "Parameters" of "...\AFD".
std::pair<std::string, std::string> SplitParent(const char* path);

// The values in force, and the backup that records them. A backup is complete
// when every key and value was either read or found absent: only then does the
// absence of a value in it prove that the value was not set.
struct Reading {
    Reading(TuningValues& values, FoundFlags& flags) : inForce(values), found(flags) {}

    TuningValues& inForce;
    FoundFlags& found;
    reg::KeyImage backup;
    bool complete = true;
    std::optional<std::string> adapter;  // Win9x: the dial-up adapter's NetTrans instance
    // The interfaces or bound adapters seen, per set of links.
    std::vector<std::pair<const LinkCatalogue*, std::vector<std::string>>> links;
    // The keys below a service that Finish may make: each is there, or the backup records
    // that it was not.
    std::vector<const KeyCatalogue*> reachable;

    // Absence is an answer; any other failure leaves a gap in the backup.
    void Note(reg::Status status) {
        if (!Succeeded(status) && !reg::IsAbsent(status)) complete = false;
    }
    reg::ScopedKey Open(RegistryStore& store, reg::Key parent, const char* path,
                        reg::Status* result = nullptr) {
        reg::Status status = reg::kSuccess;
        reg::ScopedKey key = reg::Open(store, parent, path, &status);
        Note(status);
        if (result != nullptr) *result = status;
        return key;
    }
    void NoteWalk(reg::Status walkStatus) {
        if (walkStatus != reg::kNoMoreItems) complete = false;
    }
};

// Reads the values in force of the release, and the backup that records them.
Reading ReadInForce(RegistryStore& store, WindowsRelease release, TuningValues& inForce,
                    FoundFlags& found);

// The key below which a set's link keys lie, and a link's key below it.
const char* LinkParent(const LinkCatalogue& set);
std::string LinkPath(const LinkCatalogue& set, const std::string& name);

// The links there are now: every interface, or every adapter TCP/IP is bound to. The
// status is kNoMoreItems when the list is whole.
std::vector<std::string> PresentLinks(RegistryStore& store, const LinkCatalogue& set,
                                      reg::Key parent, reg::Status& status);

// Opens a key to write into, or (`access` Read) the parent of such keys. A key
// that is not there is nothing to write to; one that is there but will not
// open is a failure.
reg::ScopedKey OpenTarget(RegistryStore& store, reg::Key parent, const char* path, bool& failed,
                          reg::Access access = reg::Access::ReadWrite);

// Writes a number in the key's encoding; a failed write sets `failed`.
void WriteTuning(RegistryStore& store, reg::Key key, const char* name, Encoding encoding,
                 std::int32_t number, bool& failed);

}  // namespace engine::detail
