// The list of changes: what Reset will put back (Show Changes, one Close button), or Windows'
// own defaults before they are restored (Restore Defaults and Cancel). It writes nothing.
#pragma once

#include <vector>

#include "engine/Changes.h"
#include "framework/Dialog.h"

class CChangesDlg : public CDialog {
public:
    enum class Mode { ShowChanges, WindowsDefaults };
    // DoModal gives IDOK only when the user chose to restore Windows' defaults.
    CChangesDlg(HWND owner, Mode mode, std::vector<engine::Change> changes);

protected:
    BOOL OnInitDialog() override;

private:
    void FillList();

    Mode m_mode;
    std::vector<engine::Change> m_changes;
};
