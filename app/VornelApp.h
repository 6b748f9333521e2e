// The application object: start-up, the settings every part reads, and the
// language text store.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "app/LanguageStore.h"
#include "app/WindowsVersion.h"
#include "engine/PlatformFamily.h"
#include "framework/WinApp.h"
#include "res/TextCatalog.h"

class CVornelApp : public CWinApp {
public:
    CVornelApp() = default;

    // Runs the whole program; always FALSE so that the program ends when it returns.
    BOOL InitInstance() override;

    // The text for a key from the chosen language file, or the English
    // default; every "*" becomes a line break. The file is read at the first
    // lookup after the language changed (ChangeLanguage), and again only at
    // the next change, so a change takes effect at once.
    std::string GetLanguageText(std::string_view key, std::string_view englishDefault) const;
    std::string GetLanguageText(const TextEntry& entry) const;
    // The text for the key into the control of `window`; a missing control throws
    // std::logic_error (RequireDlgItem).
    void SetItemLanguageText(std::string_view key, int controlId, std::string_view englishDefault,
                             HWND window) const;
    void SetItemLanguageText(const TextEntry& entry, int controlId, HWND window) const;
    // Makes `name` the language of every later text, its file read anew
    // even when it is the one in use.
    void ChangeLanguage(const char* name);
    // Remembers the chosen language for the next start (ChangeLanguage has
    // already made it the one in use).
    void SaveLanguage(const std::string& name) const;

    char m_pszAppPath[MAX_PATH] = {};
    char m_pszLanguage[MAX_PATH] = {};
    PlatformFamily m_family = Win9x;
    WindowsRelease m_release = WindowsRelease::Win95;  // of m_family
    CWindowsVersion m_osVersion;

private:
    void ReadProductKey();

    mutable LanguageStore m_texts;
};

extern CVornelApp theApp;
