#include "Game/world/fixeditems/FixedItemSkill.h"

#include "Engine/Engine.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/util/ServerObjectIds.h"
#include "Game/skills/manager/SkillBuffTransfer.h"
#include "Game/world/effects/FxPak.h"
#include "Game/world/fixeditems/FixedItem.h"

namespace GAME {

RTTI_IMPLEMENT(FixedItemSkill, Object)
RTTI_IMPLEMENT(FixedItemSkill_Buff, FixedItemSkill)
RTTI_IMPLEMENT(FixedItemSkill_SpawnMonster, FixedItemSkill)

namespace {
int SecondsToMs(float seconds) {
    return static_cast<int>(seconds * 1000.0f);
}
}  // namespace

// --- FixedItemSkill ---

void FixedItemSkill::Load(const LoadTable& table) {
    Object::Load(table);
    mWarningSound.Reset(GetSoundPakFromRecord(table, "skillWarningSound"));
    mActivateSound.Reset(GetSoundPakFromRecord(table, "skillActivateSound"));
    mWarningFxPak = table.GetString("skillWarningFxPak");
    mActivateFxPak = table.GetString("skillActivateFxPak");
}

void FixedItemSkill::GetTargets(unsigned int, std::vector<unsigned int>&) const {}

void FixedItemSkill::ProcessTargetResults(unsigned int, const std::vector<unsigned int>&) {
    PlayActiveFx();
}

void FixedItemSkill::PlayFx(const std::string& pak, SoundPak* sound) {
    if (!mParent)
        return;
    // At the item's position, the rotation cleared.
    const WorldCoords where(mParent->GetRegion(),
                            Coords::FromOrigin(mParent->GetCoords().coords.origin));
    if (!pak.empty())
        if (FxPak* effect = Singleton<ObjectManager>::Get().CreateObjectFromFile<FxPak>(pak))
            World::Get().AddEntity(effect, where, true);
    if (sound)
        sound->Play(where.GetPosition());
}

void FixedItemSkill::PlayWarningFx() {
    PlayFx(mWarningFxPak, mWarningSound.Get());
}

void FixedItemSkill::PlayActiveFx() {
    PlayFx(mActivateFxPak, mActivateSound.Get());
}

void FixedItemSkill::PreLoad() {
    if (SoundPak* sound = mWarningSound.Get())
        sound->PreLoad(false);
    if (SoundPak* sound = mActivateSound.Get())
        sound->PreLoad(false);
}

// --- FixedItemSkill_Buff ---

void FixedItemSkill_Buff::Load(const LoadTable& table) {
    FixedItemSkill::Load(table);
    mBuffSkillName = table.GetString("buffSkillName");
    mTargetRadius = table.GetFloat("targetRadius");
    mActiveDurationMs = SecondsToMs(table.GetFloat("skillActiveDuration"));
    if (mActiveDurationMs == 0)
        mActiveDurationMs = 1000;
}

void FixedItemSkill_Buff::GetTargets(unsigned int user, std::vector<unsigned int>& targets) const {
    const Character* character = Singleton<ObjectManager>::Get().GetObject<Character>(user);
    if (mTargetRadius > 0.0f && GetParent() && gGameEngine) {
        if (character)
            gGameEngine->GetTargetsInRadius(character->GetTeam(), GetParent()->GetPosition(),
                                            mTargetRadius, targets, 0, true);
        return;
    }
    targets.push_back(user);
}

void FixedItemSkill_Buff::ProcessTargetResults(unsigned int user,
                                               const std::vector<unsigned int>& targets) {
    FixedItemSkill::ProcessTargetResults(user, targets);
    SkillBuffTransfer transfer;
    transfer.buffName = mBuffSkillName;
    transfer.level = 1;
    transfer.timeToLive = static_cast<std::uint32_t>(mActiveDurationMs > 0 ? mActiveDurationMs : 0);
    transfer.casterId = GetParent() ? GetParent()->GetObjectId() : 0;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const unsigned int id : targets)
        if (Character* character = objects.GetObject<Character>(id))
            character->ControllerAddSkillBuff(transfer, {}, false);
}

// --- FixedItemSkill_SpawnMonster ---

void FixedItemSkill_SpawnMonster::Load(const LoadTable& table) {
    FixedItemSkill::Load(table);
    mMonsterName = table.GetString("monsterName");
    mTimeToLiveMs = SecondsToMs(table.GetFloat("timeToLive"));
}

void FixedItemSkill_SpawnMonster::GetTargets(unsigned int,
                                             std::vector<unsigned int>& targets) const {
    // The id is chosen here, on the deciding machine, from the band only it draws from: every
    // machine then makes the same monster under it.
    if (mMonsterName.empty())
        return;
    if (const std::uint32_t id = CreateServerObjectId(ServerIdBand::Drops); id != 0)
        targets.push_back(id);
}

void FixedItemSkill_SpawnMonster::ProcessTargetResults(unsigned int user,
                                                       const std::vector<unsigned int>& targets) {
    FixedItemSkill::ProcessTargetResults(user, targets);
    if (mMonsterName.empty() || !GetParent())
        return;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const unsigned int id : targets) {
        // Creating under an id in use would destroy what holds it.
        if (id == 0 || objects.GetObject(id)) {
            gEngine->Log(1, "FixedItemSkill_SpawnMonster %s: id %u is in use, %s not spawned",
                         GetObjectName().c_str(), id, mMonsterName.c_str());
            continue;
        }
        auto* monster = objects.CreateObjectFromFile<Monster>(mMonsterName, id);
        if (!monster)
            continue;
        if (mTimeToLiveMs > 0)
            monster->SetLifetime(mTimeToLiveMs);
        monster->SetSpawnPoint(GetParent()->GetCoords());
        World::Get().AddEntity(monster, GetParent()->GetCoords(), true);
        if (ControllerMonster* controller = monster->GetMonsterController())
            controller->SetMostHatedEnemy(user);
    }
}

}  // namespace GAME
