// The engine's outcomes as the messages of the language files.
#include "app/OutcomeMessages.h"

EngineMessage outcome::MessageFor(engine::Outcome outcome) {
    using engine::Outcome;
    switch (outcome) {
        case Outcome::Applied:
            return {text::k41, MessageKind::Plain};
        case Outcome::PartlyApplied:
            return {text::k44, MessageKind::Error};
        case Outcome::NeedsRights:
            return {text::k45, MessageKind::Error};
        case Outcome::NoBackupMade:
            return {text::k46, MessageKind::Error};
        case Outcome::Restored:
            return {text::k42, MessageKind::Plain};
        case Outcome::RestoredInPart:
            return {text::k49, MessageKind::Warning};
        case Outcome::NotRestored:
            break;
    }
    return {text::k47, MessageKind::Error};
}
