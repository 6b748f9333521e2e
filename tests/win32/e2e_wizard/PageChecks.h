// What each wizard page must show with the built-in English texts: the explanations
// with the values in force, the recommendations and the entries.
#pragma once

#include <string>

#include "WizardDriver.h"

namespace e2e::wizard {

// Status sentences as the pages append them to an explanation.
std::string WasSet(long long value, const std::string& unit);  // " was set to 1500 bytes."
std::string WasSet(long long value);                           // " was set to 10."
inline const std::string kNotSet = " isn't set.";
inline const std::string kEnabled = " is currently enabled.";
inline const std::string kDisabled = " is currently disabled.";

void ExpectConnectionPage(const Wizard& wizard, int checkedRadio);
void ExpectMtuPage(const Wizard& wizard, int mtu, int mss, const std::string& mtuStatus,
                   const std::string& mssStatus);
void ExpectOtherMtuPage(const Wizard& wizard, const std::string& discoveryStatus,
                        const std::string& blackHoleStatus);
void ExpectRwinPage(const Wizard& wizard, int mss, int multiplier, long long rwin,
                    const std::string& status);
void ExpectTtlPage(const Wizard& wizard, int ttl, int http10, int http11,
                   const std::string& ttlStatus, const std::string& http10Status,
                   const std::string& http11Status);
void ExpectKeepAlivePage(const Wizard& wizard, const std::string& timeStatus,
                         const std::string& intervalStatus);
void ExpectSynPage(const Wizard& wizard, const std::string& status);  // status after "This value"
void ExpectIcmpPage(const Wizard& wizard, const std::string& status);
void ExpectModemPage(const Wizard& wizard);

}  // namespace e2e::wizard
