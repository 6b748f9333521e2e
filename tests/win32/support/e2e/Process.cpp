// Processes started by the end-to-end tests.
#include "e2e/Process.h"

#include <atomic>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <tlhelp32.h>

namespace e2e {
namespace {

std::string TempFolder() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof buffer, buffer);
    std::string folder(buffer, length);
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

std::string UniqueName(std::string_view prefix) {
    static std::atomic<unsigned> counter{0};
    std::ostringstream name;
    name << prefix << GetCurrentProcessId() << '-' << GetTickCount() << '-' << ++counter;
    return name.str();
}

// Every process the tests start belongs to this job, which ends them when the test
// program itself ends, even by a crash or a timeout.
HANDLE TestJob() {
    static const HANDLE job = [] {
        HANDLE created = CreateJobObjectA(nullptr, nullptr);
        if (created) {
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
            limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
            SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits,
                                    sizeof limits);
        }
        return created;
    }();
    return job;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

std::string VornelExePath() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetEnvironmentVariableA("VORNEL_EXE", buffer, sizeof buffer);
    if (length == 0 || length > MAX_PATH) {
        ADD_FAILURE() << "VORNEL_EXE is not set (the Windows path of the Vornel.exe to test)";
        return {};
    }
    return std::string(buffer, length);
}

AppProcess::AppProcess(AppProcess&& other) noexcept
    : m_process(other.m_process), m_pid(other.m_pid), m_tid(other.m_tid) {
    other.m_process = nullptr;
}

AppProcess& AppProcess::operator=(AppProcess&& other) noexcept {
    if (this != &other) {
        Close();
        m_process = other.m_process;
        m_pid = other.m_pid;
        m_tid = other.m_tid;
        other.m_process = nullptr;
    }
    return *this;
}

AppProcess::~AppProcess() {
    Close();
}

void AppProcess::Close() {
    if (!m_process) return;
    Terminate();
    CloseHandle(m_process);
    m_process = nullptr;
}

AppProcess AppProcess::Start(const std::string& exe, const std::string& workingDirectory) {
    std::string folder = workingDirectory;
    if (folder.empty()) {
        const size_t slash = exe.find_last_of("\\/");
        if (slash != std::string::npos) folder = exe.substr(0, slash);
    }
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        ADD_FAILURE() << "cannot start " << exe << " (error " << GetLastError() << ")";
        return {};
    }
    if (HANDLE job = TestJob()) AssignProcessToJobObject(job, info.hProcess);
    CloseHandle(info.hThread);
    AppProcess process;
    process.m_process = info.hProcess;
    process.m_pid = info.dwProcessId;
    process.m_tid = info.dwThreadId;
    return process;
}

bool AppProcess::IsRunning() const {
    return m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

bool AppProcess::WaitForExit(Ms timeout) const {
    return m_process &&
           WaitForSingleObject(m_process, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> AppProcess::ExitCode() const {
    if (IsRunning() || !m_process) return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeProcess(m_process, &code)) return std::nullopt;
    return code;
}

void AppProcess::Terminate() {
    if (!IsRunning()) return;
    TerminateProcess(m_process, 1);
    WaitForSingleObject(m_process, 10000);
}

std::vector<DWORD> ChildProcesses(DWORD pid) {
    std::vector<DWORD> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot list the processes (error " << GetLastError() << ")";
        return children;
    }
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == pid) children.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return children;
}

std::string ShellQuote(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

// Wine's own converters know every drive mapping of the prefix; the Z: drive
// (the Unix root) is the fallback when they are missing.
std::string UnixPathToWindows(const std::string& unixPath) {
    using Convert = WCHAR* (*)(const char*);
    const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    if (convert) {
        if (WCHAR* wide = convert(unixPath.c_str())) {
            char buffer[MAX_PATH * 4] = {};
            WideCharToMultiByte(CP_ACP, 0, wide, -1, buffer, sizeof buffer, nullptr, nullptr);
            HeapFree(GetProcessHeap(), 0, wide);
            return buffer;
        }
    }
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

std::string WindowsPathToUnix(const std::string& windowsPath) {
    using Convert = char* (*)(const WCHAR*);
    const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (convert) {
        WCHAR wide[MAX_PATH * 2] = {};
        MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH * 2);
        if (char* narrow = convert(wide)) {
            std::string path = narrow;
            HeapFree(GetProcessHeap(), 0, narrow);
            return path;
        }
    }
    std::string path = windowsPath;
    if (path.size() >= 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') {
        path.erase(0, 2);
    }
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

namespace {

// One argument of a Windows command line, quoted so that the receiving side's
// parser gives back exactly this text (backslashes count only before a quote).
std::string QuoteArgument(std::string_view text) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            quoted.append(backslashes * 2 + 1, '\\');
        } else {
            quoted.append(backslashes, '\\');
        }
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

}  // namespace

std::optional<int> RunUnixCommand(const std::string& shellCommand, Ms timeout) {
    // Wine hands out no process handle for a Unix program, so the command
    // reports its end by writing its status into a file that appears at once.
    const std::string statusFile = TempFolder() + "\\" + UniqueName("e2e-status-");
    const std::string statusUnix = WindowsPathToUnix(statusFile);
    const std::string script = "(" + shellCommand + "); echo $? > " + ShellQuote(statusUnix) +
                               ".part && mv " + ShellQuote(statusUnix) + ".part " +
                               ShellQuote(statusUnix);
    std::string commandLine = "/bin/sh -c " + QuoteArgument(script);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return std::nullopt;
    }
    if (info.hProcess) CloseHandle(info.hProcess);
    if (info.hThread) CloseHandle(info.hThread);
    if (!WaitUntil([&] { return FileExists(statusFile); }, timeout)) return std::nullopt;
    std::ifstream in(statusFile);
    int status = -1;
    in >> status;
    in.close();
    DeleteFileA(statusFile.c_str());
    return status;
}

std::vector<std::string> ModulesOf(DWORD pid) {
    std::vector<std::string> modules;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snapshot == INVALID_HANDLE_VALUE) return modules;
    MODULEENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Module32First(snapshot, &entry); more; more = Module32Next(snapshot, &entry)) {
        std::string path = entry.szExePath;
        CharLowerBuffA(path.data(), static_cast<DWORD>(path.size()));
        modules.push_back(path);
    }
    CloseHandle(snapshot);
    return modules;
}

}  // namespace e2e
