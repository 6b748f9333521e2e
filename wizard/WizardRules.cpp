// The wizard's window-free decisions.
#include "wizard/WizardRules.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "framework/IntegerText.h"

namespace wizard {

MtuRecommendation RecommendMtu(ConnectionType type) {
    const std::int32_t mtu = type == DialUp ? 576 : type == DSL ? 1492 : 1500;
    return {mtu, mtu - 40};
}

std::int32_t RecommendedMultiplier(ConnectionType type) {
    return type == DialUp ? 30 : 44;
}

std::int32_t RecommendedMultiplier(ConnectionType type, std::int32_t mss, bool windowScaling) {
    if (windowScaling) return RecommendedMultiplier(type);
    if (mss <= 0) return 1;
    return static_cast<std::int32_t>(std::max<std::int64_t>(
        1, kMaxUnscaledReceiveWindow / (std::int64_t{kScalingFactor} * mss)));
}

void TakeFamilyDefaults(WizardState& state) {
    for (int page = 0; page < kPageCount; ++page) {
        for (const PageDefault& row : TableOf(static_cast<WizardPage>(page)).defaults) {
            const std::int32_t value = state.family == WinNT ? row.winNT : row.win9x;
            state.chosen.*row.value = state.recommended.*row.value = value;
        }
    }
}

std::int64_t ReceiveWindow(std::int32_t mss, std::int32_t multiplier) {
    // |mss x multiplier| is at most 2^62; only the factor 4 can leave 64 bits.
    const std::int64_t product = std::int64_t{mss} * std::int64_t{multiplier};
    constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / kScalingFactor;
    if (product > kLimit) return std::numeric_limits<std::int64_t>::max();
    if (product < -kLimit) return std::numeric_limits<std::int64_t>::min();
    return product * kScalingFactor;
}

bool ReceiveWindowAllowed(std::int64_t window, std::int32_t mss, bool windowScaling) {
    return window >= mss && window <= MaxReceiveWindow(windowScaling);
}

std::int32_t RecommendedReceiveWindow(std::int32_t mss, std::int32_t multiplier,
                                      bool windowScaling) {
    return static_cast<std::int32_t>(
        std::min(ReceiveWindow(mss, multiplier), MaxReceiveWindow(windowScaling)));
}

TextEntry ReceiveWindowRangeText(bool windowScaling) {
    return windowScaling ? text::k9 : text::k10;
}

std::optional<std::int64_t> LiveReceiveWindow(std::int32_t mss, std::int32_t multiplier) {
    if (multiplier == 0) return std::nullopt;
    return ReceiveWindow(mss, multiplier);
}

std::int32_t FixUpEntry(const PageField& field, std::int32_t value, std::int32_t recommended) {
    return value < field.least ? recommended : value;
}

LostFocusResult LostFocusEntry(const PageField& field, std::uint32_t typed,
                               std::int32_t recommended) {
    const auto value = static_cast<std::int32_t>(typed);
    if (value < field.least) return {recommended, true};
    return {value, false};
}

std::string ProblemMessage(const EntryProblem& problem) {
    if (!problem.outside) return std::string(kEnterIntegerMessage);
    return exchange::EnterIntegerRangeMessage(problem.outside->minimum, problem.outside->maximum);
}

namespace {

std::optional<EntryProblem> OutsideItsRange(const PageField& field, const TuningValues& entries) {
    if (!field.range) return std::nullopt;
    const EntryRange range = field.range(entries);
    const std::int32_t value = entries.*field.value;
    if (value >= range.minimum && value <= range.maximum) return std::nullopt;
    return EntryProblem{field.controlId, range};
}

}  // namespace

std::optional<EntryProblem> ReadEntries(std::span<const PageField> fields,
                                        std::span<const std::string> texts, TuningValues& entries) {
    if (texts.size() != fields.size()) throw std::logic_error("one text per field");
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const PageField& field = fields[i];
        const std::optional<std::int32_t> read = exchange::ParseExchangeInt32(texts[i]);
        if (!read) return EntryProblem{field.controlId, std::nullopt};
        entries.*field.value = *read;
        if (auto problem = OutsideItsRange(field, entries)) return problem;
    }
    return std::nullopt;
}

std::optional<EntryProblem> CheckEntries(std::span<const PageField> fields,
                                         const TuningValues& entries) {
    for (const PageField& field : fields) {
        if (auto problem = OutsideItsRange(field, entries)) return problem;
    }
    return std::nullopt;
}

std::string UnsignedDecimal(std::int32_t value) {
    return std::to_string(static_cast<std::uint32_t>(value));
}

std::string NumberPhrase(std::string_view wasSetTo, std::int32_t value, std::string_view unit) {
    std::string phrase = " ";
    phrase.append(wasSetTo).append(" ").append(UnsignedDecimal(value)).append(" ");
    phrase.append(unit).append(".");
    return phrase;
}

std::string CountPhrase(std::string_view wasSetTo, std::int32_t value) {
    std::string phrase = " ";
    phrase.append(wasSetTo).append(" ").append(UnsignedDecimal(value)).append(".");
    return phrase;
}

std::string SwitchPhrase(std::int32_t value, std::string_view enabled, std::string_view disabled) {
    std::string phrase = " ";
    phrase.append(value != 0 ? enabled : disabled);
    return phrase;
}

std::string NotSetPhrase(std::string_view notSet) {
    std::string phrase = " ";
    phrase.append(notSet);
    return phrase;
}

namespace {

std::string WithStatus(std::string_view explanation, bool found, std::string foundPhrase,
                       std::string_view notSet) {
    std::string text(explanation);
    text += found ? foundPhrase : NotSetPhrase(notSet);
    return text;
}

}  // namespace

std::string WithNumberStatus(std::string_view explanation, bool found, std::int32_t value,
                             std::string_view wasSetTo, std::string_view unit,
                             std::string_view notSet) {
    return WithStatus(explanation, found, NumberPhrase(wasSetTo, value, unit), notSet);
}

std::string WithCountStatus(std::string_view explanation, bool found, std::int32_t value,
                            std::string_view wasSetTo, std::string_view notSet) {
    return WithStatus(explanation, found, CountPhrase(wasSetTo, value), notSet);
}

std::string WithSwitchStatus(std::string_view explanation, bool found, std::int32_t value,
                             std::string_view enabled, std::string_view disabled,
                             std::string_view notSet) {
    return WithStatus(explanation, found, SwitchPhrase(value, enabled, disabled), notSet);
}

std::string ReplacePercentD(std::string_view text, std::int32_t value) {
    constexpr std::string_view kMarker = "%d";
    const std::string digits = std::to_string(value);
    std::string result;
    result.reserve(text.size() + digits.size());
    std::size_t from = 0;
    for (std::size_t at = text.find(kMarker); at != std::string_view::npos;
         at = text.find(kMarker, from)) {
        result.append(text.substr(from, at - from)).append(digits);
        from = at + kMarker.size();
    }
    result.append(text.substr(from));
    return result;
}

namespace {

// The page on which the family's run ends unless the modem boost is pending.
int LastStep(PlatformFamily family) {
    return family == WinNT ? kPageIcmpRedirect : kPageKeepAlive;
}

constexpr std::uint32_t kBackNext = kButtonBack | kButtonNext;

}  // namespace

std::optional<int> NextPage(int page, PlatformFamily family, bool boostModem) {
    if (page < kPageConnectionType || page >= kPageModemBoost) return std::nullopt;
    const int lastStep = LastStep(family);
    if (page == lastStep) return boostModem ? std::optional<int>(kPageModemBoost) : std::nullopt;
    if (page > lastStep) return std::nullopt;
    return page + 1;
}

std::optional<int> BackPage(int page, PlatformFamily family) {
    if (page <= kPageConnectionType || page >= kPageCount) return std::nullopt;
    if (page == kPageModemBoost) return LastStep(family);
    return page - 1;
}

std::uint32_t FlowButtons(int page, PlatformFamily family, bool boostModem) {
    const std::uint32_t back = BackPage(page, family) ? kButtonBack : 0u;
    const std::uint32_t onward = NextPage(page, family, boostModem) ? kButtonNext : kButtonFinish;
    return back | onward;
}

std::optional<std::uint32_t> ButtonsOnActivation(int page, PlatformFamily family, bool boostModem) {
    const bool shown =
        page >= kPageConnectionType && (page <= LastStep(family) || page == kPageModemBoost);
    if (!shown) return std::nullopt;
    const std::uint32_t buttons = FlowButtons(page, family, boostModem);
    if (buttons == kBackNext) return std::nullopt;
    return buttons;
}

std::optional<std::uint32_t> ButtonsOnLeaving(int page, PlatformFamily family, bool boostModem) {
    if (page == kPageIcmpRedirect || ButtonsOnActivation(page, family, boostModem)) {
        return kBackNext;
    }
    return std::nullopt;
}

TextEntry StepCaption(int page, PlatformFamily family) {
    if (page < 0 || page >= kPageCount) return {"", ""};
    const PageTable& table = TableOf(static_cast<WizardPage>(page));
    return family == WinNT ? table.captionWinNT : table.captionWin9x;
}

}  // namespace wizard
