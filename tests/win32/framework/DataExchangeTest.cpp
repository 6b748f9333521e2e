// Integer data exchange on a live dialog: loading, saving, the two validation
// messages, focus and selection on the failing field, stop at the first failure.
#include <gtest/gtest.h>

#include "TestWindows.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"

namespace {

constexpr int kFirst = 1101;
constexpr int kTtl = 1102;
constexpr int kLast = 1103;
constexpr int kWide = 1104;

class ExchangeDialog : public CDialog {
public:
    using CDialog::CDialog;
    int32_t first = 1;
    int32_t ttl = 64;
    int32_t last = 3;
    int64_t wide = 0;
    bool withRange = true;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, kFirst, first);
        DDX_Text(pDX, kTtl, ttl);
        if (withRange) DDV_MinMaxInt(pDX, ttl, 0, 255);
        DDX_Text(pDX, kLast, last);
        DDX_Text(pDX, kWide, wide);
    }
};

DialogTemplate ExchangeTemplate() {
    DialogTemplate t(WS_POPUP | WS_CAPTION | DS_MODALFRAME, 200, 90, "Exchange");
    t.Edit(kFirst, 10, 10).Edit(kTtl, 10, 26).Edit(kLast, 10, 42).Edit(kWide, 10, 58);
    return t;
}

// Runs `body` on the live dialog, then ends it.
void WithDialog(ExchangeDialog& dialog, const std::vector<UiScript::Step>& body) {
    std::vector<UiScript::Step> steps{[] { return FindThreadDialog("Exchange") != nullptr; }};
    steps.insert(steps.end(), body.begin(), body.end());
    steps.push_back(OnceNoBox([&] {
        dialog.EndDialog(IDCANCEL);
        return true;
    }));
    UiScript script(std::move(steps));
    dialog.DoModal();
}

void SetTexts(HWND window, const char* first, const char* ttl, const char* last, const char* wide) {
    SetDlgItemTextA(window, kFirst, first);
    SetDlgItemTextA(window, kTtl, ttl);
    SetDlgItemTextA(window, kLast, last);
    SetDlgItemTextA(window, kWide, wide);
}

}  // namespace

TEST(DataExchange, LoadsMembersAsSignedDecimals) {
    const DialogTemplate t = ExchangeTemplate();
    ExchangeDialog dialog(t.Get());
    dialog.first = -12;
    dialog.wide = 5000000000LL;
    WithDialog(dialog, {[&] {
                   HWND w = dialog.m_hWnd;
                   EXPECT_EQ(WindowText(GetDlgItem(w, kFirst)), "-12");
                   EXPECT_EQ(WindowText(GetDlgItem(w, kTtl)), "64");
                   EXPECT_EQ(WindowText(GetDlgItem(w, kWide)), "5000000000");
                   return true;
               }});
}

TEST(DataExchange, SavesEveryFieldWhenAllAreValid) {
    const DialogTemplate t = ExchangeTemplate();
    ExchangeDialog dialog(t.Get());
    bool saved = false;
    WithDialog(dialog, {[&] {
                   SetTexts(dialog.m_hWnd, " 7 ", "255", "0", "4294967296");
                   saved = dialog.UpdateData(true);
                   return true;
               }});
    EXPECT_TRUE(saved);
    EXPECT_EQ(dialog.first, 7);
    EXPECT_EQ(dialog.ttl, 255);
    EXPECT_EQ(dialog.last, 0);
    EXPECT_EQ(dialog.wide, 4294967296LL);
}

TEST(DataExchange, EmptyFieldShowsTheIntegerMessageAndStopsThere) {
    const DialogTemplate t = ExchangeTemplate();
    ExchangeDialog dialog(t.Get());
    bool saved = true;
    WithDialog(dialog, {[&] {
                            SetTexts(dialog.m_hWnd, "9", "", "8", "1");
                            saved = dialog.UpdateData(true);  // returns after the box is answered
                            EXPECT_EQ(ThreadFocus(), GetDlgItem(dialog.m_hWnd, kTtl));
                            return true;
                        },
                        AnswerBox([&](const e2e::MessageBoxInfo& box) {
                            EXPECT_EQ(box.text, "Please enter an integer.");
                            EXPECT_EQ(box.caption, "w32_framework");
                            EXPECT_EQ(box.owner, dialog.m_hWnd);
                            EXPECT_EQ(box.icon, e2e::BoxIcon::Exclamation);
                        })});
    EXPECT_FALSE(saved);
    EXPECT_EQ(dialog.first, 9);  // before the failure: taken
    EXPECT_EQ(dialog.ttl, 64);   // the failing field keeps its value
    EXPECT_EQ(dialog.last, 3);   // after it: not exchanged
    EXPECT_EQ(dialog.wide, 0);
}

TEST(DataExchange, NonIntegerTextFailsAndGetsFocusWithWholeTextSelected) {
    const DialogTemplate t = ExchangeTemplate();
    ExchangeDialog dialog(t.Get());
    WithDialog(dialog, {[&] {
                            SetTexts(dialog.m_hWnd, "12abc", "1", "1", "1");
                            dialog.UpdateData(true);
                            HWND edit = GetDlgItem(dialog.m_hWnd, kFirst);
                            EXPECT_EQ(ThreadFocus(), edit);
                            EXPECT_EQ(EditSelection(edit), std::make_pair(DWORD{0}, DWORD{5}));
                            return true;
                        },
                        AnswerBox("Please enter an integer.")});
    EXPECT_EQ(dialog.first, 1);
    EXPECT_EQ(dialog.ttl, 64);
}

TEST(DataExchange, OverflowingTextFails) {
    const DialogTemplate t = ExchangeTemplate();
    ExchangeDialog dialog(t.Get());
    bool saved = true;
    WithDialog(dialog, {[&] {
                            SetTexts(dialog.m_hWnd, "2147483648", "1", "1", "1");
                            saved = dialog.UpdateData(true);
                            return true;
                        },
                        AnswerBox("Please enter an integer.")});
    EXPECT_FALSE(saved);
    EXPECT_EQ(dialog.first, 1);
}

TEST(DataExchange, RangeFailureNamesTheBoundsAndSelectsThatField) {
    const DialogTemplate t = ExchangeTemplate();
    ExchangeDialog dialog(t.Get());
    bool saved = true;
    WithDialog(dialog, {[&] {
                            SetTexts(dialog.m_hWnd, "5", "256", "6", "7");
                            saved = dialog.UpdateData(true);
                            HWND edit = GetDlgItem(dialog.m_hWnd, kTtl);
                            EXPECT_EQ(ThreadFocus(), edit);
                            EXPECT_EQ(EditSelection(edit), std::make_pair(DWORD{0}, DWORD{3}));
                            return true;
                        },
                        AnswerBox([](const e2e::MessageBoxInfo& box) {
                            EXPECT_EQ(box.text, "Please enter an integer between 0 and 255.");
                            EXPECT_EQ(box.icon, e2e::BoxIcon::Exclamation);
                        })});
    EXPECT_FALSE(saved);
    // The value was read before the range check, as the platform's exchange does.
    EXPECT_EQ(dialog.ttl, 256);
    EXPECT_EQ(dialog.last, 3);
}

TEST(DataExchange, LoadingNeverValidates) {
    const DialogTemplate t = ExchangeTemplate();
    ExchangeDialog dialog(t.Get());
    dialog.ttl = 1000;  // out of range, but only saving checks it
    bool loaded = false;
    WithDialog(dialog, {[&] {
                   loaded = dialog.UpdateData(false);
                   EXPECT_FALSE(MessageBoxShown());
                   EXPECT_EQ(WindowText(GetDlgItem(dialog.m_hWnd, kTtl)), "1000");
                   return true;
               }});
    EXPECT_TRUE(loaded);
}
