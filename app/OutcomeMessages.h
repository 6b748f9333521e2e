// What the user reads of each outcome of Finish and Reset.
#pragma once

#include "engine/Engine.h"
#include "res/TextCatalog.h"

enum class MessageKind {
    Plain,    // OK button, no icon
    Warning,  // OK button, exclamation icon
    Error,    // OK button, stop icon
};

struct EngineMessage {
    TextEntry text;
    MessageKind kind;
};

namespace outcome {
// The message of every outcome but MadeOnOtherFamily, which is a question.
EngineMessage MessageFor(engine::Outcome outcome);
// That question, asked of `text` (key 53 of the language file): where the backup was made,
// and the Windows running now, put into its fields.
std::string OtherFamilyQuestion(std::string_view text, const engine::Origin& madeOn,
                                WindowsRelease running);
}  // namespace outcome
