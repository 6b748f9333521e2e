// The start-up picture, shown for a fixed time before the main dialog.
#pragma once

#include "framework/Dialog.h"
#include "framework/PalettePicture.h"

class CSplashDlg : public CDialog {
public:
    CSplashDlg();

    static constexpr UINT kDisplayMilliseconds = 1800;

protected:
    BOOL OnInitDialog() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // Shown by the template's static in its own palette; outlives the dialog's window.
    CPalettePicture m_picture;
    HWND m_pictureControl = nullptr;
};
