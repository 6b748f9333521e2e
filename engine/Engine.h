// The settings engine: reading the values in force, Finish, Reset, and the modem
// port-speed boost. It says what came of each; the user interface says it in words.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/PlatformFamily.h"
#include "engine/RegistryStore.h"
#include "engine/TuningValues.h"

namespace engine {

// What Finish or Reset came to.
enum class Outcome : std::uint8_t {
    Applied,                // every value written; the backup holds what was in force before
    PartlyApplied,          // some of it could not be written, or the backup not put in place
    NeedsRights,            // nothing changed: this user may not change the settings
    NoBackupMade,           // nothing changed: no complete backup could be made
    Restored,               // the backup is back in force, and gone
    RestoredInPart,         // a damaged backup: all it held is back, the rest unchecked; gone
    RestoredElsewhereLeft,  // all is back that still has its place; some belonged to an
                            // adapter or a key this Windows no longer reads there; gone
    NotRestored,            // no backup, or not everything could be put back
    MadeOnOtherFamily,      // the backup is of the other family's settings: nothing
                            // touched, the backup kept until the user says
    DefaultsApplied,        // Windows' own defaults are in force; the backup holds what was
};

// The Windows a backup was made on: its family, and its release when it names it
// (backups of earlier versions do not; their family is told by what they hold).
struct Origin {
    PlatformFamily family = Win9x;
    std::optional<WindowsRelease> release;
};

struct Result {
    Outcome outcome;
    bool backupRemains;  // Reset is still to be offered
    Origin madeOn{};     // MadeOnOtherFamily: where the backup was made
};

// Reads the values in force into `inForce` and sets the flag of every value it
// could read. Writes nothing: the backup is made on Finish, so a wizard that is
// cancelled leaves the registry exactly as it was.
void CaptureSettings(RegistryStore& store, WindowsRelease release, TuningValues& inForce,
                     FoundFlags& found);

// True when this user may change the TCP/IP settings of the running family;
// otherwise nothing may be written.
bool MayChangeSettings(RegistryStore& store, PlatformFamily family);

// Finish. Checks the rights as MayChangeSettings does; replaces the backup with a
// complete one of what is in force now, or, when it cannot, changes nothing, the
// earlier backup included. Then boosts the modems when asked and writes `chosen`
// with the constant companion values into the keys the backup recorded, wherever the
// release reads them; some of them only for the connection type.
Result ApplySettings(RegistryStore& store, WindowsRelease release, const TuningValues& chosen,
                     ConnectionType type, bool boostModem);

// Reset. Puts back what the backup holds wherever the running release still reads it, and
// deletes the backup. A value is deleted only where the backup proves it was absent, only
// the adapter or interfaces the backup recorded are touched, and a key that did not exist
// when the backup was made is left alone unless Finish made it. A backup of the other
// family is not touched at all. When anything cannot be put back or the backup cannot be
// deleted, the backup stays, marked, so that a later Reset can finish.
Result RestoreSettings(RegistryStore& store, WindowsRelease release);

// Removes the backup without putting anything back: the user's choice for a backup of the
// other family. False when it could not be removed whole.
bool DiscardBackup(RegistryStore& store);

// Windows' defaults. As Finish: checks the rights, replaces the backup with a complete one of
// what is in force, or changes nothing; then removes every value Finish writes on the
// release, none of which a clean installation holds. The modems are left as they are.
Result ApplyDefaults(RegistryStore& store, WindowsRelease release);

// True when an installed modem's port speed is capped at 115200.
bool ProbeModemPortSpeed(RegistryStore& store, PlatformFamily family);

// Raises the port-speed cap of every such modem to 921600. Not backed up.
// False when a modem could not be examined or raised.
bool BoostModemPortSpeed(RegistryStore& store, PlatformFamily family);

// True when a backup exists that Reset would put back.
bool BackupExists(RegistryStore& store);

// True when the backup is one whose Reset could not put everything back: it holds
// originals that are not in force, which a new Finish would replace.
bool BackupAwaitsReset(RegistryStore& store, PlatformFamily family);

// True when the release's stack scales its receive window beyond 65535 bytes: not on
// Windows NT 4.0 (KB 199947), nor on Windows 95 without the Windows Sockets 2 update
// (KB 182108).
bool WindowScaling(RegistryStore& store, WindowsRelease release);

}  // namespace engine
