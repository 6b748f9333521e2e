// The TTL and browser connections page.
#pragma once

#include <cstdint>

#include "wizard/WizardPage.h"

class CTTLSetting : public CWizardPage {
public:
    CTTLSetting();

    std::int32_t maxConnectionsPer1_0ServerEntry = 0;
    std::int32_t maxConnectionsPerServerEntry = 0;
    std::int32_t ttlEntry = 0;

protected:
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void ShowTexts();
};
