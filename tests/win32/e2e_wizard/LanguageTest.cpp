// The wizard in another language: captions, buttons and the composed page texts come
// from the language file; every shipped translation on every page, pictured.
#include <cctype>
#include <gtest/gtest.h>

#include "PageChecks.h"
#include "WizardTest.h"
#include "framework/PalettePicture.h"
#include "wizard/ModemPicture.h"

namespace e2e::wizard {
namespace {

// Whether the modem page's picture shows `words` at their place, as the font the picture was
// drawn for (MS Sans Serif at 8 points on a 96-dot screen, or its stand-in at large fonts)
// writes them in black on the picture's face colour.
::testing::AssertionResult ShowsPictureWords(HWND picture, const ::wizard::PictureWords& place,
                                             const std::string& words) {
    if (!picture) return ::testing::AssertionFailure() << "no picture";
    const int height = -::wizard::kPictureFontPixels;
    const GdiObject<HFONT> font = PixelFont(
        ::wizard::kPictureFontPixels, ::wizard::kPictureLineHeight, ::wizard::kPictureFontFace,
        ::wizard::kPictureFallbackFace, ::wizard::kPictureFallbackPixels);
    SIZE size{};
    TEXTMETRICA metrics{};
    const Pixels expected = DrawOffscreen(place.right - place.left, 2 * -height, [&](HDC dc) {
        SelectObject(dc, font.get());
        GetTextExtentPoint32A(dc, words.c_str(), static_cast<int>(words.size()), &size);
        GetTextMetricsA(dc, &metrics);
        SetTextAlign(dc, TA_LEFT | TA_BASELINE);
        SetBkColor(dc, RGB(192, 192, 192));
        SetTextColor(dc, RGB(0, 0, 0));
        const RECT cell{0, 0, size.cx, metrics.tmHeight};
        ExtTextOutA(dc, 0, metrics.tmAscent, ETO_OPAQUE, &cell, words.c_str(),
                    static_cast<UINT>(words.size()), nullptr);
    });
    if (place.left + size.cx > place.right) {
        return ::testing::AssertionFailure() << "\"" << words << "\" is wider than its place";
    }
    const Pixels shown = CaptureScreen(ScreenRect(picture));
    const int top = place.baseline - metrics.tmAscent;
    int differing = 0;
    for (int y = 0; y < metrics.tmHeight; ++y) {
        for (int x = 0; x < size.cx; ++x) {
            const int sx = place.left + x;
            const int sy = top + y;
            if (sx >= shown.width || sy >= shown.height ||
                shown.colours[static_cast<size_t>(sy * shown.width + sx)] !=
                    expected.colours[static_cast<size_t>(y * expected.width + x)]) {
                ++differing;
            }
        }
    }
    if (differing == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << differing << " pixels of \"" << words << "\" differ from the dialog font's writing";
}

TEST_F(WizardTest, TranslatedTextsReachTheButtonsCaptionsAndComposedTexts) {
    // Every step of a Windows 98 run has a caption of its own in the file.
    const std::vector<std::string> steps = {"Schritt eins", "Schritt zwei",    "Schritt drei",
                                            "Schritt vier", "Schritt f\xFCnf", "Schritt sechs"};
    Install().AddLanguage("Test", LanguageFile({{"30", steps[0]},
                                                {"31", steps[1]},
                                                {"32", steps[2]},
                                                {"33", steps[3]},
                                                {"34", steps[4]},
                                                {"35", steps[5]},
                                                {"ID_WIZBACK",
                                                 "< &Zur\xFC"
                                                 "ck"},
                                                {"ID_WIZNEXT", "&Weiter >"},
                                                {"IDCANCEL", "Abbrechen"},
                                                {"IDC_step2_RADIO_LAN", "&LAN-Verbindung."},
                                                {"2", "war"},
                                                {"3", "fehlt."},
                                                {"4", "Byte"},
                                                {"IDC_static_step3_MTUExplain", "MTU-Text.**MTU"},
                                                {"IDC_static_RecommendedMTU", "%d / %d"},
                                                {"41", "Fertig.*Neu starten."}}));
    AddWin9xAdapter({"0000", "Dial-Up Adapter", "0000", "0000", "1400", std::nullopt});
    SetWindowsVersion("win98");
    InstallProductKey("Test");
    HWND main = Start();
    ASSERT_TRUE(main);
    std::optional<Wizard> opened = Wizard::Open(Vornel(), main);
    ASSERT_TRUE(opened);
    const Wizard& wizard = *opened;
    ASSERT_TRUE(wizard.WaitForStep(steps[0], kNextOnly));
    EXPECT_TRUE(wizard.WaitForText(IDC_step2_RADIO_LAN, "&LAN-Verbindung."));
    EXPECT_TRUE(wizard.WaitForText(IDC_step2_RADIO_DSL, "&Digital Subscriber Line (DSL)."));
    EXPECT_EQ(ItemText(wizard.Sheet(), ID_WIZBACK),
              "< &Zur\xFC"
              "ck");
    EXPECT_EQ(ItemText(wizard.Sheet(), ID_WIZNEXT), "&Weiter >");
    EXPECT_EQ(ItemText(wizard.Sheet(), IDCANCEL), "Abbrechen");
    // Finish keeps the platform's own text in every language.
    EXPECT_EQ(ItemText(wizard.Sheet(), ID_WIZFINISH), "Finish");

    wizard.PressAlt('l');
    ASSERT_TRUE(WaitUntil([&] { return wizard.IsChecked(IDC_step2_RADIO_LAN); }));
    ASSERT_TRUE(wizard.NextTo(steps[1]));
    EXPECT_TRUE(wizard.WaitForText(IDC_static_step3_MTUExplain, "MTU-Text.\n\nMTU war 1400 Byte."));
    EXPECT_TRUE(wizard.WaitForText(IDC_static_step3_MSSExplain,
                                   Explained(text::kIDC_static_step3_MSSExplain, " fehlt.")));
    // The number goes wherever the translation puts "%d", as often as it does.
    EXPECT_TRUE(wizard.WaitForText(IDC_static_RecommendedMTU, "1500 / 1500"));
    for (size_t i = 2; i < steps.size(); ++i) {
        ASSERT_TRUE(wizard.NextTo(steps[i], i + 1 == steps.size() ? kBackFinish : kBackNext));
    }
    wizard.Finish();
    const std::optional<MessageBoxInfo> box = wizard.WaitForMessageBox();
    ASSERT_TRUE(IsBox(box, "Fertig.\nNeu starten.", BoxIcon::None, wizard.Sheet()));
    ASSERT_TRUE(Answer(*box, IDOK));
    EXPECT_TRUE(wizard.WaitUntilClosed());
}

// Every page in each shipped translation, with the longer "was set to" sentences, for
// people to look at: a translation is longer than the English the pages were laid
// out for.
class ShippedTranslation : public WizardTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ShippedTranslation, OnEveryPage) {
    const std::string language = GetParam();
    const std::string file = Install().AddShippedLanguage(language);
    SetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPer1_0Server", 20);
    SetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPerServer", 20);
    const std::pair<const char*, DWORD> inForce[] = {
        {"DefaultTTL", 128},       {"TcpWindowSize", 256960},  {"EnablePMTUDiscovery", 1},
        {"EnablePMTUBHDetect", 0}, {"KeepAliveTime", 7200000}, {"KeepAliveInterval", 1000},
        {"SYNAttackProtect", 2},   {"EnableICMPRedirects", 0},
    };
    for (const auto& [name, value] : inForce) {
        SetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, name, value);
    }
    AddInterface("{1A}", 1500, 1460);
    AddModem(keys::kWinNtModems, "0000", ModemProperties(115200));
    SetWindowsVersion("winxp");
    InstallProductKey(language);
    HWND main = Start();
    ASSERT_TRUE(main);
    std::optional<Wizard> opened = Wizard::Open(Vornel(), main);
    ASSERT_TRUE(opened);
    const Wizard& wizard = *opened;

    const char* captions[] = {"21", "22", "23", "24", "25", "26", "27", "28", "29"};
    for (size_t i = 0; i < std::size(captions); ++i) {
        const std::string caption = ShownText(file, captions[i]);
        ASSERT_FALSE(caption.empty()) << captions[i];
        if (i > 0) {
            ASSERT_TRUE(
                wizard.NextTo(caption, i + 1 == std::size(captions) ? kBackFinish : kBackNext));
        } else {
            ASSERT_TRUE(wizard.WaitForStep(caption, kNextOnly));
            EXPECT_TRUE(wizard.WaitForText(IDC_step2_RADIO_DialUp,
                                           ShownText(file, "IDC_step2_RADIO_DialUp")));
            EXPECT_EQ(ItemText(wizard.Sheet(), ID_WIZNEXT), ShownText(file, "ID_WIZNEXT"));
        }
        if (i == 1) {
            EXPECT_TRUE(wizard.WaitForText(IDC_static_step3_MTUExplain,
                                           ShownText(file, "IDC_static_step3_MTUExplain") + " " +
                                               ShownText(file, "2") + " 1500 " +
                                               ShownText(file, "4") + "."));
        }
        if (i + 1 == std::size(captions)) {
            // The modem page's picture speaks the language too.
            HWND picture = wizard.Control(IDC_MODEM_SPEEDS);
            ASSERT_TRUE(WaitForSteadyPicture(picture));
            for (const ::wizard::PictureWords& words : ::wizard::kModemPictureWords) {
                EXPECT_TRUE(ShowsPictureWords(picture, words, ShownText(file, words.text.key)))
                    << words.text.key;
            }
        }
        std::string shot = "wizard-";  // appended: GCC 12 warns wrongly on "..." + string
        for (char c : language) {
            shot += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        shot += '-';
        shot += std::to_string(i + 1);
        EXPECT_TRUE(SaveScreenshot(shot, wizard.Sheet()));
    }
    wizard.Cancel();
    EXPECT_TRUE(wizard.WaitUntilClosed());
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedTranslation,
                         ::testing::Values("German", "French", "Spanish"));

}  // namespace
}  // namespace e2e::wizard
