// CWizardPage: what the nine wizard pages share (the run's state, the sheet, the step
// caption, buttons and the way on, language texts) and the page's table that it runs: the
// texts a page shows, and its entry fields with their data exchange, fix-ups, checks and
// copy into the chosen values (wizard/PageTables.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "engine/TuningValues.h"
#include "framework/PropertyPage.h"
#include "res/TextCatalog.h"
#include "wizard/PageTables.h"
#include "wizard/WizardRules.h"
#include "wizard/WizardState.h"

class CMyPropertySheet;

class CWizardPage : public CPropertyPage {
public:
    // `index` names the page and its table; `state` is the run's, owned by the sheet, and must
    // outlive the page.
    CWizardPage(wizard::WizardPage index, wizard::WizardState& state);

    // What the edits of the page's fields hold; values of no field go unused. They start as
    // the recommendations the run holds when the page is first shown.
    TuningValues entries;

protected:
    // The sheet the page belongs to.
    CMyPropertySheet& Sheet() const;
    wizard::WizardState& State() const { return m_state; }

    // Takes the recommendations of the page's fields as its first entries, then fills the
    // controls.
    BOOL OnInitDialog() override;

    // Becoming current: Recommend, the step caption, the table's texts, ShowValues, then the
    // buttons. The buttons and the way on follow from the page flow (wizard::NextPage and
    // BackPage) for every page: activation requests the page's buttons; Next and Back name the
    // page to show; Finish, on a page Next does not lead on from, stores the page's choice and
    // applies the run's values.
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;
    LRESULT OnWizardBack() override;
    BOOL OnWizardFinish() override;

    // Puts the page's recommendations into the run's state and its entries; the base has none.
    virtual void Recommend();
    // Shows the entries; the base fills the table's fields.
    virtual void ShowValues();

    // Leaving by Next or Back: StoreChoice, the leaving buttons, then MayLeave decides.
    BOOL OnKillActive() final;
    // Puts what the page holds into the run's state; the base stores the table's entries.
    virtual void StoreChoice();
    // Whether the page may be left; the base checks the table's entries again.
    virtual BOOL MayLeave();

    static std::string Text(const TextEntry& entry);

    // The fields of the table, in its order, each edit with its entry.
    void DoDataExchange(CDataExchange* pDX) override;

    // EN_KILLFOCUS of a field's edit: read as the platform's unsigned GetDlgItemInt, and
    // when below the field's least value, the entry and the edit take the recommendation.
    bool OnCommand(int id, int code, HWND control) override;

    // The first step of leaving: reads the edits once into the entries (wizard::ReadEntries; a
    // problem is reported, and the fields after it keep their entries), replaces each entry
    // below its least value by the recommendation, writes the entries back into the edits and
    // copies them into the run's chosen values. An unreadable field, and every field after it,
    // thus shows its last entry again.
    void StoreEntries();

    // The second step: checks the entries as written back (wizard::CheckEntries), and this
    // check alone decides whether the page may be left (TRUE). A value that is still outside
    // its range keeps the page and shows its range message a second time.
    BOOL CheckEntriesAgain();

    // Shows the problem's message, then focuses its edit with the whole text selected.
    void Report(const wizard::EntryProblem& problem);

    wizard::WizardPage m_index;

private:
    void CorrectOnLostFocus(const wizard::PageField& field);
    void ShowStepCaption();
    std::string RowText(const wizard::PageText& row) const;
    void RequestButtons(std::optional<std::uint32_t> buttons);
    // The template id of the page to show, or 0 for the neighbouring page (the property
    // page's OnWizardNext/OnWizardBack contract).
    LRESULT PageChoice(std::optional<int> target, int neighbour) const;

    wizard::WizardState& m_state;
    const wizard::PageTable& m_table;
};
