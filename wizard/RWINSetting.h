// The receive window page: RWIN = MSS x Multiplier x 4.
#pragma once

#include <cstdint>

#include "wizard/WizardPage.h"

class CRWINSetting : public CWizardPage {
public:
    explicit CRWINSetting(wizard::WizardState& state);

    std::int32_t recommendedMultiplier = 0;
    std::int32_t multiplierEntry = 0;
    // The exact product; it fits 32 bits whenever it is copied to chosen.rwin.
    std::int64_t rwinEntry = 0;

protected:
    void StoreChoice() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnCommand(int id, int code, HWND control) override;

    // Every activation starts again from the recommendation and the MSS chosen now.
    void Recommend() override;
    void ShowValues() override;

private:
    void OnChangeMultiplier();
    void OnKillFocusMultiplier();
    void ShowEntries();
    void TakeRecommendation();

    bool m_writingEdits = false;  // the page itself is filling its edits
    bool m_leaving = false;       // the page is being left; its own correction applies
};
