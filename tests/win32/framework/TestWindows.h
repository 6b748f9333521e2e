// Test helpers: in-memory dialog templates, a timer-driven script that acts
// on the windows of a running modal loop, and its steps for message boxes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "e2e/MessageBoxes.h"

// Builds a DLGTEMPLATE (8-point "MS Shell Dlg") with its items in memory.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, short width, short height, const std::string& title);
    DialogTemplate& Add(WORD classAtom, int id, DWORD style, short x, short y, short width,
                        short height, const std::string& text = "");
    DialogTemplate& Edit(int id, short x, short y);
    DialogTemplate& Button(int id, short x, short y, const std::string& text);
    const DLGTEMPLATE* Get() const;

private:
    void Append(const std::string& text);
    void AppendDword(DWORD value);
    void AlignToDword();
    std::vector<WORD> m_words;
};

inline constexpr WORD kButtonClass = 0x0080;
inline constexpr WORD kEditClass = 0x0081;
inline constexpr WORD kStaticClass = 0x0082;

// A page template as the wizard expects one (child, caption read by the sheet).
DialogTemplate PageTemplate(const std::string& caption);

// Runs steps from a thread timer, so they also run inside nested modal loops
// (dialogs, sheets, message boxes). A step returns true when done, false to be
// tried again on the next tick. A step that keeps failing, or windows left
// open after the last step, fail the test and get cancelled.
class UiScript {
public:
    using Step = std::function<bool()>;
    explicit UiScript(std::vector<Step> steps);
    ~UiScript();
    UiScript(const UiScript&) = delete;
    UiScript& operator=(const UiScript&) = delete;

    bool Finished() const { return m_next >= m_steps.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void RunTick();

    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    int m_retries = 0;
    int m_idleTicks = 0;
    UINT_PTR m_timer = 0;
};

// Script steps for this program's message boxes, read as the end-to-end driver reads
// any box. AnswerBox waits for a box, lets `check` look at it (or expects its text)
// and presses `button`; OnceNoBox waits until no box is shown, then runs `next`.
UiScript::Step AnswerBox(std::function<void(const e2e::MessageBoxInfo&)> check, int button = IDOK);
UiScript::Step AnswerBox(const std::string& text, int button = IDOK);
UiScript::Step OnceNoBox(UiScript::Step next);
bool MessageBoxShown();

// The visible top-level dialog of this thread whose caption is `caption`.
HWND FindThreadDialog(const std::string& caption);

// The window with the keyboard focus on this thread.
HWND ThreadFocus();

// An edit's selection as [start, end).
std::pair<DWORD, DWORD> EditSelection(HWND edit);
