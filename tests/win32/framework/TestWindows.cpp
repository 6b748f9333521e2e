// Test helpers: in-memory dialog templates, timer-driven scripts, message boxes.
#include "TestWindows.h"

#include <gtest/gtest.h>

#include "framework/Wnd.h"

DialogTemplate::DialogTemplate(DWORD style, short width, short height, const std::string& title) {
    AppendDword(style | DS_SETFONT);
    AppendDword(0);        // extended style
    m_words.push_back(0);  // item count, patched by Add
    for (short v : {short(0), short(0), width, height}) m_words.push_back(static_cast<WORD>(v));
    m_words.push_back(0);  // no menu
    m_words.push_back(0);  // default class
    Append(title);
    m_words.push_back(8);
    Append("MS Shell Dlg");
}

DialogTemplate& DialogTemplate::Add(WORD classAtom, int id, DWORD style, short x, short y,
                                    short width, short height, const std::string& text) {
    AlignToDword();
    AppendDword(style | WS_CHILD | WS_VISIBLE);
    AppendDword(0);
    for (short v : {x, y, width, height}) m_words.push_back(static_cast<WORD>(v));
    m_words.push_back(static_cast<WORD>(id));
    m_words.push_back(0xFFFF);
    m_words.push_back(classAtom);
    Append(text);
    m_words.push_back(0);  // no creation data
    ++m_words[4];          // the item count follows the two DWORD styles
    return *this;
}

DialogTemplate& DialogTemplate::Edit(int id, short x, short y) {
    return Add(kEditClass, id, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, x, y, 40, 12);
}

DialogTemplate& DialogTemplate::Button(int id, short x, short y, const std::string& text) {
    return Add(kButtonClass, id, WS_TABSTOP | BS_PUSHBUTTON, x, y, 50, 14, text);
}

const DLGTEMPLATE* DialogTemplate::Get() const {
    return reinterpret_cast<const DLGTEMPLATE*>(m_words.data());
}

void DialogTemplate::Append(const std::string& text) {
    for (char c : text) m_words.push_back(static_cast<WORD>(static_cast<unsigned char>(c)));
    m_words.push_back(0);
}

void DialogTemplate::AppendDword(DWORD value) {
    m_words.push_back(LOWORD(value));
    m_words.push_back(HIWORD(value));
}

void DialogTemplate::AlignToDword() {
    if (m_words.size() % 2) m_words.push_back(0);
}

DialogTemplate PageTemplate(const std::string& caption) {
    return DialogTemplate(WS_CHILD | WS_CAPTION | WS_DISABLED | DS_CONTROL, 180, 100, caption);
}

namespace {
UiScript* g_script = nullptr;
constexpr UINT kTickMs = 15;
constexpr int kMaxRetries = 400;    // about 6 s per step
constexpr int kMaxIdleTicks = 400;  // windows still open after the last step

BOOL CALLBACK CloseDialog(HWND window, LPARAM) {
    if (IsWindowVisible(window)) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}
}  // namespace

UiScript::UiScript(std::vector<Step> steps) : m_steps(std::move(steps)) {
    g_script = this;
    m_timer = SetTimer(nullptr, 0, kTickMs, Tick);
}

UiScript::~UiScript() {
    KillTimer(nullptr, m_timer);
    g_script = nullptr;
    EXPECT_TRUE(Finished()) << "script stopped at step " << m_next;
}

void CALLBACK UiScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_script) g_script->RunTick();
}

void UiScript::RunTick() {
    if (Finished()) {
        if (++m_idleTicks == kMaxIdleTicks) {
            ADD_FAILURE() << "windows still open after the script ended";
            EnumThreadWindows(GetCurrentThreadId(), CloseDialog, 0);
        }
        return;
    }
    const std::size_t index = m_next;
    // Advance first: a step may open a modal loop in which later steps run.
    ++m_next;
    if (m_steps[index]()) {
        m_retries = 0;
        return;
    }
    if (m_next == index + 1) m_next = index;  // not done: try again next tick
    if (++m_retries == kMaxRetries) {
        ADD_FAILURE() << "script step " << index << " never succeeded";
        m_retries = 0;
        m_next = index + 1;
    }
}

namespace {
struct DialogSearch {
    const std::string* caption;
    HWND found = nullptr;
};

BOOL CALLBACK LookForDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    if (IsWindowVisible(window) && WindowText(window) == *search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

UiScript::Step AnswerBox(std::function<void(const e2e::MessageBoxInfo&)> check, int button) {
    return [check = std::move(check), button] {
        const std::optional<HWND> box = e2e::FindMessageBox(GetCurrentProcessId());
        if (!box) return false;
        check(e2e::ReadMessageBox(*box));
        PostMessageA(*box, WM_COMMAND, static_cast<WPARAM>(button), 0);
        return true;
    };
}

UiScript::Step AnswerBox(const std::string& text, int button) {
    return AnswerBox([text](const e2e::MessageBoxInfo& box) { EXPECT_EQ(box.text, text); }, button);
}

UiScript::Step OnceNoBox(UiScript::Step next) {
    return [next = std::move(next)] { return !MessageBoxShown() && next(); };
}

bool MessageBoxShown() {
    return e2e::FindMessageBox(GetCurrentProcessId()).has_value();
}

HWND FindThreadDialog(const std::string& caption) {
    DialogSearch search{&caption};
    EnumThreadWindows(GetCurrentThreadId(), LookForDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ThreadFocus() {
    return GetFocus();
}

std::pair<DWORD, DWORD> EditSelection(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}
