// A throwaway installation folder for one test: a Lang folder with the language files
// and flags the test chooses, optionally a copy of Vornel.exe.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace e2e {

// The text of a language file: the section [Linkvane] with one key=text line per entry.
std::string LanguageFile(const std::vector<std::pair<std::string, std::string>>& entries);
// Replaces the resource `type`/`name` of the program file `exe` (a copy: see
// Installation::CopyVornel) with `bytes`, keeping the language the file gives it.
bool ReplaceResource(const std::string& exe, LPCSTR type, LPCSTR name, const void* bytes,
                     DWORD size);
// Gives a copy of the program a manifest that asks for no side-by-side assembly (Wine
// applies a program's manifest whatever release it plays, and takes none out of a file),
// so that nothing redirects the common controls, as on the systems before Windows XP.
bool ReplaceManifestWithNoAssembly(const std::string& exe);
// A Windows bitmap file (BITMAPFILEHEADER + BITMAPINFOHEADER + pixels) of one colour
// with a frame of another, so that scaling shows.
std::string BitmapFile(int width, int height, COLORREF fill, COLORREF frame = RGB(0, 0, 0),
                       int bitsPerPixel = 24);

// A text of a language file as the program shows it: each '*' a line break.
std::string ShownText(const std::string& file, const char* key);

class Installation {
public:
    Installation();  // a new, empty folder with an empty Lang folder in the temporary folder
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;
    ~Installation();  // removes the folder and everything in it

    // Windows path without a trailing backslash, as the installer stores it in AppPath.
    const std::string& Folder() const { return m_folder; }
    std::string LangFolder() const { return m_folder + "\\Lang"; }

    void AddLanguage(const std::string& name, const std::string& fileText);
    // The language file (and flag) the program ships under that name; returns the file.
    std::string AddShippedLanguage(const std::string& name);
    void AddFlag(const std::string& name, const std::string& bitmapBytes);
    // Any file, by its path relative to the folder; parent folders must exist.
    void WriteFile(const std::string& relativePath, const std::string& bytes);
    void RemoveLangFolder();
    // Copies the Vornel.exe under test into the folder and returns the copy's path.
    std::string CopyVornel();

    // The ".ini" files of the Lang folder in the order the file system lists them
    // (the order the program sees), without the extension.
    std::vector<std::string> LanguagesInListingOrder() const;

private:
    std::string m_folder;
};

}  // namespace e2e
