// A change of the list as its row reads: where the value is and its name, what it is now and
// what it will be, in the chosen language's words.
#pragma once

#include <optional>
#include <string>

#include "engine/Changes.h"

namespace changes {

// The words a row needs, from the language file.
struct Words {
    std::string notSet;         // a value that is not there
    std::string browser;        // the browser's connection limits
    std::string anInterface;    // "Interface", before its name
    std::string dialUpAdapter;  // the dial-up adapter's binding
    std::string adapter;        // "Adapter", before its name
};

std::string PlaceText(const engine::Place& place, const Words& words);

// A value as the list shows it: a number in decimal, text as it is, anything else in hex;
// with its type where the other side's differs, so that a number stored as text shows.
std::string ValueText(const std::optional<reg::Value>& value,
                      const std::optional<reg::Value>& other, const Words& words);

// "Place: Name", tab, now, tab, after: the list's columns at its tab stops.
std::string RowText(const engine::Change& change, const Words& words);

}  // namespace changes
