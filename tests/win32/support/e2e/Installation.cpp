// A throwaway installation folder for one test.
#include "e2e/Installation.h"

#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "e2e/Process.h"
#include "e2e/Wait.h"

namespace e2e {
namespace {

template <class T>
void Append(std::string& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

bool RemoveTree(const std::string& folder) {
    // SHFileOperation wants a list ending in two NULs.
    std::string from = folder;
    from.append(2, '\0');
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&operation);
    return GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace

std::string LanguageFile(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string text = "[Linkvane]\r\n";
    for (const auto& [key, value] : entries) text += key + "=" + value + "\r\n";
    return text;
}

std::string BitmapFile(int width, int height, COLORREF fill, COLORREF frame, int bitsPerPixel) {
    const int bytesPerPixel = bitsPerPixel / 8;
    const int stride = (width * bytesPerPixel + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(stride * height);
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::string bytes;
    Append(bytes, file);
    Append(bytes, info);
    for (int y = 0; y < height; ++y) {
        std::string row(static_cast<size_t>(stride), '\0');
        for (int x = 0; x < width; ++x) {
            const bool edge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            const COLORREF colour = edge ? frame : fill;
            const size_t at = static_cast<size_t>(x * bytesPerPixel);
            row[at] = static_cast<char>(GetBValue(colour));
            row[at + 1] = static_cast<char>(GetGValue(colour));
            row[at + 2] = static_cast<char>(GetRValue(colour));
        }
        bytes += row;
    }
    return bytes;
}

Installation::Installation() {
    static std::atomic<unsigned> counter{0};
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    std::ostringstream folder;
    folder << temp << "vornel-e2e-" << GetCurrentProcessId() << "-" << GetTickCount() << "-"
           << ++counter;
    m_folder = folder.str();
    if (!CreateDirectoryA(m_folder.c_str(), nullptr) ||
        !CreateDirectoryA(LangFolder().c_str(), nullptr)) {
        ADD_FAILURE() << "cannot create the installation folder " << m_folder;
    }
}

Installation::~Installation() {
    // A Vornel.exe that was just ended may keep its file open for a moment.
    if (!WaitUntil([&] { return RemoveTree(m_folder); }, Ms(10000), Ms(100))) {
        ADD_FAILURE() << "cannot remove the installation folder " << m_folder;
    }
}

void Installation::AddLanguage(const std::string& name, const std::string& fileText) {
    WriteFile("Lang\\" + name + ".ini", fileText);
}

std::string Installation::AddShippedLanguage(const std::string& name) {
    const std::string shipped = UnixPathToWindows(VORNEL_SOURCE_DIR) + "\\lang\\" + name;
    const std::string file = LangFolder() + "\\" + name + ".ini";
    if (!CopyFileA((shipped + ".ini").c_str(), file.c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy the shipped " << name << ".ini";
    }
    CopyFileA((shipped + ".bmp").c_str(), (LangFolder() + "\\" + name + ".bmp").c_str(), FALSE);
    return file;
}

std::string ShownText(const std::string& file, const char* key) {
    char text[2000] = {};
    GetPrivateProfileStringA("Linkvane", key, "", text, sizeof text, file.c_str());
    std::string shown = text;
    std::replace(shown.begin(), shown.end(), '*', '\n');
    return shown;
}

void Installation::AddFlag(const std::string& name, const std::string& bitmapBytes) {
    WriteFile("Lang\\" + name + ".bmp", bitmapBytes);
}

void Installation::WriteFile(const std::string& relativePath, const std::string& bytes) {
    const std::string path = m_folder + "\\" + relativePath;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) ADD_FAILURE() << "cannot write " << path;
}

void Installation::RemoveLangFolder() {
    if (!RemoveTree(LangFolder())) ADD_FAILURE() << "cannot remove " << LangFolder();
}

std::string Installation::CopyVornel() {
    const std::string source = VornelExePath();
    const std::string target = m_folder + "\\Vornel.exe";
    if (source.empty() || !CopyFileA(source.c_str(), target.c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy " << source << " to " << target;
    }
    return target;
}

namespace {

BOOL CALLBACK FirstLanguage(HMODULE, LPCSTR, LPCSTR, WORD found, LONG_PTR out) {
    *reinterpret_cast<WORD*>(out) = found;
    return FALSE;
}

}  // namespace

bool ReplaceResource(const std::string& exe, LPCSTR type, LPCSTR name, const void* bytes,
                     DWORD size) {
    WORD language = 0;
    {
        HMODULE image = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (image == nullptr) return false;
        EnumResourceLanguagesA(image, type, name, FirstLanguage,
                               reinterpret_cast<LONG_PTR>(&language));
        FreeLibrary(image);
    }
    HANDLE update = BeginUpdateResourceA(exe.c_str(), FALSE);
    if (update == nullptr) return false;
    const BOOL replaced =
        UpdateResourceA(update, type, name, language, const_cast<void*>(bytes), size);
    return EndUpdateResourceA(update, !replaced) && replaced;
}

bool ReplaceManifestWithNoAssembly(const std::string& exe) {
    static const char kPlain[] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
        "  <assemblyIdentity type=\"win32\" name=\"Linkvane.Vornel\" version=\"2.0.0.0\" "
        "processorArchitecture=\"x86\"/>\n"
        "</assembly>\n";
    return ReplaceResource(exe, MAKEINTRESOURCEA(24) /* RT_MANIFEST */, MAKEINTRESOURCEA(1), kPlain,
                           sizeof(kPlain) - 1);
}

std::vector<std::string> Installation::LanguagesInListingOrder() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((LangFolder() + "\\*.ini").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        names.push_back(name.size() >= 4 ? name.substr(0, name.size() - 4) : name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

}  // namespace e2e
