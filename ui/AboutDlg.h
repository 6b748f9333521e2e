// The About box: the program's icon, file version and legal notice.
#pragma once

#include "framework/Dialog.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(HWND owner = nullptr);

protected:
    BOOL OnInitDialog() override;

private:
    void ShowVersionInfo();
};
