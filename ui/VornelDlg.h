// The main dialog: introduction, language list, and the Set and Reset commands.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "framework/Dialog.h"

class CMyPropertySheet;
class RegistryStore;

class CVornelDlg : public CDialog {
public:
    CVornelDlg();
    ~CVornelDlg() override;

    void RestoreSettings();

protected:
    BOOL OnInitDialog() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnSysCommand(WPARAM command, LPARAM lParam);
    bool OnPaint();
    void OnSetSettings();
    // Asks before Set replaces the backup there is; true when the user says Yes.
    bool AgreesToReplaceBackup(RegistryStore& store);
    void OnSelchangeLanguage();
    void OnResetSettings();
    void FillLanguageList();
    void LocalizeDialog();
    void UpdateResetButton();

    HICON m_hIcon = nullptr;
    HICON m_hSmallIcon = nullptr;
    HIMAGELIST m_imageList = nullptr;
    std::unique_ptr<CMyPropertySheet> m_sheet;
    // Whether a wizard run's modem probe found a modem to boost; nothing clears it while the
    // program runs, so it holds for every later run.
    bool m_boostModem = false;
};
