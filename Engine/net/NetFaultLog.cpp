#include "Engine/net/NetFaultLog.h"

#include <cstdarg>
#include <cstdio>
#include <limits>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"

namespace GAME {

namespace {

const char* FaultName(NetFault fault) {
    switch (fault) {
        case NetFault::NoTypeId:
            return "frames without a type id";
        case NetFault::UnknownType:
            return "packets of unknown types";
        case NetFault::BadBody:
            return "bad packets";
        case NetFault::ObjectsMissing:
            return "packets naming missing objects";
        case NetFault::NoHandler:
            return "packets without a handler";
        case NetFault::Refused:
            return "refused requests";
        case NetFault::Flood:
            return "frames past the rate bound";
    }
    return "faults";
}

}  // namespace

NetFaultLog& NetFaultLog::Get() {
    return Singleton<NetFaultLog>::Get();
}

void NetFaultLog::Report(int level, int host, NetFault fault, PACKET_TYPE type, const char* format,
                         ...) {
    const std::uint64_t now = gEngine->GetGameTime();
    const Key key{host, fault, type};
    auto it = mWindows.find(key);
    if (it != mWindows.end() && now - it->second.start >= kWindowMs) {
        if (it->second.counted > 0)
            Summarise(key, it->second, now);
        mWindows.erase(it);
        it = mWindows.end();
    }
    if (it == mWindows.end())
        it = mWindows.emplace(key, Window{now, level, 0, 0}).first;
    Window& window = it->second;
    if (window.logged >= kLinesPerWindow) {
        ++window.counted;
        ++mSuppressed;
        return;
    }
    ++window.logged;
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    gEngine->Log(level, "%s", line);
}

void NetFaultLog::Summarise(const Key& key, const Window& window, std::uint64_t now) const {
    const unsigned long long span = now - window.start;
    if (key.type != 0)
        gEngine->Log(window.level,
                     "Net: host %d sent %llu more %s of type %u in %llu ms (not logged "
                     "one by one)",
                     key.host, static_cast<unsigned long long>(window.counted),
                     FaultName(key.fault), unsigned(key.type), span);
    else
        gEngine->Log(window.level,
                     "Net: host %d sent %llu more %s in %llu ms (not logged one by one)", key.host,
                     static_cast<unsigned long long>(window.counted), FaultName(key.fault), span);
}

void NetFaultLog::FlushBefore(std::uint64_t end) {
    const std::uint64_t now = gEngine->GetGameTime();
    for (auto it = mWindows.begin(); it != mWindows.end();) {
        if (it->second.start + kWindowMs > end) {
            ++it;
            continue;
        }
        if (it->second.counted > 0)
            Summarise(it->first, it->second, now);
        it = mWindows.erase(it);
    }
}

void NetFaultLog::Flush() {
    if (mWindows.empty())
        return;
    FlushBefore(gEngine->GetGameTime());
}

void NetFaultLog::FlushAll() {
    FlushBefore(std::numeric_limits<std::uint64_t>::max() - kWindowMs);
}

}  // namespace GAME
