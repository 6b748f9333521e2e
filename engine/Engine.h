// The settings engine: reading the values in force, backup, apply, restore, and the modem
// port-speed boost.
#pragma once

#include "engine/EngineHost.h"
#include "engine/PlatformFamily.h"
#include "engine/RegistryStore.h"
#include "engine/TuningValues.h"
#include "res/TextCatalog.h"

namespace engine {

// Reads the values in force into `inForce` and sets the flag of every value it
// could read. Writes nothing and reports nothing: the backup is made on Finish,
// so a wizard that is cancelled leaves the registry exactly as it was.
void CaptureSettings(RegistryStore& store, PlatformFamily family, TuningValues& inForce,
                     FoundFlags& found);

// True when this user may change the TCP/IP settings of the running family.
// Otherwise tells him so ("45", stop icon) and returns false; nothing is written.
bool MayChangeSettings(RegistryStore& store, PlatformFamily family, EngineHost& host);

// Finish. Checks the rights as MayChangeSettings does; replaces the backup with
// a complete one of what is in force now, and when it cannot, says so ("46")
// and changes nothing, the earlier backup included. Then boosts the modems when
// asked, writes `chosen` with the constant companion values into the keys the
// backup recorded, and tells the user the outcome: "41", or "44" with a stop
// icon when any of it could not be written.
void ApplySettings(RegistryStore& store, PlatformFamily family, const TuningValues& chosen,
                   bool boostModem, EngineHost& host);

// Reset. Puts the backup back and deletes it, then shows "42". A value is
// deleted only where the backup proves it was absent, and only the adapter or
// interfaces the backup recorded are touched. Without rights it shows "45";
// without a backup, or when anything cannot be put back or the backup cannot
// be deleted, "47", and the backup stays so that a later Reset can finish.
void RestoreSettings(RegistryStore& store, PlatformFamily family, EngineHost& host);

// True when an installed modem's port speed is capped at 115200.
bool ProbeModemPortSpeed(RegistryStore& store, PlatformFamily family);

// Raises the port-speed cap of every such modem to 921600. Not backed up.
// False when a modem could not be examined or raised.
bool BoostModemPortSpeed(RegistryStore& store, PlatformFamily family);

// True when a backup exists that Reset would put back.
bool BackupExists(RegistryStore& store);

}  // namespace engine
