// The behaviour every RegistryStore must share with the Windows registry; included by the
// native test program (memory store) and the Windows one (real registry under Wine).
#pragma once

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "engine/RegistryStore.h"
#include "tests/shared/RegistryTestSupport.h"

// Supplied by the including program: the store the cases run against.
RegistryStore& ContractStore();

class RegistryContract : public ::testing::Test {
protected:
    static constexpr const char* kScratch = "Software\\VornelContractTest";

    void SetUp() override {
        reg::DeleteTree(store_, reg::kCurrentUser, kScratch);
        root_ = reg::Create(store_, reg::kCurrentUser, kScratch);
        ASSERT_TRUE(root_);
    }
    void TearDown() override {
        root_.Close();
        reg::DeleteTree(store_, reg::kCurrentUser, kScratch);
    }

    std::string Path(const std::string& below) const {
        return std::string(kScratch) + "\\" + below;
    }

    RegistryStore& store_ = ContractStore();
    reg::ScopedKey root_;
};

TEST_F(RegistryContract, KeysOpenCreateAndCompareWithoutCase) {
    reg::Key key = reg::Key::null;
    EXPECT_EQ(store_.OpenKey(root_.get(), "Missing", reg::Access::Read, &key), reg::kFileNotFound);

    // Create makes every missing parent and hands back a usable key.
    reg::Status status = reg::kSuccess;
    reg::ScopedKey deep = reg::Create(store_, root_.get(), "Alpha\\Beta\\Gamma", &status);
    ASSERT_EQ(status, reg::kSuccess);
    EXPECT_EQ(reg::WriteValue(store_, deep.get(), "v", regtest::Dword(1)), reg::kSuccess);

    // Paths compare without case; the name keeps the case it was created with.
    reg::ScopedKey again = reg::Open(store_, reg::kCurrentUser, Path("ALPHA\\beta\\GaMmA").c_str());
    ASSERT_TRUE(again);
    EXPECT_EQ(regtest::Get(store_, reg::kCurrentUser, Path("alpha\\BETA\\gamma"), "V"),
              regtest::Dword(1));
    reg::ScopedKey recreated = reg::Create(store_, root_.get(), "ALPHA", &status);
    EXPECT_EQ(status, reg::kSuccess);
    EXPECT_EQ(regtest::SubKeys(store_, reg::kCurrentUser, kScratch),
              std::vector<std::string>{"Alpha"});

    // The predefined roots work as parents, and a closed handle no longer does.
    EXPECT_TRUE(reg::Open(store_, reg::kCurrentUser, "Software"));
    reg::Key closed = reg::Key::null;
    ASSERT_EQ(store_.OpenKey(root_.get(), "Alpha", reg::Access::Read, &closed), reg::kSuccess);
    EXPECT_EQ(store_.CloseKey(closed), reg::kSuccess);
    EXPECT_NE(store_.CloseKey(closed), reg::kSuccess);
}

TEST_F(RegistryContract, SubKeysEnumerateInCaseInsensitiveNameOrder) {
    for (const char* name : {"b", "_x", "AB", "A_", "a", "C", "Ab1", "0"}) {
        ASSERT_TRUE(reg::Create(store_, root_.get(), name));
    }
    // Compared by lower-cased characters: "_" sorts before the letters.
    EXPECT_EQ(regtest::SubKeys(store_, reg::kCurrentUser, kScratch),
              (std::vector<std::string>{"0", "_x", "a", "A_", "AB", "Ab1", "b", "C"}));

    char name[4];
    std::uint32_t length = sizeof name;
    EXPECT_EQ(store_.EnumKey(root_.get(), 4, name, &length), reg::kSuccess);
    EXPECT_EQ(std::string(name, length), "AB");
    length = 3;  // "Ab1" needs 4 with its terminator
    EXPECT_EQ(store_.EnumKey(root_.get(), 5, name, &length), reg::kMoreData);
    length = sizeof name;
    EXPECT_EQ(store_.EnumKey(root_.get(), 8, name, &length), reg::kNoMoreItems);
}

TEST_F(RegistryContract, ValuesKeepTheirTypeAndExactBytes) {
    const std::vector<std::pair<const char*, reg::Value>> values = {
        {"Text", regtest::Text("1460")},
        {"Unterminated", regtest::Text("12", false)},
        {"Empty", regtest::Text("", false)},
        {"LongDword", {reg::kDword, {1, 2, 3, 4, 5, 6, 7}}},
        {"ShortDword", {reg::kDword, {9}}},
        {"NoBytes", regtest::Binary({})},
        {"Binary", regtest::Binary(std::vector<std::uint8_t>(1000, 0xA5))},
        {"Other", {reg::kExpandSz, {'%', 'x', '%', 0}}},
    };
    for (const auto& [name, value] : values) {
        ASSERT_EQ(reg::WriteValue(store_, root_.get(), name, value), reg::kSuccess) << name;
    }
    for (const auto& [name, value] : values) {
        EXPECT_EQ(regtest::Get(store_, reg::kCurrentUser, kScratch, name), value) << name;
    }
    // Names compare without case; writing again replaces type and data.
    ASSERT_EQ(reg::WriteValue(store_, root_.get(), "TEXT", regtest::Dword(7)), reg::kSuccess);
    EXPECT_EQ(regtest::Get(store_, reg::kCurrentUser, kScratch, "text"), regtest::Dword(7));
    // The default value has no name.
    ASSERT_EQ(reg::WriteValue(store_, root_.get(), nullptr, regtest::Text("d")), reg::kSuccess);
    EXPECT_EQ(regtest::Get(store_, reg::kCurrentUser, kScratch, ""), regtest::Text("d"));
}

TEST_F(RegistryContract, ReadsIntoSmallBuffersFailWithMoreData) {
    ASSERT_EQ(reg::WriteValue(store_, root_.get(), "Props", regtest::Binary({1, 2, 3, 4, 5, 6})),
              reg::kSuccess);
    ASSERT_EQ(reg::WriteValue(store_, root_.get(), "Text", regtest::Text("12345")), reg::kSuccess);
    std::uint8_t buffer[8] = {};
    std::uint32_t type = 0;
    std::uint32_t size = 4;
    EXPECT_EQ(store_.QueryValue(root_.get(), "Props", &type, buffer, &size), reg::kMoreData);
    EXPECT_EQ(size, 6u);
    size = 0;
    EXPECT_EQ(store_.QueryValue(root_.get(), "Props", &type, nullptr, &size), reg::kSuccess);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(type, reg::kBinary);
    size = 6;
    EXPECT_EQ(store_.QueryValue(root_.get(), "Props", nullptr, buffer, &size), reg::kSuccess);
    EXPECT_EQ(buffer[5], 6);
    // Text of 5 characters and its NUL does not fit 4 bytes either.
    size = 4;
    EXPECT_EQ(store_.QueryValue(root_.get(), "Text", nullptr, buffer, &size), reg::kMoreData);
    size = 6;
    EXPECT_EQ(store_.QueryValue(root_.get(), "Text", &type, buffer, &size), reg::kSuccess);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(type, reg::kSz);
    size = sizeof buffer;
    EXPECT_EQ(store_.QueryValue(root_.get(), "Missing", nullptr, buffer, &size),
              reg::kFileNotFound);
}

TEST_F(RegistryContract, ValuesEnumerateWithNamesAndData) {
    for (const char* name : {"Zeta", "alpha", "MSTCP\\0002", "Beta"}) {
        ASSERT_EQ(reg::WriteValue(store_, root_.get(), name, regtest::Text(name)), reg::kSuccess);
    }
    std::vector<std::string> names = regtest::ValueNames(store_, reg::kCurrentUser, kScratch);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Beta", "MSTCP\\0002", "Zeta", "alpha"}));

    reg::ValueWalker walker(store_, root_.get());
    std::string name;
    reg::Value value;
    while (walker.Next(name, &value)) EXPECT_EQ(value, regtest::Text(name));
    EXPECT_EQ(walker.status(), reg::kNoMoreItems);

    char small[3];
    std::uint32_t length = sizeof small;
    EXPECT_EQ(store_.EnumValue(root_.get(), 0, small, &length, nullptr, nullptr, nullptr),
              reg::kMoreData);
}

TEST_F(RegistryContract, KeyInformationGivesCountsAndLongestLengths) {
    ASSERT_TRUE(reg::Create(store_, root_.get(), "Short"));
    ASSERT_TRUE(reg::Create(store_, root_.get(), "AMuchLongerName"));
    ASSERT_EQ(reg::WriteValue(store_, root_.get(), "Properties",
                              regtest::Binary(std::vector<std::uint8_t>(40, 1))),
              reg::kSuccess);
    ASSERT_EQ(reg::WriteValue(store_, root_.get(), "N", regtest::Dword(3)), reg::kSuccess);
    reg::KeyInfo info;
    ASSERT_EQ(store_.QueryInfoKey(root_.get(), &info), reg::kSuccess);
    EXPECT_EQ(info.subKeys, 2u);
    EXPECT_EQ(info.maxSubKeyLen, 15u);
    EXPECT_EQ(info.values, 2u);
    EXPECT_EQ(info.maxValueNameLen, 10u);
    EXPECT_EQ(info.maxValueLen, 40u);
}

TEST_F(RegistryContract, DeletingValuesAndTrees) {
    ASSERT_EQ(reg::WriteValue(store_, root_.get(), "Gone", regtest::Dword(1)), reg::kSuccess);
    EXPECT_EQ(store_.DeleteValue(root_.get(), "GONE"), reg::kSuccess);
    EXPECT_EQ(store_.DeleteValue(root_.get(), "Gone"), reg::kFileNotFound);
    EXPECT_EQ(regtest::ValueNames(store_, reg::kCurrentUser, kScratch).size(), 0u);

    ASSERT_TRUE(
        regtest::Put(store_, reg::kCurrentUser, Path("Tree\\A\\B"), "v", regtest::Dword(1)));
    ASSERT_TRUE(regtest::Put(store_, reg::kCurrentUser, Path("Tree\\C"), "v", regtest::Dword(2)));
    reg::ScopedKey held = reg::Open(store_, reg::kCurrentUser, Path("Tree\\A").c_str());
    // One key at a time: a key that still has subkeys is refused, and nothing goes.
    EXPECT_NE(store_.DeleteKey(reg::kCurrentUser, Path("Tree\\A").c_str()), reg::kSuccess);
    EXPECT_EQ(regtest::Get(store_, reg::kCurrentUser, Path("Tree\\A\\B"), "v"), regtest::Dword(1));
    EXPECT_EQ(store_.DeleteKey(reg::kCurrentUser, Path("Tree\\C").c_str()), reg::kSuccess);
    EXPECT_FALSE(regtest::KeyExists(store_, reg::kCurrentUser, Path("Tree\\C")));
    EXPECT_EQ(reg::DeleteTree(store_, reg::kCurrentUser, Path("tree").c_str()), reg::kSuccess);
    EXPECT_FALSE(regtest::KeyExists(store_, reg::kCurrentUser, Path("Tree")));
    EXPECT_NE(reg::DeleteTree(store_, reg::kCurrentUser, Path("Tree").c_str()), reg::kSuccess);
    // A handle to a deleted key can no longer make values or subkeys.
    EXPECT_NE(reg::WriteValue(store_, held.get(), "late", regtest::Dword(1)), reg::kSuccess);
    EXPECT_FALSE(reg::Create(store_, held.get(), "Child"));
    EXPECT_FALSE(regtest::KeyExists(store_, reg::kCurrentUser, Path("Tree")));
}

// A tree deeper and wider than one level of subkeys (which the NT registry refuses to
// delete by itself) goes whole, past what one path can name and with the longest
// names; its parent and a neighbour whose name starts the same stay.
TEST_F(RegistryContract, DeletingADeepTreeTakesEveryLevelAndLeavesItsNeighbours) {
    ASSERT_TRUE(regtest::Put(store_, reg::kCurrentUser, Path("Treehouse"), "v", regtest::Dword(7)));
    reg::ScopedKey level = reg::Create(store_, root_.get(), "Tree");
    ASSERT_TRUE(level);
    const std::string longest(255, 'n');
    for (int depth = 0; depth < 40; ++depth) {
        for (const char* leaf : {"LeafA", "LeafB"}) {
            reg::ScopedKey key = reg::Create(store_, level.get(), leaf);
            ASSERT_TRUE(key) << depth;
            ASSERT_EQ(reg::WriteValue(store_, key.get(), "v", regtest::Dword(1)), reg::kSuccess);
        }
        if (depth % 10 == 5) {
            ASSERT_TRUE(reg::Create(store_, level.get(), longest.c_str()));
        }
        level = reg::Create(store_, level.get(), depth % 10 == 9 ? longest.c_str() : "Next");
        ASSERT_TRUE(level) << depth;
    }
    level.Close();

    EXPECT_EQ(reg::DeleteTree(store_, reg::kCurrentUser, Path("Tree").c_str()), reg::kSuccess);
    EXPECT_FALSE(regtest::KeyExists(store_, reg::kCurrentUser, Path("Tree")));
    EXPECT_EQ(regtest::SubKeys(store_, reg::kCurrentUser, kScratch),
              std::vector<std::string>{"Treehouse"});
    EXPECT_EQ(regtest::Get(store_, reg::kCurrentUser, Path("Treehouse"), "v"), regtest::Dword(7));
    // An empty path names no subkey: the parent is not removed through it.
    EXPECT_NE(reg::DeleteTree(store_, root_.get(), ""), reg::kSuccess);
    EXPECT_TRUE(regtest::KeyExists(store_, reg::kCurrentUser, kScratch));
}

// A handle does only what it was opened for: reading takes no right to change.
TEST_F(RegistryContract, KeysOpenedForReadingRefuseChanges) {
    ASSERT_EQ(reg::WriteValue(store_, root_.get(), "Kept", regtest::Dword(1)), reg::kSuccess);
    reg::ScopedKey reader = reg::Open(store_, reg::kCurrentUser, kScratch);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reg::WriteValue(store_, reader.get(), "New", regtest::Dword(2)), reg::kAccessDenied);
    EXPECT_EQ(reg::WriteValue(store_, reader.get(), "Kept", regtest::Dword(2)), reg::kAccessDenied);
    EXPECT_EQ(store_.DeleteValue(reader.get(), "Kept"), reg::kAccessDenied);
    EXPECT_EQ(regtest::Get(store_, reg::kCurrentUser, kScratch, "Kept"), regtest::Dword(1));
    EXPECT_EQ(regtest::ValueNames(store_, reg::kCurrentUser, kScratch),
              std::vector<std::string>{"Kept"});

    reg::ScopedKey writer = reg::OpenForWrite(store_, reg::kCurrentUser, kScratch);
    ASSERT_TRUE(writer);
    EXPECT_EQ(reg::WriteValue(store_, writer.get(), "New", regtest::Dword(2)), reg::kSuccess);
    EXPECT_EQ(store_.DeleteValue(writer.get(), "Kept"), reg::kSuccess);
}

TEST_F(RegistryContract, LongNamesWorkAndLongPathsAreRefused) {
    const std::string longest(255, 'k');
    reg::ScopedKey key = reg::Create(store_, root_.get(), longest.c_str());
    ASSERT_TRUE(key);
    const std::string longValueName(255, 'v');
    EXPECT_EQ(reg::WriteValue(store_, key.get(), longValueName.c_str(), regtest::Dword(1)),
              reg::kSuccess);
    reg::KeyInfo info;
    ASSERT_EQ(store_.QueryInfoKey(root_.get(), &info), reg::kSuccess);
    EXPECT_EQ(info.maxSubKeyLen, 255u);
    EXPECT_EQ(regtest::SubKeys(store_, reg::kCurrentUser, kScratch),
              std::vector<std::string>{longest});
    reg::ScopedKey reopened = reg::Open(store_, root_.get(), longest.c_str());
    ASSERT_TRUE(reopened);
    reg::ValueWalker walker(store_, reopened.get());
    std::string name;
    ASSERT_TRUE(walker.Next(name));
    EXPECT_EQ(name, longValueName);

    // The ANSI functions take paths of up to 260 characters.
    const std::string fits = Path(std::string(260 - Path("").size(), 'p'));
    const std::string tooLong = Path(std::string(261 - Path("").size(), 'p'));
    ASSERT_EQ(fits.size(), 260u);
    EXPECT_TRUE(reg::Create(store_, reg::kCurrentUser, fits.c_str()));
    reg::Status status = reg::kSuccess;
    EXPECT_FALSE(reg::Create(store_, reg::kCurrentUser, tooLong.c_str(), &status));
    EXPECT_EQ(status, reg::kMoreData);
    EXPECT_FALSE(reg::Open(store_, reg::kCurrentUser, tooLong.c_str(), &status));
    EXPECT_EQ(status, reg::kMoreData);
}
