// CPropertySheet: the platform's property sheet, run modally in wizard mode,
// with the sheet window subclassed so the program sees it after the base.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/Wnd.h"

class CPropertyPage;

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

    // Makes the page at `index` current now (PSM_SETCURSEL): the current page
    // gets PSN_KILLACTIVE, the new one PSN_SETACTIVE. Before the window
    // exists, it chooses the first page. FALSE when refused or out of range.
    BOOL SetActivePage(int index);
    BOOL SetActivePage(CPropertyPage* page);

    // The sheet's caption. It sticks: whenever the platform puts its own
    // caption over it (after a page's activation, the platform titles the
    // sheet with the page template's caption), the program's caption is put
    // back as soon as the platform's handling returns. A caption set with
    // SetWindowText from program code sticks the same way. Before DoModal, it
    // becomes the sheet's first caption.
    void SetTitle(const std::string& caption);

    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int index) const;
    int GetPageIndex(const CPropertyPage* page) const;  // -1 when not a page of this sheet
    int GetPageIndexByTemplate(UINT templateId) const;  // -1 when none
    int GetActiveIndex() const;                         // -1 without a window
    CPropertyPage* GetActivePage() const;
    bool IsWizard() const { return m_wizard; }

    // What the platform knows the page at `index` by: its template's resource
    // id, or the address of its in-memory template.
    LRESULT PlatformTemplateValue(int index) const;

protected:
    // Runs after the base sheet initialisation (which has created and shown
    // the first page). Returns the WM_INITDIALOG result: the base returns
    // what the platform's initialisation returned. An exception escaping it is
    // reported, and the sheet then closes as if cancelled.
    virtual BOOL OnInitDialog();

    // WM_DESTROY, after the platform's own handling.
    virtual void OnDestroy();

    // Messages to the sheet window before the platform sees them. Return true
    // to consume the message with `result` as the window procedure's result;
    // false passes it on. WM_HELP (F1) is consumed before this is called.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static LRESULT CALLBACK SheetWindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam);
    LRESULT OnSheetMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallBase(UINT message, WPARAM wParam, LPARAM lParam);
    void Subclass(HWND window);
    void Unsubclass();
    void ReapplyTitle();

    std::vector<CPropertyPage*> m_pages;
    UINT m_captionStringId;
    HWND m_parent;
    UINT m_startPage;
    bool m_wizard = false;
    WNDPROC m_baseProc = nullptr;
    BOOL m_baseInitResult = FALSE;
    std::optional<std::string> m_title;  // the program's caption, once it set one
    bool m_inPlatformCode = false;       // the platform's own handling is running
    bool m_titleOverwritten = false;     // the platform replaced the program's caption

    friend class CPropertyPage;

    // While a page or the sheet's overridables run, captions set on the sheet
    // window are the program's; while the platform's own handling runs, they
    // are the platform's.
    class CodeScope {
    public:
        CodeScope(CPropertySheet* sheet, bool platform)
            : m_sheet(sheet), m_previous(sheet ? sheet->m_inPlatformCode : false) {
            if (m_sheet) m_sheet->m_inPlatformCode = platform;
        }
        ~CodeScope() {
            if (m_sheet) m_sheet->m_inPlatformCode = m_previous;
        }
        CodeScope(const CodeScope&) = delete;
        CodeScope& operator=(const CodeScope&) = delete;

    private:
        CPropertySheet* m_sheet;
        bool m_previous;
    };
};
