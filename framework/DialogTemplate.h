// Dialog templates as the platform stores them (DLGTEMPLATE and DLGTEMPLATEEX with
// their items), read into named fields and written back: portable, no window involved.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace dialog_template {

// A menu, a window class or a title: a string, or an ordinal (0xFFFF and a number);
// an empty string is written as a single zero word.
struct NameOrOrdinal {
    std::optional<std::uint16_t> ordinal;
    std::u16string name;

    bool operator==(const NameOrOrdinal&) const = default;
};

// The window classes the platform knows by ordinal.
inline constexpr std::uint16_t kButtonClass = 0x0080;
inline constexpr std::uint16_t kComboBoxClass = 0x0085;

struct Item {
    std::uint32_t helpId = 0;  // extended templates only
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::uint32_t id = 0;  // a word in the classic form
    NameOrOrdinal windowClass;
    NameOrOrdinal title;
    std::vector<std::uint8_t> creationData;

    bool operator==(const Item&) const = default;
};

// The font of a template whose style has DS_SETFONT.
struct Font {
    std::uint16_t pointSize = 0;
    std::uint16_t weight = 0;  // extended templates only
    std::uint8_t italic = 0;   // extended templates only
    std::uint8_t charset = 0;  // extended templates only
    std::u16string typeface;

    bool operator==(const Font&) const = default;
};

struct Template {
    bool extended = false;
    std::uint32_t helpId = 0;  // extended templates only
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    NameOrOrdinal title;
    std::optional<Font> font;
    std::vector<Item> items;

    bool operator==(const Template&) const = default;
};

// DS_SETFONT: the template names its font.
inline constexpr std::uint32_t kSetFontStyle = 0x40;

// The template in `bytes`, or nothing when they are not a whole template (cut short,
// an unknown version, a string without its end).
std::optional<Template> Read(std::span<const std::uint8_t> bytes);

// The template's bytes, each item on its four-byte boundary, as resources hold them.
std::vector<std::uint8_t> Write(const Template& dialog);

// Where a template's style and extended style lie, in bytes from its start: for changing them
// in place, in a template the platform hands over before it makes its window. Its first two
// words tell the form.
struct StylePlaces {
    std::size_t style;
    std::size_t exStyle;
};
StylePlaces StylePlacesOf(std::span<const std::uint8_t, 4> firstWords);

// The item with that control id, or null.
Item* FindItem(Template& dialog, std::uint32_t id);

}  // namespace dialog_template
