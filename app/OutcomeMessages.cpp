// The engine's outcomes as the messages of the language files.
#include "app/OutcomeMessages.h"

#include "engine/Catalogue.h"

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
        case Outcome::RestoredElsewhereLeft:
            return {text::k54, MessageKind::Warning};
        case Outcome::DefaultsApplied:
            return {text::k55, MessageKind::Plain};
        case Outcome::NotRestored:
        case Outcome::MadeOnOtherFamily:
            break;
    }
    return {text::k47, MessageKind::Error};
}

std::string outcome::OtherFamilyQuestion(std::string_view text, const engine::Origin& madeOn,
                                         WindowsRelease running) {
    const std::string_view made = madeOn.release ? catalogue::ReleaseName(*madeOn.release)
                                                 : catalogue::FamilyName(madeOn.family);
    const text::TextField fields[] = {{"{backup}", made},
                                      {"{windows}", catalogue::ReleaseName(running)}};
    return text::FillIn(text, fields);
}
