// The main dialog's language list and the language change, end to end.
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <set>

#include "MainTexts.h"
#include "e2e/Driver.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

std::vector<std::string> Names(const std::vector<ComboItem>& items) {
    std::vector<std::string> names;
    for (const ComboItem& item : items) names.push_back(item.text);
    return names;
}

// What the list must hold after the program has gone through the languages in
// listing order: a language with a usable flag gets the next image and is inserted
// at the position of that image's index; one without goes to the end.
std::vector<ComboItem> ExpectedList(const std::vector<std::string>& listingOrder,
                                    const std::set<std::string>& withFlag) {
    std::vector<ComboItem> items;
    int images = 0;
    for (const std::string& name : listingOrder) {
        if (withFlag.count(name)) {
            const int image = images++;
            const auto at = items.begin() + std::min<ptrdiff_t>(image, std::ssize(items));
            items.insert(at, ComboItem{name, image, image});
        } else {
            items.push_back(ComboItem{name, -1, -1});
        }
    }
    return items;
}

void ExpectSameItems(const std::vector<ComboItem>& actual, const std::vector<ComboItem>& expected) {
    ASSERT_EQ(Names(actual), Names(expected));
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].image, expected[i].image) << "image of " << actual[i].text;
        EXPECT_EQ(actual[i].selectedImage, expected[i].selectedImage)
            << "selected image of " << actual[i].text;
    }
}

int IndexOf(const std::vector<ComboItem>& items, const std::string& name) {
    const auto found = std::find_if(items.begin(), items.end(),
                                    [&](const ComboItem& item) { return item.text == name; });
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

class LanguageList : public VornelTest {
protected:
    void AddLanguages(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            Install().AddLanguage(name, TitleOnlyLanguage("Vornel " + name));
        }
    }
    HWND StartToMainDialog() {
        HWND main = Launch().StartToMainDialog();
        if (main) m_list = Item(main, IDC_LANGUAGE_LIST);
        return main;
    }
    HWND m_list = nullptr;
};

TEST_F(LanguageList, ShowsEveryLanguageWithItsFlagInListingOrder) {
    AddLanguages({"Deutsch", "English", "Francais", "Italiano"});
    for (const std::string& name : Install().LanguagesInListingOrder()) {
        Install().AddFlag(name, Flag(RGB(0, 0, 160)));
    }
    InstallProductKey("Francais");
    ASSERT_TRUE(StartToMainDialog());
    const std::vector<std::string> order = Install().LanguagesInListingOrder();
    const std::vector<ComboItem> items = ComboExItems(m_list);
    ExpectSameItems(items, ExpectedList(order, {order.begin(), order.end()}));
    EXPECT_EQ(ComboSelection(m_list), IndexOf(items, "Francais"));
}

TEST_F(LanguageList, PutsTheFirstListedLanguageWithoutFlagLast) {
    AddLanguages({"Deutsch", "English", "Francais"});
    const std::vector<std::string> order = Install().LanguagesInListingOrder();
    ASSERT_EQ(order.size(), 3u);
    Install().AddFlag(order[1], Flag(RGB(0, 128, 0)));
    Install().AddFlag(order[2], Flag(RGB(0, 0, 128)));
    InstallProductKey(order[0]);
    ASSERT_TRUE(StartToMainDialog());
    const std::vector<ComboItem> items = ComboExItems(m_list);
    ExpectSameItems(items, {{order[1], 0, 0}, {order[2], 1, 1}, {order[0], -1, -1}});
    EXPECT_EQ(ComboSelection(m_list), 2);
}

TEST_F(LanguageList, TreatsBrokenFlagsAsMissingAndScalesOtherSizes) {
    AddLanguages({"Cesky", "Dansk", "Eesti", "Suomi", "Norsk"});
    const std::vector<std::string> order = Install().LanguagesInListingOrder();
    ASSERT_EQ(order.size(), 5u);
    // By listing position: a good flag, a corrupt file, a large flag, no flag, an
    // empty file.
    Install().AddFlag(order[0], Flag(RGB(255, 0, 0)));
    Install().AddFlag(order[1], "BM this is no bitmap at all");
    Install().AddFlag(order[2], Flag(RGB(0, 255, 0), 48));
    Install().AddFlag(order[4], "");
    InstallProductKey(order[3]);
    ASSERT_TRUE(StartToMainDialog());
    const std::vector<ComboItem> items = ComboExItems(m_list);
    ExpectSameItems(items, ExpectedList(order, {order[0], order[2]}));
    EXPECT_EQ(ComboSelection(m_list), IndexOf(items, order[3]));
}

TEST_F(LanguageList, SelectsTheStoredLanguageWhateverItsLetterCase) {
    AddLanguages({"Deutsch", "English"});
    InstallProductKey("dEUTSCH");
    HWND main = StartToMainDialog();
    ASSERT_TRUE(main);
    const std::vector<ComboItem> items = ComboExItems(m_list);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(ComboSelection(m_list), IndexOf(items, "Deutsch"));
    EXPECT_EQ(Text(main), "Vornel Deutsch");
}

TEST_F(LanguageList, SelectsNothingWhenNoLanguageMatches) {
    AddLanguages({"Deutsch", "English"});
    InstallProductKey("Klingon");
    HWND main = StartToMainDialog();
    ASSERT_TRUE(main);
    EXPECT_EQ(ComboExItems(m_list).size(), 2u);
    EXPECT_EQ(ComboSelection(m_list), CB_ERR);
    EXPECT_EQ(ReadMainTexts(main), kEnglishTexts);
}

TEST_F(LanguageList, SelectsNothingWhenNoLanguageIsStored) {
    AddLanguages({"Deutsch"});
    InstallProductKey(std::nullopt);
    HWND main = StartToMainDialog();
    ASSERT_TRUE(main);
    EXPECT_EQ(ComboExItems(m_list).size(), 1u);
    EXPECT_EQ(ComboSelection(m_list), CB_ERR);
    EXPECT_EQ(ReadMainTexts(main), kEnglishTexts);
}

TEST_F(LanguageList, OffersOnlyLanguageFiles) {
    AddLanguages({"Deutsch"});
    Install().AddFlag("Svenska", Flag(RGB(0, 0, 200)));  // a flag without a language
    Install().WriteFile("Lang\\readme.txt", "not a language");
    Install().WriteFile("Lang\\Deutsch.ini.bak", "[Linkvane]\r\n18=Backup\r\n");
    Install().WriteFile("Lang\\Espanol.inix", "[Linkvane]\r\n18=Espanol\r\n");
    CreateDirectoryA((Install().LangFolder() + "\\Folder.ini").c_str(), nullptr);
    InstallProductKey("Deutsch");
    ASSERT_TRUE(StartToMainDialog());
    EXPECT_EQ(Names(ComboExItems(m_list)), std::vector<std::string>{"Deutsch"});
}

TEST_F(LanguageList, IsEmptyWithoutALanguageFolder) {
    Install().RemoveLangFolder();
    InstallProductKey("English");
    HWND main = StartToMainDialog();
    ASSERT_TRUE(main);
    EXPECT_TRUE(ComboExItems(m_list).empty());
    EXPECT_EQ(ComboSelection(m_list), CB_ERR);
    EXPECT_EQ(ReadMainTexts(main), kEnglishTexts);
}

// The list keeps a flag's black: the German flag's top stripe stays black above its red one.
TEST_F(LanguageList, ShowsTheShippedGermanFlagWithItsBlackStripe) {
    Install().AddShippedLanguage("German");
    InstallProductKey("German");
    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_TRUE(main);
    HWND list = Item(main, IDC_LANGUAGE_LIST);
    ASSERT_EQ(ComboSelection(list), 0);
    // A focused list blends its picture with the selection colour.
    FocusControl(main, IDC_SET_SETTINGS);
    ASSERT_TRUE(vornel.Settle());
    ASSERT_TRUE(WaitForSteadyPicture(list));
    const Pixels shown = CaptureScreen(ScreenRect(list));
    const auto at = [&](int x, int y) {
        return shown.colours[static_cast<size_t>(y * shown.width + x)];
    };
    const auto red = [](DWORD c) {
        return (c >> 16) > 0xB0 && ((c >> 8) & 0xFF) < 0x40 && (c & 0xFF) < 0x40;
    };
    // The red stripe: the first row with 16 red pixels side by side.
    std::optional<POINT> stripe;
    for (int y = 4; y < shown.height && !stripe; ++y) {
        for (int x = 0, run = 0; x < shown.width && !stripe; ++x) {
            run = red(at(x, y)) ? run + 1 : 0;
            if (run == 16) stripe = POINT{x - 15, y};
        }
    }
    ASSERT_TRUE(stripe) << "no German flag in the list";
    int black = 0;
    for (int y = stripe->y - 4; y < stripe->y; ++y) {
        for (int x = stripe->x; x < stripe->x + 16; ++x) black += at(x, y) == 0 ? 1 : 0;
    }
    EXPECT_EQ(black, 64) << "the flag's black stripe shows through";
}

// Magenta is the flags' transparent colour (no shipped flag uses it): a flag framed in
// magenta shows the list's own background around its red, neither magenta nor the
// black a list without a mask would put there.
TEST_F(LanguageList, ShowsAFlagsMagentaAsTransparent) {
    AddLanguages({"Rot"});
    Install().AddFlag("Rot", BitmapFile(16, 16, RGB(255, 0, 0), RGB(255, 0, 255)));
    InstallProductKey("Rot");
    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_TRUE(main);
    HWND list = Item(main, IDC_LANGUAGE_LIST);
    FocusControl(main, IDC_SET_SETTINGS);
    ASSERT_TRUE(vornel.Settle());
    ASSERT_TRUE(WaitForSteadyPicture(list));
    const Pixels shown = CaptureScreen(ScreenRect(list));
    const auto at = [&](int x, int y) {
        return shown.colours[static_cast<size_t>(y * shown.width + x)];
    };
    // The flag's red inside its frame: the first row with 14 red pixels side by side.
    std::optional<POINT> red;
    for (int y = 0; y < shown.height && !red; ++y) {
        for (int x = 0, run = 0; x < shown.width && !red; ++x) {
            run = at(x, y) == 0xFF0000 ? run + 1 : 0;
            if (run == 14) red = POINT{x - 13, y};
        }
    }
    ASSERT_TRUE(red) << "no flag in the list";
    ASSERT_GE(red->x, 2);
    const DWORD frame = at(red->x - 1, red->y);
    EXPECT_EQ(frame, at(red->x - 2, red->y)) << "the frame is not the background beside it";
    EXPECT_NE(frame, 0xFF00FFu);
    EXPECT_NE(frame, 0u);
}

// ---------------------------------------------------------------------------
// Choosing another language.

class LanguageChange : public VornelTest {
protected:
    void SetUp() override {
        VornelTest::SetUp();
        Install().AddLanguage("Deutsch", LanguageFile(kGermanEntries));
        Install().AddFlag("Deutsch", Flag(RGB(255, 204, 0)));
        Install().AddLanguage("English", LanguageFile({{"IDOK", "OK"}}));
        Install().AddFlag("English", Flag(RGB(0, 36, 125)));
    }
};

TEST_F(LanguageChange, RelabelsEverythingAtOnceAndStoresTheChoice) {
    InstallProductKey("English", /*backup=*/true);
    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_TRUE(main);
    HWND list = Item(main, IDC_LANGUAGE_LIST);
    const std::vector<ComboItem> itemsBefore = ComboExItems(list);
    ASSERT_EQ(ReadMainTexts(main), kEnglishTexts);
    ASSERT_TRUE(IsWindowEnabled(Item(main, IDC_RESET_SETTINGS)));

    const int german = IndexOf(itemsBefore, "Deutsch");
    SelectComboItem(main, IDC_LANGUAGE_LIST, german);
    // The title is set first; the program handles no outside message until it has
    // relabelled the rest, so everything must be German once the title is.
    ASSERT_TRUE(WaitUntil([&] { return Text(main) == kGermanTexts.title; })) << Text(main);
    EXPECT_EQ(ReadMainTexts(main), kGermanTexts);
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kProductKey, "Language"), "Deutsch");

    ExpectSameItems(ComboExItems(list), itemsBefore);
    EXPECT_EQ(ComboSelection(list), german);
    EXPECT_TRUE(IsWindowEnabled(Item(main, IDC_RESET_SETTINGS)));
}

TEST_F(LanguageChange, TakesEffectForTheNextWindowAndTheNextStart) {
    InstallProductKey("English");
    {
        VornelSession& vornel = Launch();
        HWND main = vornel.StartToMainDialog();
        ASSERT_TRUE(main);
        const int german = IndexOf(ComboExItems(Item(main, IDC_LANGUAGE_LIST)), "Deutsch");
        SelectComboItem(main, IDC_LANGUAGE_LIST, german);
        ASSERT_TRUE(WaitUntil([&] { return Text(main) == kGermanTexts.title; }));
        HWND about = vornel.OpenAboutBox(main);
        ASSERT_TRUE(about);
        EXPECT_EQ(ItemText(about, IDC_STATIC2), "Fassung");
        EXPECT_EQ(ItemText(about, IDOK), "Gut");
        Click(about, IDOK);
        ASSERT_TRUE(vornel.WaitUntilGone(about));
        SystemCommand(main, SC_CLOSE);
        ASSERT_TRUE(vornel.Process().WaitForExit());
    }
    VornelSession& again = Launch();
    HWND main = again.StartToMainDialog();
    ASSERT_TRUE(main);
    EXPECT_EQ(ReadMainTexts(main), kGermanTexts);
}

TEST_F(LanguageChange, BackToALanguageWithoutTextsRestoresTheEnglishDefaults) {
    InstallProductKey("Deutsch");
    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_TRUE(main);
    ASSERT_EQ(ReadMainTexts(main), kGermanTexts);
    const int english = IndexOf(ComboExItems(Item(main, IDC_LANGUAGE_LIST)), "English");
    SelectComboItem(main, IDC_LANGUAGE_LIST, english);
    ASSERT_TRUE(WaitUntil([&] { return Text(main) == kEnglishTexts.title; }));
    EXPECT_EQ(ReadMainTexts(main), kEnglishTexts);
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kProductKey, "Language"), "English");
}

TEST_F(LanguageChange, ReadsAFileChangedWhileRunningAtTheNextChange) {
    InstallProductKey("Deutsch");
    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_TRUE(main);
    ASSERT_EQ(Text(main), kGermanTexts.title);
    Install().AddLanguage("Deutsch", TitleOnlyLanguage("Vornel neu"));
    const std::vector<ComboItem> items = ComboExItems(Item(main, IDC_LANGUAGE_LIST));
    SelectComboItem(main, IDC_LANGUAGE_LIST, IndexOf(items, "English"));
    ASSERT_TRUE(WaitUntil([&] { return Text(main) == kEnglishTexts.title; })) << Text(main);
    SelectComboItem(main, IDC_LANGUAGE_LIST, IndexOf(items, "Deutsch"));
    EXPECT_TRUE(WaitUntil([&] { return Text(main) == "Vornel neu"; })) << Text(main);
    EXPECT_EQ(ItemText(main, IDC_HINT), kEnglishTexts.hint);
}

// ---------------------------------------------------------------------------
// Language files that no translator would write: texts fall back or are cut, and
// a text is never taken for a format.

class LanguageFileContent : public VornelTest {
protected:
    HWND StartWith(const std::string& fileBytes) {
        Install().AddLanguage("Odd", fileBytes);
        InstallProductKey("Odd");
        HWND main = Launch().StartToMainDialog();
        return main;
    }
};

TEST_F(LanguageFileContent, FormatDirectivesAreShownAsWritten) {
    HWND main = StartWith(LanguageFile({{"18", "%s%s%n%d %1 %%"}, {"IDC_HINT", "%s*%n"}}));
    ASSERT_TRUE(main);
    EXPECT_EQ(Text(main), "%s%s%n%d %1 %%");
    EXPECT_EQ(ItemText(main, IDC_HINT), "%s\n%n");
}

TEST_F(LanguageFileContent, ATextIsCutAfter1999Characters) {
    std::string longText;
    for (int i = 0; longText.size() < 5000; ++i) longText += std::to_string(i % 10);
    HWND main = StartWith(LanguageFile({{"IDC_static_Introduction", longText}}));
    ASSERT_TRUE(main);
    EXPECT_EQ(ItemText(main, IDC_static_Introduction), longText.substr(0, 1999));
}

TEST_F(LanguageFileContent, KeysAndSectionAreFoundInAnyLetterCase) {
    HWND main = StartWith("[LINKVANE]\r\nidc_hint = Hinweis \r\n18=\"Quoted title\"\r\n");
    ASSERT_TRUE(main);
    EXPECT_EQ(ItemText(main, IDC_HINT), "Hinweis");
    EXPECT_EQ(Text(main), "Quoted title");
}

TEST_F(LanguageFileContent, AnEmptyTextBlanksTheControl) {
    HWND main = StartWith(LanguageFile({{"IDC_HINT", ""}}));
    ASSERT_TRUE(main);
    EXPECT_EQ(ItemText(main, IDC_HINT), "");
    EXPECT_EQ(Text(main), kEnglishTexts.title);
}

TEST_F(LanguageFileContent, TextsOutsideTheSectionAreIgnored) {
    HWND main = StartWith("18=Before any section\r\n[Other]\r\n18=Other section\r\n");
    ASSERT_TRUE(main);
    EXPECT_EQ(ReadMainTexts(main), kEnglishTexts);
}

TEST_F(LanguageFileContent, BinaryGarbageGivesTheDefaults) {
    std::string garbage;
    for (int i = 0; i < 200000; ++i) garbage += static_cast<char>((i * 7919 + 13) % 256);
    HWND main = StartWith(garbage);
    ASSERT_TRUE(main);
    EXPECT_EQ(Text(main), kEnglishTexts.title);
}

TEST_F(LanguageFileContent, HugeFileWithEndlessLinesStillWorks) {
    std::string file = "[Linkvane]\r\nfiller=" + std::string(3'000'000, 'x') + "\r\n";
    file += "18=" + std::string(100'000, 'T') + "\r\n";
    file += "IDC_HINT=After the long lines\r\n";
    HWND main = StartWith(file);
    ASSERT_TRUE(main);
    EXPECT_EQ(Text(main), std::string(1999, 'T'));
    EXPECT_EQ(ItemText(main, IDC_HINT), "After the long lines");
}

}  // namespace
}  // namespace e2e
