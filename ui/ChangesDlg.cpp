// The list of changes, one row per value with its columns at the list's tab stops.
#include "ui/ChangesDlg.h"

#include <iterator>
#include <string>
#include <utility>

#include "app/ChangeText.h"
#include "app/VornelApp.h"
#include "res/resource.h"

namespace {

// Where the second and third columns start in the list, in dialog units from its left
// edge: under the headings "Now" and "After", whose template places them at 241 and 309
// beside a list at 7 (less the list's border). The first column takes an interface's whole
// name, braces and all, with the value's.
constexpr int kColumnStops[] = {233, 301};

}  // namespace

CChangesDlg::CChangesDlg(HWND owner, Mode mode, std::vector<engine::Change> changes)
    : CDialog(IDD_CHANGES, owner), m_mode(mode), m_changes(std::move(changes)) {}

BOOL CChangesDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const bool defaults = m_mode == Mode::WindowsDefaults;
    ::SetWindowTextA(m_hWnd, theApp.GetLanguageText(defaults ? text::k59 : text::k58).c_str());
    theApp.SetItemLanguageText(text::kIDC_CHANGES_SETTING, IDC_CHANGES_SETTING, m_hWnd);
    theApp.SetItemLanguageText(text::kIDC_CHANGES_NOW, IDC_CHANGES_NOW, m_hWnd);
    theApp.SetItemLanguageText(defaults ? text::k57 : text::k56, IDC_CHANGES_AFTER, m_hWnd);
    if (defaults) {
        theApp.SetItemLanguageText(text::k60, IDOK, m_hWnd);
        theApp.SetItemLanguageText(text::kIDCANCEL, IDCANCEL, m_hWnd);
    } else {
        // Only a list to read: Close (Enter or Escape) is all there is to press.
        ShowDlgItem(IDOK, false);
        EnableDlgItem(IDOK, false);
        theApp.SetItemLanguageText(text::k61, IDCANCEL, m_hWnd);
        SetDefaultButton(IDCANCEL);
    }
    FillList();
    if (m_changes.empty() && defaults) {
        // Nothing to restore: the list says so, and Cancel is all there is to press.
        EnableDlgItem(IDOK, false);
        SetDefaultButton(IDCANCEL);
    }
    return TRUE;
}

void CChangesDlg::FillList() {
    SetListTabStops(IDC_CHANGES_LIST, kColumnStops, static_cast<int>(std::size(kColumnStops)));
    const changes::Words words{theApp.GetLanguageText(text::k62), theApp.GetLanguageText(text::k63),
                               theApp.GetLanguageText(text::k64), theApp.GetLanguageText(text::k65),
                               theApp.GetLanguageText(text::k66)};
    if (m_changes.empty()) {
        const std::string none =
            theApp.GetLanguageText(m_mode == Mode::WindowsDefaults ? text::k68 : text::k67);
        AddListRow(IDC_CHANGES_LIST, none);
    }
    for (const engine::Change& change : m_changes) {
        AddListRow(IDC_CHANGES_LIST, changes::RowText(change, words));
    }
}
