// Integer data exchange between edit controls and members.
#include "framework/DataExchange.h"

#include "framework/IntegerText.h"
#include "framework/MessageBox.h"
#include "framework/Wnd.h"

void ShowEntryMessage(HWND dialog, int controlId, const std::string& message) {
    HWND control = RequireDlgItem(dialog, controlId);
    // The message comes first: closing it hands the focus back, so the focus
    // is placed afterwards.
    AppMessageBox(dialog, message, MB_OK | MB_ICONEXCLAMATION);
    SetFocus(control);
    SendMessageA(control, EM_SETSEL, 0, -1);
}

void CDataExchange::Fail(int controlId, const std::string& message) {
    RequireDlgItem(m_hDlg, controlId);
    m_failed = true;
    ShowEntryMessage(m_hDlg, controlId, message);
}

namespace {

template <typename Int, typename Parse>
void ExchangeInteger(CDataExchange* pDX, int controlId, Int& value, Parse parse) {
    if (!pDX || pDX->m_failed) return;
    HWND control = RequireDlgItem(pDX->m_hDlg, controlId);
    pDX->m_lastControlId = controlId;
    if (!pDX->m_bSaveAndValidate) {
        SetWindowTextA(control, exchange::FormatExchangeInt(value).c_str());
        return;
    }
    const auto parsed = parse(WindowText(control));
    if (!parsed) {
        pDX->Fail(controlId, std::string(kEnterIntegerMessage));
        return;
    }
    value = *parsed;
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int controlId, std::int32_t& value) {
    ExchangeInteger(pDX, controlId, value, exchange::ParseExchangeInt32);
}

void DDX_Text(CDataExchange* pDX, int controlId, std::int64_t& value) {
    ExchangeInteger(pDX, controlId, value, exchange::ParseExchangeInt64);
}

void DDV_MinMaxInt(CDataExchange* pDX, std::int32_t value, std::int32_t minimum,
                   std::int32_t maximum) {
    if (!pDX || pDX->m_failed || !pDX->m_bSaveAndValidate) return;
    if (value < minimum || value > maximum) {
        pDX->Fail(pDX->m_lastControlId, exchange::EnterIntegerRangeMessage(minimum, maximum));
    }
}
