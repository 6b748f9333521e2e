// The wizard sheet on the platform's property sheet: initialisation order,
// page notifications and their raw contracts, posted button changes, sticky
// step captions, F1, destruction, and the exception boundary.
#include <windows.h>

#include <prsht.h>

#include <functional>
#include <gtest/gtest.h>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestWindows.h"
#include "framework/CallbackGuard.h"
#include "framework/DataExchange.h"
#include "framework/PropertyPage.h"
#include "framework/PropertySheet.h"
#include "res/resource.h"

namespace {

constexpr int kPageEdit = 1201;
constexpr UINT kFirstTemplateId = 900;

using Log = std::vector<std::string>;

// The index of the page the sheet shows; -1 without one.
int ActiveIndex(const CPropertySheet& sheet) {
    const auto current =
        reinterpret_cast<HWND>(SendMessageA(sheet.m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    for (int i = 0; current && i < sheet.GetPageCount(); ++i) {
        if (sheet.GetPage(i)->m_hWnd == current) return i;
    }
    return -1;
}

class TestPage : public CPropertyPage {
public:
    TestPage(UINT id, const DLGTEMPLATE* t, Log& log, std::string name)
        : CPropertyPage(id, t), m_log(log), m_name(std::move(name)) {}

    std::function<BOOL()> onSetActive, onKillActive, onFinish;
    std::function<LRESULT()> onNext, onBack;
    int32_t value = 10;

protected:
    BOOL OnInitDialog() override {
        Record("init");
        return CPropertyPage::OnInitDialog();
    }
    BOOL OnSetActive() override {
        Record("setactive");
        return onSetActive ? onSetActive() : CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override {
        Record("killactive");
        return onKillActive ? onKillActive() : CPropertyPage::OnKillActive();
    }
    LRESULT OnWizardNext() override {
        Record("next");
        return onNext ? onNext() : CPropertyPage::OnWizardNext();
    }
    LRESULT OnWizardBack() override {
        Record("back");
        return onBack ? onBack() : CPropertyPage::OnWizardBack();
    }
    BOOL OnWizardFinish() override {
        Record("finish");
        return onFinish ? onFinish() : CPropertyPage::OnWizardFinish();
    }
    void OnReset() override { Record("reset"); }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, kPageEdit, value); }

private:
    void Record(const char* what) { m_log.push_back(m_name + ":" + what); }
    Log& m_log;
    std::string m_name;
};

class TestSheet : public CPropertySheet {
public:
    TestSheet(Log& log, HWND parent = nullptr) : CPropertySheet(0, parent, 0), m_log(log) {
        SetWizardMode();
    }
    std::function<void()> onInit;
    int activeAtInit = -2;
    bool windowAliveAtDestroy = false;
    int destroyCalls = 0;

protected:
    void OnFirstPageShown() override {
        activeAtInit = ActiveIndex(*this);
        m_log.push_back("sheet:init");
        if (onInit) onInit();
    }
    void OnDestroy() override {
        ++destroyCalls;
        windowAliveAtDestroy = IsWindow(m_hWnd) != FALSE;
        m_log.push_back("sheet:destroy");
    }

private:
    Log& m_log;
};

// Three pages with template ids 900, 901, 902 and template captions
// "Template caption N".
struct Wizard {
    explicit Wizard(HWND parent = nullptr) : sheet(log, parent) {
        for (int i = 0; i < 3; ++i) {
            templates.push_back(PageTemplate("Template caption " + std::to_string(i)));
            templates.back().Edit(kPageEdit, 10, 10);
        }
        for (UINT i = 0; i < 3; ++i) {
            std::string name = "p";  // appended: GCC 12 warns wrongly on "..." + string
            name += std::to_string(i);
            pages.push_back(
                std::make_unique<TestPage>(kFirstTemplateId + i, templates[i].Get(), log, name));
            sheet.AddPage(pages.back().get());
        }
    }
    TestPage& page(int i) { return *pages[static_cast<std::size_t>(i)]; }
    HWND button(int id) const { return GetDlgItem(sheet.m_hWnd, id); }
    void Press(int id) const { PostMessageA(button(id), BM_CLICK, 0, 0); }
    bool Visible(int id) const { return button(id) && IsWindowVisible(button(id)); }
    bool Enabled(int id) const { return button(id) && IsWindowEnabled(button(id)); }
    std::string Caption() const { return WindowText(sheet.m_hWnd); }

    Log log;
    std::vector<DialogTemplate> templates;
    std::vector<std::unique_ptr<TestPage>> pages;
    TestSheet sheet;
};

bool SheetOpen(const Wizard& w) {
    return w.sheet.m_hWnd && IsWindowVisible(w.sheet.m_hWnd);
}

UiScript::Step Cancel(const Wizard& w) {
    return OnceNoBox([&w] {
        w.Press(IDCANCEL);
        return true;
    });
}

std::vector<std::string> g_reports;
void RecordReport(const std::string& text) {
    g_reports.push_back(text);
}

}  // namespace

TEST(WizardSheet, SheetInitialisationRunsAfterTheFirstPageIsShown) {
    Wizard w;
    UiScript script({[&] { return SheetOpen(w); }, Cancel(w)});
    EXPECT_EQ(w.sheet.DoModal(), 0);
    const Log expected{"p0:init", "p0:setactive", "sheet:init", "p0:reset", "sheet:destroy"};
    EXPECT_EQ(w.log, expected);
    EXPECT_EQ(w.sheet.activeAtInit, 0);
    EXPECT_EQ(w.sheet.destroyCalls, 1);
    EXPECT_TRUE(w.sheet.windowAliveAtDestroy);
    EXPECT_EQ(w.sheet.m_hWnd, nullptr);
    EXPECT_EQ(w.page(0).m_hWnd, nullptr);
}

TEST(WizardSheet, WizardHasNoHelpButtonAndItsOwnButtons) {
    Wizard w;
    UiScript script({[&] { return SheetOpen(w); },
                     [&] {
                         EXPECT_FALSE(w.Visible(IDHELP));
                         EXPECT_TRUE(w.Visible(ID_WIZBACK));
                         EXPECT_TRUE(w.Visible(ID_WIZNEXT));
                         EXPECT_TRUE(w.Visible(IDCANCEL));
                         EXPECT_FALSE(GetWindowLongPtrA(w.sheet.m_hWnd, GWL_EXSTYLE) &
                                      WS_EX_CONTEXTHELP);
                         return true;
                     },
                     Cancel(w)});
    w.sheet.DoModal();
}

TEST(WizardSheet, NextAndBackFollowThePlatformsDefaultOrder) {
    Wizard w;
    UiScript script({[&] { return SheetOpen(w); },
                     [&] {
                         w.log.clear();
                         w.Press(ID_WIZNEXT);
                         return true;
                     },
                     [&] {
                         const Log expected{"p0:next", "p0:killactive", "p1:init", "p1:setactive"};
                         EXPECT_EQ(w.log, expected);
                         EXPECT_EQ(ActiveIndex(w.sheet), 1);
                         w.log.clear();
                         w.Press(ID_WIZBACK);
                         return true;
                     },
                     [&] {
                         // Back to a page made before: activated again, not created.
                         const Log expected{"p1:back", "p1:killactive", "p0:setactive"};
                         EXPECT_EQ(w.log, expected);
                         EXPECT_EQ(ActiveIndex(w.sheet), 0);
                         return true;
                     },
                     Cancel(w)});
    w.sheet.DoModal();
}

TEST(WizardSheet, WizardNextAndBackResultsPickStayOrJump) {
    Wizard w;
    int nextResult = -1;
    w.page(0).onNext = [&] { return static_cast<LRESULT>(nextResult); };
    w.page(2).onBack = [&] { return static_cast<LRESULT>(kFirstTemplateId); };
    UiScript script({[&] { return SheetOpen(w); },
                     [&] {
                         w.log.clear();
                         w.Press(ID_WIZNEXT);  // -1: stay, not even asked to leave
                         return true;
                     },
                     [&] {
                         EXPECT_EQ(w.log, Log{"p0:next"});
                         EXPECT_EQ(ActiveIndex(w.sheet), 0);
                         nextResult = kFirstTemplateId + 2;  // jump over page 1
                         w.log.clear();
                         w.Press(ID_WIZNEXT);
                         return true;
                     },
                     [&] {
                         const Log expected{"p0:next", "p0:killactive", "p2:init", "p2:setactive"};
                         EXPECT_EQ(w.log, expected);
                         EXPECT_EQ(ActiveIndex(w.sheet), 2);
                         w.Press(ID_WIZBACK);  // back by template id to page 0
                         return true;
                     },
                     [&] {
                         EXPECT_EQ(ActiveIndex(w.sheet), 0);
                         EXPECT_EQ(w.page(1).m_hWnd, nullptr);  // never shown
                         return true;
                     },
                     Cancel(w)});
    w.sheet.DoModal();
}

TEST(WizardSheet, KillActiveRefusalKeepsThePage) {
    Wizard w;
    BOOL mayLeave = FALSE;
    w.page(0).onKillActive = [&] { return mayLeave; };
    UiScript script({[&] { return SheetOpen(w); },
                     [&] {
                         w.Press(ID_WIZNEXT);
                         return true;
                     },
                     [&] {
                         EXPECT_EQ(ActiveIndex(w.sheet), 0);
                         mayLeave = TRUE;
                         w.Press(ID_WIZNEXT);
                         return true;
                     },
                     [&] {
                         EXPECT_EQ(ActiveIndex(w.sheet), 1);
                         return true;
                     },
                     Cancel(w)});
    w.sheet.DoModal();
}

TEST(WizardSheet, FailedExchangeOnLeavingKeepsThePageWithTheMessageOwnedByTheSheet) {
    Wizard w;
    UiScript script({[&] { return SheetOpen(w); },
                     [&] {
                         SetDlgItemTextA(w.page(0).m_hWnd, kPageEdit, "");
                         w.Press(ID_WIZNEXT);
                         return true;
                     },
                     AnswerBox([&](const e2e::MessageBoxInfo& box) {
                         EXPECT_EQ(box.text, "Please enter an integer.");
                         EXPECT_EQ(box.owner, w.sheet.m_hWnd);
                     }),
                     OnceNoBox([&] {
                         EXPECT_EQ(ActiveIndex(w.sheet), 0);
                         SetDlgItemTextA(w.page(0).m_hWnd, kPageEdit, "33");
                         w.Press(ID_WIZNEXT);
                         return true;
                     }),
                     [&] {
                         EXPECT_EQ(ActiveIndex(w.sheet), 1);
                         EXPECT_EQ(w.page(0).value, 33);
                         return true;
                     },
                     Cancel(w)});
    w.sheet.DoModal();
}

TEST(WizardSheet, ActivationAfterTheFirstRefillsTheControls) {
    Wizard w;
    UiScript script({[&] { return SheetOpen(w); },
                     [&] {
                         w.Press(ID_WIZNEXT);
                         return true;
                     },
                     [&] {
                         w.page(0).value = 55;
                         w.Press(ID_WIZBACK);
                         return true;
                     },
                     [&] {
                         EXPECT_EQ(WindowText(GetDlgItem(w.page(0).m_hWnd, kPageEdit)), "55");
                         return true;
                     },
                     Cancel(w)});
    w.sheet.DoModal();
}

TEST(WizardSheet, FinishClosesOnlyWhenThePageAccepts) {
    Wizard w;
    BOOL accept = FALSE;
    w.page(0).onSetActive = [&] {
        w.sheet.SetWizardButtons(PSWIZB_BACK | PSWIZB_FINISH);
        return TRUE;
    };
    w.page(0).onFinish = [&] { return accept; };
    UiScript script({[&] { return SheetOpen(w) && w.Visible(ID_WIZFINISH); },
                     [&] {
                         EXPECT_FALSE(w.Visible(ID_WIZNEXT));
                         w.Press(ID_WIZFINISH);
                         return true;
                     },
                     [&] {
                         EXPECT_TRUE(SheetOpen(w));
                         accept = TRUE;
                         w.Press(ID_WIZFINISH);
                         return true;
                     }});
    EXPECT_GT(w.sheet.DoModal(), 0);
    EXPECT_EQ(w.sheet.destroyCalls, 1);
}

TEST(WizardSheet, WizardButtonRequestsArePostedAndTakeEffectInOrder) {
    Wizard w;
    bool backEnabledRightAfter = false;
    w.page(0).onSetActive = [&] {
        w.sheet.SetWizardButtons(PSWIZB_BACK | PSWIZB_FINISH);
        w.sheet.SetWizardButtons(PSWIZB_NEXT);
        // The platform's own initial state still stands inside the handler.
        backEnabledRightAfter = w.Enabled(ID_WIZBACK);
        return TRUE;
    };
    UiScript script({[&] { return SheetOpen(w); },
                     [&] {
                         EXPECT_TRUE(backEnabledRightAfter);
                         // The last request won: Next alone, no Finish.
                         EXPECT_FALSE(w.Enabled(ID_WIZBACK));
                         EXPECT_TRUE(w.Enabled(ID_WIZNEXT));
                         EXPECT_TRUE(w.Visible(ID_WIZNEXT));
                         EXPECT_FALSE(w.Visible(ID_WIZFINISH));
                         return true;
                     },
                     Cancel(w)});
    w.sheet.DoModal();
}

TEST(WizardSheet, TheStepCaptionSetByAPageIsWhatTheUserSees) {
    Wizard w;
    w.page(0).onSetActive = [&] {
        w.sheet.SetTitle("Step 1 of 3 : First");
        return TRUE;
    };
    w.page(1).onSetActive = [&] {
        // Set directly on the window, as the platform call would.
        w.sheet.SetWindowText("Step 2 of 3 : Second");
        return TRUE;
    };
    std::string captionAtInit;
    w.sheet.onInit = [&] { captionAtInit = w.Caption(); };
    UiScript script({[&] { return SheetOpen(w); },
                     [&] {
                         EXPECT_EQ(w.Caption(), "Step 1 of 3 : First");
                         w.Press(ID_WIZNEXT);
                         return true;
                     },
                     [&] {
                         EXPECT_EQ(w.Caption(), "Step 2 of 3 : Second");
                         w.Press(ID_WIZBACK);
                         return true;
                     },
                     [&] {
                         EXPECT_EQ(w.Caption(), "Step 1 of 3 : First");
                         return true;
                     },
                     Cancel(w)});
    w.sheet.DoModal();
    EXPECT_EQ(captionAtInit, "Step 1 of 3 : First");
}

TEST(WizardSheet, WithoutAStepCaptionThePlatformShowsThePagesOwn) {
    // What the sticky caption guards against: the platform titles the sheet
    // with the page template's caption after the page's activation.
    Wizard w;
    UiScript script({[&] { return SheetOpen(w); },
                     [&] {
                         EXPECT_EQ(w.Caption(), "Template caption 0");
                         return true;
                     },
                     Cancel(w)});
    w.sheet.DoModal();
}

namespace {
int g_ownerHelpMessages = 0;
LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HELP) ++g_ownerHelpMessages;
    return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

TEST(WizardSheet, HelpRequestsAreIgnoredAndReachNoOwner) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = OwnerProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "FrameworkTestOwner";
    RegisterClassA(&windowClass);
    HWND owner = CreateWindowA("FrameworkTestOwner", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                               0, 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    g_ownerHelpMessages = 0;
    Wizard w(owner);
    UiScript script(
        {[&] { return SheetOpen(w); },
         [&] {
             EXPECT_EQ(GetWindow(w.sheet.m_hWnd, GW_OWNER), owner);
             HWND edit = GetDlgItem(w.page(0).m_hWnd, kPageEdit);
             HELPINFO help{};
             help.cbSize = sizeof(help);
             help.iContextType = HELPINFO_WINDOW;
             help.iCtrlId = kPageEdit;
             help.hItemHandle = edit;
             EXPECT_EQ(SendMessageA(w.sheet.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&help)),
                       0);
             SendMessageA(edit, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
             SetFocus(edit);
             PostMessageA(edit, WM_KEYDOWN, VK_F1, 0x003B0001);
             PostMessageA(edit, WM_KEYUP, VK_F1, static_cast<LPARAM>(0xC03B0001u));
             return true;
         },
         [&] {
             EXPECT_EQ(g_ownerHelpMessages, 0);
             EXPECT_TRUE(SheetOpen(w));
             return true;
         },
         Cancel(w)});
    w.sheet.DoModal();
    DestroyWindow(owner);
}

// The platform would open it at its owner's corner, from where a sheet as tall as the work area
// of a small screen reaches under the taskbar.
TEST(WizardSheet, OpensInTheMiddleOfTheWorkAreaWhereverItsOwnerIs) {
    HWND owner = CreateWindowA("STATIC", "Owner", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 300,
                               200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    Wizard w(owner);
    UiScript script({[&] { return SheetOpen(w); },
                     [&] {
                         RECT work{};
                         RECT place{};
                         SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
                         GetWindowRect(w.sheet.m_hWnd, &place);
                         EXPECT_NEAR(place.left + place.right, work.left + work.right, 1);
                         EXPECT_NEAR(place.top + place.bottom, work.top + work.bottom, 1);
                         return true;
                     },
                     Cancel(w)});
    w.sheet.DoModal();
    DestroyWindow(owner);
}

TEST(WizardSheet, ExceptionsInPageHandlersAreCaughtAtTheBoundary) {
    g_reports.clear();
    SetExceptionReporter(RecordReport);
    Wizard w;
    w.page(1).onSetActive = [&]() -> BOOL { throw std::runtime_error("page failed"); };
    UiScript script({[&] { return SheetOpen(w); },
                     [&] {
                         w.Press(ID_WIZNEXT);
                         return true;
                     },
                     [&] {
                         EXPECT_TRUE(SheetOpen(w));
                         return true;
                     },
                     Cancel(w)});
    w.sheet.DoModal();
    SetExceptionReporter(nullptr);
    ASSERT_EQ(g_reports.size(), 1u);
    EXPECT_NE(g_reports[0].find("page failed"), std::string::npos);
}

// A sheet that could not set itself up closes at once, as if cancelled, so
// no page of it can finish with half-made values.
TEST(WizardSheet, AnExceptionWhileOpeningIsReportedAndClosesTheSheet) {
    g_reports.clear();
    SetExceptionReporter(RecordReport);
    Wizard w;
    w.sheet.onInit = [] { throw std::bad_alloc(); };
    UiScript script({});  // nobody touches the wizard
    EXPECT_EQ(w.sheet.DoModal(), 0);
    SetExceptionReporter(nullptr);
    ASSERT_EQ(g_reports.size(), 1u);
    EXPECT_NE(g_reports[0].find("opening the wizard"), std::string::npos) << g_reports[0];
    EXPECT_EQ(w.log, (Log{"p0:init", "p0:setactive", "sheet:init", "p0:reset", "sheet:destroy"}));
}

TEST(WizardSheet, EscapeCancelsTheWizard) {
    Wizard w;
    UiScript script({[&] { return SheetOpen(w); },
                     [&] {
                         HWND edit = GetDlgItem(w.page(0).m_hWnd, kPageEdit);
                         SetFocus(edit);
                         PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
                         return true;
                     }});
    EXPECT_EQ(w.sheet.DoModal(), 0);
    EXPECT_EQ(w.log.back(), "sheet:destroy");
}
