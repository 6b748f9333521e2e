// The wizard's decisions that need no window: recommendations, the receive-window
// arithmetic, entry fix-ups, status and recommendation texts, navigation and buttons.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/PlatformFamily.h"
#include "engine/TuningValues.h"
#include "res/TextCatalog.h"
#include "res/resource.h"
#include "wizard/PageTables.h"
#include "wizard/WizardState.h"

namespace wizard {

// The flag set of the sheet's SetWizardButtons (the platform's PSWIZB_* values).
enum WizardButtons : std::uint32_t {
    kButtonBack = 1,
    kButtonNext = 2,
    kButtonFinish = 4,
};

// ---- Recommendations -------------------------------------------------------

struct MtuRecommendation {
    std::int32_t mtu;
    std::int32_t mss;  // always mtu - 40
};
MtuRecommendation RecommendMtu(ConnectionType type);

// 30 for dial-up, 44 for every faster line.
std::int32_t RecommendedMultiplier(ConnectionType type);
// With window scaling the connection's own; without, the largest m whose window
// mss x m x 4 stays within 65535 (at least 1): 11 for DSL's MSS of 1452.
std::int32_t RecommendedMultiplier(ConnectionType type, std::int32_t mss, bool windowScaling);

// Puts the values every run of the family starts with (the pages' default rows) into the
// run's chosen and recommended values, where the pages that show them take them as their
// first entries.
void TakeFamilyDefaults(WizardState& state);

// ---- Receive window --------------------------------------------------------

inline constexpr std::int64_t kMaxReceiveWindow = 1073741823;  // 2^30 - 1
// Without window scaling (Windows NT 4.0, Windows 95 without the Windows Sockets 2
// update) a window ends at 65535.
inline constexpr std::int64_t kMaxUnscaledReceiveWindow = 65535;
inline constexpr std::int32_t kScalingFactor = 4;

constexpr std::int64_t MaxReceiveWindow(bool windowScaling) {
    return windowScaling ? kMaxReceiveWindow : kMaxUnscaledReceiveWindow;
}

// mss x multiplier x 4, exact. Only when the product leaves the 64-bit range
// (both factors near 2^31) is it saturated, which keeps it outside the window range.
std::int64_t ReceiveWindow(std::int32_t mss, std::int32_t multiplier);

// The allowed range runs from the MSS up to the largest window, both ends included.
bool ReceiveWindowAllowed(std::int64_t window, std::int32_t mss, bool windowScaling = true);

// The window a page recommends: mss x multiplier x 4, held to at most the largest window
// so that an absurdly large MSS cannot wrap the 32-bit record into a negative window.
std::int32_t RecommendedReceiveWindow(std::int32_t mss, std::int32_t multiplier,
                                      bool windowScaling = true);

// The message that names the allowed range.
TextEntry ReceiveWindowRangeText(bool windowScaling);

// What a text change of the Multiplier edit shows: the new window, or nothing when
// the multiplier reads as 0 (the RWIN edit then keeps its last content).
std::optional<std::int64_t> LiveReceiveWindow(std::int32_t mss, std::int32_t multiplier);

// ---- Entry fields ----------------------------------------------------------

// The ranges the stack accepts, checked when a page is left: a TTL of 0 would
// drop every packet; an MTU as Windows documents it; an MSS that leaves room in
// the MTU for the IP and TCP headers.
inline constexpr std::int32_t kMinTtl = 1;
inline constexpr std::int32_t kMaxTtl = 255;
inline constexpr std::int32_t kMinMtu = 68;
inline constexpr std::int32_t kMaxMtu = 65535;
inline constexpr std::int32_t kMinMss = 1;
inline constexpr std::int32_t kHeaderBytes = 40;
constexpr std::int32_t MaxMss(std::int32_t mtu) {
    return mtu - kHeaderBytes;
}

// The fix-up run when a page is left: below the field's least value (signed comparison) the
// recommendation takes the entry's place.
std::int32_t FixUpEntry(const PageField& field, std::int32_t value, std::int32_t recommended);

struct LostFocusResult {
    std::int32_t value;   // what the page field holds afterwards
    bool rewriteControl;  // true when the edit must show the recommendation at once
};
// typed is the edit read as an unsigned decimal (unreadable text reads as 0); a value
// above 2147483647 therefore counts as negative and is replaced.
LostFocusResult LostFocusEntry(const PageField& field, std::uint32_t typed,
                               std::int32_t recommended);

// ---- Leaving a page ---------------------------------------------------------
// Leaving reads the page's edits once. The first check goes through their texts as the
// user left them; after the fix-ups the page writes its entries back and checks them a
// second time, and only that check decides whether the page may be left. A value still
// outside its range is therefore reported by both checks.

// What a check found wrong with one field.
struct EntryProblem {
    int controlId;
    std::optional<EntryRange> outside;  // the range the value is outside; nothing: no integer
};

// The platform's message for the problem.
std::string ProblemMessage(const EntryProblem& problem);

// The first check: the fields' texts (one per field, in the table's order) into their
// entries. It stops at the first text that is not an integer, whose entry keeps its value,
// or at the first value outside its range, which its entry holds; the fields after it keep
// their entries.
std::optional<EntryProblem> ReadEntries(std::span<const PageField> fields,
                                        std::span<const std::string> texts, TuningValues& entries);

// The second check: the entries as the page wrote them back, against their ranges, in the
// table's order.
std::optional<EntryProblem> CheckEntries(std::span<const PageField> fields,
                                         const TuningValues& entries);

// ---- Status and recommendation texts ----------------------------------------
// Language texts are data: they are joined as they are, never used as a format.

// Decimal digits of the value read as unsigned 32 bits (-1 gives 4294967295).
std::string UnsignedDecimal(std::int32_t value);

// " <wasSetTo> <value> <unit>."
std::string NumberPhrase(std::string_view wasSetTo, std::int32_t value, std::string_view unit);
// " <wasSetTo> <value>." for values without a unit.
std::string CountPhrase(std::string_view wasSetTo, std::int32_t value);
// " <enabled>" for any non-zero value, else " <disabled>".
std::string SwitchPhrase(std::int32_t value, std::string_view enabled, std::string_view disabled);
// " <notSet>"
std::string NotSetPhrase(std::string_view notSet);

// An explanation followed by the status of a value in force.
std::string WithNumberStatus(std::string_view explanation, bool found, std::int32_t value,
                             std::string_view wasSetTo, std::string_view unit,
                             std::string_view notSet);
std::string WithCountStatus(std::string_view explanation, bool found, std::int32_t value,
                            std::string_view wasSetTo, std::string_view notSet);
std::string WithSwitchStatus(std::string_view explanation, bool found, std::int32_t value,
                             std::string_view enabled, std::string_view disabled,
                             std::string_view notSet);

// Every "%d" of the text replaced by the signed decimal value, left to right; the
// digits put in are not scanned again.
std::string ReplacePercentD(std::string_view text, std::int32_t value);

// ---- Navigation and buttons ------------------------------------------------

// The page Next leads to, or nothing when the page ends the run with Finish.
std::optional<int> NextPage(int page, PlatformFamily family, bool boostModem);
// The page Back leads to, or nothing on the first page.
std::optional<int> BackPage(int page, PlatformFamily family);

// The buttons the page flow gives a page of the family's run: Back unless Back leads nowhere,
// Next when Next leads on, else Finish.
std::uint32_t FlowButtons(int page, PlatformFamily family, bool boostModem);

// Buttons a page requests when it becomes current, or nothing when it leaves them: Back and
// Next, which every page leaves behind, are never requested again, nor are the buttons of a
// page the family's run does not show.
std::optional<std::uint32_t> ButtonsOnActivation(int page, PlatformFamily family, bool boostModem);
// Buttons a page requests when it is left by Next or Back, or nothing: Back and Next again
// after a page that requested others; the ICMP page requests them in every run.
std::optional<std::uint32_t> ButtonsOnLeaving(int page, PlatformFamily family, bool boostModem);

// The language text of the caption a page puts into the sheet's title bar (its table's); an
// entry with empty key and text for an index that is no page.
TextEntry StepCaption(int page, PlatformFamily family);

// ---- Connection type page --------------------------------------------------

// The radio buttons in the order they are examined when the page is left; the
// first one found selected decides.
struct ConnectionRadio {
    int controlId;
    ConnectionType type;
};
inline constexpr ConnectionRadio kConnectionRadios[] = {
    {IDC_step2_RADIO_CableModem, CableModem},
    {IDC_step2_RADIO_DialUp, DialUp},
    {IDC_step2_RADIO_DSL, DSL},
    {IDC_step2_RADIO_LAN, LAN},
};

// The connection type after leaving the page; isChecked(controlId) reports a radio
// button's state. With none selected the current type stays.
template <typename IsChecked>
ConnectionType ConnectionTypeFromRadios(IsChecked isChecked, ConnectionType current) {
    for (const ConnectionRadio& radio : kConnectionRadios) {
        if (isChecked(radio.controlId)) return radio.type;
    }
    return current;
}

}  // namespace wizard
