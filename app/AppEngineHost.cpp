// The engine's messages as the program shows them.
#include "app/AppEngineHost.h"

#include "app/VornelApp.h"
#include "framework/MessageBox.h"

std::string AppEngineHost::Text(std::string_view key, std::string_view englishDefault) {
    return theApp.GetLanguageText(key, englishDefault);
}

void AppEngineHost::ShowMessage(const std::string& text, MessageKind kind) {
    AppMessageBox(owner_, text, MB_OK | (kind == MessageKind::Error ? MB_ICONSTOP : 0u));
}
