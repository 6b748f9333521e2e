// CPropertySheet: the platform's property sheet, run modally in wizard mode.
//
// It hooks in where the platform offers: the sheet's callback at PSCB_INITIALIZED (the window
// exists, no page does yet) subclasses the window and posts the program's initialisation to
// it, which so runs once the platform has shown the first page. The platform titles a wizard
// with the caption of a page's template after the page's activation; once the program has
// set a caption of its own, the sheet refuses that titling for the rest of the run.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Wnd.h"

class CPropertyPage;

// The platform sizes a sheet's page area by the largest page template in the dialog units of the
// sheet's own font ("MS Shell Dlg" 8), while each page lays itself out in its template's font.
// Returns a copy of the template `templateId` of `module` whose size is counted in the sheet's
// units, covering at least the pixels the page needs; empty when the template's font has no
// larger units than the sheet's (the template itself is then right as it is). A page template
// in MS Sans Serif needs it at large fonts under Wine, whose sheet font is the narrower Tahoma.
std::vector<DWORD> PageTemplateInSheetUnits(HINSTANCE module, UINT templateId);

class CPropertySheet : public CWnd {
public:
    // captionStringId: string resource of the sheet's own caption (pages
    // usually replace it). parent: owner of the modal run; null means the
    // application's main window when it exists. selectPage: index shown first.
    CPropertySheet(UINT captionStringId, HWND parent = nullptr, UINT selectPage = 0);
    ~CPropertySheet() override;

    // Pages are shown in the order added; the sheet does not own them. No
    // page has a Help button.
    void AddPage(CPropertyPage* page);
    void SetWizardMode();

    // Runs the sheet modally; returns the platform's PropertySheet result
    // (positive after Finish, 0 after Cancel, -1 when it could not be created).
    INT_PTR DoModal();

    // Posts PSM_SETWIZBUTTONS (the platform's PSWIZB_BACK | PSWIZB_NEXT | PSWIZB_FINISH):
    // the request takes effect after the current handler returns, and several
    // requests take effect in the order made, the last one winning.
    void SetWizardButtons(DWORD flags);

    // The sheet's caption, once the window exists. It sticks: the platform's titling after
    // a page's activation (with the caption of a page's template) is not applied over it.
    // SetWindowText on the sheet is the same.
    void SetTitle(const std::string& caption);
    void SetWindowText(const std::string& caption) { SetTitle(caption); }

    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int index) const;
    int GetPageIndexByTemplate(UINT templateId) const;  // -1 when none

    // What the platform knows the page at `index` by: its template's resource
    // id, or the address of its in-memory template (during a run, the copy the
    // platform was given).
    LRESULT PlatformTemplateValue(int index) const;

protected:
    // Runs once, after the platform has created the sheet and shown its first
    // page, before any input reaches the sheet. The base does nothing. An
    // exception escaping it is reported, and the sheet then closes as if
    // cancelled.
    virtual void OnFirstPageShown();

    // WM_DESTROY, after the platform's own handling.
    virtual void OnDestroy();

    // Messages to the sheet window before the platform sees them. Return true
    // to consume the message with `result` as the window procedure's result;
    // false passes it on. WM_HELP (F1) is consumed before this is called.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static LRESULT CALLBACK SheetWindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam);
    LRESULT OnSheetMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Subclass(HWND window);
    void Unsubclass();

    std::vector<CPropertyPage*> m_pages;
    // The pages' templates as the platform is given them during a run (see DoModal).
    std::vector<std::vector<DWORD>> m_platformTemplates;
    UINT m_captionStringId;
    HWND m_parent;
    UINT m_startPage;
    bool m_wizard = false;
    WNDPROC m_baseProc = nullptr;
    bool m_ownCaption = false;      // the program has set the caption this run
    bool m_settingCaption = false;  // the caption being set is the program's
};
