// What a server takes from a client about a spawn of its own character's skill: a skill that
// spawns, at a level above 0, no more objects than that skill makes at once, each under a new id
// of the client's own band, so a client can neither replace an object nor make a crowd.
#include "Engine/net/NetFaultLog.h"
#include "Engine/object/ObjectManager.h"
#include "Game/skills/Skill.h"
#include "Game/skills/manager/SkillCommands.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/manager/SkillSpawnIds.h"

namespace GAME {

bool SpawnObjectConfigCmd::AcceptFromClient(int sourceHost) const {
    SkillManager* manager = FindManager();
    auto& objects = Singleton<ObjectManager>::Get();
    const Skill* skill =
        manager ? objects.GetObject<Skill>(manager->GetSkillIdFromReference(reference)) : nullptr;
    const char* refusal = nullptr;
    if (!skill)
        refusal = "no such skill of the character";
    else if (skill->GetCurrentLevel() == 0 || ids.size() > skill->GetClientSpawnLimit())
        refusal = "more than the skill spawns";
    else
        for (std::uint32_t id : ids)
            if (!IsSkillSpawnIdOfHost(id, sourceHost) || objects.GetObject(id)) {
                refusal = "an id that is not new or not the client's";
                break;
            }
    if (!refusal)
        return true;
    NetFaultLog::Get().Report(1, sourceHost, NetFault::Refused,
                              PacketType::SpawnObjectConfigCmdPacket,
                              "Net: refused SpawnObjectConfigCmdPacket from host %d: %zu objects "
                              "of skill %u on %u: %s",
                              sourceHost, ids.size(), reference, GetObjectId(), refusal);
    return false;
}

}  // namespace GAME
