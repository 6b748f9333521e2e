// How a window finds the object that runs it: one rule for the dialogs, the wizard's pages
// and the wizard sheet.
//
// - First message. An object is bound to its window at the first message that can name it:
//   WM_INITDIALOG, whose parameter carries the dialog (or, for a page, the page's
//   PROPSHEETPAGE, which carries the page); for the sheet, the platform's PSCB_INITIALIZED
//   callback, which carries nothing, so the sheet being opened is expected beforehand.
//   Messages before that (WM_SETFONT and the creation messages) find no object and get the
//   platform's own handling.
// - Last message. WM_NCDESTROY reaches the object, and then the binding is released. An
//   object destroyed before its window releases it too, so that the window reaches no
//   destroyed object.
//
// The bindings are a table in the program's memory: a window property or window word would
// cost a request to Wine's server at every message, and the program has a dozen windows.
#pragma once

#include <windows.h>

class CWnd;

namespace binding {

void Bind(HWND window, CWnd& object);
CWnd* Find(HWND window);  // null when no object is bound
void Release(HWND window);
// An object going away: no window reaches it any more, nor does a creation expect it.
void Forget(const CWnd& object);

// The object whose window is being created where the first message names none (the sheet):
// Expect before the creation, TakeExpected at the first message (null when none waits).
void Expect(CWnd* object);
CWnd* TakeExpected();

}  // namespace binding
