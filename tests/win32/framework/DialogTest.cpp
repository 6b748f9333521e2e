// The modal dialog: binding, result routing, owner choice, OK/Cancel, the
// exception boundary and the application's message-box caption.
#include <gtest/gtest.h>
#include <stdexcept>

#include "TestWindows.h"
#include "framework/CallbackGuard.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"

namespace {

constexpr int kEdit = 1001;
constexpr int kEnd = 1002;
constexpr UINT kAskResult = WM_APP + 1;
constexpr UINT kThrow = WM_APP + 2;
constexpr UINT kUseMissingControl = WM_APP + 3;  // wParam 0: a text helper, 1: data exchange
constexpr int kMissing = 1999;                   // no control of the template

DialogTemplate TestTemplate() {
    DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 160, 80,
                     "Dialog under test");
    t.Edit(kEdit, 10, 10).Button(kEnd, 10, 40, "End").Button(IDOK, 70, 40, "OK");
    return t;
}

class TestDialog : public CDialog {
public:
    using CDialog::CDialog;
    HWND windowAtInit = nullptr;
    int initCalls = 0;
    int32_t value = 5;
    std::vector<UINT> commands;

protected:
    BOOL OnInitDialog() override {
        ++initCalls;
        windowAtInit = m_hWnd;
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, kEdit, value); }
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
        if (message == WM_COMMAND && LOWORD(wParam) == kEnd) {
            EndDialog(42);
            return true;
        }
        if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
        if (message == kAskResult) {
            result = 1234;
            return true;
        }
        if (message == WM_CTLCOLORSTATIC) {
            result = reinterpret_cast<LRESULT>(GetStockObject(GRAY_BRUSH));
            return true;
        }
        if (message == kThrow) throw std::runtime_error("handler failed");
        if (message == kUseMissingControl) {
            if (wParam == 0) {
                SetDlgItemText(kMissing, "lost");
            } else {
                CDataExchange exchange(m_hWnd, true);
                DDX_Text(&exchange, kMissing, value);
            }
            return true;
        }
        return false;
    }
};

HWND FindDialog() {
    return FindThreadDialog("Dialog under test");
}

std::vector<std::string> g_reports;
void RecordReport(const std::string& text) {
    g_reports.push_back(text);
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

class TestApp : public CWinApp {
public:
    BOOL InitInstance() override { return FALSE; }
};

}  // namespace

TEST(Dialog, RunsModallyBindsAtInitAndReturnsTheEndDialogValue) {
    const DialogTemplate t = TestTemplate();
    TestDialog dialog(t.Get());
    HWND seen = nullptr;
    UiScript script({[&] {
                         seen = FindDialog();
                         return seen != nullptr;
                     },
                     [&] {
                         // The base fills the controls at initialisation.
                         EXPECT_EQ(WindowText(GetDlgItem(seen, kEdit)), "5");
                         PostMessageA(GetDlgItem(seen, kEnd), BM_CLICK, 0, 0);
                         return true;
                     }});
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_EQ(dialog.initCalls, 1);
    EXPECT_EQ(dialog.windowAtInit, seen);
    EXPECT_EQ(dialog.m_hWnd, nullptr);  // released with the window
}

TEST(Dialog, WritesHandledResultsThroughMsgResultExceptDirectOnes) {
    const DialogTemplate t = TestTemplate();
    TestDialog dialog(t.Get());
    UiScript script({[&] {
        HWND window = FindDialog();
        if (!window) return false;
        EXPECT_EQ(SendMessageA(window, kAskResult, 0, 0), 1234);
        // A colour message's brush comes back directly from the procedure.
        HDC dc = GetDC(window);
        EXPECT_EQ(SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(GetDlgItem(window, kEnd))),
                  reinterpret_cast<LRESULT>(GetStockObject(GRAY_BRUSH)));
        ReleaseDC(window, dc);
        // An unhandled message gets the default processing (result 0).
        EXPECT_EQ(SendMessageA(window, WM_APP + 50, 0, 0), 0);
        PostMessageA(window, WM_COMMAND, kEnd, 0);
        return true;
    }});
    EXPECT_EQ(dialog.DoModal(), 42);
}

TEST(Dialog, OkValidatesBeforeEndingAndCancelEnds) {
    const DialogTemplate t = TestTemplate();
    TestDialog dialog(t.Get());
    HWND window = nullptr;
    UiScript script({[&] { return (window = FindDialog()) != nullptr; },
                     [&] {
                         SetDlgItemTextA(window, kEdit, "");
                         PostMessageA(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
                         return true;
                     },
                     AnswerBox("Please enter an integer."), OnceNoBox([&] {
                         EXPECT_TRUE(IsWindow(window));  // still open
                         SetDlgItemTextA(window, kEdit, "77");
                         PostMessageA(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
                         return true;
                     })});
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.value, 77);

    TestDialog second(t.Get());
    UiScript escape({[&] {
        HWND w = FindDialog();
        if (!w) return false;
        PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
        return true;
    }});
    EXPECT_EQ(second.DoModal(), IDCANCEL);
    EXPECT_EQ(second.value, 5);
}

TEST(Dialog, CatchesExceptionsAtTheProcedureAndKeepsRunning) {
    g_reports.clear();
    SetExceptionReporter(RecordReport);
    const DialogTemplate t = TestTemplate();
    TestDialog dialog(t.Get());
    UiScript script({[&] {
        HWND window = FindDialog();
        if (!window) return false;
        SendMessageA(window, kThrow, 0, 0);
        PostMessageA(window, WM_COMMAND, kEnd, 0);
        return true;
    }});
    EXPECT_EQ(dialog.DoModal(), 42);
    SetExceptionReporter(nullptr);
    ASSERT_EQ(g_reports.size(), 1u);
    EXPECT_NE(g_reports[0].find("handler failed"), std::string::npos);
}

TEST(Dialog, AWrongControlIdIsReportedNotPassedOver) {
    g_reports.clear();
    SetExceptionReporter(RecordReport);
    const DialogTemplate t = TestTemplate();
    TestDialog dialog(t.Get());
    UiScript script({[&] {
        HWND window = FindDialog();
        if (!window) return false;
        SendMessageA(window, kUseMissingControl, 0, 0);
        // Saving from a missing control must not read as an empty field and show
        // "Please enter an integer.".
        SendMessageA(window, kUseMissingControl, 1, 0);
        PostMessageA(window, WM_COMMAND, kEnd, 0);
        return true;
    }});
    EXPECT_EQ(dialog.DoModal(), 42);
    SetExceptionReporter(nullptr);
    ASSERT_EQ(g_reports.size(), 2u);
    for (const std::string& report : g_reports) {
        EXPECT_NE(report.find("no control with id 1999"), std::string::npos) << report;
    }
    EXPECT_EQ(dialog.value, 5);
}

TEST(Dialog, OwnerIsTheParentOrElseTheApplicationsMainWindow) {
    TestApp app;
    const DialogTemplate mainTemplate(WS_POPUP | WS_CAPTION, 100, 50, "Main window");
    HWND mainWindow = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), mainTemplate.Get(),
                                                 nullptr, PlainDialogProc, 0);
    ASSERT_NE(mainWindow, nullptr);
    CWnd mainHolder;
    mainHolder.m_hWnd = mainWindow;
    app.m_pMainWnd = &mainHolder;

    const DialogTemplate t = TestTemplate();
    TestDialog dialog(t.Get());
    UiScript script({[&] {
        HWND window = FindDialog();
        if (!window) return false;
        EXPECT_EQ(GetWindow(window, GW_OWNER), mainWindow);
        EXPECT_FALSE(IsWindowEnabled(mainWindow));  // modal on top of it
        PostMessageA(window, WM_COMMAND, kEnd, 0);
        return true;
    }});
    EXPECT_EQ(dialog.DoModal(), 42);
    app.m_pMainWnd = nullptr;
    mainHolder.m_hWnd = nullptr;
    DestroyWindow(mainWindow);
}

TEST(Dialog, ResourceDialogThatDoesNotExistFailsWithMinusOne) {
    CDialog missing(31999);
    EXPECT_EQ(missing.DoModal(), -1);
}

TEST(AppMessageBox, CaptionIsTheExecutablesBaseNameAndOwnerIsTopLevel) {
    const DialogTemplate t = TestTemplate();
    TestDialog dialog(t.Get());
    UiScript script({[&] {
                         HWND window = FindDialog();
                         if (!window) return false;
                         // Owned through a child: the box belongs to the dialog.
                         AppMessageBox(GetDlgItem(window, kEdit), "Hello",
                                       MB_OK | MB_ICONEXCLAMATION);
                         return true;
                     },
                     AnswerBox([&](const e2e::MessageBoxInfo& box) {
                         EXPECT_EQ(box.text, "Hello");
                         EXPECT_EQ(box.caption, "w32_framework");
                         EXPECT_EQ(box.owner, FindDialog());
                         EXPECT_EQ(box.icon, e2e::BoxIcon::Exclamation);
                     }),
                     OnceNoBox([&] {
                         PostMessageA(FindDialog(), WM_COMMAND, kEnd, 0);
                         return true;
                     })});
    EXPECT_EQ(dialog.DoModal(), 42);
}

TEST(ApplicationName, IsTheModulesBaseNameWithoutExtension) {
    EXPECT_EQ(ModuleBaseName("C:\\Program Files\\Vornel\\Vornel.exe"), "Vornel");
    EXPECT_EQ(ModuleBaseName("Z:/tmp/w32_framework.exe"), "w32_framework");
    EXPECT_EQ(ModuleBaseName("C:\\a.b\\tool"), "tool");
    EXPECT_EQ(ApplicationName(), "w32_framework");
}
