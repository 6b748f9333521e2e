// The catalogue's table of all texts and the translators' template built from it.
#include "res/TextCatalog.h"

#include <algorithm>
#include <string_view>

namespace {

#define VORNEL_LIST_TEXT(key, english) text::k##key,
constexpr TextEntry kAllTexts[] = {VORNEL_TEXT_CATALOGUE(VORNEL_LIST_TEXT)};
#undef VORNEL_LIST_TEXT

constexpr std::string_view kTemplateHeader =
    "; Vornel language file: English, the template for translations.\r\n"
    "; Save a copy as <Language>.ini in the Lang folder, next to a 16 x 16 flag <Language>.bmp,\r\n"
    "; and translate the text after each '='. A text is one line in the ANSI code page; every\r\n"
    "; '*' is shown as a line break. Keep %d where a text has it: it is replaced by a number;\r\n"
    "; keep a word in braces, such as {backup}, untranslated: it is replaced by a name.\r\n"
    "; A key that is missing or misspelt shows the English text.\r\n";

}  // namespace

std::string text::ApplyLineBreaks(std::string text) {
    std::replace(text.begin(), text.end(), '*', '\n');
    return text;
}

std::span<const TextEntry> text::AllTexts() {
    return kAllTexts;
}

std::string text::RenderLanguageTemplate() {
    std::string out(kTemplateHeader);
    out += "\r\n[";
    out += kLanguageSection;
    out += "]\r\n";
    for (const TextEntry& entry : kAllTexts) {
        out += entry.key;
        out += '=';
        for (const char* p = entry.english; *p != '\0'; ++p) {
            out += *p == '\n' ? '*' : *p;
        }
        out += "\r\n";
    }
    return out;
}

std::string text::FillIn(std::string_view text, std::span<const TextField> fields) {
    std::string result;
    result.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const TextField* match = nullptr;
        for (const TextField& field : fields) {
            if (!field.name.empty() && text.substr(at, field.name.size()) == field.name) {
                match = &field;
                break;
            }
        }
        if (match != nullptr) {
            result += match->value;
            at += match->name.size();
        } else {
            result += text[at++];
        }
    }
    return result;
}
