// Start-up of the program and the language text store.
#include "app/VornelApp.h"

#include <cstring>
#include <optional>
#include <vector>

#include "app/LanguageStore.h"
#include "app/OutcomeBox.h"
#include "app/ProductKey.h"
#include "app/SingleInstance.h"
#include "app/SplashDlg.h"
#include "engine/Win32RegistryStore.h"
#include "framework/MessageBox.h"
#include "framework/Wnd.h"
#include "ui/VornelDlg.h"

CVornelApp theApp;

namespace {

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return product::FolderOfPath(std::string(path, length < MAX_PATH ? length : 0));
}

void CopyToBuffer(const std::string& text, char (&buffer)[MAX_PATH]) {
    const std::size_t n = text.size() < MAX_PATH - 1 ? text.size() : MAX_PATH - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

// A value of the product key through `usable`, or nothing when it is missing or of no use.
template <typename Rule>
std::optional<std::string> ProductValue(RegistryStore& store, reg::Key key, const char* name,
                                        Rule usable) {
    reg::Value value;
    if (reg::ReadValue(store, key, name, value) != reg::kSuccess) return std::nullopt;
    return usable(value);
}

}  // namespace

void CVornelApp::ReadProductKey() {
    Win32RegistryStore store;
    reg::ScopedKey key = reg::Open(store, reg::kCurrentUser, kProductKeyPath);
    // An unzipped copy without an installer finds its languages beside itself.
    CopyToBuffer(
        ProductValue(store, key.get(), "AppPath", product::UsableAppPath).value_or(ProgramFolder()),
        m_pszAppPath);
    CopyToBuffer(ProductValue(store, key.get(), "Language", product::UsableLanguage).value_or(""),
                 m_pszLanguage);
}

BOOL CVornelApp::InitInstance() {
    if (!instance::ClaimOrActivateRunning()) return FALSE;

    // The registry is read first so that a refusal is already in the user's language.
    ReadProductKey();

    const auto release = platform::DecideRelease(m_osVersion);
    if (!release) {
        MessageBoxA(nullptr, GetLanguageText(text::k79).c_str(), nullptr, MB_ICONERROR);
        return FALSE;
    }
    m_release = *release;
    m_family = platform::FamilyOf(*release);

    // The picture is not needed: where it cannot be shown, the main dialog still is.
    CSplashDlg splash;
    splash.DoModal();

    // A main dialog that cannot be created (a class the common controls lack) would end
    // the program without a word.
    CVornelDlg dialog;
    m_pMainWnd = &dialog;
    if (dialog.DoModal() == -1) ShowWindowNotOpened(nullptr);
    m_pMainWnd = nullptr;
    return FALSE;
}

std::string CVornelApp::GetLanguageText(std::string_view key,
                                        std::string_view englishDefault) const {
    return m_texts.Text(m_pszAppPath, m_pszLanguage, key, englishDefault);
}

std::string CVornelApp::GetLanguageText(const TextEntry& entry) const {
    return GetLanguageText(entry.key, entry.english);
}

void CVornelApp::SetItemLanguageText(std::string_view key, int controlId,
                                     std::string_view englishDefault, HWND window) const {
    // Every text has its control: a missing one is a wrong id, reported rather than passed over.
    ::SetWindowTextA(RequireDlgItem(window, controlId),
                     GetLanguageText(key, englishDefault).c_str());
}

void CVornelApp::SetItemLanguageText(const TextEntry& entry, int controlId, HWND window) const {
    SetItemLanguageText(entry.key, controlId, entry.english, window);
}

void CVornelApp::ChangeLanguage(const char* name) {
    CopyToBuffer(name, m_pszLanguage);
    m_texts.Forget();
}

void CVornelApp::SaveLanguage(const std::string& name) const {
    Win32RegistryStore store;
    // A copy run without the installer has no product key yet: the choice makes it.
    reg::ScopedKey key = reg::Create(store, reg::kCurrentUser, kProductKeyPath);
    if (!key) return;
    reg::Value value{reg::kSz, std::vector<std::uint8_t>(name.begin(), name.end())};
    value.data.push_back(0);
    reg::WriteValue(store, key.get(), "Language", value);
}
