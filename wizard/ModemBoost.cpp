// The modem boost page: a description, a picture of the speed list, Back and Finish.
#include "wizard/ModemBoost.h"

#include "res/resource.h"
#include "wizard/ModemPicture.h"

namespace {

constexpr COLORREF kPictureFace = RGB(192, 192, 192);  // the dialog's face in the picture

}  // namespace

CModemBoost::CModemBoost(wizard::WizardState& state)
    : CWizardPage(wizard::kPageModemBoost, state), m_picture(IDB_MODEM_SPEEDS) {}

BOOL CModemBoost::OnInitDialog() {
    const BOOL result = CWizardPage::OnInitDialog();
    {
        CBitmapCanvas canvas(m_picture.Bitmap());
        if (HDC dc = canvas.Dc()) {
            const GdiObject<HFONT> font = PixelFont(
                wizard::kPictureFontPixels, wizard::kPictureLineHeight, wizard::kPictureFontFace,
                wizard::kPictureFallbackFace, wizard::kPictureFallbackPixels);
            const HGDIOBJ old = SelectObject(dc, font.get());
            SetTextAlign(dc, TA_LEFT | TA_BASELINE);
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, kPictureFace);
            SetBkMode(dc, OPAQUE);
            for (const wizard::PictureWords& words : wizard::kModemPictureWords) {
                // Two pixels of face colour on each side break the frame around a caption.
                const std::string shown = Text(words.text);
                SIZE size{};
                GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
                TEXTMETRICA metrics{};
                GetTextMetricsA(dc, &metrics);
                const RECT face{words.left - 2, words.baseline - metrics.tmAscent,
                                words.left + size.cx + 2, words.baseline + metrics.tmDescent};
                ExtTextOutA(dc, words.left, words.baseline, ETO_OPAQUE, &face, shown.c_str(),
                            static_cast<UINT>(shown.size()), nullptr);
            }
            SelectObject(dc, old);
        }
    }
    m_picture.ShowIn(GetDlgItem(IDC_MODEM_SPEEDS));
    return result;
}

bool CModemBoost::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == GetDlgItem(IDC_MODEM_SPEEDS)) {
                m_picture.SelectInto(reinterpret_cast<HDC>(wParam));
            }
            break;
        // Passed on by the sheet, which holds the page.
        case WM_QUERYNEWPALETTE:
        case WM_PALETTECHANGED:
            result = m_picture.Realize(GetDlgItem(IDC_MODEM_SPEEDS));
            return true;
        default:
            break;
    }
    return CWizardPage::HandleMessage(message, wParam, lParam, result);
}
