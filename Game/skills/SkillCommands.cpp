#include "Game/skills/SkillCommands.h"

#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/skills/SkillManager.h"
#include "Game/skills/SkillSeams.h"

namespace GAME {

NetPacket* SkillConfigCmd::GetNetPacket() {
    ReportSkillSeam(SkillSeam::CommandPackets);
    return nullptr;
}

SkillManager* SkillConfigCmd::FindManager() const {
    auto* character = Singleton<ObjectManager>::Get().GetObject<Character>(mObjectId);
    return character ? &character->GetSkillManager() : nullptr;
}

void SkillTargetResultConfigCmd::Execute() {
    if (SkillManager* manager = FindManager())
        manager->SkillTargetResult(reference, targets, origin, seed, weaponId, useWeapon,
                                   hitIteration);
}

void CreateProjectileConfigCmd::Execute() {
    if (SkillManager* manager = FindManager())
        manager->CreateProjectile(reference, weaponId, origin, targetId, aim, projectileId, seed,
                                  hitIteration);
}

void SpawnObjectConfigCmd::Execute() {
    if (SkillManager* manager = FindManager())
        manager->SkillSpawnObject(reference, origin, targetId, positions, ids, spawnValue);
}

void SkillStateUpdateConfigCmd::Execute() {
    if (SkillManager* manager = FindManager())
        manager->SkillStateUpdateCommand(reference, state);
}

void SkillActiveStateUpdateConfigCmd::Execute() {
    if (SkillManager* manager = FindManager())
        manager->SkillActiveStateUpdateCommand(reference, state);
}

void CreateRemoveSkillBuffConfigCmd::Execute() {
    if (SkillManager* manager = FindManager())
        manager->CreateRemoveSkillBuff(skillId, buffName, level, modifier1Name, modifier1Level,
                                       modifier2Name, modifier2Level, timeToLive, casterId);
}

}  // namespace GAME
