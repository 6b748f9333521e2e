// The language store: a language file read once, or the platform's initialization-file reader.
#include "app/LanguageStore.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "res/TextCatalog.h"

namespace {

// A file handle closed when it goes out of scope.
struct FileHandle {
    explicit FileHandle(HANDLE opened) : handle(opened) {}
    ~FileHandle() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE handle;
};

// Larger files are left to the platform's reader rather than held in memory.
constexpr DWORD kLargestReadFile = 16u << 20;

std::string LanguageFile(std::string_view appPath, std::string_view language) {
    std::string file;
    file.reserve(appPath.size() + language.size() + 10);
    file.append(appPath).append("\\Lang\\").append(language).append(".ini");
    return file;
}

// The file's bytes; "" when there is no such file, which reads as an empty one; nothing when it
// is there but cannot be read whole now.
std::optional<std::string> FileBytes(const std::string& file) {
    FileHandle opened{CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (opened.handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::string();
        return std::nullopt;
    }
    DWORD high = 0;
    const DWORD size = GetFileSize(opened.handle, &high);
    if (size == INVALID_FILE_SIZE || high != 0 || size > kLargestReadFile) return std::nullopt;
    std::string bytes(size, '\0');
    DWORD read = 0;
    if (size > 0 &&
        (!ReadFile(opened.handle, bytes.data(), size, &read, nullptr) || read != size)) {
        return std::nullopt;
    }
    return bytes;
}

// True when the reader gives `text` back unchanged as its default: short enough, in ASCII (no
// code page conversion), without a NUL or trailing blanks, and not in quotation marks. Every
// catalogue text is such a text.
bool ReaderKeepsDefault(std::string_view text) {
    if (text.empty() || text.size() >= kLanguageTextBufferSize) return false;
    if (text.front() == '"' || text.front() == '\'') return false;
    if (static_cast<unsigned char>(text.back()) <= ' ') return false;
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c != '\0' && static_cast<unsigned char>(c) < 0x80; });
}

std::string PlatformText(const std::string& file, std::string_view key,
                         std::string_view englishDefault) {
    // Without the file the reader gives the default, but only after trying to open the file
    // for this one text (an unzipped copy that never chose a language asks for "Lang\.ini").
    if (ReaderKeepsDefault(englishDefault)) {
        const DWORD attributes = GetFileAttributesA(file.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return text::ApplyLineBreaks(std::string(englishDefault));
        }
    }
    const std::string keyText(key);
    const std::string defaultText(englishDefault);

    std::string text(kLanguageTextBufferSize, '\0');
    GetPrivateProfileStringA(kLanguageSection, keyText.c_str(), defaultText.c_str(), text.data(),
                             static_cast<DWORD>(text.size()), file.c_str());
    // The terminating NUL, not the returned count, marks the end: older systems count
    // differently when the text is cut.
    text.resize(static_cast<std::size_t>(std::find(text.begin(), text.end(), '\0') - text.begin()));
    return text::ApplyLineBreaks(std::move(text));
}

}  // namespace

void LanguageStore::Read(const std::string& file) {
    m_file = file;
    m_texts = ProfileSection();
    // The rules convert characters outside ASCII through code page 1252.
    std::optional<std::string> bytes;
    if (GetACP() == 1252) bytes = FileBytes(file);
    m_throughPlatform = !bytes;
    if (bytes) m_texts = ProfileSection(*bytes, kLanguageSection);
}

std::string LanguageStore::Text(std::string_view appPath, std::string_view language,
                                std::string_view key, std::string_view englishDefault) {
    std::string file = LanguageFile(appPath, language);
    if (m_file.empty() || file != m_file) Read(file);
    if (m_throughPlatform) return PlatformText(m_file, key, englishDefault);
    return profile::LanguageText(m_texts, key, englishDefault);
}

void LanguageStore::Forget() {
    m_file.clear();
    m_texts = ProfileSection();
}
