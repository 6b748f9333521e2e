// Start-up of the program and the language text store.
#include "app/VornelApp.h"

#include <array>
#include <cstring>

#include "app/LanguageStore.h"
#include "app/ProductKey.h"
#include "app/RegKey.h"
#include "app/SplashDlg.h"
#include "framework/MessageBox.h"
#include "ui/VornelDlg.h"

CVornelApp theApp;

namespace {

// A text value of the product key, or nothing when it is missing, is not
// text, or does not fit the program's 260-byte buffers.
bool ReadTextValue(HKEY key, const char* name, char (&buffer)[MAX_PATH]) {
    std::array<std::uint8_t, MAX_PATH> data{};
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size());
    if (key == nullptr ||
        RegQueryValueExA(key, name, nullptr, &type, data.data(), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return false;
    }
    const std::string text = TextFromRegistryData(data.data(), size, sizeof buffer);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return FolderOfPath(std::string(path, length < MAX_PATH ? length : 0));
}

void CopyToBuffer(const std::string& text, char (&buffer)[MAX_PATH]) {
    const std::size_t n = text.size() < MAX_PATH - 1 ? text.size() : MAX_PATH - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

}  // namespace

void CVornelApp::ReadProductKey() {
    RegKey key(HKEY_CURRENT_USER, kProductKeyPath);
    // An unzipped copy without an installer finds its languages beside itself.
    if (!ReadTextValue(key.get(), "AppPath", m_pszAppPath)) CopyToBuffer(ProgramFolder(), m_pszAppPath);
    if (!ReadTextValue(key.get(), "Language", m_pszLanguage)) m_pszLanguage[0] = '\0';
}

BOOL CVornelApp::InitInstance() {
    // The registry is read first so that a refusal is already in the user's language.
    ReadProductKey();

    const auto family = DecidePlatformFamily(m_osVersion);
    if (!family) {
        MessageBoxA(nullptr, GetLanguageText(text::k79).c_str(), nullptr, MB_ICONERROR);
        return FALSE;
    }
    m_family = *family;

    CSplashDlg splash;
    splash.DoModal();

    CVornelDlg dialog;
    m_pMainDlg = &dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    m_pMainDlg = nullptr;
    m_pSheet = nullptr;
    return FALSE;
}

std::string CVornelApp::GetLanguageText(std::string_view key, std::string_view englishDefault) const {
    return ReadLanguageText(m_pszAppPath, m_pszLanguage, key, englishDefault);
}

std::string CVornelApp::GetLanguageText(const TextEntry& entry) const {
    return GetLanguageText(entry.key, entry.english);
}

void CVornelApp::SetItemLanguageText(std::string_view key, int controlId,
                                     std::string_view englishDefault, HWND window) const {
    SetDlgItemTextA(window, controlId, GetLanguageText(key, englishDefault).c_str());
}

void CVornelApp::SetItemLanguageText(const TextEntry& entry, int controlId, HWND window) const {
    SetItemLanguageText(entry.key, controlId, entry.english, window);
}

void CVornelApp::SaveLanguage(const std::string& name) const {
    RegKey key(HKEY_CURRENT_USER, kProductKeyPath);
    if (!key) return;
    RegSetValueExA(key.get(), "Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                   static_cast<DWORD>(name.size() + 1));
}
