// Writes the translators' template (lang/English.ini) from the text catalogue.
#include <cstdio>
#include <string>

#include "res/TextCatalog.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_language_template <output .ini file>\n");
        return 2;
    }
    const std::string text = text::RenderLanguageTemplate();
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    if (std::fclose(out) != 0 || !written) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
