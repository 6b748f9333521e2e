// Dialog templates read into their fields and written back: a classic template made
// by hand here, and every dialog of the shipped program (PackageTest) in the extended
// form the resource compiler writes.
#include <cstdint>
#include <gtest/gtest.h>
#include <initializer_list>
#include <vector>

#include "framework/DialogTemplate.h"

namespace {

using namespace dialog_template;

std::vector<std::uint8_t> Words(std::initializer_list<std::uint16_t> words) {
    std::vector<std::uint8_t> bytes;
    for (const std::uint16_t word : words) {
        bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    return bytes;
}

// A classic template: a popup with a font, an "OK" button by class ordinal, and an item
// of a class by name with an ordinal title and two bytes of creation data.
const std::vector<std::uint8_t> kClassic = Words({
    0x0040, 0x8000,                                           // style DS_SETFONT | WS_POPUP
    0,      0,                                                // exStyle
    2,                                                        // items
    0,      0,      100,    50,                               // x, y, cx, cy
    0,      0,      'A',    0,                                // no menu, no class, title "A"
    8,      'B',    0,                                        // 8 point "B"
    0x0001, 0x5001, 0,      0,      1,      2, 3,      4, 7,  // item 1: style, exStyle, box, id 7
    0xFFFF, 0x0080, 'O',    'K',    0,      0,                // Button, "OK", no creation data
    0,                                                        // to the four-byte boundary
    0,      0x5000, 0x0100, 0,      5,      6, 7,      8, 9,  // item 2
    'X',    '1',    0,      0xFFFF, 0x0080, 2, 0xCDAB,        // class "X1", title #128, 2 bytes
});

TEST(DialogTemplate, ReadsAClassicTemplateIntoItsFieldsAndWritesTheSameBytes) {
    const auto dialog = Read(kClassic);
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(dialog->extended);
    EXPECT_EQ(dialog->style, 0x80000040u);
    EXPECT_EQ(dialog->cx, 100);
    EXPECT_EQ(dialog->title.name, u"A");
    ASSERT_TRUE(dialog->font);
    EXPECT_EQ(dialog->font->pointSize, 8);
    EXPECT_EQ(dialog->font->typeface, u"B");
    ASSERT_EQ(dialog->items.size(), 2u);
    const Item& button = dialog->items[0];
    EXPECT_EQ(button.style, 0x50010001u);
    EXPECT_EQ(button.id, 7u);
    EXPECT_EQ(button.windowClass.ordinal, kButtonClass);
    EXPECT_EQ(button.title.name, u"OK");
    const Item& other = dialog->items[1];
    EXPECT_EQ(other.exStyle, 0x100u);
    EXPECT_EQ(other.cy, 8);
    EXPECT_EQ(other.id, 9u);
    EXPECT_EQ(other.windowClass.name, u"X1");
    EXPECT_EQ(other.title.ordinal, 0x80);
    EXPECT_EQ(other.creationData, (std::vector<std::uint8_t>{0xAB, 0xCD}));

    EXPECT_EQ(Write(*dialog), kClassic);
}

// A template cut short anywhere, a string without its end among them, is no template.
TEST(DialogTemplate, RefusesATemplateCutShortAnywhere) {
    for (std::size_t size = 0; size < kClassic.size(); ++size) {
        const std::vector<std::uint8_t> cut(kClassic.begin(),
                                            kClassic.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_FALSE(Read(cut)) << size;
    }
}

// A class name replaced by an ordinal shortens the item; the items after it move to
// their own four-byte boundaries, in both forms.
TEST(DialogTemplate, ItemsAfterAChangedClassKeepTheirAlignment) {
    for (const bool extended : {false, true}) {
        Template dialog;
        dialog.extended = extended;
        dialog.style = kSetFontStyle;
        // Weight, italic and charset are the extended form's alone.
        dialog.font =
            extended ? Font{8, 400, 0, 1, u"MS Sans Serif"} : Font{8, 0, 0, 0, u"MS Sans Serif"};
        for (std::uint32_t id = 1; id <= 3; ++id) {
            Item item;
            item.id = id;
            item.windowClass.name = u"ComboBoxEx32";
            item.title.name = std::u16string(id, u'x');
            dialog.items.push_back(item);
        }
        FindItem(dialog, 2)->windowClass = {kComboBoxClass, {}};
        const std::vector<std::uint8_t> bytes = Write(dialog);
        EXPECT_EQ(Read(bytes), dialog) << (extended ? "extended" : "classic");
    }
}

// The styles changed in place, where the platform hands a template over: found in both forms.
TEST(DialogTemplate, StylesAreFoundWhereEachFormKeepsThem) {
    for (const bool extended : {false, true}) {
        Template dialog;
        dialog.extended = extended;
        dialog.helpId = extended ? 0x11111111u : 0;
        dialog.style = 0x80C80000u;
        dialog.exStyle = 0x00000400u;
        const std::vector<std::uint8_t> bytes = Write(dialog);
        const StylePlaces places = StylePlacesOf(std::span<const std::uint8_t, 4>(bytes.data(), 4));
        const auto at = [&](std::size_t offset) {
            std::uint32_t value = 0;
            for (std::size_t i = 4; i-- > 0;) value = (value << 8) | bytes[offset + i];
            return value;
        };
        EXPECT_EQ(at(places.style), dialog.style) << (extended ? "extended" : "classic");
        EXPECT_EQ(at(places.exStyle), dialog.exStyle) << (extended ? "extended" : "classic");
    }
}

}  // namespace
