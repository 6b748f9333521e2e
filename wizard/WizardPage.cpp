// What the nine wizard pages share.
#include "wizard/WizardPage.h"

#include <prsht.h>

#include <vector>

#include "app/VornelApp.h"
#include "framework/DataExchange.h"
#include "wizard/MyPropertySheet.h"

using wizard::PageField;
using wizard::PageText;
using wizard::PageTextKind;

// The rules' button flags go to the sheet as they are.
static_assert(wizard::kButtonBack == PSWIZB_BACK && wizard::kButtonNext == PSWIZB_NEXT &&
              wizard::kButtonFinish == PSWIZB_FINISH);

CWizardPage::CWizardPage(wizard::WizardPage index, wizard::WizardState& state)
    : CPropertyPage(wizard::TableOf(index).templateId),
      m_index(index),
      m_state(state),
      m_table(wizard::TableOf(index)) {}

CMyPropertySheet& CWizardPage::Sheet() const {
    return static_cast<CMyPropertySheet&>(*GetSheet());
}

BOOL CWizardPage::OnInitDialog() {
    for (const PageField& field : m_table.fields) {
        entries.*field.value = m_state.recommended.*field.value;
    }
    return CPropertyPage::OnInitDialog();
}

void CWizardPage::ShowStepCaption() {
    Sheet().SetTitle(Text(wizard::StepCaption(m_index, m_state.family)));
}

void CWizardPage::RequestButtons(std::optional<std::uint32_t> buttons) {
    if (buttons) Sheet().SetWizardButtons(*buttons);
}

std::string CWizardPage::RowText(const PageText& row) const {
    const std::string text = Text(row.text);
    const wizard::WizardState& state = m_state;
    switch (row.kind) {
        case PageTextKind::Label:
            break;
        case PageTextKind::NumberStatus:
            return wizard::WithNumberStatus(text, state.found.*row.found, state.inForce.*row.value,
                                            Text(text::k2), Text(row.word), Text(text::k3));
        case PageTextKind::CountStatus:
            return wizard::WithCountStatus(text, state.found.*row.found, state.inForce.*row.value,
                                           Text(row.word), Text(text::k3));
        case PageTextKind::SwitchStatus:
            return wizard::WithSwitchStatus(text, state.found.*row.found, state.inForce.*row.value,
                                            Text(text::k6), Text(text::k5), Text(text::k3));
        case PageTextKind::Recommendation:
            return wizard::ReplacePercentD(text, state.recommended.*row.value);
    }
    return text;
}

void CWizardPage::Recommend() {}

void CWizardPage::ShowValues() {
    if (!m_table.fields.empty()) UpdateData(false);
}

BOOL CWizardPage::OnSetActive() {
    Recommend();
    ShowStepCaption();
    for (const PageText& row : m_table.texts) SetDlgItemText(row.controlId, RowText(row));
    ShowValues();
    RequestButtons(wizard::ButtonsOnActivation(m_index, m_state.family, m_state.boostModem));
    return CPropertyPage::OnSetActive();
}

LRESULT CWizardPage::PageChoice(std::optional<int> target, int neighbour) const {
    // The neighbouring page is the sheet's own default.
    if (!target || *target == neighbour) return 0;
    const CPropertyPage* page = Sheet().GetPage(*target);
    return page ? static_cast<LRESULT>(page->TemplateId()) : 0;
}

LRESULT CWizardPage::OnWizardNext() {
    return PageChoice(wizard::NextPage(m_index, m_state.family, m_state.boostModem), m_index + 1);
}

LRESULT CWizardPage::OnWizardBack() {
    return PageChoice(wizard::BackPage(m_index, m_state.family), m_index - 1);
}

BOOL CWizardPage::OnWizardFinish() {
    if (wizard::NextPage(m_index, m_state.family, m_state.boostModem)) {
        return CPropertyPage::OnWizardFinish();
    }
    StoreChoice();
    Sheet().ApplySettings();
    return TRUE;
}

BOOL CWizardPage::OnKillActive() {
    StoreChoice();
    RequestButtons(wizard::ButtonsOnLeaving(m_index, m_state.family, m_state.boostModem));
    return MayLeave();
}

void CWizardPage::StoreChoice() {
    if (!m_table.fields.empty()) StoreEntries();
}

BOOL CWizardPage::MayLeave() {
    return m_table.fields.empty() ? TRUE : CheckEntriesAgain();
}

std::string CWizardPage::Text(const TextEntry& entry) {
    return theApp.GetLanguageText(entry);
}

void CWizardPage::DoDataExchange(CDataExchange* pDX) {
    for (const PageField& field : m_table.fields) {
        DDX_Text(pDX, field.controlId, entries.*field.value);
    }
}

void CWizardPage::Report(const wizard::EntryProblem& problem) {
    ShowEntryMessage(m_hWnd, problem.controlId, wizard::ProblemMessage(problem));
}

void CWizardPage::CorrectOnLostFocus(const PageField& field) {
    std::int32_t& entry = entries.*field.value;
    const UnsignedReading typed = GetDlgItemUnsigned(field.controlId);
    const wizard::LostFocusResult result =
        wizard::LostFocusEntry(field, typed.value, m_state.recommended.*field.value);
    entry = result.value;
    if (result.rewriteControl) {
        SetDlgItemUnsigned(field.controlId, static_cast<std::uint32_t>(entry));
    }
}

bool CWizardPage::OnCommand(int id, int code, HWND control) {
    if (code == EN_KILLFOCUS) {
        for (const PageField& field : m_table.fields) {
            if (field.controlId != id) continue;
            CorrectOnLostFocus(field);
            return true;
        }
    }
    return CPropertyPage::OnCommand(id, code, control);
}

void CWizardPage::StoreEntries() {
    std::vector<std::string> texts;
    texts.reserve(m_table.fields.size());
    for (const PageField& field : m_table.fields) {
        texts.push_back(WindowText(RequireDlgItem(m_hWnd, field.controlId)));
    }
    if (auto problem = wizard::ReadEntries(m_table.fields, texts, entries)) Report(*problem);
    for (const PageField& field : m_table.fields) {
        entries.*field.value =
            wizard::FixUpEntry(field, entries.*field.value, m_state.recommended.*field.value);
    }
    UpdateData(false);
    for (const PageField& field : m_table.fields) {
        m_state.chosen.*field.value = entries.*field.value;
    }
}

BOOL CWizardPage::CheckEntriesAgain() {
    const std::optional<wizard::EntryProblem> problem =
        wizard::CheckEntries(m_table.fields, entries);
    if (problem) Report(*problem);
    return problem ? FALSE : TRUE;
}
