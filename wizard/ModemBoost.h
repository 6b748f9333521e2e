// The modem boost page: shown last when a modem capped at 115200 bps was found.
#pragma once

#include "framework/PalettePicture.h"
#include "wizard/WizardPage.h"

class CModemBoost : public CWizardPage {
public:
    explicit CModemBoost(wizard::WizardState& state);

protected:
    BOOL OnInitDialog() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // The speed list with its words in the chosen language, shown in its own palette.
    CPalettePicture m_picture;
};
