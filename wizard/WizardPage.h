// CWizardPage: what the nine wizard pages share (the sheet of the current run, the
// step caption, button requests, language texts and the lost-focus fix-up of an entry).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "framework/PropertyPage.h"
#include "res/TextCatalog.h"
#include "wizard/WizardRules.h"

class CMyPropertySheet;

class CWizardPage : public CPropertyPage {
public:
    CWizardPage(UINT templateId, wizard::WizardPage index);

protected:
    // The sheet the page belongs to.
    CMyPropertySheet& Sheet() const;

    // Activation and deactivation steps that depend on the family and boostModem.
    void ShowStepCaption();
    void RequestActivationButtons();
    void RequestLeavingButtons();

    // The template id of the page Next or Back must show, or 0 for the neighbouring
    // page (the property page's OnWizardNext/OnWizardBack contract).
    LRESULT NextPageChoice() const;
    LRESULT BackPageChoice() const;

    static std::string Text(const TextEntry& entry);
    void Localize(const TextEntry& entry, int controlId);
    bool IsChecked(int controlId) const;

    // An edit losing the focus: read as the platform's unsigned GetDlgItemInt, and
    // when below the field's least value, the entry and the edit take the recommendation.
    void CorrectOnLostFocus(int controlId, wizard::EntryField field, std::int32_t& entry,
                            std::int32_t recommended);

    // The control id when the message is EN_KILLFOCUS / EN_CHANGE of an edit.
    static std::optional<int> EditNotification(UINT message, WPARAM wParam, WORD code);

    wizard::WizardPage m_index;
};
