// Reading and writing dialog templates, field by field.
//
// The layout, little-endian throughout:
// - classic: style, exStyle, item count (word), x, y, cx, cy, menu, class, title, and
//   with DS_SETFONT the point size and the typeface; then each item on a four-byte
//   boundary: style, exStyle, x, y, cx, cy, id (word), class, title, creation data.
// - extended: version 1, 0xFFFF, help id, exStyle, style, item count, x, y, cx, cy,
//   menu, class, title, and with DS_SETFONT point size, weight, italic, charset and the
//   typeface; each item: help id, exStyle, style, x, y, cx, cy, id (double word),
//   class, title, creation data.
// Creation data is a word with its size in bytes and that many bytes.
#include "framework/DialogTemplate.h"

namespace dialog_template {
namespace {

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    bool Ok() const { return m_ok; }

    std::uint16_t Word() {
        if (!Has(2)) return 0;
        const auto value = static_cast<std::uint16_t>(m_bytes[m_at] | (m_bytes[m_at + 1] << 8));
        m_at += 2;
        return value;
    }
    std::uint32_t DoubleWord() {
        const std::uint32_t low = Word();
        return low | (static_cast<std::uint32_t>(Word()) << 16);
    }
    std::int16_t Short() { return static_cast<std::int16_t>(Word()); }
    std::uint8_t Byte() {
        if (!Has(1)) return 0;
        return m_bytes[m_at++];
    }
    std::u16string String() {
        std::u16string text;
        while (m_ok) {
            const std::uint16_t c = Word();
            if (c == 0) break;
            text.push_back(static_cast<char16_t>(c));
        }
        return text;
    }
    NameOrOrdinal NameOrOrdinalField() {
        if (Has(2) && m_bytes[m_at] == 0xFF && m_bytes[m_at + 1] == 0xFF) {
            Word();
            return {Word(), {}};
        }
        return {std::nullopt, String()};
    }
    std::vector<std::uint8_t> Bytes(std::size_t count) {
        if (!Has(count)) return {};
        std::vector<std::uint8_t> bytes(
            m_bytes.begin() + static_cast<std::ptrdiff_t>(m_at),
            m_bytes.begin() + static_cast<std::ptrdiff_t>(m_at + count));
        m_at += count;
        return bytes;
    }
    void AlignToDoubleWord() { m_at = (m_at + 3) & ~std::size_t{3}; }

private:
    bool Has(std::size_t count) {
        if (m_at + count > m_bytes.size()) m_ok = false;
        return m_ok;
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
    bool m_ok = true;
};

class Writer {
public:
    void Word(std::uint16_t value) {
        m_bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void DoubleWord(std::uint32_t value) {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Short(std::int16_t value) { Word(static_cast<std::uint16_t>(value)); }
    void Byte(std::uint8_t value) { m_bytes.push_back(value); }
    void String(const std::u16string& text) {
        for (const char16_t c : text) Word(static_cast<std::uint16_t>(c));
        Word(0);
    }
    void NameOrOrdinalField(const NameOrOrdinal& field) {
        if (field.ordinal) {
            Word(0xFFFF);
            Word(*field.ordinal);
        } else {
            String(field.name);
        }
    }
    void Bytes(const std::vector<std::uint8_t>& bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    }
    void AlignToDoubleWord() {
        while (m_bytes.size() % 4 != 0) m_bytes.push_back(0);
    }
    std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

private:
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace

std::optional<Template> Read(std::span<const std::uint8_t> bytes) {
    Reader in(bytes);
    Template dialog;
    const std::uint16_t first = in.Word();
    const std::uint16_t second = in.Word();
    dialog.extended = second == 0xFFFF;
    if (dialog.extended) {
        if (first != 1) return std::nullopt;
        dialog.helpId = in.DoubleWord();
        dialog.exStyle = in.DoubleWord();
        dialog.style = in.DoubleWord();
    } else {
        dialog.style = first | (static_cast<std::uint32_t>(second) << 16);
        dialog.exStyle = in.DoubleWord();
    }
    const std::uint16_t count = in.Word();
    dialog.x = in.Short();
    dialog.y = in.Short();
    dialog.cx = in.Short();
    dialog.cy = in.Short();
    dialog.menu = in.NameOrOrdinalField();
    dialog.windowClass = in.NameOrOrdinalField();
    dialog.title = in.NameOrOrdinalField();
    if (dialog.style & kSetFontStyle) {
        Font font;
        font.pointSize = in.Word();
        if (dialog.extended) {
            font.weight = in.Word();
            font.italic = in.Byte();
            font.charset = in.Byte();
        }
        font.typeface = in.String();
        dialog.font = font;
    }
    for (std::uint16_t i = 0; i < count && in.Ok(); ++i) {
        in.AlignToDoubleWord();
        Item item;
        if (dialog.extended) {
            item.helpId = in.DoubleWord();
            item.exStyle = in.DoubleWord();
            item.style = in.DoubleWord();
        } else {
            item.style = in.DoubleWord();
            item.exStyle = in.DoubleWord();
        }
        item.x = in.Short();
        item.y = in.Short();
        item.cx = in.Short();
        item.cy = in.Short();
        item.id = dialog.extended ? in.DoubleWord() : in.Word();
        item.windowClass = in.NameOrOrdinalField();
        item.title = in.NameOrOrdinalField();
        item.creationData = in.Bytes(in.Word());
        dialog.items.push_back(std::move(item));
    }
    if (!in.Ok()) return std::nullopt;
    return dialog;
}

std::vector<std::uint8_t> Write(const Template& dialog) {
    Writer out;
    if (dialog.extended) {
        out.Word(1);
        out.Word(0xFFFF);
        out.DoubleWord(dialog.helpId);
        out.DoubleWord(dialog.exStyle);
        out.DoubleWord(dialog.style);
    } else {
        out.DoubleWord(dialog.style);
        out.DoubleWord(dialog.exStyle);
    }
    out.Word(static_cast<std::uint16_t>(dialog.items.size()));
    out.Short(dialog.x);
    out.Short(dialog.y);
    out.Short(dialog.cx);
    out.Short(dialog.cy);
    out.NameOrOrdinalField(dialog.menu);
    out.NameOrOrdinalField(dialog.windowClass);
    out.NameOrOrdinalField(dialog.title);
    if ((dialog.style & kSetFontStyle) && dialog.font) {
        out.Word(dialog.font->pointSize);
        if (dialog.extended) {
            out.Word(dialog.font->weight);
            out.Byte(dialog.font->italic);
            out.Byte(dialog.font->charset);
        }
        out.String(dialog.font->typeface);
    }
    for (const Item& item : dialog.items) {
        out.AlignToDoubleWord();
        if (dialog.extended) {
            out.DoubleWord(item.helpId);
            out.DoubleWord(item.exStyle);
            out.DoubleWord(item.style);
        } else {
            out.DoubleWord(item.style);
            out.DoubleWord(item.exStyle);
        }
        out.Short(item.x);
        out.Short(item.y);
        out.Short(item.cx);
        out.Short(item.cy);
        if (dialog.extended) {
            out.DoubleWord(item.id);
        } else {
            out.Word(static_cast<std::uint16_t>(item.id));
        }
        out.NameOrOrdinalField(item.windowClass);
        out.NameOrOrdinalField(item.title);
        out.Word(static_cast<std::uint16_t>(item.creationData.size()));
        out.Bytes(item.creationData);
    }
    return out.Take();
}

Item* FindItem(Template& dialog, std::uint32_t id) {
    for (Item& item : dialog.items) {
        if (item.id == id) return &item;
    }
    return nullptr;
}

StylePlaces StylePlacesOf(std::span<const std::uint8_t, 4> firstWords) {
    // DLGTEMPLATEEX: version 1, signature 0xFFFF, help id, extended style, style.
    const bool extended = firstWords[2] == 0xFF && firstWords[3] == 0xFF;
    return extended ? StylePlaces{12, 8} : StylePlaces{0, 4};
}

}  // namespace dialog_template
