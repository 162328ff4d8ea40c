// What a server takes from a client about objects its own character's skill spawns (summons,
// walls): the skill must be the character's, at a level above 0, and spawn things at all; no
// more of them than that skill makes at once, each under a new id of the client's own band, so
// a client can neither replace an object nor make a crowd; at finite places near the character.
// What spawns comes from the server's copy of the skill's record, never from the command.
#include <algorithm>
#include <cmath>

#include "Engine/net/NetFaultLog.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/skills/Skill.h"
#include "Game/skills/manager/SkillCommands.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/manager/SkillSpawnIds.h"

namespace GAME {

namespace {

// Farther than any summoning circle or ring of walls reaches from its caster.
constexpr float kSpawnReach = 40.0f;

bool IsNear(const WorldCoords& coords, const Character& caster) {
    const Vec3& p = coords.GetRegionCoords().origin;
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z) || !coords.region)
        return false;
    return caster.GetPosition().DistanceTo(coords.GetPosition()) <= kSpawnReach;
}

}  // namespace

bool SpawnObjectConfigCmd::AcceptFromClient(int sourceHost) const {
    SkillManager* manager = FindManager();
    auto& objects = Singleton<ObjectManager>::Get();
    const Skill* skill =
        manager ? objects.GetObject<Skill>(manager->GetSkillIdFromReference(reference)) : nullptr;
    const Character* caster = manager ? manager->GetParent() : nullptr;
    const char* refusal = nullptr;
    if (!skill || !caster)
        refusal = "no such skill of the character";
    else if (skill->GetCurrentLevel() == 0 || ids.size() > skill->GetClientSpawnLimit() ||
             positions.size() > ids.size())
        refusal = "more than the skill spawns";
    else if (std::any_of(ids.begin(), ids.end(), [&](std::uint32_t id) {
                 return !IsSkillSpawnIdOfHost(id, sourceHost) || objects.GetObject(id) ||
                        std::count(ids.begin(), ids.end(), id) > 1;
             }))
        refusal = "an id that is not new or not the client's";
    else if (!IsNear(origin, *caster) ||
             !std::all_of(positions.begin(), positions.end(),
                          [&](const WorldCoords& at) { return IsNear(at, *caster); }))
        refusal = "a place away from the character";
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
