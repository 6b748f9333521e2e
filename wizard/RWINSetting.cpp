// The receive window page: recommendation, live recomputation and the range checks.
#include "wizard/RWINSetting.h"

#include "framework/DataExchange.h"
#include "framework/IntegerText.h"
#include "framework/MessageBox.h"
#include "res/resource.h"

namespace {

// Marks the page's own writes into its edits, whose change notifications are not typing.
class WritingEdits {
public:
    explicit WritingEdits(bool& flag) : m_flag(flag), m_previous(flag) { m_flag = true; }
    ~WritingEdits() { m_flag = m_previous; }
    WritingEdits(const WritingEdits&) = delete;
    WritingEdits& operator=(const WritingEdits&) = delete;

private:
    bool& m_flag;
    bool m_previous;
};

}  // namespace

CRWINSetting::CRWINSetting(wizard::WizardState& state) : CWizardPage(wizard::kPageRwin, state) {}

void CRWINSetting::DoDataExchange(CDataExchange* pDX) {
    WritingEdits writing(m_writingEdits);
    DDX_Text(pDX, IDC_MULTIPLIER, multiplierEntry);
    DDX_Text(pDX, IDC_RWIN, rwinEntry);
}

void CRWINSetting::Recommend() {
    wizard::WizardState& state = State();
    recommendedMultiplier =
        wizard::RecommendedMultiplier(state.connectionType, state.chosen.mss, state.windowScaling);
    state.chosen.rwin = wizard::RecommendedReceiveWindow(state.chosen.mss, recommendedMultiplier,
                                                         state.windowScaling);
    multiplierEntry = recommendedMultiplier;
    state.recommended.rwin = state.chosen.rwin;
    rwinEntry = state.recommended.rwin;
}

void CRWINSetting::ShowValues() {
    UpdateData(false);
    SetDlgItemUnsigned(IDC_RWIN_MSS, static_cast<std::uint32_t>(State().chosen.mss));
    SetDlgItemUnsigned(IDC_SCALING_FACTOR, wizard::kScalingFactor);
}

void CRWINSetting::ShowEntries() {
    // Only a text that differs is rewritten: rewriting the edit being typed in would
    // move its caret.
    WritingEdits writing(m_writingEdits);
    const auto show = [this](int controlId, const std::string& value) {
        if (GetDlgItemText(controlId) != value) SetDlgItemText(controlId, value);
    };
    show(IDC_MULTIPLIER, exchange::FormatExchangeInt(multiplierEntry));
    show(IDC_RWIN, exchange::FormatExchangeInt(rwinEntry));
}

void CRWINSetting::TakeRecommendation() {
    multiplierEntry = recommendedMultiplier;
    rwinEntry = State().recommended.rwin;
}

void CRWINSetting::OnChangeMultiplier() {
    if (m_writingEdits) return;
    BOOL translated = FALSE;
    const auto typed =
        static_cast<std::int32_t>(GetDlgItemInt(m_hWnd, IDC_MULTIPLIER, &translated, TRUE));
    multiplierEntry = translated ? typed : 0;
    if (auto window = wizard::LiveReceiveWindow(State().chosen.mss, multiplierEntry)) {
        rwinEntry = *window;
        ShowEntries();
    }
}

void CRWINSetting::OnKillFocusMultiplier() {
    // A closing wizard hides its pages first; no message on the way out. Nor
    // while the page is being left: a validation message taking the focus
    // would otherwise raise the range message too, and leaving corrects the
    // window silently anyway.
    if (!IsWindowVisible(m_hWnd) || m_leaving) return;
    const std::int32_t mss = State().chosen.mss;
    rwinEntry = wizard::ReceiveWindow(mss, multiplierEntry);
    const bool scaling = State().windowScaling;
    if (wizard::ReceiveWindowAllowed(rwinEntry, mss, scaling)) return;
    AppMessageBox(m_hWnd, Text(wizard::ReceiveWindowRangeText(scaling)),
                  MB_OK | MB_ICONINFORMATION);
    TakeRecommendation();
    ShowEntries();
}

void CRWINSetting::StoreChoice() {
    wizard::WizardState& state = State();
    // A failed read has shown its message; the page is left all the same, since what it
    // writes back is a window in range (the base's check has no fields to check).
    m_leaving = true;
    UpdateData(true);
    m_leaving = false;
    rwinEntry = wizard::ReceiveWindow(state.chosen.mss, multiplierEntry);
    if (!wizard::ReceiveWindowAllowed(rwinEntry, state.chosen.mss, state.windowScaling)) {
        TakeRecommendation();
    }
    UpdateData(false);
    state.chosen.rwin = static_cast<std::int32_t>(rwinEntry);
}

bool CRWINSetting::OnCommand(int id, int code, HWND control) {
    if (id == IDC_MULTIPLIER && code == EN_CHANGE) {
        OnChangeMultiplier();
        return true;
    }
    if (id == IDC_MULTIPLIER && code == EN_KILLFOCUS) {
        OnKillFocusMultiplier();
        return true;
    }
    return CWizardPage::OnCommand(id, code, control);
}
