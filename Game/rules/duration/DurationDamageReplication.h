#pragma once
// What the server sends of a character's lasting effects: per entry, its active ticks as runs
// of equal values. Every field is 32 bits, little-endian.
#include <cstdint>
#include <vector>

#include "Game/rules/combat/CombatAttributeType.h"
#include "Game/rules/duration/DurationDamageInfo.h"

namespace GAME {

class NetPacketInBuffer;
class NetPacketOutBuffer;

struct DurationDamageReplication {
    CombatAttributeType type = CombatAttributeType::BasePhysical;
    std::uint32_t attacker = 0;
    std::vector<DurationDamageInfo> runs;

    void Write(NetPacketOutBuffer& out) const;
    // False (and the buffer marked bad) when the record is cut short or its run count is
    // impossible.
    bool Read(NetPacketInBuffer& in);
};

struct FixedDurationDamageReplication {
    CombatAttributeType type = CombatAttributeType::BasePhysical;
    std::vector<DurationDamageInfo> runs;

    void Write(NetPacketOutBuffer& out) const;
    bool Read(NetPacketInBuffer& in);
};

}  // namespace GAME
