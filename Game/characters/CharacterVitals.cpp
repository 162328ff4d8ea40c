// A character's vitals, life and action states, death and respawn, level and experience.
#include "Game/characters/Character.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "Engine/Engine.h"
#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/media/physics/PhysicsEngine.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/characters/CharacterEvents.h"
#include "Game/characters/Player.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/anim/AnimationSet.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/players/Bonus.h"
#include "Game/core/util/SeamLog.h"
#include "Game/rules/death/DeathManager.h"
#include "Game/rules/death/DeathRemovals.h"
#include "Game/rules/death/DefaultDeathHandler.h"
#include "Game/rules/death/DissolveActorDeathHandler.h"
#include "Game/rules/death/FadeActorDeathHandler.h"
#include "Game/rules/death/PlayEffectDeathHandler.h"
#include "Game/rules/death/PlaySoundDeathHandler.h"
#include "Game/rules/death/SpawnActorDeathHandler.h"
#include "Game/rules/death/SpawnMyBonesDeathHandler.h"

namespace GAME {

void Character::BuildDeathManager() {
    mDeathManager = std::make_unique<DeathManager>(this);
    mDeathManager->AddHandler(std::make_unique<DefaultDeathHandler>(this));
    if (mDeleteBehavior == "Delete" || mDeleteBehavior == "Dissolve" ||
        mDeleteBehavior == "DissolveOnCallback")
        mDeathManager->AddHandler(std::make_unique<DissolveActorDeathHandler>(this));
    else if (mDeleteBehavior == "Fade")
        mDeathManager->AddHandler(std::make_unique<FadeActorDeathHandler>(this));
    else if (mDeleteBehavior == "PlaySound")
        mDeathManager->AddHandler(std::make_unique<PlaySoundDeathHandler>(this));
    if (!mActorToSpawnOnDeath.empty())
        mDeathManager->AddHandler(std::make_unique<SpawnActorDeathHandler>(this));
    if (!mActorToSpawnForMyBones.empty())
        mDeathManager->AddHandler(std::make_unique<SpawnMyBonesDeathHandler>(this));
    if (!mDeathEffect.empty())
        mDeathManager->AddHandler(std::make_unique<PlayEffectDeathHandler>(this));
}

void Character::UpdateDeathManager(int elapsed) {
    if (!mDeathManager || !mDeathManager->IsRunning())
        return;
    mDeathManager->Update(elapsed);
    if (mDeathManager->IsFinished()) {
        mActionHandler->Stop();
        mDeathManager->PostProcess();
    }
}

bool Character::ShouldDoRagDoll() const {
    return InRenderPreLoadFrustum() && HasRigidBodyData();
}

bool Character::PlayDeathAnimation() {
    return mAnimationSet &&
           mAnimationSet->PlayAnimation(*this, AnimationSet_Type::Die, Name(), 1.0f, false, 0);
}

bool Character::IsMoving() const {
    return mActionState == Character_ActionState::Move ||
           mActionState == Character_ActionState::Walk;
}

void Character::ExecuteStun() {
    if (mActionState == Character_ActionState::Stun)
        return;
    if (mAnimationSet == nullptr ||
        !mAnimationSet->PlayAnimation(*this, AnimationSet_Type::Stun, Name(), 1.0f, true, 0))
        gEngine->Log(2, "Failed to start stun animation.");
    SetActionState(Character_ActionState::Stun);
}

void Character::ReleaseStun() {
    if (mActionState == Character_ActionState::Stun)
        CharacterStop();
}

void Character::ExecuteImmobilize() {
    if (mActionState == Character_ActionState::Immobilize)
        return;
    SetActionState(Character_ActionState::Immobilize);
    if (mAnimationSet != nullptr)
        mAnimationSet->AdjustAnimation(*this, 0.0f);
}

void Character::ReleaseImmobilize() {
    if (mActionState == Character_ActionState::Immobilize)
        CharacterStop();
}

void Character::ExecuteTrap() {
    mTrapped = true;
    if (mActionState != Character_ActionState::Trap)
        SetActionState(Character_ActionState::Trap);
}

void Character::ReleaseTrap() {
    mTrapped = false;
}

void Character::BeginStun() {
    if (auto* controller = FindController<ControllerCombat>(*this))
        controller->BeginStun();
}
void Character::EndStun() {
    if (auto* controller = FindController<ControllerCombat>(*this))
        controller->EndStun();
}
void Character::BeginImmobilize() {
    if (auto* controller = FindController<ControllerCombat>(*this))
        controller->BeginImmobilize();
}
void Character::EndImmobilize() {
    if (auto* controller = FindController<ControllerCombat>(*this))
        controller->EndImmobilize();
}
void Character::BeginTrap() {
    if (auto* controller = FindController<ControllerCombat>(*this))
        controller->BeginTrap();
}
void Character::EndTrap() {
    if (auto* controller = FindController<ControllerCombat>(*this))
        controller->EndTrap();
}

void Character::ImDying() {
    mCombatManager->ImDying();
    mSkillManager->ImDead();
    mAuraManager.Clear(*this);
    if (auto* controller = FindController<ControllerCombat>(*this))
        controller->CharacterIsDying();
    if (!mDyingFxPak.empty()) {
        ObjectManager& objects = Singleton<ObjectManager>::Get();
        if (auto* effect = objects.CreateObjectFromFile<EffectEntity>(mDyingFxPak))
            World::Get().AddEntity(effect, GetCoords(), true);
    }
    CharacterIsDying();
}

void Character::CharacterIsDying() {
    if (mDistressCallWhenDying)
        DoDistressCall(mAttackerId);
    GameEvent_CreatureDeath death;
    death.objectName = GetObjectName();
    death.objectId = GetObjectId();
    death.attackerId = mAttackerId;
    SendGameEvent(death, "CreatureDeath");
}

void Character::ImDead() {
    PhysicsEngine::Get().RemoveEntityFromSimulation(this);
    if (auto* controller = FindController<ControllerCombat>(*this))
        controller->CharacterIsDead();
    CharacterHasDied();
}

void Character::UnderAttack(std::uint32_t attacker) {
    if (auto* controller = FindController<ControllerCombat>(*this))
        controller->UnderAttack(attacker);
    if (ShouldUseDistressCall()) {
        DoDistressCall(attacker);
        --mDistressCallsLeft;
        mDistressCountdown = mDistressCallTime;
    }
}

void Character::AllyAttacked(std::uint32_t a, std::uint32_t b) {
    if (auto* controller = FindController<ControllerCombat>(*this))
        controller->AllyAttacked(a, b);
}

void Character::StartRespawn(const WorldCoords& coords) {
    TeleportToLocation(coords);
    mBio.ReloadValues();
    mTrapped = false;
    if (mDeathManager)
        mDeathManager->Reset();
    Singleton<DeathRemovals>::Get().Cancel(GetObjectId());
    SetLifeState(Character_LifeState::Respawning);
    StartSpawnEffect();
}

void Character::StopRespawn() {
    mSpawnEffectObject = 0;
    SetLifeState(Character_LifeState::Alive);
}

int Character::GetCurrentLifeInt() const {
    const float life = GetCurrentLife();
    if (life > 1.0f)
        return static_cast<int>(life);
    return life > 0.0f ? 1 : 0;
}

void Character::SubtractLife(float amount, const PlayStatsDamageType& type) {
    if (mInvincible || mGod)
        return;
    mBio.SubtractLife(amount);
    mPlayStats.TallyDamageReceived(amount, type);
}

void Character::SubtractMana(float amount) {
    if (mOmnipotent)
        return;
    mBio.SubtractMana(amount);
    mPlayStats.UseMana(amount);
}

void Character::AddLifeSlow(float amount, PlayStatsLifeType) {
    mPlayStats.GainLife(amount, PlayStatsLifeType::Unknown);
    mBio.AddLifeSlow(amount);
}

void Character::GetSkillCharAttributes(CharAttributeAccumulator& accumulator) {
    mSkillManager->GetCharAttributes(accumulator);
}

void Character::ReceiveExperience(std::uint32_t amount, bool quiet) {
    const float bonus = mBio.GetAttribute(CharAttributeType::IncreasedExperience);
    if (bonus != 0.0f) {
        const float extra = std::trunc(bonus * 0.01f * static_cast<float>(amount) + 0.5f);
        // A bonus below -100 % takes the whole gain, never more.
        const float total = std::max(static_cast<float>(amount) + extra, 0.0f);
        amount = static_cast<std::uint32_t>(total);
    }
    if (amount == 0)
        return;
    if (mExperience.ReceiveExperience(amount)) {
        // The new level's full life and mana at once, not at the next update of the bio: a
        // kill's experience reaches the other machines by packet, on their side of that update,
        // and the machines would part for a frame.
        mBio.ReloadValues();
        mBio.Update(*this, 0);
        mSkillManager->UpdateMasteriesAllowed(mExperience.GetLevel());
        GameEvent_CharacterId levelUp;
        levelUp.objectId = GetObjectId();
        SendGameEvent(levelUp, "PlayerLevelUp");
        if (!quiet) {
            SoundPak* sound = GetSoundPak(LevelUpSound);
            if (sound && gGameEngine && gGameEngine->GetMainPlayer() == this)
                sound->Play(GetCoords().GetPosition());
            if (!mLevelUpFx.empty())
                mFxManager.OneShotParticleEffect(mLevelUpFx, std::string());
        }
        mPlayStats.IncrementLevel();
    }
    mPlayStats.GainExperience(amount);
}

void Character::IncrementCharLevel() {
    const std::uint32_t next = mExperience.GetNextLevelExperience();
    const std::uint32_t have = mExperience.GetExperiencePoints();
    ReceiveExperience(next > have ? next - have : 0, true);
}

std::uint32_t Character::GetExperienceReward() const {
    if (!gGameEngine)
        return GetExperiencePoints();
    return gGameEngine->CalculateExperienceReward(GetCharLevel(), GetExperiencePoints());
}

void Character::IncrementBaseStrength() {
    IncrementBaseAttribute(CharAttributeType::Strength,
                           static_cast<float>(mExperience.SpendStrengthPoint()));
}

void Character::IncrementBaseDexterity() {
    IncrementBaseAttribute(CharAttributeType::Dexterity,
                           static_cast<float>(mExperience.SpendDexterityPoint()));
}

void Character::IncrementBaseIntelligence() {
    IncrementBaseAttribute(CharAttributeType::Intelligence,
                           static_cast<float>(mExperience.SpendIntelligencePoint()));
}

void Character::IncrementBaseLife() {
    IncrementBaseLife(static_cast<int>(mExperience.SpendLifePoint()));
}

void Character::IncrementBaseMana() {
    IncrementBaseMana(static_cast<int>(mExperience.SpendManaPoint()));
}

void Character::IncrementBaseLife(int points) {
    IncrementBaseAttribute(CharAttributeType::Life, static_cast<float>(points));
}

void Character::IncrementBaseMana(int points) {
    IncrementBaseAttribute(CharAttributeType::Mana, static_cast<float>(points));
}

void Character::TakeBonus(const Bonus& bonus, bool slow, int lifeType) {
    mBio.BioIsTainted();
    // Measured before the bonus lands: what the bonus is worth to this character now.
    const float lifeGained = mBio.GetBonusLifeAmount(bonus);
    mBio.TakeBonus(bonus, slow);
    if (bonus.experience != 0)
        ReceiveExperience(bonus.experience, false);
    if (bonus.gold != 0)
        AddMoney(bonus.gold);
    if (bonus.attributePoints != 0)
        mExperience.AddModifierPoints(bonus.attributePoints);
    if (bonus.skillPoints != 0) {
        mExperience.AddSkillPoints(bonus.skillPoints);
        GameEvent_CharacterId skillUp;
        skillUp.objectId = GetObjectId();
        SendGameEvent(skillUp, "PlayerSkillUp");
    }
    if (!bonus.effectName.empty())
        mFxManager.OneShotParticleEffect(bonus.effectName, std::string());
    mPlayStats.GainLife(lifeGained, static_cast<PlayStatsLifeType>(lifeType));
}

}  // namespace GAME
