#pragma once
// The log of bad input from other hosts, with a budget per host: a hostile client sending junk
// as fast as it can must not fill the disk. Within a window of game time, the first lines of
// each kind of fault of a host are logged as they come; the rest are counted, and the count is
// logged once the window is over. A kind of fault a host has not shown in the window is always
// logged.
#include <compare>
#include <cstdint>
#include <map>

#include "Engine/net/PacketTypes.h"

namespace GAME {

enum class NetFault : std::uint8_t {
    NoTypeId,
    UnknownType,
    BadBody,
    ObjectsMissing,
    NoHandler,
    Refused,  // well formed, but not the sender's to ask
    Flood,    // more frames than a host may send
};

class NetFaultLog {
public:
    static constexpr std::uint64_t kWindowMs = 10000;
    static constexpr int kLinesPerWindow = 3;

    // The log of the current machine.
    static NetFaultLog& Get();

    // Logs the line (printf-style) at the level, or counts it when the host's lines of that
    // fault and packet kind are spent for the window. Faults without a known kind pass type 0.
    void Report(int level, int host, NetFault fault, PACKET_TYPE type, const char* format, ...)
        __attribute__((format(printf, 6, 7)));
    // Logs the counts of the windows that are over.
    void Flush();
    // Logs every count now (the connection is closing).
    void FlushAll();

    std::uint64_t GetSuppressed() const { return mSuppressed; }

private:
    struct Key {
        int host;
        NetFault fault;
        PACKET_TYPE type;
        auto operator<=>(const Key&) const = default;
    };
    struct Window {
        std::uint64_t start = 0;
        int level = 1;
        int logged = 0;
        std::uint64_t counted = 0;
    };
    void Summarise(const Key& key, const Window& window, std::uint64_t now) const;
    void FlushBefore(std::uint64_t end);

    std::map<Key, Window> mWindows;
    std::uint64_t mSuppressed = 0;  // lines counted instead of logged, over the machine's life
};

}  // namespace GAME
