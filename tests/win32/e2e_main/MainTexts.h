// Texts of the main dialog as the tests compare them, and the translations they install.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "e2e/Driver.h"

namespace e2e {

// The title and the five localised controls of the main dialog.
struct MainTexts {
    std::string title, introduction, hint, set, reset, language;
    bool operator==(const MainTexts&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const MainTexts& texts) {
    return out << "{title \"" << texts.title << "\", introduction \"" << texts.introduction
               << "\", hint \"" << texts.hint << "\", set \"" << texts.set << "\", reset \""
               << texts.reset << "\", language \"" << texts.language << "\"}";
}

inline MainTexts ReadMainTexts(HWND main) {
    return {Text(main),
            ItemText(main, IDC_static_Introduction),
            ItemText(main, IDC_HINT),
            ItemText(main, IDC_SET_SETTINGS),
            ItemText(main, IDC_RESET_SETTINGS),
            ItemText(main, IDC_Language)};
}

using Entries = std::vector<std::pair<std::string, std::string>>;

// A complete translation of the main dialog; "*" marks line breaks as in every
// language file, and the texts are bytes of the ANSI code page (1252).
inline const Entries kGermanEntries = {
    {"18", "Vornel Deutsch"},
    {"IDC_static_Introduction", "Langweilt Sie Ihre Verbindung?*Vornel hilft."},
    {"IDC_HINT",
     "Vornel sichert Ihre Einstellungen.**Viel Gl\xFC"
     "ck ..."},
    {"IDC_SET_SETTINGS", "&Einstellungen setzen"},
    {"IDC_RESET_SETTINGS",
     "&Zur\xFC"
     "cksetzen"},
    {"IDC_Language", "Sprache"},
    {"IDOK", "Gut"},
    {"IDC_STATIC2", "Fassung"},
    {"79",
     "Ihre Windows-Version*wird nicht unterst\xFC"
     "tzt."},
};

// kGermanEntries as the dialog shows them.
inline const MainTexts kGermanTexts = {
    "Vornel Deutsch",
    "Langweilt Sie Ihre Verbindung?\nVornel hilft.",
    "Vornel sichert Ihre Einstellungen.\n\nViel Gl\xFC"
    "ck ...",
    "&Einstellungen setzen",
    "&Zur\xFC"
    "cksetzen",
    "Sprache",
};

// The built-in English texts (the dialog's defaults when no language file has them).
inline const MainTexts kEnglishTexts = {
    "Vornel",
    "Are you bored from your internet connection speed?\nDo you need faster internet "
    "surfing?\nDo you want to keep your connection secure?\nDo you want to speed up your "
    "modem , DSL and LAN connection speed?\nDo you want to add more speeds greater than 115200 "
    "to your modem settings?\nAre you bored from trying out different internet settings in "
    "order to get more speedy internet connections and nothing happen?\nDo you want to speed "
    "up your internet connection without any networking and communication background "
    "required?\nDo you want to achieve all this just by a couple of mouse clicks?\n\nVornel "
    "offers you all these capabilities and more, just follow the instructions to have your own "
    "speed internet connections.\n\nNo more different settings trying, Vornel will try for you "
    "those settings to give you the most appropriate settings for your own system.",
    "Vornel will save your original settings, so if you feel that Vornel doesn't speed up your "
    "conection, you can reset your connection settings by simply click the 'Reset Connection "
    "Settings' Button.\n\nSo Good Luck ...",
    "&Set Connection Settings",
    "&Reset Connection Settings",
    "Language",
};

inline constexpr char kRefusalEnglish[] =
    "Failed to detect your Windows version so we can't boost your connection.";

// A language whose file only retitles the main dialog with its own name, so that the
// title shows which file the program read.
inline std::string TitleOnlyLanguage(const std::string& title) {
    return LanguageFile({{"18", title}});
}

inline std::string Flag(COLORREF colour, int size = 16) {
    return BitmapFile(size, size, colour);
}

}  // namespace e2e
