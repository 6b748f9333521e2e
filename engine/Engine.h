// The settings engine: capture and backup, apply, restore, and the modem port-speed boost.
#pragma once

#include "app/TextCatalog.h"
#include "engine/EngineHost.h"
#include "engine/PlatformFamily.h"
#include "engine/RegistryStore.h"
#include "engine/TuningValues.h"

namespace engine_text {
// Shown as it is: the language file is not consulted for it.
inline constexpr const char* kRestoreFailed = "Failed to reset your connection settings.";
}  // namespace engine_text

// Replaces the backup with the values in force, fills `inForce` and sets the
// flag of every value it could read. Reports nothing to the user.
void CaptureSettings(RegistryStore& store, PlatformFamily family, TuningValues& inForce,
                     FoundFlags& found);

// Boosts the modems when asked, writes `chosen` with the constant companion
// values, and tells the user the outcome ("41", or "44" with a stop icon when
// a stack, adapter or interface value could not be written).
void ApplySettings(RegistryStore& store, PlatformFamily family, const TuningValues& chosen,
                   bool boostModem, EngineHost& host);

// Puts the backup back (values absent from it are deleted) and deletes it,
// then shows "42". When the backup or the stack key cannot be opened, or any
// value cannot be put back, shows "Failed to reset your connection settings."
// and keeps the backup so that a later Reset can finish the job.
void RestoreSettings(RegistryStore& store, PlatformFamily family, EngineHost& host);

// True when an installed modem's port speed is capped at 115200.
bool ProbeModemPortSpeed(RegistryStore& store, PlatformFamily family);

// Raises the port-speed cap of every such modem to 921600. Not backed up.
void BoostModemPortSpeed(RegistryStore& store, PlatformFamily family);

// True when the backup key opens with full access.
bool BackupExists(RegistryStore& store);
