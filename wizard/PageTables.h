// What each wizard page is made of, as data: its dialog, its step captions, the texts it shows,
// the numbers it lets the user type and the values a run starts it with. The page base runs
// these rows; a page's own code holds only what no row can say.
#pragma once

#include <cstdint>
#include <span>

#include "engine/TuningValues.h"
#include "res/TextCatalog.h"

namespace wizard {

// Page indices: the order in which the sheet adds its pages.
enum WizardPage : int {
    kPageConnectionType = 0,
    kPageMtu = 1,
    kPageOtherMtu = 2,
    kPageRwin = 3,
    kPageTtl = 4,
    kPageKeepAlive = 5,
    kPageSynFlood = 6,
    kPageIcmpRedirect = 7,
    kPageModemBoost = 8,
    kPageCount = 9,
};

// The range an entry must be in when its page is left.
struct EntryRange {
    std::int32_t minimum;
    std::int32_t maximum;
};

// One number a page lets the user type.
struct PageField {
    int controlId;  // its edit
    // Its value in the page's entries, in the run's recommendation and in its choice.
    std::int32_t TuningValues::*value;
    // The least value the entry keeps: below it, the recommendation takes its place.
    std::int32_t least;
    // The range checked on leaving, from the entries read up to it; null when only the least
    // value applies.
    EntryRange (*range)(const TuningValues& entries) = nullptr;
};

// How a text row fills its control.
enum class PageTextKind {
    Label,           // the language text as it is
    NumberStatus,    // the explanation, then " <was set to> <value> <unit>." or " <isn't set.>"
    CountStatus,     // the same without a unit, after the row's own "was set to" word
    SwitchStatus,    // the explanation, then " <enabled>", " <disabled>" or " <isn't set.>"
    Recommendation,  // the text with every "%d" replaced by the recommended value
};

// One text a page shows each time it becomes current.
struct PageText {
    PageTextKind kind;
    int controlId;
    TextEntry text;
    // The value the row tells: in force for a status, recommended for a recommendation.
    std::int32_t TuningValues::*value = nullptr;
    bool FoundFlags::*found = nullptr;    // of a status: whether the value in force was found
    TextEntry word = {nullptr, nullptr};  // the unit of a number, the "was set to" of a count
};

// A value every run of a family starts with, as its first recommendation and choice, where
// no connection type decides it.
struct PageDefault {
    std::int32_t TuningValues::*value;
    std::int32_t win9x;
    std::int32_t winNT;
};

struct PageTable {
    unsigned templateId;
    TextEntry captionWin9x;  // the sheet's title while the page is current
    TextEntry captionWinNT;
    std::span<const PageText> texts;    // in the order they are shown
    std::span<const PageField> fields;  // in the order they are read
    std::span<const PageDefault> defaults;
};

// The table of a page; page must be one of the nine.
const PageTable& TableOf(WizardPage page);

}  // namespace wizard
