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
        reg::DeleteTree(m_store, reg::kCurrentUser, kScratch);
        m_root = reg::Create(m_store, reg::kCurrentUser, kScratch);
        ASSERT_TRUE(m_root);
    }
    void TearDown() override {
        m_root.Close();
        reg::DeleteTree(m_store, reg::kCurrentUser, kScratch);
    }

    std::string Path(const std::string& below) const {
        return std::string(kScratch) + "\\" + below;
    }

    RegistryStore& m_store = ContractStore();
    reg::ScopedKey m_root;
};

TEST_F(RegistryContract, KeysOpenCreateAndCompareWithoutCase) {
    reg::Key key = reg::Key::null;
    EXPECT_EQ(m_store.OpenKey(m_root.get(), "Missing", reg::Access::Read, &key),
              reg::kFileNotFound);

    // Create makes every missing parent and hands back a usable key.
    reg::Status status = reg::kSuccess;
    reg::ScopedKey deep = reg::Create(m_store, m_root.get(), "Alpha\\Beta\\Gamma", &status);
    ASSERT_EQ(status, reg::kSuccess);
    EXPECT_EQ(reg::WriteValue(m_store, deep.get(), "v", regtest::Dword(1)), reg::kSuccess);

    // Paths compare without case; the name keeps the case it was created with.
    reg::ScopedKey again =
        reg::Open(m_store, reg::kCurrentUser, Path("ALPHA\\beta\\GaMmA").c_str());
    ASSERT_TRUE(again);
    EXPECT_EQ(regtest::Get(m_store, reg::kCurrentUser, Path("alpha\\BETA\\gamma"), "V"),
              regtest::Dword(1));
    reg::ScopedKey recreated = reg::Create(m_store, m_root.get(), "ALPHA", &status);
    EXPECT_EQ(status, reg::kSuccess);
    EXPECT_EQ(regtest::SubKeys(m_store, reg::kCurrentUser, kScratch),
              std::vector<std::string>{"Alpha"});

    // The predefined roots work as parents, and a closed handle no longer does.
    EXPECT_TRUE(reg::Open(m_store, reg::kCurrentUser, "Software"));
    reg::Key closed = reg::Key::null;
    ASSERT_EQ(m_store.OpenKey(m_root.get(), "Alpha", reg::Access::Read, &closed), reg::kSuccess);
    EXPECT_EQ(m_store.CloseKey(closed), reg::kSuccess);
    EXPECT_NE(m_store.CloseKey(closed), reg::kSuccess);
}

TEST_F(RegistryContract, SubKeysEnumerateInCaseInsensitiveNameOrder) {
    for (const char* name : {"b", "_x", "AB", "A_", "a", "C", "Ab1", "0"}) {
        ASSERT_TRUE(reg::Create(m_store, m_root.get(), name));
    }
    // Compared by lower-cased characters: "_" sorts before the letters.
    EXPECT_EQ(regtest::SubKeys(m_store, reg::kCurrentUser, kScratch),
              (std::vector<std::string>{"0", "_x", "a", "A_", "AB", "Ab1", "b", "C"}));

    char name[4];
    std::uint32_t length = sizeof name;
    EXPECT_EQ(m_store.EnumKey(m_root.get(), 4, name, &length), reg::kSuccess);
    EXPECT_EQ(std::string(name, length), "AB");
    length = 3;  // "Ab1" needs 4 with its terminator
    EXPECT_EQ(m_store.EnumKey(m_root.get(), 5, name, &length), reg::kMoreData);
    length = sizeof name;
    EXPECT_EQ(m_store.EnumKey(m_root.get(), 8, name, &length), reg::kNoMoreItems);
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
        ASSERT_EQ(reg::WriteValue(m_store, m_root.get(), name, value), reg::kSuccess) << name;
    }
    for (const auto& [name, value] : values) {
        EXPECT_EQ(regtest::Get(m_store, reg::kCurrentUser, kScratch, name), value) << name;
    }
    // Names compare without case; writing again replaces type and data.
    ASSERT_EQ(reg::WriteValue(m_store, m_root.get(), "TEXT", regtest::Dword(7)), reg::kSuccess);
    EXPECT_EQ(regtest::Get(m_store, reg::kCurrentUser, kScratch, "text"), regtest::Dword(7));
    // The default value has no name.
    ASSERT_EQ(reg::WriteValue(m_store, m_root.get(), nullptr, regtest::Text("d")), reg::kSuccess);
    EXPECT_EQ(regtest::Get(m_store, reg::kCurrentUser, kScratch, ""), regtest::Text("d"));
}

TEST_F(RegistryContract, ReadsIntoSmallBuffersFailWithMoreData) {
    ASSERT_EQ(reg::WriteValue(m_store, m_root.get(), "Props", regtest::Binary({1, 2, 3, 4, 5, 6})),
              reg::kSuccess);
    ASSERT_EQ(reg::WriteValue(m_store, m_root.get(), "Text", regtest::Text("12345")),
              reg::kSuccess);
    std::uint8_t buffer[8] = {};
    std::uint32_t type = 0;
    std::uint32_t size = 4;
    EXPECT_EQ(m_store.QueryValue(m_root.get(), "Props", &type, buffer, &size), reg::kMoreData);
    EXPECT_EQ(size, 6u);
    size = 0;
    EXPECT_EQ(m_store.QueryValue(m_root.get(), "Props", &type, nullptr, &size), reg::kSuccess);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(type, reg::kBinary);
    size = 6;
    EXPECT_EQ(m_store.QueryValue(m_root.get(), "Props", nullptr, buffer, &size), reg::kSuccess);
    EXPECT_EQ(buffer[5], 6);
    // Text of 5 characters and its NUL does not fit 4 bytes either.
    size = 4;
    EXPECT_EQ(m_store.QueryValue(m_root.get(), "Text", nullptr, buffer, &size), reg::kMoreData);
    size = 6;
    EXPECT_EQ(m_store.QueryValue(m_root.get(), "Text", &type, buffer, &size), reg::kSuccess);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(type, reg::kSz);
    size = sizeof buffer;
    EXPECT_EQ(m_store.QueryValue(m_root.get(), "Missing", nullptr, buffer, &size),
              reg::kFileNotFound);
}

TEST_F(RegistryContract, ValuesEnumerateWithNamesAndData) {
    for (const char* name : {"Zeta", "alpha", "MSTCP\\0002", "Beta"}) {
        ASSERT_EQ(reg::WriteValue(m_store, m_root.get(), name, regtest::Text(name)), reg::kSuccess);
    }
    std::vector<std::string> names = regtest::ValueNames(m_store, reg::kCurrentUser, kScratch);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Beta", "MSTCP\\0002", "Zeta", "alpha"}));

    reg::ValueWalker walker(m_store, m_root.get());
    std::string name;
    reg::Value value;
    while (walker.Next(name, &value)) EXPECT_EQ(value, regtest::Text(name));
    EXPECT_EQ(walker.status(), reg::kNoMoreItems);

    char small[3];
    std::uint32_t length = sizeof small;
    EXPECT_EQ(m_store.EnumValue(m_root.get(), 0, small, &length, nullptr, nullptr, nullptr),
              reg::kMoreData);
}

TEST_F(RegistryContract, KeyInformationGivesCountsAndLongestLengths) {
    ASSERT_TRUE(reg::Create(m_store, m_root.get(), "Short"));
    ASSERT_TRUE(reg::Create(m_store, m_root.get(), "AMuchLongerName"));
    ASSERT_EQ(reg::WriteValue(m_store, m_root.get(), "Properties",
                              regtest::Binary(std::vector<std::uint8_t>(40, 1))),
              reg::kSuccess);
    ASSERT_EQ(reg::WriteValue(m_store, m_root.get(), "N", regtest::Dword(3)), reg::kSuccess);
    reg::KeyInfo info;
    ASSERT_EQ(m_store.QueryInfoKey(m_root.get(), &info), reg::kSuccess);
    EXPECT_EQ(info.subKeys, 2u);
    EXPECT_EQ(info.maxSubKeyLen, 15u);
    EXPECT_EQ(info.values, 2u);
    EXPECT_EQ(info.maxValueNameLen, 10u);
    EXPECT_EQ(info.maxValueLen, 40u);
}

TEST_F(RegistryContract, DeletingValuesAndTrees) {
    ASSERT_EQ(reg::WriteValue(m_store, m_root.get(), "Gone", regtest::Dword(1)), reg::kSuccess);
    EXPECT_EQ(m_store.DeleteValue(m_root.get(), "GONE"), reg::kSuccess);
    EXPECT_EQ(m_store.DeleteValue(m_root.get(), "Gone"), reg::kFileNotFound);
    EXPECT_EQ(regtest::ValueNames(m_store, reg::kCurrentUser, kScratch).size(), 0u);

    ASSERT_TRUE(
        regtest::Put(m_store, reg::kCurrentUser, Path("Tree\\A\\B"), "v", regtest::Dword(1)));
    ASSERT_TRUE(regtest::Put(m_store, reg::kCurrentUser, Path("Tree\\C"), "v", regtest::Dword(2)));
    reg::ScopedKey held = reg::Open(m_store, reg::kCurrentUser, Path("Tree\\A").c_str());
    // One key at a time: a key that still has subkeys is refused, and nothing goes.
    EXPECT_NE(m_store.DeleteKey(reg::kCurrentUser, Path("Tree\\A").c_str()), reg::kSuccess);
    EXPECT_EQ(regtest::Get(m_store, reg::kCurrentUser, Path("Tree\\A\\B"), "v"), regtest::Dword(1));
    EXPECT_EQ(m_store.DeleteKey(reg::kCurrentUser, Path("Tree\\C").c_str()), reg::kSuccess);
    EXPECT_FALSE(regtest::KeyExists(m_store, reg::kCurrentUser, Path("Tree\\C")));
    EXPECT_EQ(reg::DeleteTree(m_store, reg::kCurrentUser, Path("tree").c_str()), reg::kSuccess);
    EXPECT_FALSE(regtest::KeyExists(m_store, reg::kCurrentUser, Path("Tree")));
    EXPECT_NE(reg::DeleteTree(m_store, reg::kCurrentUser, Path("Tree").c_str()), reg::kSuccess);
    // A handle to a deleted key can no longer make values or subkeys.
    EXPECT_NE(reg::WriteValue(m_store, held.get(), "late", regtest::Dword(1)), reg::kSuccess);
    EXPECT_FALSE(reg::Create(m_store, held.get(), "Child"));
    EXPECT_FALSE(regtest::KeyExists(m_store, reg::kCurrentUser, Path("Tree")));
}

// A tree deeper and wider than one level of subkeys (which the NT registry refuses to
// delete by itself) goes whole, past what one path can name and with the longest
// names; its parent and a neighbour whose name starts the same stay.
TEST_F(RegistryContract, DeletingADeepTreeTakesEveryLevelAndLeavesItsNeighbours) {
    ASSERT_TRUE(
        regtest::Put(m_store, reg::kCurrentUser, Path("Treehouse"), "v", regtest::Dword(7)));
    reg::ScopedKey level = reg::Create(m_store, m_root.get(), "Tree");
    ASSERT_TRUE(level);
    const std::string longest(255, 'n');
    for (int depth = 0; depth < 40; ++depth) {
        for (const char* leaf : {"LeafA", "LeafB"}) {
            reg::ScopedKey key = reg::Create(m_store, level.get(), leaf);
            ASSERT_TRUE(key) << depth;
            ASSERT_EQ(reg::WriteValue(m_store, key.get(), "v", regtest::Dword(1)), reg::kSuccess);
        }
        if (depth % 10 == 5) {
            ASSERT_TRUE(reg::Create(m_store, level.get(), longest.c_str()));
        }
        level = reg::Create(m_store, level.get(), depth % 10 == 9 ? longest.c_str() : "Next");
        ASSERT_TRUE(level) << depth;
    }
    level.Close();

    EXPECT_EQ(reg::DeleteTree(m_store, reg::kCurrentUser, Path("Tree").c_str()), reg::kSuccess);
    EXPECT_FALSE(regtest::KeyExists(m_store, reg::kCurrentUser, Path("Tree")));
    EXPECT_EQ(regtest::SubKeys(m_store, reg::kCurrentUser, kScratch),
              std::vector<std::string>{"Treehouse"});
    EXPECT_EQ(regtest::Get(m_store, reg::kCurrentUser, Path("Treehouse"), "v"), regtest::Dword(7));
    // An empty path names no subkey: the parent is not removed through it.
    EXPECT_NE(reg::DeleteTree(m_store, m_root.get(), ""), reg::kSuccess);
    EXPECT_TRUE(regtest::KeyExists(m_store, reg::kCurrentUser, kScratch));
}

// A handle does only what it was opened for: reading takes no right to change.
TEST_F(RegistryContract, KeysOpenedForReadingRefuseChanges) {
    ASSERT_EQ(reg::WriteValue(m_store, m_root.get(), "Kept", regtest::Dword(1)), reg::kSuccess);
    reg::ScopedKey reader = reg::Open(m_store, reg::kCurrentUser, kScratch);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reg::WriteValue(m_store, reader.get(), "New", regtest::Dword(2)), reg::kAccessDenied);
    EXPECT_EQ(reg::WriteValue(m_store, reader.get(), "Kept", regtest::Dword(2)),
              reg::kAccessDenied);
    EXPECT_EQ(m_store.DeleteValue(reader.get(), "Kept"), reg::kAccessDenied);
    EXPECT_EQ(regtest::Get(m_store, reg::kCurrentUser, kScratch, "Kept"), regtest::Dword(1));
    EXPECT_EQ(regtest::ValueNames(m_store, reg::kCurrentUser, kScratch),
              std::vector<std::string>{"Kept"});

    reg::ScopedKey writer = reg::OpenForWrite(m_store, reg::kCurrentUser, kScratch);
    ASSERT_TRUE(writer);
    EXPECT_EQ(reg::WriteValue(m_store, writer.get(), "New", regtest::Dword(2)), reg::kSuccess);
    EXPECT_EQ(m_store.DeleteValue(writer.get(), "Kept"), reg::kSuccess);
}

TEST_F(RegistryContract, LongNamesWorkAndLongPathsAreRefused) {
    const std::string longest(255, 'k');
    reg::ScopedKey key = reg::Create(m_store, m_root.get(), longest.c_str());
    ASSERT_TRUE(key);
    const std::string longValueName(255, 'v');
    EXPECT_EQ(reg::WriteValue(m_store, key.get(), longValueName.c_str(), regtest::Dword(1)),
              reg::kSuccess);
    reg::KeyInfo info;
    ASSERT_EQ(m_store.QueryInfoKey(m_root.get(), &info), reg::kSuccess);
    EXPECT_EQ(info.maxSubKeyLen, 255u);
    EXPECT_EQ(regtest::SubKeys(m_store, reg::kCurrentUser, kScratch),
              std::vector<std::string>{longest});
    reg::ScopedKey reopened = reg::Open(m_store, m_root.get(), longest.c_str());
    ASSERT_TRUE(reopened);
    reg::ValueWalker walker(m_store, reopened.get());
    std::string name;
    ASSERT_TRUE(walker.Next(name));
    EXPECT_EQ(name, longValueName);

    // The ANSI functions take paths of up to 260 characters.
    const std::string fits = Path(std::string(260 - Path("").size(), 'p'));
    const std::string tooLong = Path(std::string(261 - Path("").size(), 'p'));
    ASSERT_EQ(fits.size(), 260u);
    EXPECT_TRUE(reg::Create(m_store, reg::kCurrentUser, fits.c_str()));
    reg::Status status = reg::kSuccess;
    EXPECT_FALSE(reg::Create(m_store, reg::kCurrentUser, tooLong.c_str(), &status));
    EXPECT_EQ(status, reg::kMoreData);
    EXPECT_FALSE(reg::Open(m_store, reg::kCurrentUser, tooLong.c_str(), &status));
    EXPECT_EQ(status, reg::kMoreData);
}
