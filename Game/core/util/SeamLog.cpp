#include "Game/core/util/SeamLog.h"

#include <cstdarg>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <utility>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"

namespace GAME {

namespace {

// What this machine has reported. Call sites are told apart by their literals, so a repeated
// report costs a lookup and allocates nothing; the texts catch one operation named at two sites.
struct SeamReports {
    std::set<std::pair<const char*, const char*>> sites;
    std::set<std::string, std::less<>> texts;
};

// True the first time the operation is reported on this machine.
bool FirstSeamReport(const char* who, const char* operation) {
    SeamReports& log = Singleton<SeamReports>::Get();
    const auto site = std::make_pair(who, operation);
    if (log.sites.count(site) != 0)
        return false;
    log.sites.insert(site);
    std::string text = who;
    text += ": ";
    text += operation;
    return log.texts.insert(std::move(text)).second;
}

void LogSeam(const char* who, const char* operation, const char* particulars) {
    const bool any = particulars[0] != '\0';
    gEngine->Log(1, "%s: %s%s%s%s is not available yet", who, operation, any ? " (" : "",
                 particulars, any ? ")" : "");
}

}  // namespace

void ReportSeam(const char* who, const char* operation) {
    if (FirstSeamReport(who, operation))
        LogSeam(who, operation, "");
}

void ReportSeamWith(const char* who, const char* operation, const char* format, ...) {
    if (!FirstSeamReport(who, operation))
        return;
    char particulars[256];
    va_list list;
    va_start(list, format);
    std::vsnprintf(particulars, sizeof particulars, format, list);
    va_end(list);
    LogSeam(who, operation, particulars);
}

}  // namespace GAME
