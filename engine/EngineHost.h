// How the settings engine reaches the user: language texts and message boxes.
#pragma once

#include <string>
#include <string_view>

enum class MessageKind {
    Plain,  // OK button, no icon
    Error,  // OK button, stop icon
};

class EngineHost {
public:
    virtual ~EngineHost() = default;
    // The language file's text for `key`, or the English default, line breaks applied.
    virtual std::string Text(std::string_view key, std::string_view englishDefault) = 0;
    // A modal message box; the host chooses its owner and caption.
    virtual void ShowMessage(const std::string& text, MessageKind kind) = 0;
};
