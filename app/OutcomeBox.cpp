// The message box of an outcome of the engine.
#include "app/OutcomeBox.h"

#include "app/OutcomeMessages.h"
#include "app/VornelApp.h"
#include "framework/MessageBox.h"

void ShowOutcome(HWND owner, engine::Outcome outcome) {
    const EngineMessage message = outcome::MessageFor(outcome);
    UINT icon = 0;
    if (message.kind == MessageKind::Warning) icon = MB_ICONEXCLAMATION;
    if (message.kind == MessageKind::Error) icon = MB_ICONSTOP;
    AppMessageBox(owner, theApp.GetLanguageText(message.text), MB_OK | icon);
}

void ShowWindowNotOpened(HWND owner) {
    AppMessageBox(owner, theApp.GetLanguageText(text::k52), MB_OK | MB_ICONSTOP);
}
