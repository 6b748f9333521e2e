// Finding, reading and driving the windows of another process.
#include "e2e/Windows.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstring>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>

#include "probe/MessageProbe.h"

namespace e2e {
namespace {

struct TopLevelQuery {
    DWORD pid;
    bool visibleOnly;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM parameter) {
    auto* query = reinterpret_cast<TopLevelQuery*>(parameter);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (query->pid != 0 && pid != query->pid) return TRUE;
    if (query->visibleOnly && !IsWindowVisible(window)) return TRUE;
    if (ClassName(window) == "IME") return TRUE;
    query->found->push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM parameter) {
    reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
    return TRUE;
}

bool CanBeUsed(HWND control, const char* action) {
    if (!IsWindow(control)) {
        ADD_FAILURE() << action << ": no such window";
        return false;
    }
    if (!IsWindowVisible(control) || !IsWindowEnabled(control)) {
        ADD_FAILURE() << action << ": control " << GetDlgCtrlID(control) << " \"" << Text(control)
                      << "\" is " << (IsWindowVisible(control) ? "" : "hidden ")
                      << (IsWindowEnabled(control) ? "" : "disabled");
        return false;
    }
    return true;
}

LPARAM KeyData(UINT virtualKey, bool up) {
    const UINT scanCode = MapVirtualKeyA(virtualKey, 0 /* MAPVK_VK_TO_VSC */);
    LPARAM data = 1 | (static_cast<LPARAM>(scanCode & 0xFF) << 16);
    if (up) data |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
    return data;
}

// Memory inside another process for messages whose parameters hold pointers,
// which Windows passes between processes without translating them.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t size) : m_size(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        m_process =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (m_process) {
            m_address =
                VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        }
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    ~RemoteBuffer() {
        if (m_address) VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
        if (m_process) CloseHandle(m_process);
    }
    explicit operator bool() const { return m_address != nullptr; }
    char* Address() const { return static_cast<char*>(m_address); }
    bool Write(size_t offset, const void* data, size_t size) {
        return offset + size <= m_size &&
               WriteProcessMemory(m_process, Address() + offset, data, size, nullptr);
    }
    bool Read(size_t offset, void* data, size_t size) const {
        return offset + size <= m_size &&
               ReadProcessMemory(m_process, Address() + offset, data, size, nullptr);
    }

private:
    HANDLE m_process = nullptr;
    void* m_address = nullptr;
    size_t m_size;
};

// The message probe, loaded from the test program's own folder.
struct Probe {
    HMODULE module = nullptr;
    HOOKPROC procedure = nullptr;
    std::string path;
};

const Probe& LoadProbe() {
    static const Probe probe = [] {
        Probe loaded;
        char self[MAX_PATH + 1] = {};
        const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
        loaded.path = std::string(self, length);
        loaded.path = loaded.path.substr(0, loaded.path.find_last_of("\\/") + 1) + VORNEL_PROBE_DLL;
        loaded.module = LoadLibraryA(loaded.path.c_str());
        if (loaded.module) {
            using Getter = HOOKPROC (*)();
            // Through void(*)(), the type GCC accepts any function pointer from.
            const auto getter = reinterpret_cast<Getter>(
                reinterpret_cast<void (*)()>(GetProcAddress(loaded.module, VORNEL_PROBE_EXPORT)));
            if (getter) loaded.procedure = getter();
        }
        return loaded;
    }();
    return probe;
}

// Posts one marker to the thread and waits until the probe reports it taken.
bool PassMarker(DWORD threadId, Clock::time_point deadline) {
    static const UINT marker = RegisterWindowMessageA(VORNEL_PROBE_MARKER);
    static std::atomic<unsigned long> count{0};
    const unsigned long number = ++count;
    char name[64];
    wsprintfA(name, VORNEL_PROBE_EVENT_FORMAT, GetCurrentProcessId(), number);
    HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, name);
    if (!taken) return false;
    bool passed = PostThreadMessageA(threadId, marker, GetCurrentProcessId(),
                                     static_cast<LPARAM>(number)) != FALSE;
    if (passed) {
        const auto left = std::max(Ms(0), std::chrono::duration_cast<Ms>(deadline - Clock::now()));
        passed = WaitForSingleObject(taken, static_cast<DWORD>(left.count())) == WAIT_OBJECT_0;
    }
    CloseHandle(taken);
    return passed;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD pid, bool visibleOnly) {
    std::vector<HWND> found;
    TopLevelQuery query{pid, visibleOnly, &found};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&query));
    return found;
}

std::vector<HWND> AllVisibleTopLevelWindows() {
    return TopLevelWindows(0, true);
}

std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string ClassName(HWND window) {
    char name[256] = {};
    const int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string DescribeWindows(DWORD pid) {
    std::ostringstream out;
    for (HWND window : TopLevelWindows(pid, false)) {
        // A busy program would make every text read wait for its timeout.
        const bool answers = Responds(window, Ms(1000));
        const auto text = [answers](HWND of) {
            return answers ? Text(of) : std::string("(not answering)");
        };
        const RECT rect = ScreenRect(window);
        out << (IsWindowVisible(window) ? "visible" : "hidden") << " " << ClassName(window) << " \""
            << text(window) << "\" style " << std::hex << Style(window) << std::dec << " at "
            << rect.left << "," << rect.top << " " << rect.right - rect.left << "x"
            << rect.bottom - rect.top << " owner " << Owner(window)
            << (IsWindowEnabled(window) ? "" : " disabled") << "\n";
        for (HWND child : ChildWindows(window)) {
            out << "    " << GetDlgCtrlID(child) << " " << ClassName(child) << " \""
                << text(child).substr(0, 60) << "\"" << (IsWindowVisible(child) ? "" : " hidden")
                << (IsWindowEnabled(child) ? "" : " disabled") << "\n";
        }
    }
    return out.str();
}

bool IsDialog(HWND window) {
    return ClassName(window) == kDialogClass;
}

std::string Text(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kAnswerTimeout,
                             &length)) {
        return {};
    }
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_NORMAL, kAnswerTimeout, &copied)) {
        return {};
    }
    text.resize(std::min<size_t>(copied, length));
    return text;
}

HWND Item(HWND dialog, int id) {
    return GetDlgItem(dialog, id);
}

std::string ItemText(HWND dialog, int id) {
    HWND item = Item(dialog, id);
    if (!item) {
        ADD_FAILURE() << "the dialog \"" << Text(dialog) << "\" has no control " << id;
        return {};
    }
    return Text(item);
}

HWND Owner(HWND window) {
    return GetWindow(window, GW_OWNER);
}

LONG_PTR Style(HWND window) {
    return GetWindowLongPtrA(window, GWL_STYLE);
}

RECT ScreenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool Responds(HWND window, Ms timeout) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                               static_cast<UINT>(timeout.count()), &ignored) != 0;
}

::testing::AssertionResult Settle(DWORD threadId, Ms timeout) {
    const Probe& probe = LoadProbe();
    if (!probe.procedure) {
        return ::testing::AssertionFailure() << "cannot load the message probe " << probe.path
                                             << " (error " << GetLastError() << ")";
    }
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, probe.procedure, probe.module, threadId);
    if (!hook) {
        return ::testing::AssertionFailure() << "cannot hook the probe into thread " << threadId
                                             << " (error " << GetLastError() << ")";
    }
    // The first marker comes after everything queued now; the second after whatever
    // handling that queued in turn.
    const auto deadline = Clock::now() + timeout;
    int passed = 0;
    while (passed < 2 && PassMarker(threadId, deadline)) ++passed;
    UnhookWindowsHookEx(hook);
    if (passed == 2) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "thread " << threadId << " did not take its marker " << passed + 1
           << " from its queue within " << timeout.count() << " ms (hung, or ended)";
}

::testing::AssertionResult Settle(HWND window, Ms timeout) {
    const DWORD threadId = GetWindowThreadProcessId(window, nullptr);
    if (!threadId) return ::testing::AssertionFailure() << "settle: no window " << window;
    return Settle(threadId, timeout);
}

HWND FocusedWindow(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

void Click(HWND dialog, int id) {
    HWND button = Item(dialog, id);
    if (!button) {
        ADD_FAILURE() << "click: the dialog \"" << Text(dialog) << "\" has no control " << id;
        return;
    }
    if (CanBeUsed(button, "click")) PostMessageA(button, BM_CLICK, 0, 0);
}

void MouseClick(HWND control) {
    if (!CanBeUsed(control, "mouse click")) return;
    RECT client{};
    GetClientRect(control, &client);
    const LPARAM point =
        MAKELPARAM((client.right - client.left) / 2, (client.bottom - client.top) / 2);
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(control, WM_LBUTTONUP, 0, point);
}

void PressKey(HWND target, UINT virtualKey) {
    PostMessageA(target, WM_KEYDOWN, virtualKey, KeyData(virtualKey, false));
    PostMessageA(target, WM_KEYUP, virtualKey, KeyData(virtualKey, true));
}

void PressKeyInFocus(HWND anyWindowOfThread, UINT virtualKey) {
    HWND focus = FocusedWindow(anyWindowOfThread);
    PressKey(focus ? focus : anyWindowOfThread, virtualKey);
}

void PressAlt(HWND anyWindowOfThread, char letter) {
    HWND focus = FocusedWindow(anyWindowOfThread);
    HWND target = focus ? focus : anyWindowOfThread;
    const auto key = static_cast<UINT>(toupper(static_cast<unsigned char>(letter)));
    constexpr LPARAM kAltDown = LPARAM{1} << 29;
    // The keyboard's Alt+letter: the program's message loop translates the key into
    // the system character that the dialog manager's mnemonic search looks at.
    PostMessageA(target, WM_SYSKEYDOWN, key, KeyData(key, false) | kAltDown);
    PostMessageA(target, WM_SYSKEYUP, key, KeyData(key, true) | kAltDown);
}

void TypeText(HWND target, const std::string& text) {
    for (char c : text) PostMessageA(target, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void FocusControl(HWND dialog, int id) {
    HWND control = Item(dialog, id);
    if (!control) {
        ADD_FAILURE() << "focus: the dialog \"" << Text(dialog) << "\" has no control " << id;
        return;
    }
    if (CanBeUsed(control, "focus")) {
        PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    }
}

void ReplaceText(HWND dialog, int id, const std::string& text) {
    FocusControl(dialog, id);
    if (HWND control = Item(dialog, id)) TypeText(control, text);
}

void SystemCommand(HWND window, WPARAM command) {
    PostMessageA(window, WM_SYSCOMMAND, command, 0);
}

std::vector<ComboItem> ComboExItems(HWND comboEx) {
    std::vector<ComboItem> items;
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutA(comboEx, CB_GETCOUNT, 0, 0, SMTO_NORMAL, kAnswerTimeout, &count)) {
        ADD_FAILURE() << "the language list does not answer";
        return items;
    }
    constexpr size_t kTextSize = 1024;
    RemoteBuffer remote(comboEx, sizeof(COMBOBOXEXITEMA) + kTextSize);
    if (!remote) {
        ADD_FAILURE() << "cannot reach the memory of the list's process";
        return items;
    }
    for (DWORD_PTR index = 0; index < count && index < 10000; ++index) {
        COMBOBOXEXITEMA item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
        item.iItem = static_cast<INT_PTR>(index);
        item.pszText = remote.Address() + sizeof item;
        item.cchTextMax = static_cast<int>(kTextSize);
        const char nothing = '\0';
        remote.Write(0, &item, sizeof item);
        remote.Write(sizeof item, &nothing, 1);
        DWORD_PTR ok = 0;
        SendMessageTimeoutA(comboEx, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.Address()),
                            SMTO_NORMAL, kAnswerTimeout, &ok);
        COMBOBOXEXITEMA answer{};
        char text[kTextSize] = {};
        if (!ok || !remote.Read(0, &answer, sizeof answer) ||
            !remote.Read(sizeof item, text, kTextSize)) {
            ADD_FAILURE() << "cannot read item " << index << " of the list";
            break;
        }
        text[kTextSize - 1] = '\0';
        items.push_back({text, answer.iImage, answer.iSelectedImage});
    }
    return items;
}

std::vector<ComboItem> ComboItems(HWND combo) {
    std::vector<ComboItem> items;
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutA(combo, CB_GETCOUNT, 0, 0, SMTO_NORMAL, kAnswerTimeout, &count)) {
        ADD_FAILURE() << "the combo box does not answer";
        return items;
    }
    for (DWORD_PTR index = 0; index < count && index < 10000; ++index) {
        // The system carries the text of a combo box that keeps strings across processes;
        // Wine 8 carries it whole only as wide characters (the ANSI call gives the first).
        wchar_t wide[1024] = {};
        DWORD_PTR length = 0;
        DWORD_PTR data = 0;
        if (!SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, index, 0, SMTO_NORMAL, kAnswerTimeout,
                                 &length) ||
            length >= std::size(wide) ||
            !SendMessageTimeoutW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(wide),
                                 SMTO_NORMAL, kAnswerTimeout, nullptr) ||
            !SendMessageTimeoutA(combo, CB_GETITEMDATA, index, 0, SMTO_NORMAL, kAnswerTimeout,
                                 &data)) {
            ADD_FAILURE() << "cannot read item " << index << " of the combo box";
            break;
        }
        char text[2048] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        const int image = static_cast<int>(static_cast<LRESULT>(data));
        items.push_back({text, image, image});
    }
    return items;
}

std::vector<std::string> ListBoxItems(HWND list) {
    std::vector<std::string> items;
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, kAnswerTimeout, &count)) {
        ADD_FAILURE() << "the list box does not answer";
        return items;
    }
    for (DWORD_PTR index = 0; index < count && index < 10000; ++index) {
        // Carried across processes whole as wide characters, as a combo box's (above).
        wchar_t wide[1024] = {};
        DWORD_PTR length = 0;
        if (!SendMessageTimeoutW(list, LB_GETTEXTLEN, index, 0, SMTO_NORMAL, kAnswerTimeout,
                                 &length) ||
            length >= std::size(wide) ||
            !SendMessageTimeoutW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide),
                                 SMTO_NORMAL, kAnswerTimeout, nullptr)) {
            ADD_FAILURE() << "cannot read row " << index << " of the list box";
            break;
        }
        char text[2048] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        items.emplace_back(text);
    }
    return items;
}

int ComboSelection(HWND combo) {
    DWORD_PTR selection = static_cast<DWORD_PTR>(CB_ERR);
    SendMessageTimeoutA(combo, CB_GETCURSEL, 0, 0, SMTO_NORMAL, kAnswerTimeout, &selection);
    return static_cast<int>(static_cast<LRESULT>(selection));
}

void SelectComboItem(HWND dialog, int id, int index) {
    HWND control = Item(dialog, id);
    if (!control) {
        ADD_FAILURE() << "select: the dialog \"" << Text(dialog) << "\" has no control " << id;
        return;
    }
    if (!CanBeUsed(control, "select")) return;
    // An extended combo box keeps the keyboard focus in its inner combo box.
    HWND keyboardTarget = control;
    if (HWND inner = FindWindowExA(control, nullptr, "ComboBox", nullptr)) keyboardTarget = inner;
    FocusControl(dialog, id);
    int current = ComboSelection(control);
    if (current < 0) {
        PressKey(keyboardTarget, VK_HOME);
        current = 0;
    }
    for (; current < index; ++current) PressKey(keyboardTarget, VK_DOWN);
    for (; current > index; --current) PressKey(keyboardTarget, VK_UP);
}

}  // namespace e2e
