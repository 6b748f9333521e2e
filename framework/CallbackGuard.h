// The exception boundary of every callback from Windows: nothing may unwind
// through user32 frames, so each callback catches everything and reports it.
#pragma once

#include <string>

using ExceptionReporter = void (*)(const std::string& description);

// Replaces the report (default: a stop-icon message box with the description);
// null restores the default. Tests use it to record what escaped.
void SetExceptionReporter(ExceptionReporter reporter);

// Call only inside a catch block: describes the exception in flight and
// reports it together with the boundary's name. Never throws.
void ReportCurrentException(const char* boundary) noexcept;
