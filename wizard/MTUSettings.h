// The MTU and MSS page.
#pragma once

#include <cstdint>

#include "wizard/WizardPage.h"

class CMTUSettings : public CWizardPage {
public:
    CMTUSettings();

    std::int32_t mtuEntry = 0;
    std::int32_t mssEntry = 0;

protected:
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Recommend();
    void ShowTexts();
};
