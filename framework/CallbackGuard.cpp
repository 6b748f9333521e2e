// The report of an exception caught at a callback boundary.
#include "framework/CallbackGuard.h"

#include <windows.h>

#include <exception>

#include "framework/MessageBox.h"

namespace {

void ShowReport(const std::string& description) {
    AppMessageBox(nullptr, description, MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

ExceptionReporter g_reporter = nullptr;

}  // namespace

void SetExceptionReporter(ExceptionReporter reporter) {
    g_reporter = reporter;
}

void ReportCurrentException(const char* boundary) noexcept {
    try {
        std::string description = "Internal error in ";
        description += boundary ? boundary : "a callback";
        try {
            throw;
        } catch (const std::exception& e) {
            description += ": ";
            description += e.what();
        } catch (...) {
            description += ": unknown exception";
        }
        OutputDebugStringA((description + "\n").c_str());
        (g_reporter ? g_reporter : ShowReport)(description);
    } catch (...) {
        // Reporting itself failed (out of memory): nothing more can be done
        // without unwinding into the system.
    }
}
