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
EngineMessage MessageFor(engine::Outcome outcome);
}  // namespace outcome
