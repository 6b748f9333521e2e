// The main dialog: introduction, language list, and the Set and Reset commands.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <vector>

#include "engine/Engine.h"
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
    bool OnCommand(int id, int code, HWND control) override;

private:
    void OnSysCommand(WPARAM command, LPARAM lParam);
    bool OnPaint();
    void OnSetSettings();
    // Asks before Set replaces the backup there is; true when the user says Yes.
    bool AgreesToReplaceBackup(RegistryStore& store);
    void OfferToDiscardBackup(RegistryStore& store, const engine::Origin& madeOn);
    void OnSelchangeLanguage();
    void OnResetSettings();
    void OnShowChanges();
    void OnWindowsDefaults();
    void FillLanguageList();
    void SizePlainLanguageList();
    void DrawLanguage(const DRAWITEMSTRUCT& item) const;
    void LocalizeDialog();
    void UpdateResetButton();

    HICON m_hIcon = nullptr;
    HICON m_hSmallIcon = nullptr;
    HIMAGELIST m_imageList = nullptr;
    // The language list is an extended combo box where the common controls have one;
    // otherwise the dialog runs from a copy of its template that makes it a plain one.
    bool m_extendedList = true;
    std::vector<DWORD> m_plainListTemplate;
    std::unique_ptr<CMyPropertySheet> m_sheet;
    // Whether a wizard run's modem probe found a modem to boost; nothing clears it while the
    // program runs, so it holds for every later run.
    bool m_boostModem = false;
};
