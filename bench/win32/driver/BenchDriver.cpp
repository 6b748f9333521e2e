// Times Vornel.exe against the floor program under Wine, alternating the two: start-up to the
// main dialog shown, each wizard page's activation, Finish on Windows NT with 64 interfaces to
// the message box shown, and the peak working set. Prints one line per figure:
// "<program> <figure> <value>"; scripts/bench.sh takes the medians.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "../floor/FloorResource.h"
#include "e2e/Driver.h"
#include "engine/Catalogue.h"
#include "res/TextCatalog.h"

namespace {

using namespace e2e;

constexpr int kInterfaces = 64;
constexpr Ms kPoll{1};

double Now() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER ticks;
    QueryPerformanceCounter(&ticks);
    return static_cast<double>(ticks.QuadPart) / ticksPerMs;
}

void Print(const char* program, const std::string& figure, double value) {
    std::printf("%s %s %.3f\n", program, figure.c_str(), value);
    std::fflush(stdout);
}

[[noreturn]] void Fail(const std::string& what, DWORD pid) {
    std::fprintf(stderr, "bench driver: %s\n%s", what.c_str(), DescribeWindows(pid).c_str());
    std::exit(1);
}

// A shown top-level window of the process for which `match` holds.
template <class Match>
HWND Shown(DWORD pid, Match match) {
    for (HWND window : TopLevelWindows(pid)) {
        if (match(window)) return window;
    }
    return nullptr;
}

template <class Match>
HWND WaitShown(DWORD pid, Match match, const char* what) {
    HWND window = WaitFor([&] { return Shown(pid, match); }, kDefaultTimeout, kPoll);
    if (!window) Fail(std::string("no ") + what + " appeared", pid);
    return window;
}

HWND WaitShown(DWORD pid, WindowKind kind) {
    return WaitShown(
        pid, [kind](HWND window) { return Classify(window) == kind; }, ToString(kind));
}

// Returns once the window and its controls have painted what they had to: RDW_UPDATENOW
// sends WM_PAINT to each of them that has something to draw, across processes, and waits
// for it to be handled.
void Drawn(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

HWND MessageBoxShown(DWORD pid) {
    const std::optional<HWND> box =
        WaitFor([&] { return FindMessageBox(pid); }, kDefaultTimeout, kPoll);
    if (!box) Fail("no message box appeared", pid);
    return *box;
}

void ExpectBox41(HWND box, DWORD pid) {
    const MessageBoxInfo info = ReadMessageBox(box);
    std::string expected = text::k41.english;
    if (info.text != expected) Fail("Finish said \"" + info.text + "\" instead of message 41", pid);
}

// Finish: from the click on `button` until message "41" is drawn; then answered.
void TimeFinish(const char* program, HWND window, int button, DWORD pid) {
    const double start = Now();
    Click(window, button);
    HWND box = MessageBoxShown(pid);
    Drawn(box);
    Print(program, "finish_ms", Now() - start);
    ExpectBox41(box, pid);
    if (!Answer(ReadMessageBox(box), IDOK)) Fail("message 41 did not go", pid);
}

// Vm counters as Wine's server reads them from /proc of the process: PeakWorkingSetSize is
// its VmHWM.
double PeakWorkingSetKb(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    const BOOL read =
        process != nullptr && GetProcessMemoryInfo(process, &counters, sizeof counters);
    if (process != nullptr) CloseHandle(process);
    if (!read) Fail("no memory counters", pid);
    return static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
}

// Windows XP with 64 interfaces, and no backup: the product key as the installer writes it
// for English in `installFolder`, or none when that is empty (languages beside the exe).
void PrepareSystem(const std::string& installFolder = {}) {
    DeleteProductKey();
    if (!installFolder.empty()) WriteProductKey({installFolder, "English", false});
    DeleteKeyTree(HKEY_LOCAL_MACHINE, catalogue::kInterfacesKey);
    for (int i = 0; i < kInterfaces; ++i) {
        const std::string key = std::string(catalogue::kInterfacesKey) + "\\{" +
                                std::to_string(100000 + i) + "-4D36-E972-E325-11CE-BFC1}";
        SetDword(HKEY_LOCAL_MACHINE, key, "MTU", 1500);
        SetDword(HKEY_LOCAL_MACHINE, key, "MSS", 1460);
    }
}

HWND CurrentPage(HWND sheet) {
    DWORD_PTR page = 0;
    SendMessageTimeoutA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_NORMAL, kAnswerTimeout, &page);
    return reinterpret_cast<HWND>(page);
}

bool CanPress(HWND sheet, int id) {
    HWND button = GetDlgItem(sheet, id);
    return button && IsWindowVisible(button) && IsWindowEnabled(button);
}

// Steps through the wizard's pages as far as Windows NT goes, timing each Next until the new
// page is current and visible, then until it is drawn. No probe is hooked into the program (it
// would count in its working set), so the steps are counted.
void TimePages(const char* program, HWND sheet, DWORD pid) {
    HWND page = WaitFor([&] { return CurrentPage(sheet); }, kDefaultTimeout, kPoll);
    Drawn(sheet);
    for (std::size_t step = 1; step < kWinNtSteps.size(); ++step) {
        if (!WaitUntil([&] { return CanPress(sheet, ID_WIZNEXT); }, kDefaultTimeout, kPoll)) {
            Fail("no Next", pid);
        }
        const double pressed = Now();
        Click(sheet, ID_WIZNEXT);
        page = WaitFor(
            [&]() -> HWND {
                HWND now = CurrentPage(sheet);
                return now != page && IsWindowVisible(now) ? now : nullptr;
            },
            kDefaultTimeout, kPoll);
        if (!page) Fail("Next did not change the page", pid);
        const std::string name = "page" + std::to_string(step + 1);
        Print(program, name + "_shown_ms", Now() - pressed);
        Drawn(sheet);
        Print(program, name + "_ms", Now() - pressed);
    }
}

void RunVornel(const std::string& exe, const std::string& installFolder) {
    constexpr const char* kName = "vornel";
    PrepareSystem(installFolder);
    const double start = Now();
    AppProcess vornel = AppProcess::Start(exe);
    if (!vornel) Fail("Vornel.exe did not start", 0);
    const DWORD pid = vornel.Pid();
    HWND splash = WaitShown(pid, WindowKind::Splash);
    const double pictureShown = Now();
    Print(kName, "splash_ms", pictureShown - start);
    PressKey(splash, VK_ESCAPE);
    HWND main = WaitShown(pid, WindowKind::MainDialog);
    Drawn(main);
    Print(kName, "startup_ms", Now() - start);
    Print(kName, "after_picture_ms", Now() - pictureShown);
    // The peak so far, for the working set of the start-up beside the floor's with the picture.
    Print(kName, "ws_main_kb", PeakWorkingSetKb(pid));

    Click(main, IDC_SET_SETTINGS);
    HWND sheet = WaitShown(pid, WindowKind::Wizard);
    TimePages(kName, sheet, pid);
    // Finish shows once the last page's button request is through.
    if (!WaitUntil([&] { return CanPress(sheet, ID_WIZFINISH); }, kDefaultTimeout, kPoll)) {
        Fail("no Finish on the last page", pid);
    }

    TimeFinish(kName, sheet, ID_WIZFINISH, pid);
    if (!WaitUntil([&] { return !IsWindow(sheet) || !IsWindowVisible(sheet); })) {
        Fail("the wizard did not close", pid);
    }
    Print(kName, "peak_ws_kb", PeakWorkingSetKb(pid));
}

void RunFloor(const std::string& exe) {
    constexpr const char* kName = "floor";
    PrepareSystem();
    const double start = Now();
    AppProcess floor = AppProcess::Start(exe);
    if (!floor) Fail("the floor program did not start", 0);
    const DWORD pid = floor.Pid();
    HWND dialog = WaitShown(
        pid, [](HWND window) { return Item(window, IDC_FLOOR_FINISH) != nullptr; }, "dialog");
    Drawn(dialog);
    Print(kName, "startup_ms", Now() - start);

    TimeFinish(kName, dialog, IDC_FLOOR_FINISH, pid);
    Print(kName, "peak_ws_kb", PeakWorkingSetKb(pid));

    // Then, outside the figures above, the wizard of Vornel's page templates with no code.
    PostMessageA(dialog, WM_COMMAND, IDC_FLOOR_WIZARD, 0);
    HWND sheet = WaitShown(pid, WindowKind::Wizard);
    TimePages(kName, sheet, pid);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    if (!WaitUntil([&] { return !IsWindow(sheet) || !IsWindowVisible(sheet); })) {
        Fail("the floor's wizard did not close", pid);
    }
}

// The floor's start-up as Vornel's: its start-up picture, closed as Vornel's is, then its main
// dialog's template.
void RunFloorWithPicture(const std::string& exe) {
    constexpr const char* kName = "floor_picture";
    PrepareSystem();
    SetEnvironmentVariableA(FLOOR_PICTURE_VARIABLE, "1");
    const double start = Now();
    AppProcess floor = AppProcess::Start(exe);
    SetEnvironmentVariableA(FLOOR_PICTURE_VARIABLE, nullptr);
    if (!floor) Fail("the floor program did not start", 0);
    const DWORD pid = floor.Pid();
    HWND picture = WaitShown(pid, WindowKind::Splash);
    const double pictureShown = Now();
    Print(kName, "splash_ms", pictureShown - start);
    PressKey(picture, VK_ESCAPE);
    HWND dialog = WaitShown(pid, WindowKind::MainDialog);
    Drawn(dialog);
    Print(kName, "startup_ms", Now() - start);
    Print(kName, "after_picture_ms", Now() - pictureShown);
    // The peak so far, for the working set of the start-up beside the floor's with the picture.
    Print(kName, "ws_main_kb", PeakWorkingSetKb(pid));
}

}  // namespace

// vornel_bench_driver VORNEL_EXE FLOOR_EXE RUNS [INSTALL_FOLDER] (Windows paths); the
// installation folder holds the Lang folder.
int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: %s VORNEL_EXE FLOOR_EXE RUNS [INSTALL_FOLDER]\n", argv[0]);
        return 2;
    }
    const std::string vornel = argv[1], floor = argv[2], install = argc == 5 ? argv[4] : "";
    const int runs = std::atoi(argv[3]);
    // The floor's wizard shows Vornel's own page templates.
    SetEnvironmentVariableA(FLOOR_PAGES_VARIABLE, vornel.c_str());
    SetWindowsVersion("winxp");
    SetWindowsVersion("winxp", floor.substr(floor.find_last_of("\\/") + 1));
    for (int run = 0; run < runs; ++run) {
        RunVornel(vornel, install);
        RunFloor(floor);
        RunFloorWithPicture(floor);
    }
    DeleteProductKey();
    return 0;
}
