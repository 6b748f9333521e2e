// The corpus of language files that the portable reader and the platform's reader must read
// alike: the files kept in tests/data/lang and generated ordinary and nasty ones, the lookups
// made in each, and a digest of the results. Shared by the native and the Windows tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace corpus {

struct File {
    std::string name;
    std::string bytes;
};

struct Lookup {
    std::string section;
    std::string key;
    std::string defaultText;
};

// Deterministic on every compiler (no standard distributions).
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t Below(std::size_t bound) { return static_cast<std::size_t>(Next() % bound); }

private:
    std::uint64_t m_state;
};

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every *.ini file of a folder, by name.
inline std::vector<File> FilesIn(const std::filesystem::path& folder, const std::string& prefix) {
    std::vector<File> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".ini") {
            files.push_back({prefix + entry.path().filename().string(), ReadBytes(entry.path())});
        }
    }
    std::sort(files.begin(), files.end(),
              [](const File& a, const File& b) { return a.name < b.name; });
    return files;
}

inline std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
    return out;
}

inline const std::string kBom8 = "\xEF\xBB\xBF";
inline const std::string kHeader = "[Linkvane]\r\n";

// Hand-made files, each aimed at one rule of the reader.
inline std::vector<File> CraftedFiles() {
    using namespace std::string_literals;
    const std::string long1998(1998, 'a'), long1999(1999, 'b'), long2000(2000, 'c');
    std::vector<File> files = {
        {"plain", kHeader + "k=plain text\r\nIDC_HINT=Hint*with**breaks\r\n41=Done\r\n"},
        {"case", "[lInKvAnE]\r\nidc_hint=lower\r\nK=upper\r\n"},
        {"blanks",
         "  \t[\tLinkvane \x0b]\x0c \r\n \t k \t=\x1a value  with  blanks \t\r\n"
         "x= \xA0nbsp\xA0 \r\n1 = one\r\n"},
        {"quotes", kHeader + "k=\"quoted\"\r\nx='single'\r\n1=\"\r\n41=\"\"\r\n42=\"open\r\n"
                             "43=\"mixed'\r\nIDC_HINT=\" inner blanks \"\r\n2=say \"hi\"\r\n"},
        {"empty-values", kHeader + "k=\r\nx=   \r\n1\r\n41=\"\"\r\n"},
        {"no-equals-first", kHeader + "k\r\nk=later\r\nx = \r\nx=later\r\n"},
        {"duplicate-keys", kHeader + "k=first\r\nK=second\r\nk =third\r\n"},
        {"duplicate-sections",
         kHeader + "k=first\r\n[Other]\r\nx=o\r\n" + kHeader + "x=second\r\n"},
        {"no-section", "k=global\r\nIDC_HINT=global hint\r\n"},
        {"global-and-section", "k=global\r\n" + kHeader + "x=in section\r\n"},
        {"other-sections",
         "[Other]\r\nk=other\r\n[Linkvane2]\r\nk=two\r\n[Linkvan]\r\nk=short\r\n"},
        {"headers",
         "[Linkvane] trailing junk\r\nk=after junk\r\n[Link]vane]\r\nk=bracket\r\n"
         "[Linkvane] ]\r\nk=inner\r\n[Linkvane\r\nx=unclosed\r\n"},
        {"header-unclosed-only", "[Linkvane\r\nk=v\r\n"},
        {"header-with-equals", "[a=b]\r\nk=ab\r\n[Linkvane]=x\r\nk=v\r\n"},
        {"empty-section-name", "[]\r\nk=empty\r\n[ ]\r\nx=blank\r\n"},
        {"comments", kHeader + ";k=comment\r\n; x=comment\r\nk=real\r\n#x=hash\r\n"},
        {"key-oddities", kHeader + "a b=inner blank\r\n\"k\"=quoted key\r\n=nameless\r\n"
                                   "k=b=c\r\n[k=bracketed\r\n"},
        {"line-ends-lf", "[Linkvane]\nk=lf\nx=two\n"},
        {"line-ends-cr", "[Linkvane]\rk=cr\rx=two\r"},
        {"line-ends-lfcr", "[Linkvane]\n\rk=lfcr\n\r\n\rx=two"},
        {"no-final-newline", kHeader + "k=last line"},
        {"ctrl-z-end", kHeader + "k=dos end\x1a\x1a"},
        {"vt-ff-not-line-ends",
         "[Linkvane]\x0bk=v\r\nx=a\x0c"
         "1=b\r\n"},
        {"nul-bytes",
         "[Linkvane]\0\r\nk=before\0after\r\nx\0junk=nul in key\r\n"s
         "1 \0=blank before nul\r\n41=\0\r\n"s},
        {"nul-in-header", "[Link\0vane]\r\nk=split\r\n[Linkvane\0tail]\r\nx=tail\r\n"s},
        {"high-bytes", kHeader + "k=caf\xE9 \x80 \x81 \x9F \xFF\r\n\xC9T\xC9=upper\r\n"
                                 "x\xE9=lower\r\n"},
        {"lengths", kHeader + "k=" + long1998 + "\r\nx=" + long1999 + "\r\n1=" + long2000 +
                        "\r\nIDC_HINT=" + std::string(5000, 'd') + "\r\n"},
        {"quoted-lengths", kHeader + "k=\"" + long1998 + "\"\r\nx=\"" + long1999 + "\"\r\n1=\"" +
                               long2000 + "\"\r\n41='" + std::string(1997, 'e') + "'\r\n"},
        {"empty", ""},
        {"blank-lines", "\r\n\r\n   \r\n\t\r\n"},
        {"only-header", "[Linkvane]"},
        {"utf8-bom", kBom8 + kHeader +
                         "k=caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9C \xC4\x80 \xE4\xB8\xAD "
                         "\xF0\x9F\x98\x80\r\nIDC_HINT=\xEF\xBC\x9D\r\nx\xEF\xBC\x9Dv\r\n"},
        {"utf8-invalid", kBom8 + kHeader +
                             "k=a\xFF"
                             "b\xC3"
                             "c\xE2\x82"
                             "d\xC0\xAF"
                             "e\xED\xA0\x80"
                             "f\xF4\x90\x80\x80g\xE0\x80\x80h\xF0\x80\x80\x80i\xF5\x80j\r\n"
                             "x=\xEF\xBB\xBFinner bom\r\n1=\xF0\x9F\x98"},
        {"utf8-truncated", kBom8 + kHeader + "k=end\xE2\x82"},
        {"utf8-double-bom", kBom8 + kBom8 + kHeader + "k=v\r\n"},
        {"utf8-partial-bom", "\xEF\xBB" + kHeader + "k=v\r\n"},
        {"bom-only", kBom8},
        {"utf16le", Utf16(u"[Linkvane]\r\nk=caf\u00e9 \u20ac \u0100 \u4e2d \U0001F600\r\n"
                          u"x=\u3000wide blank\u3000\r\n1\uff1dv\r\n\uff4b=fullwidth\r\n"
                          u"41=\u2028\u2029\u0085\r\n",
                          false)},
        {"utf16be", Utf16(u"[Linkvane]\r\nk=big endian \u00e9\r\nx=\"q\"\r\n", true)},
        {"utf16-surrogates", Utf16(u"[Linkvane]\r\nk=<\xD800>\r\nx=<\xDC00\xD800>\r\n", false)},
        {"utf16-nul", Utf16(std::u16string(u"[Linkvane]\r\nk=a") + u'\0' + u"b\r\n", false)},
        {"utf16-bom-only", "\xFF\xFE"},
        {"single-ff", "\xFF"},
    };
    return files;
}

// Random files: text made of the pieces that matter to the rules, and plain binary noise.
inline std::vector<File> RandomFiles() {
    using namespace std::string_literals;
    static const std::vector<std::string> pieces = {
        "[",          "]",        "=",        "\"",
        "'",          " ",        "\t",       "\r",
        "\n",         "\r\n",     "\0"s,      "\x1a",
        "\x0b",       "\xA0",     "Linkvane", "linkvane",
        "[Linkvane]", "k",        "K",        "x",
        "1",          "41",       "IDC_HINT", "value",
        "\xE9",       "*",        ";",        "\xEF\xBB\xBF",
        "\xFF\xFE",   "\xC3\xA9", "\xE2\x82", "\xF0\x9F\x98\x80"};
    std::vector<File> files;
    Random random(20240229);
    for (int i = 0; i < 300; ++i) {
        std::string bytes;
        if (i % 3 == 0) bytes = kHeader;
        if (i % 10 == 1) bytes = kBom8 + kHeader;
        const std::size_t count = random.Below(120);
        for (std::size_t n = 0; n < count; ++n) bytes += pieces[random.Below(pieces.size())];
        files.push_back({"random-text-" + std::to_string(i), bytes});
    }
    for (int i = 0; i < 40; ++i) {
        std::string bytes(random.Below(4000), '\0');
        for (char& c : bytes) c = static_cast<char>(random.Below(256));
        if (i % 2 == 0)
            bytes.insert(random.Below(bytes.size() + 1), "\r\n[Linkvane]\r\nk=found\r\n");
        files.push_back({"random-binary-" + std::to_string(i), bytes});
    }
    return files;
}

// Big files: many lines before the key, and lines far longer than any buffer.
inline std::vector<File> BigFiles() {
    std::string many = kHeader;
    for (int i = 0; i < 40000; ++i) many += "filler" + std::to_string(i) + "=some text\r\n";
    many += "k=at the end\r\n";

    std::string longLine =
        kHeader + "x=" + std::string(100000, 'y') + "\r\nk=after the long line\r\n";
    std::string longName = kHeader + std::string(50000, 'n') + "=v\r\nk=after the long name\r\n";
    return {{"big-many-lines", many}, {"big-long-line", longLine}, {"big-long-name", longName}};
}

// The files whose results are recorded in tests/data/lang/corpus-results.txt.
inline std::vector<File> RecordedFiles(const std::filesystem::path& sourceDir) {
    std::vector<File> files = FilesIn(sourceDir / "tests" / "data" / "lang", "data/");
    for (auto group : {CraftedFiles(), RandomFiles(), BigFiles()}) {
        files.insert(files.end(), group.begin(), group.end());
    }
    return files;
}

// The lookups made in every file.
inline std::vector<Lookup> Lookups() {
    using namespace std::string_literals;
    std::vector<Lookup> lookups;
    for (const char* key : {"k", "K", "x", "1", "41", "18", "79", "IDC_HINT", "IDC_DESCRIBTION",
                            "ID_WIZBACK", "IDC_static_RecommendedMTU", "absent"}) {
        lookups.push_back({"Linkvane", key, "dflt"});
    }
    for (const char* key : {" k\t", "idc_hint", "a b", "\"k\"", "", " ", "k\xE9", "x\xC9",
                            "\xE9t\xE9", "\xC9T\xC9", ";k", "[k", "Linkvane", "nnnn"}) {
        lookups.push_back({"Linkvane", key, "dflt"});
    }
    for (const char* section : {"linkvane", " Linkvane\x1a", "", "Other", "Link]vane", "Linkvane]",
                                "a=b", "Linkvane\xA0"}) {
        lookups.push_back({section, "k", "dflt"});
        lookups.push_back({section, "x", "dflt"});
    }
    for (const std::string& fallback :
         {""s, "\"quoted\""s, "'single'"s, "\"open"s, "trailing   "s, "   "s, "tab\t"s,
          std::string(2100, 'L'), '"' + std::string(1998, 'Q') + '"', "line\nfeed"s,
          "star*break"s}) {
        lookups.push_back({"Linkvane", "absent", fallback});
    }
    return lookups;
}

// FNV-1a over the results of all lookups, each followed by a separator byte.
class Digest {
public:
    void Add(std::string_view text) {
        for (char c : text) Mix(static_cast<unsigned char>(c));
        Mix(0x1F);
    }
    std::string Hex() const {
        std::ostringstream out;
        out << std::hex;
        out.width(16);
        out.fill('0');
        out << m_hash;
        return out.str();
    }

private:
    void Mix(unsigned char byte) {
        m_hash ^= byte;
        m_hash *= 0x100000001B3ull;
    }
    std::uint64_t m_hash = 0xCBF29CE484222325ull;
};

// "name digest" lines of the recorded results.
inline std::string RecordedResultsPath(const std::filesystem::path& sourceDir) {
    return (sourceDir / "tests" / "data" / "lang" / "corpus-results.txt").string();
}

// Shows a text with its control characters and high bytes escaped, for failure messages; a long
// text shows its start and its end.
inline std::string Visible(std::string_view text) {
    static const char hex[] = "0123456789ABCDEF";
    const auto escape = [](std::string_view part) {
        std::string out;
        for (char c : part) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
                out += c;
            } else {
                out += "\\x";
                out += hex[byte >> 4];
                out += hex[byte & 15];
            }
        }
        return out;
    };
    if (text.size() <= 200) return escape(text);
    return escape(text.substr(0, 120)) + " ... " + escape(text.substr(text.size() - 60)) + " (" +
           std::to_string(text.size()) + " bytes)";
}

}  // namespace corpus
