// The keep-alive page; on the Win9x family it may end the run.
#pragma once

#include <cstdint>

#include "wizard/WizardPage.h"

class CKeepAliveSettings : public CWizardPage {
public:
    CKeepAliveSettings();

    std::int32_t keepAliveIntervalEntry = 0;
    std::int32_t keepAliveTimeEntry = 0;

protected:
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    LRESULT OnWizardNext() override;
    BOOL OnWizardFinish() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void ShowTexts();
    void FixUpAndStore();
};
