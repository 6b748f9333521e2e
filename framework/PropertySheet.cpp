// CPropertySheet: the modal run, the callback that subclasses the sheet
// window, and the subclass procedure.
#include "framework/PropertySheet.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/CallbackGuard.h"
#include "framework/CommonControls.h"
#include "framework/PropertyPage.h"
#include "framework/TemplateResource.h"
#include "framework/WinApp.h"
#include "framework/WindowBinding.h"

namespace {

// Posted to the sheet window while the platform sets it up: the program's
// initialisation, run once that is done.
constexpr UINT kInitialiseMessage = WM_APP + 1;

// Places the sheet in the middle of the work area, as a dialog with DS_CENTER is placed: the
// platform puts it at its owner's corner, from where a sheet as tall as a small screen's work
// area would reach under the taskbar. Its top left corner stays on the work area.
void CentreInWorkArea(HWND sheet) {
    RECT work{};
    RECT place{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0) || !GetWindowRect(sheet, &place)) {
        return;
    }
    const LONG width = place.right - place.left;
    const LONG height = place.bottom - place.top;
    const LONG x = std::max(work.left, work.left + (work.right - work.left - width) / 2);
    const LONG y = std::max(work.top, work.top + (work.bottom - work.top - height) / 2);
    SetWindowPos(sheet, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK ProbeDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

// The dialog base units (as MapDialogRect gives them for 4 x 8 units) of a font, measured once.
SIZE BaseUnitsOf(HINSTANCE module, WORD pointSize, std::u16string_view face) {
    struct Measured {
        WORD pointSize;
        std::u16string face;
        SIZE units;
    };
    static std::vector<Measured> measured;
    for (const Measured& known : measured) {
        if (known.pointSize == pointSize && known.face == face) return known.units;
    }
    // DLGTEMPLATE (no menu, class or title), then the point size and the face.
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
    words.push_back(pointSize);
    words.insert(words.end(), face.begin(), face.end());
    words.push_back(0);
    std::vector<DWORD> aligned((words.size() + 1) / 2, 0);
    std::memcpy(aligned.data(), words.data(), words.size() * sizeof(WORD));
    auto* header = reinterpret_cast<DLGTEMPLATE*>(aligned.data());
    header->style = WS_POPUP | DS_SETFONT;
    HWND probe = CreateDialogIndirectParamA(module, header, nullptr, ProbeDialogProc, 0);
    if (!probe) return {0, 0};
    RECT units{0, 0, 4, 8};
    MapDialogRect(probe, &units);
    DestroyWindow(probe);
    measured.push_back({pointSize, std::u16string(face), {units.right, units.bottom}});
    return measured.back().units;
}

// The least count of the sheet's units that covers the pixels of `count` of the page's.
std::int16_t InSheetUnits(std::int16_t count, LONG pageUnit, LONG sheetUnit, int unitsPerBase) {
    if (pageUnit <= sheetUnit || sheetUnit <= 0) return count;
    const int pixels = MulDiv(count, pageUnit, unitsPerBase);
    std::int16_t converted = count;
    while (MulDiv(converted, sheetUnit, unitsPerBase) < pixels && converted < 0x7FFF) ++converted;
    return converted;
}

}  // namespace

std::vector<DWORD> PageTemplateInSheetUnits(HINSTANCE module, UINT templateId) {
    std::optional<dialog_template::Template> page = ReadTemplateResource(module, templateId);
    if (!page || !page->font) return {};
    const SIZE pageUnits = BaseUnitsOf(module, page->font->pointSize, page->font->typeface);
    const SIZE sheetUnits = BaseUnitsOf(module, 8, u"MS Shell Dlg");
    if (pageUnits.cx <= sheetUnits.cx && pageUnits.cy <= sheetUnits.cy) return {};
    page->cx = InSheetUnits(page->cx, pageUnits.cx, sheetUnits.cx, 4);
    page->cy = InSheetUnits(page->cy, pageUnits.cy, sheetUnits.cy, 8);
    return TemplateInMemory(*page);
}

CPropertySheet::CPropertySheet(UINT captionStringId, HWND parent, UINT selectPage)
    : m_captionStringId(captionStringId), m_parent(parent), m_startPage(selectPage) {}

CPropertySheet::~CPropertySheet() {
    Unsubclass();
    binding::Forget(*this);
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

int CPropertySheet::GetPageIndexByTemplate(UINT templateId) const {
    for (int i = 0; i < GetPageCount(); ++i) {
        if (m_pages[static_cast<std::size_t>(i)]->TemplateId() == templateId) return i;
    }
    return -1;
}

LRESULT CPropertySheet::PlatformTemplateValue(int index) const {
    const CPropertyPage* page = GetPage(index);
    if (!page) return -1;
    const auto slot = static_cast<std::size_t>(index);
    if (slot < m_platformTemplates.size() && !m_platformTemplates[slot].empty()) {
        return reinterpret_cast<LRESULT>(m_platformTemplates[slot].data());
    }
    if (page->MemoryTemplate()) return reinterpret_cast<LRESULT>(page->MemoryTemplate());
    return static_cast<LRESULT>(page->TemplateId());
}

INT_PTR CPropertySheet::DoModal() {
    const comctl::Functions* controls = comctl::Get();
    if (m_pages.empty() || m_hWnd || controls == nullptr) return -1;
    m_platformTemplates.assign(m_pages.size(), {});
    std::vector<HPROPSHEETPAGE> handles;
    for (std::size_t index = 0; index < m_pages.size(); ++index) {
        CPropertyPage* page = m_pages[index];
        PROPSHEETPAGEA description{};
        description.dwSize = PROPSHEETPAGEA_V1_SIZE;
        description.dwFlags = PSP_DEFAULT;
        description.hInstance = ApplicationInstance();
        if (!page->MemoryTemplate()) {
            m_platformTemplates[index] =
                PageTemplateInSheetUnits(ApplicationInstance(), page->TemplateId());
        }
        if (page->MemoryTemplate()) {
            description.dwFlags |= PSP_DLGINDIRECT;
            description.pResource = page->MemoryTemplate();
        } else if (!m_platformTemplates[index].empty()) {
            description.dwFlags |= PSP_DLGINDIRECT;
            description.pResource =
                reinterpret_cast<const DLGTEMPLATE*>(m_platformTemplates[index].data());
        } else {
            description.pszTemplate = MAKEINTRESOURCEA(page->TemplateId());
        }
        description.pfnDlgProc = CPropertyPage::PageProc;
        description.lParam = reinterpret_cast<LPARAM>(page);
        page->m_firstSetActive = true;
        HPROPSHEETPAGE handle = controls->createPropertySheetPage(&description);
        if (!handle) {
            for (HPROPSHEETPAGE created : handles) controls->destroyPropertySheetPage(created);
            m_platformTemplates.clear();
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

    m_ownCaption = false;
    // The platform's callback names no sheet: this one is expected.
    binding::Expect(this);
    const INT_PTR result = controls->propertySheet(&header);
    binding::Forget(*this);
    m_platformTemplates.clear();
    return result;
}

void CPropertySheet::SetWizardButtons(DWORD flags) {
    if (m_hWnd) PostMessageA(m_hWnd, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(flags));
}

void CPropertySheet::OnFirstPageShown() {}

void CPropertySheet::OnDestroy() {}

bool CPropertySheet::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

void CPropertySheet::Subclass(HWND window) {
    m_hWnd = window;
    binding::Bind(window, *this);
    m_baseProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SheetWindowProc)));
}

void CPropertySheet::Unsubclass() {
    if (!m_hWnd) return;
    if (m_baseProc && IsWindow(m_hWnd)) {
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_baseProc));
    }
    binding::Release(m_hWnd);
    m_hWnd = nullptr;
    m_baseProc = nullptr;
}

void CPropertySheet::SetTitle(const std::string& caption) {
    m_ownCaption = true;
    m_settingCaption = true;
    ::SetWindowTextA(m_hWnd, caption.c_str());
    m_settingCaption = false;
}

LRESULT CPropertySheet::OnSheetMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kInitialiseMessage:
            try {
                OnFirstPageShown();
            } catch (...) {
                // A sheet that could not set itself up must not be used: after the
                // report it ends as if cancelled, before the user can act in it.
                ReportCurrentException("opening the wizard");
                PostMessageA(m_hWnd, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
            }
            return 0;
        case WM_HELP:
            // F1 is ignored: not passed on, so no owner sees it either.
            return FALSE;
        case WM_SETTEXT:
            // Any caption but the program's own is the platform titling the wizard after a
            // page's activation: refused once the program has its own.
            if (m_ownCaption && !m_settingCaption) return TRUE;
            break;
        case WM_DESTROY: {
            const LRESULT result = CallWindowProcA(m_baseProc, m_hWnd, message, wParam, lParam);
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
            if (HandleMessage(message, wParam, lParam, result)) return result;
            break;
        }
    }
    return CallWindowProcA(m_baseProc, m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CPropertySheet::SheetWindowProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    // Only the sheet's subclassing binds a CPropertySheet to a window this procedure runs.
    auto* sheet = static_cast<CPropertySheet*>(binding::Find(window));
    if (!sheet || !sheet->m_baseProc) return DefWindowProcA(window, message, wParam, lParam);
    try {
        return sheet->OnSheetMessage(message, wParam, lParam);
    } catch (...) {
        ReportCurrentException("the wizard sheet");
        if (message == WM_NCDESTROY) sheet->Unsubclass();
        return 0;
    }
}

int CALLBACK CPropertySheet::SheetCallback(HWND window, UINT message, LPARAM lParam) {
    try {
        auto* sheet = message == PSCB_INITIALIZED && window
                          ? static_cast<CPropertySheet*>(binding::TakeExpected())
                          : nullptr;
        if (sheet) {
            sheet->Subclass(window);
            // The platform has sized the sheet and not shown it yet.
            CentreInWorkArea(window);
            PostMessageA(window, kInitialiseMessage, 0, 0);
        } else if (message == PSCB_PRECREATE && lParam) {
            // No context-help button in the caption: the program has no help. The platform's
            // template of the sheet, changed in place.
            auto* start = reinterpret_cast<std::uint8_t*>(lParam);
            const dialog_template::StylePlaces places =
                dialog_template::StylePlacesOf(std::span<const std::uint8_t, 4>(start, 4));
            const auto clear = [start](std::size_t at, DWORD bits) {
                DWORD value = 0;
                std::memcpy(&value, start + at, sizeof value);
                value &= ~bits;
                std::memcpy(start + at, &value, sizeof value);
            };
            clear(places.style, DS_CONTEXTHELP);
            clear(places.exStyle, WS_EX_CONTEXTHELP);
        }
    } catch (...) {
        ReportCurrentException("the wizard sheet's callback");
    }
    return 0;
}
