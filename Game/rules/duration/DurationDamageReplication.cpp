#include "Game/rules/duration/DurationDamageReplication.h"

#include "Engine/net/fields/NetPacketBuffer.h"

namespace GAME {

namespace {

constexpr std::size_t kRunBytes = 8;

void WriteRuns(NetPacketOutBuffer& out, const std::vector<DurationDamageInfo>& runs) {
    out.Write32(static_cast<std::int32_t>(runs.size()));
    for (const DurationDamageInfo& run : runs) {
        out.Write32(run.damage);
        out.Write32(run.duration);
    }
}

bool ReadRuns(NetPacketInBuffer& in, std::vector<DurationDamageInfo>& runs) {
    std::int32_t count = 0;
    if (!in.Read32(count))
        return false;
    // The count comes from a peer: it must fit in what is left before anything is reserved.
    if (count < 0 || static_cast<std::size_t>(count) > in.Remaining() / kRunBytes) {
        in.Fail("duration damage run count");
        return false;
    }
    runs.reserve(runs.size() + static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        DurationDamageInfo run;
        if (!in.Read32(run.damage) || !in.Read32(run.duration))
            return false;
        runs.push_back(run);
    }
    return true;
}

bool ReadType(NetPacketInBuffer& in, CombatAttributeType& type) {
    std::uint32_t raw = 0;
    if (!in.Read32(raw))
        return false;
    type = static_cast<CombatAttributeType>(raw);
    return true;
}

}  // namespace

void DurationDamageReplication::Write(NetPacketOutBuffer& out) const {
    out.Write32(static_cast<std::uint32_t>(type));
    out.Write32(attacker);
    WriteRuns(out, runs);
}

bool DurationDamageReplication::Read(NetPacketInBuffer& in) {
    return ReadType(in, type) && in.Read32(attacker) && ReadRuns(in, runs);
}

void FixedDurationDamageReplication::Write(NetPacketOutBuffer& out) const {
    out.Write32(static_cast<std::uint32_t>(type));
    WriteRuns(out, runs);
}

bool FixedDurationDamageReplication::Read(NetPacketInBuffer& in) {
    return ReadType(in, type) && ReadRuns(in, runs);
}

}  // namespace GAME
