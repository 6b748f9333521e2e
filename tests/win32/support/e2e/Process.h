// Processes started by the end-to-end tests: Vornel.exe (ended at the latest when its
// owner goes away) and Unix helper programs run through Wine.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "e2e/Wait.h"

namespace e2e {

// The Vornel.exe under test: the Windows path in the environment variable VORNEL_EXE.
// Fails the current test (and returns an empty string) when it is not set.
std::string VornelExePath();

// A Windows process; terminated and waited for when the object is destroyed.
class AppProcess {
public:
    AppProcess() = default;
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;
    AppProcess(AppProcess&& other) noexcept;
    AppProcess& operator=(AppProcess&& other) noexcept;
    ~AppProcess();

    // Starts exe with no arguments in workingDirectory (the exe's folder when empty).
    // Returns an empty object, and fails the test, when CreateProcess fails.
    static AppProcess Start(const std::string& exe, const std::string& workingDirectory = {});

    explicit operator bool() const { return m_process != nullptr; }
    DWORD Pid() const { return m_pid; }
    DWORD MainThreadId() const { return m_tid; }
    bool IsRunning() const;
    bool WaitForExit(Ms timeout = kDefaultTimeout) const;
    std::optional<DWORD> ExitCode() const;  // nullopt while running
    void Terminate();                       // ends it now, if still running

private:
    void Close();

    HANDLE m_process = nullptr;
    DWORD m_pid = 0;
    DWORD m_tid = 0;
};

// The running processes that the process `pid` started.
std::vector<DWORD> ChildProcesses(DWORD pid);

// The file each module of the process was loaded from, in lower case.
std::vector<std::string> ModulesOf(DWORD pid);

// Runs a shell command line as a Unix process next to Wine (Wine starts ELF programs
// from CreateProcess, but gives no handle to wait on) and waits for it to finish.
// Returns its exit status, or nullopt when it could not be started or timed out.
std::optional<int> RunUnixCommand(const std::string& shellCommand, Ms timeout = kDefaultTimeout);

// Quotes a text for a POSIX shell.
std::string ShellQuote(std::string_view text);

// Converts between the Windows and the Unix view of the same file under Wine.
std::string UnixPathToWindows(const std::string& unixPath);  // "/tmp/x" -> "Z:\tmp\x"
std::string WindowsPathToUnix(const std::string& windowsPath);

}  // namespace e2e
