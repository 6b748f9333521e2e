// Lets the settings engine show its messages through the application: texts
// from the language store, message boxes owned by the current window.
#pragma once

#include <windows.h>

#include "engine/EngineHost.h"

class AppEngineHost : public EngineHost {
public:
    explicit AppEngineHost(HWND owner) : owner_(owner) {}

    std::string Text(std::string_view key, std::string_view englishDefault) override;
    void ShowMessage(const std::string& text, MessageKind kind) override;

private:
    HWND owner_;
};
