// What a server takes from a client about the level of a skill of its own character: no more
// than the skill's limit, and no rise beyond the skill points the server has for the character.
// A player's rise is a spend: the server's copy pays those points where the machines meet
// (SkillManager::SkillStateUpdateCommand), so the same points cannot pay a second rise. A fall,
// or the same level with the enabled flag changed, is the controlling machine's to say (a
// monster's skill may have no limit in its record and still be at level 1).
#include "Engine/net/NetFaultLog.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/skills/Skill.h"
#include "Game/skills/manager/SkillCommands.h"
#include "Game/skills/manager/SkillManager.h"

namespace GAME {

bool SkillStateUpdateConfigCmd::AcceptFromClient(int sourceHost) const {
    SkillManager* manager = FindManager();
    const Skill* skill = manager ? Singleton<ObjectManager>::Get().GetObject<Skill>(
                                       manager->GetSkillIdFromReference(reference))
                                 : nullptr;
    const Character* character = manager ? manager->GetParent() : nullptr;
    const char* refusal = nullptr;
    if (!skill || !character)
        refusal = "no such skill of the character";
    else if (state.level > skill->GetSkillLevel() && state.level > skill->GetMaxLevel())
        refusal = "past the skill's limit";
    else if (state.level > skill->GetSkillLevel() &&
             state.level - skill->GetSkillLevel() > character->GetSkillPoints())
        refusal = "more levels than the character has skill points";
    if (!refusal)
        return true;
    NetFaultLog::Get().Report(1, sourceHost, NetFault::Refused,
                              PacketType::SkillStateUpdateConfigCmdPacket,
                              "Net: refused SkillStateUpdateConfigCmdPacket from host %d: level "
                              "%u of skill %u on %u: %s",
                              sourceHost, state.level, reference, GetObjectId(), refusal);
    return false;
}

}  // namespace GAME
