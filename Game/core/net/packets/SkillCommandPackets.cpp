#include "Game/core/net/packets/SkillCommandPackets.h"

#include "Engine/net/fields/NetPacketFields.h"

namespace GAME {

GAME_PACKET_KIND_DEFINITIONS(SkillTargetResultConfigCmdPacket, ObjectInteractionPacket)
GAME_PACKET_KIND_DEFINITIONS(CreateProjectileConfigCmdPacket, ObjectInteractionPacket)
GAME_PACKET_KIND_DEFINITIONS(SpawnObjectConfigCmdPacket, ObjectInteractionPacket)
GAME_PACKET_KIND_DEFINITIONS(SkillStateUpdateConfigCmdPacket, ObjectInteractionPacket)
GAME_PACKET_KIND_DEFINITIONS(SkillActiveStateUpdateConfigCmdPacket, ObjectInteractionPacket)
GAME_PACKET_KIND_DEFINITIONS(CreateRemoveSkillBuffConfigCmdPacket, ObjectInteractionPacket)
GAME_PACKET_KIND_DEFINITIONS(ActivateSkillConfigCmdPacket, ObjectInteractionPacket)

std::uint8_t SkillTargetResultConfigCmdPacket::WireFlags() const {
    std::uint8_t flags = useWeapon ? kTargetResultUseWeapon : 0;
    if (hitIteration != 0)
        flags |= kTargetResultHitIteration;
    if (targets.Size() >= 2)
        flags |= kTargetResultTargetList;
    else if (targets.Size() == 1)
        flags |= kTargetResultOneTarget;
    return flags;
}

}  // namespace GAME
