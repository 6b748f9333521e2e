// The rows of the list of changes: each column in its place, whatever a value holds.
#include <gtest/gtest.h>

#include "app/ChangeText.h"
#include "engine/Catalogue.h"

namespace {

const changes::Words kWords{"not set", "Browser", "Interface", "Dial-Up Adapter", "Adapter"};

reg::Value Dword(std::uint32_t number) {
    return {reg::kDword, EncodeNumber(static_cast<std::int32_t>(number))};
}

// A row of a change of a value at a place of the kind.
std::string Row(engine::PlaceKind kind, const char* detail, const char* name,
                std::optional<reg::Value> now, std::optional<reg::Value> after) {
    engine::Change change;
    change.place.kind = kind;
    change.place.detail = detail;
    change.name = name;
    change.now = std::move(now);
    change.after = std::move(after);
    return changes::RowText(change, kWords);
}

TEST(ChangeRows, ShowWhereWhatIsAndWhatWillBe) {
    using engine::PlaceKind;
    EXPECT_EQ(Row(PlaceKind::Stack, "", "TcpWindowSize", Dword(64240), Dword(4294967295u)),
              "TCP/IP: TcpWindowSize\t64240\t4294967295");
    EXPECT_EQ(Row(PlaceKind::Interface, "{B0A1}", "MTU", Dword(1400), std::nullopt),
              "Interface {B0A1}: MTU\t1400\tnot set");
    // A number the backup holds as text, and text with a tab that would start a column.
    EXPECT_EQ(Row(PlaceKind::Stack, "", "DefaultTTL", reg::Value{reg::kSz, EncodeString("1\t28")},
                  Dword(64)),
              "TCP/IP: DefaultTTL\t1 28 (REG_SZ)\t64 (REG_DWORD)");
    EXPECT_EQ(
        Row(PlaceKind::DialUpAdapter, "", "MaxMTU", std::nullopt,
            reg::Value{reg::kBinary, std::vector<std::uint8_t>(20, 0xAB)}),
        "Dial-Up Adapter: MaxMTU\tnot set\tAB AB AB AB AB AB AB AB AB AB AB AB AB AB AB AB ...");
}

}  // namespace
