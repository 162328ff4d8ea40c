#pragma once
// The one report of an operation whose subsystem is not built yet: the caller does nothing else,
// and the machine's log gets one level-1 line per operation, "<who>: <operation> is not
// available yet". `who` and `operation` are string literals; a report with particulars appends
// the first call's in brackets after the operation.
namespace GAME {

void ReportSeam(const char* who, const char* operation);
void ReportSeamWith(const char* who, const char* operation, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

}  // namespace GAME
