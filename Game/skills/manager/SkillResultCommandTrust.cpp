// What a server takes from a client about the result of its own character's skill: a kind whose
// result moves characters or names a place (a teleport, a debuff around a point) must name
// targets and a place within the skill's reach of the caster as the server has it, so a hostile
// client can neither swap places with anything anywhere nor curse the far side of the map.
#include "Engine/net/NetFaultLog.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/skills/Skill.h"
#include "Game/skills/manager/SkillCommands.h"
#include "Game/skills/manager/SkillManager.h"

namespace GAME {

bool SkillTargetResultConfigCmd::AcceptFromClient(int sourceHost) const {
    SkillManager* manager = FindManager();
    const Skill* skill = manager ? Singleton<ObjectManager>::Get().GetObject<Skill>(
                                       manager->GetSkillIdFromReference(reference))
                                 : nullptr;
    const Character* caster = manager ? manager->GetParent() : nullptr;
    if (!skill || !caster || skill->AcceptClientResult(*caster, targets, origin))
        return true;
    NetFaultLog::Get().Report(1, sourceHost, NetFault::Refused,
                              PacketType::SkillTargetResultConfigCmdPacket,
                              "Net: refused SkillTargetResultConfigCmdPacket from host %d: skill "
                              "%u on %u: targets or place beyond its reach",
                              sourceHost, reference, GetObjectId());
    return false;
}

}  // namespace GAME
