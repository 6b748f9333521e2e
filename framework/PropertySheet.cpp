// CPropertySheet: the modal run, the creation hook that subclasses the sheet
// window before its initialisation, and the subclass procedure.
#include "framework/PropertySheet.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstring>

#include "framework/CallbackGuard.h"
#include "framework/PropertyPage.h"
#include "framework/WinApp.h"

namespace {

const char kSheetProperty[] = "Vornel.CPropertySheet";

// The sheet whose window the next top-level dialog created on this thread is;
// only set while PropertySheetA creates it.
CPropertySheet* g_sheetBeingCreated = nullptr;
HHOOK g_creationHook = nullptr;

void StopCreationHook() {
    if (g_creationHook) UnhookWindowsHookEx(g_creationHook);
    g_creationHook = nullptr;
    g_sheetBeingCreated = nullptr;
}

bool IsTopLevelDialog(HWND window) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    return std::strcmp(className, "#32770") == 0 &&
           !(GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD);
}

// Regular and extended dialog templates keep their styles in different places.
struct TemplateStyles {
    DWORD* style;
    DWORD* exStyle;
};

TemplateStyles StylesOf(DLGTEMPLATE* dialogTemplate) {
    auto* words = reinterpret_cast<WORD*>(dialogTemplate);
    if (words[1] == 0xFFFF) {  // DLGTEMPLATEEX: dlgVer, signature, helpID, exStyle, style
        auto* dwords = reinterpret_cast<DWORD*>(words + 4);
        return {dwords + 1, dwords};
    }
    return {&dialogTemplate->style, &dialogTemplate->dwExtendedStyle};
}

}  // namespace

CPropertySheet::CPropertySheet(UINT captionStringId, HWND parent, UINT selectPage)
    : m_captionStringId(captionStringId), m_parent(parent), m_startPage(selectPage) {}

CPropertySheet::~CPropertySheet() {
    if (g_sheetBeingCreated == this) StopCreationHook();
    Unsubclass();
}

void CPropertySheet::AddPage(CPropertyPage* page) {
    if (!page) return;
    m_pages.push_back(page);
    page->m_pSheet = this;
}

void CPropertySheet::SetWizardMode() {
    m_wizard = true;
}

CPropertyPage* CPropertySheet::GetPage(int index) const {
    if (index < 0 || index >= GetPageCount()) return nullptr;
    return m_pages[static_cast<std::size_t>(index)];
}

int CPropertySheet::GetPageIndex(const CPropertyPage* page) const {
    for (int i = 0; i < GetPageCount(); ++i) {
        if (m_pages[static_cast<std::size_t>(i)] == page) return i;
    }
    return -1;
}

int CPropertySheet::GetPageIndexByTemplate(UINT templateId) const {
    for (int i = 0; i < GetPageCount(); ++i) {
        if (m_pages[static_cast<std::size_t>(i)]->TemplateId() == templateId) return i;
    }
    return -1;
}

LRESULT CPropertySheet::PlatformTemplateValue(int index) const {
    const CPropertyPage* page = GetPage(index);
    if (!page) return -1;
    if (page->MemoryTemplate()) return reinterpret_cast<LRESULT>(page->MemoryTemplate());
    return static_cast<LRESULT>(page->TemplateId());
}

int CPropertySheet::GetActiveIndex() const {
    if (!m_hWnd) return -1;
    const auto current = reinterpret_cast<HWND>(SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    if (!current) return -1;
    for (int i = 0; i < GetPageCount(); ++i) {
        if (m_pages[static_cast<std::size_t>(i)]->m_hWnd == current) return i;
    }
    return -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const {
    return GetPage(GetActiveIndex());
}

INT_PTR CPropertySheet::DoModal() {
    if (m_pages.empty() || m_hWnd) return -1;
    std::vector<HPROPSHEETPAGE> handles;
    for (CPropertyPage* page : m_pages) {
        PROPSHEETPAGEA description{};
        description.dwSize = PROPSHEETPAGEA_V1_SIZE;
        description.dwFlags = PSP_DEFAULT;
        description.hInstance = ApplicationInstance();
        if (page->MemoryTemplate()) {
            description.dwFlags |= PSP_DLGINDIRECT;
            description.pResource = page->MemoryTemplate();
        } else {
            description.pszTemplate = MAKEINTRESOURCEA(page->TemplateId());
        }
        description.pfnDlgProc = CPropertyPage::PageProc;
        description.lParam = reinterpret_cast<LPARAM>(page);
        page->m_firstSetActive = true;
        HPROPSHEETPAGE handle = CreatePropertySheetPageA(&description);
        if (!handle) {
            for (HPROPSHEETPAGE created : handles) DestroyPropertySheetPage(created);
            return -1;
        }
        handles.push_back(handle);
    }

    PROPSHEETHEADERA header{};
    header.dwSize = PROPSHEETHEADERA_V1_SIZE;
    header.dwFlags = PSH_USECALLBACK | PSH_NOAPPLYNOW | (m_wizard ? PSH_WIZARD : 0);
    header.hwndParent = m_parent ? m_parent : ApplicationMainWindow();
    header.hInstance = ApplicationInstance();
    header.pszCaption = MAKEINTRESOURCEA(m_captionStringId);
    header.nPages = static_cast<UINT>(handles.size());
    header.nStartPage = m_startPage < handles.size() ? m_startPage : 0;
    header.phpage = handles.data();
    header.pfnCallback = SheetCallback;

    // The platform calls PSCB_INITIALIZED before it shows the first page, so
    // the window is subclassed as it is created instead: the sheet then sees
    // WM_INITDIALOG and runs OnInitDialog after the platform's initialisation.
    m_titleOverwritten = false;
    g_sheetBeingCreated = this;
    g_creationHook = SetWindowsHookExA(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
    const INT_PTR result = PropertySheetA(&header);
    StopCreationHook();
    return result;
}

void CPropertySheet::SetWizardButtons(DWORD flags) {
    if (m_hWnd) PostMessageA(m_hWnd, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(flags));
}

BOOL CPropertySheet::SetActivePage(int index) {
    if (index < 0 || index >= GetPageCount()) return FALSE;
    if (!m_hWnd) {
        m_startPage = static_cast<UINT>(index);
        return TRUE;
    }
    return SendMessageA(m_hWnd, PSM_SETCURSEL, static_cast<WPARAM>(index), 0) ? TRUE : FALSE;
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* page) {
    return SetActivePage(GetPageIndex(page));
}

void CPropertySheet::SetTitle(const std::string& caption) {
    m_title = caption;
    if (m_hWnd) {
        CodeScope program(this, false);
        ::SetWindowTextA(m_hWnd, caption.c_str());
    }
}

BOOL CPropertySheet::OnInitDialog() {
    return m_baseInitResult;
}

void CPropertySheet::OnDestroy() {}

bool CPropertySheet::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

void CPropertySheet::Subclass(HWND window) {
    m_hWnd = window;
    SetPropA(window, kSheetProperty, this);
    m_baseProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SheetWindowProc)));
}

void CPropertySheet::Unsubclass() {
    if (!m_hWnd) return;
    if (IsWindow(m_hWnd)) {
        if (m_baseProc) {
            SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_baseProc));
        }
        RemovePropA(m_hWnd, kSheetProperty);
    }
    m_hWnd = nullptr;
    m_baseProc = nullptr;
}

void CPropertySheet::ReapplyTitle() {
    if (!m_titleOverwritten || !m_title || !m_hWnd) return;
    m_titleOverwritten = false;
    CodeScope program(this, false);
    ::SetWindowTextA(m_hWnd, m_title->c_str());
}

LRESULT CPropertySheet::CallBase(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    {
        CodeScope platform(this, true);
        result = CallWindowProcA(m_baseProc, m_hWnd, message, wParam, lParam);
    }
    // The platform may have put its own caption over the program's (after a
    // page's activation); the program's caption is what the user must see.
    if (!m_inPlatformCode) ReapplyTitle();
    return result;
}

LRESULT CPropertySheet::OnSheetMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_HELP:
            // F1 is ignored: not passed on, so no owner sees it either.
            return FALSE;
        case WM_SETTEXT:
            if (!m_inPlatformCode) {
                if (lParam) m_title = reinterpret_cast<const char*>(lParam);
                m_titleOverwritten = false;
            } else if (m_title) {
                m_titleOverwritten = true;
            }
            return CallBase(message, wParam, lParam);
        case WM_INITDIALOG: {
            m_baseInitResult = static_cast<BOOL>(CallBase(message, wParam, lParam));
            CodeScope program(this, false);
            try {
                return OnInitDialog();
            } catch (...) {
                // A sheet that could not set itself up must not be used: after the
                // report it ends as if cancelled, before the user can act in it.
                ReportCurrentException("opening the wizard");
                PostMessageA(m_hWnd, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                return m_baseInitResult;
            }
        }
        case WM_DESTROY: {
            const LRESULT result = CallBase(message, wParam, lParam);
            CodeScope program(this, false);
            OnDestroy();
            return result;
        }
        case WM_NCDESTROY: {
            const WNDPROC base = m_baseProc;
            HWND window = m_hWnd;
            Unsubclass();
            return CallWindowProcA(base, window, message, wParam, lParam);
        }
        default: {
            LRESULT result = 0;
            {
                CodeScope program(this, false);
                if (HandleMessage(message, wParam, lParam, result)) return result;
            }
            return CallBase(message, wParam, lParam);
        }
    }
}

LRESULT CALLBACK CPropertySheet::SheetWindowProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    auto* sheet = static_cast<CPropertySheet*>(GetPropA(window, kSheetProperty));
    if (!sheet || !sheet->m_baseProc) return DefWindowProcA(window, message, wParam, lParam);
    try {
        return sheet->OnSheetMessage(message, wParam, lParam);
    } catch (...) {
        ReportCurrentException("the wizard sheet");
        if (message == WM_NCDESTROY) sheet->Unsubclass();
        return 0;
    }
}

LRESULT CALLBACK CPropertySheet::CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    const HHOOK hook = g_creationHook;
    try {
        const auto window = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_CREATEWND && g_sheetBeingCreated && IsTopLevelDialog(window)) {
            CPropertySheet* sheet = g_sheetBeingCreated;
            StopCreationHook();
            sheet->Subclass(window);
        }
    } catch (...) {
        ReportCurrentException("the wizard's creation hook");
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

int CALLBACK CPropertySheet::SheetCallback(HWND, UINT message, LPARAM lParam) {
    try {
        if (message == PSCB_PRECREATE && lParam) {
            // No context-help button in the caption: the program has no help.
            const TemplateStyles styles = StylesOf(reinterpret_cast<DLGTEMPLATE*>(lParam));
            *styles.style &= ~static_cast<DWORD>(DS_CONTEXTHELP);
            *styles.exStyle &= ~static_cast<DWORD>(WS_EX_CONTEXTHELP);
        }
    } catch (...) {
        ReportCurrentException("the wizard sheet's callback");
    }
    return 0;
}
