#include "Game/characters/Character.h"

#include "Game/characters/anim/AnimationSet.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "Engine/Engine.h"
#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/media/physics/PhysicsEngine.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/characters/CharacterEvents.h"
#include "Game/characters/CharacterSeams.h"
#include "Game/characters/Player.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/actions/MoveActions.h"
#include "Game/characters/monster/Monster.h"
#include "Game/characters/movement/CharacterMovementManager.h"
#include "Game/characters/movement/SlotManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/players/Bonus.h"
#include "Game/items/kinds/Weapon.h"
#include "Game/rules/RacialBonus.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/rules/death/DeathManager.h"
#include "Game/rules/death/DeathRemovals.h"
#include "Game/rules/death/DefaultDeathHandler.h"
#include "Game/rules/death/DissolveActorDeathHandler.h"
#include "Game/rules/death/FadeActorDeathHandler.h"
#include "Game/rules/death/PlayEffectDeathHandler.h"
#include "Game/rules/death/PlaySoundDeathHandler.h"
#include "Game/rules/death/SpawnActorDeathHandler.h"
#include "Game/rules/death/SpawnMyBonesDeathHandler.h"
#include "Game/skills/SkillActivated.h"

namespace GAME {

RTTI_IMPLEMENT(Character, Actor)

namespace {

int Difficulty() {
    return gGameEngine ? gGameEngine->GetGameDifficulty() : 0;
}

}  // namespace

namespace {

// The game-wide fields of the sixteen damage packs and the two buff packs, in member order.
constexpr const char* kEffectPackKeys[Character::kEffectPackCount] = {
    "coldDamageFxPak",
    "lightningDamageFxPak",
    "fireDamageFxPak",
    "poisonDamageFxPak",
    "lifeDamageFxPak",
    "bleedingDamageFxPak",
    "attackSpeedDamageFxPak",
    "spellCastSpeedDamageFxPak",
    "runSpeedDamageFxPak",
    "offensiveAbilityDamageFxPak",
    "defensiveAbilityDamageFxPak",
    "offensiveReductionDamageFxPak",
    "defensiveReductionDamageFxPak",
    "lifeLeachDamageFxPak",
    "manaLeachDamageFxPak",
    "fumbleDamageFxPak",
    "fireBuffFxPak",
    "poisonBuffFxPak",
};

// The sound pack fields in the order the record is read; the slot each fills.
struct SoundKey {
    const char* key;
    Character::SoundSlot slot;
};

constexpr SoundKey kSoundKeys[] = {
    {"footGrass", Character::FootGrass},
    {"footDirt", Character::FootDirt},
    {"footSand", Character::FootSand},
    {"footSnow", Character::FootSnow},
    {"footStone", Character::FootStone},
    {"footWood", Character::FootWood},
    {"footWater", Character::FootWater},
    {"loopingRunningSound", Character::LoopingRunning},
    {"attackSound", Character::AttackSound},
    {"swipeSound", Character::SwipeSound},
    {"criticalHitSound", Character::CriticalHitSound},
    {"stunSound", Character::StunSound},
    {"lootSound", Character::LootSound},
    {"levelUpSound", Character::LevelUpSound},
    {"lowHealthSound", Character::LowHealthSound},
    {"impactSound", Character::ImpactSound},
};

constexpr const char* kDefaultSplashSound = "records/sounds/soundpak/bodyfalls/FallMdGooPak.dbr";

std::uint32_t IdOf(const SoundPak* sound) {
    return sound ? sound->GetObjectId() : 0;
}

struct AbsorptionKeys {
    const char* effect;
    const char* sound;
    CombatAttributeType type;
};

constexpr AbsorptionKeys kAbsorptionKeys[] = {
    {"absColdFx", "absColdFxSound", CombatAttributeType::Cold},
    {"absFireFx", "absFireFxSound", CombatAttributeType::Fire},
    {"absPoisonFx", "absPoisonFxSound", CombatAttributeType::Poison},
    {"absLightningFx", "absLightningFxSound", CombatAttributeType::Lightning},
    {"absLifeFx", "absLifeFxSound", CombatAttributeType::Life},
    {"absManaBurnFx", "absManaBurnFxSound", CombatAttributeType::ManaBurn},
    {"absDisruptionFx", "absDisruptionFxSound", CombatAttributeType::Disruption},
    {"absPercentCurrentLifeFx", "absPercentCurrentLifeFxSound",
     CombatAttributeType::PercentCurrentLife},
};

}  // namespace

Character::Character()
    : mActionHandler(std::make_unique<CharacterActionHandler>()),
      mMovement(std::make_unique<CharacterMovementManager>(*this)),
      mAttackSlots(std::make_unique<SlotManager>(*this)),
      mDefenseSlots(std::make_unique<SlotManager>(*this)) {
    mCombatManager->AssignParent(this);
    mSkillManager->Initialize(mCombatManager.get(), this);
    mFxManager.AttachActor(this);
    mBuffFx[1] = &mFireBuffFx;
    mBuffFx[2] = &mPoisonBuffFx;
    mExperience.SetOwner(this);
    mTrapped = false;
    mFrameTimer.Reset();
    mFrameTimer.Update(0);
    mFrameElapsed = 0;
}

Character::~Character() {
    for (std::size_t i = 0; i < kEffectPackCount; ++i)
        GetEffectPack(i).SetParent(0);
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    auto destroy = [&objects](std::uint32_t id) {
        if (Object* object = id != 0 ? objects.GetObject(id) : nullptr)
            objects.DestroyObjectEx(object, "Game/Character", __LINE__);
    };
    for (std::uint32_t id : mSoundIds)
        destroy(id);
    for (const auto& entry : mAbsorptionFx)
        destroy(entry.second.soundId);
}

SoundPak* Character::GetSoundPak(SoundSlot slot) const {
    if (slot >= SoundSlotCount || mSoundIds[slot] == 0)
        return nullptr;
    return Singleton<ObjectManager>::Get().GetObject<SoundPak>(mSoundIds[slot]);
}

CharFxPak& Character::GetEffectPack(std::size_t index) {
    if (index < kDamageFxCount)
        return mDamageFx[index];
    return index == kDamageFxCount ? mFireBuffFx : mPoisonBuffFx;
}

const CharacterDamageFx* Character::GetAbsorptionEffect(CombatAttributeType type) const {
    const auto it = mAbsorptionFx.find(type);
    return it == mAbsorptionFx.end() ? nullptr : &it->second;
}

void Character::FireAbsEffect(CombatAttributeType type) {
    if (!mAbsEffectsArmed)
        return;
    const auto it = mAbsorptionFx.find(type);
    if (it == mAbsorptionFx.end() || it->second.fired)
        return;
    CharacterDamageFx& fx = it->second;
    fx.fired = true;
    const WorldCoords at = GetAttachedCoords("Target");
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (!fx.effect.empty()) {
        if (auto* effect = objects.CreateObjectFromFile<EffectEntity>(fx.effect)) {
            // A flash of its own: it goes once its particles have died.
            effect->SetDeleteWhenDone(true);
            effect->StartEmitting();
            effect->AddToWorld(at, true);
        }
    }
    if (auto* sound = objects.GetObject<SoundPak>(fx.soundId))
        sound->Play(at.GetPosition(), false);
}

void Character::ResetAbsEffects() {
    for (auto& entry : mAbsorptionFx)
        entry.second.fired = false;
    mAbsEffectsArmed = true;
}

void Character::DisarmAbsEffects() {
    mAbsEffectsArmed = false;
}

void Character::ContributeRacialBonusDamage(const std::vector<std::string>& races,
                                            std::uint32_t weaponId, RacialBonus_Damage& damage) {
    ReportCharacterSeam(CharacterSeam::EquipManagerRacialDamage);
    mSkillManager->ContributeRacialBonusDamage(races, damage);
    auto* weapon =
        weaponId != 0 ? Singleton<ObjectManager>::Get().GetObject<Weapon>(weaponId) : nullptr;
    if (!weapon)
        return;
    // Kept between attacks so that an attack allocates nothing.
    thread_local std::vector<RacialBonusContribution> contributions;
    contributions.clear();
    weapon->ContributeRacialBonusDamage(contributions);
    for (const RacialBonusContribution& contribution : contributions)
        if (contribution.bonus)
            contribution.bonus->ContributeDamage(races, damage, contribution.level);
}

void Character::ContributeRacialBonusDefense(const std::vector<std::string>& races,
                                             RacialBonus_Defense& bonus) {
    ReportCharacterSeam(CharacterSeam::EquipManagerRacialDefense);
    mSkillManager->ContributeRacialBonusDefense(races, bonus);
}

void Character::PlayImpactSound() {
    const float r = static_cast<float>(crt_rand()) * (1.0f / 32767.0f) * 100.0f;
    if (r < mImpactSoundChance) {
        if (SoundPak* sound = GetSoundPak(ImpactSound))
            sound->Play(GetPosition(), false);
    }
}

void Character::LoadEffectPacks() {
    if (gGameEngine) {
        const LoadTable database = gGameEngine->GetDatabase();
        const std::size_t index = GetEffectIndex();
        for (std::size_t i = 0; i < kEffectPackCount; ++i)
            GetEffectPack(i).LoadFromDatabase(database.GetArrayString(kEffectPackKeys[i], index));
        for (const AbsorptionKeys& keys : kAbsorptionKeys) {
            if (mAbsorptionFx.count(keys.type) != 0)
                continue;
            CharacterDamageFx fx;
            fx.effect = database.GetArrayString(keys.effect, index);
            if (SoundPak* sound = GetSoundPakFromRecord(database, keys.sound))
                fx.soundId = sound->GetObjectId();
            mAbsorptionFx.emplace(keys.type, std::move(fx));
        }
    }
    for (std::size_t i = 0; i < kEffectPackCount; ++i) {
        GetEffectPack(i).SetParent(GetObjectId());
        GetEffectPack(i).InitializeFxPak();
    }
}

void Character::Load(const LoadTable& table) {
    Actor::Load(table);
    mSkillManager->Load(table);
    mBio.Load(table);

    mTurnRate = table.GetFloat("turnRate", 0.0f);
    mAvoidForce = table.GetFloat("avoidForce", 0.0f);
    mPathMass = table.GetFloat("pathMass", mPathMass);
    mDisallowRotation = table.GetBool("disallowRotation", false);
    mRotateWhenChatting = table.GetBool("rotateWhenChatting", true);
    mDeathAnimBlendTime = table.GetFloat("deathAnimBlendTime", 250.0f);

    mExperience.Load(table);
    mCombatManager->Load(table);
    std::string combatRecord = table.GetString("combatManagerRecord");
    // Without a record of its own a character fights by the game-wide default.
    if (combatRecord.empty() && gGameEngine)
        combatRecord = gGameEngine->GetDatabase().GetString("defaultCombatManagerRecord");
    if (!combatRecord.empty())
        mCombatManager->LoadRecord(combatRecord);
    AllocateAnimSets();
    LoadAnimations();

    mCausesAnger = table.GetBool("causesAnger", true);
    mAngerMultiplier = table.GetFloat("angerMultiplier", 1.0f);
    mWeaponScale = table.GetFloat("weaponScale", 0.0f);

    mGender = GenderFromText(table.GetString("characterGenderProfile"));

    for (const SoundKey& sound : kSoundKeys)
        mSoundIds[sound.slot] = IdOf(GetSoundPakFromRecord(table, sound.key));
    mSoundIds[SplashSound] =
        IdOf(LoadSoundPak(table.GetString("splashSound", kDefaultSplashSound).c_str()));

    mLevelUpFx = table.GetString("levelUpFx");
    mDyingFxPak = table.GetString("dyingFxPak");
    mLowHealthTriggerLevel = table.GetFloat("lowHealthTriggerLevel", 0.0f);
    mLowHealthResetLevel = table.GetFloat("lowHealthResetLevel", 0.0f);
    mImpactSoundChance = table.GetFloat("impactSoundChance", 0.0f);
    LoadAnimationSounds(table);
    mLoopingRunningSoundFadeTime = table.GetInt("loopingRunningSoundFadeTime", 500);

    mPathingSize = PathingSizeFromText(table.GetString("pathingSize", "Small"));
    table.GetStringArray("characterRacialProfile", mRaces);
    mSpawnEffect = table.GetString("spawnEffect");
    mPrespawnEffect = table.GetString("prespawnEffect");
    mSpawnSoundId = IdOf(GetSoundPakFromRecord(table, "spawnSoundEffect"));

    const std::string major = table.GetString("defaultTeamMajor");
    const std::string minor = table.GetString("defaultTeamMinor");
    if (!major.empty() || !minor.empty())
        mTeam.ConvertFromHistoricalTeam(major, minor);
    RefreshDigest();
    ReportCharacterSeam(CharacterSeam::InventorySetOwner);

    mNumAttackSlots = table.GetInt("numAttackSlots", 4);
    mNumDefenseSlots = table.GetInt("numDefenseSlots", 4);
    mAttackSlots->SetNumSlots(static_cast<unsigned int>(std::max(mNumAttackSlots, 0)));
    mDefenseSlots->SetNumSlots(static_cast<unsigned int>(std::max(mNumDefenseSlots, 0)));
    mTweakSpineOnTurn = table.GetBool("tweakSpineOnTurn", false);

    mDeleteBehavior = table.GetString("deleteBehavior");
    mActorToSpawnOnDeath = table.GetString("actorToSpawnOnDeath");
    mWaitForCallbackToSpawn = table.GetBool("waitForCallbackToSpawn", false);
    mActorToSpawnForMyBones = table.GetString("actorToSpawnForMyBones");
    mDissolveEffect = table.GetString("dissolveEffect");
    mDissolveLight = table.GetString("dissolveLight");
    mDissolveTime = table.GetFloat("dissolveTime", 0.0f);
    mDissolveTexture = table.GetString("dissolveTexture");
    mDissolveColor[0] = table.GetInt("dissolveColorR", 0);
    mDissolveColor[1] = table.GetInt("dissolveColorG", 0);
    mDissolveColor[2] = table.GetInt("dissolveColorB", 0);
    mDeathEffect = table.GetString("deathEffect");
    mOverrideRagdollBehavior = table.GetString("overrideRagdollBehavior");
    mOverrideRagdollSpeed = table.GetFloat("overrideRagdollSpeed", 0.0f);
    mDoLateCrumple = table.GetBool("doLateCrumple", false);

    LoadEffectPacks();

    mPortraitName = table.GetString("portraitName");
    mGoldGeneratorChance = table.GetFloat("goldGeneratorChance", 0.0f);
    mGoldGenerator = table.GetString("goldGenerator");

    if (!table.GetBool("startVisible", true))
        SetVisibility(false);
    mHiddenFromCombat = table.GetBool("hiddenFromCombat", false);

    mDistressCall = table.GetBool("distressCall", true);
    mDistressCallRange = table.GetFloat("distressCallRange", 15.0f);
    mDistressCallTime = table.GetInt("distressCallTime", 5000);
    mDistressCallsLeft = table.GetInt("maxDistressCalls", 1);
    mDistressCallWhenDying = table.GetBool("distressCallWhenDying", true);

    mMinRotationSpeed = table.GetFloat("minRotationSpeed", 9.0f);
    mMaxRotationSpeed = table.GetFloat("maxRotationSpeed", 12.0f);
    mInvincible = table.GetBool("invincible", false);
}

void Character::PreLoad(bool now) {
    Actor::PreLoad(now);
    for (const auto& set : mAnimSets)
        if (set)
            set->PreLoad();
    // The splash sound is not preloaded.
    for (std::size_t slot = 0; slot < SplashSound; ++slot)
        if (SoundPak* sound = GetSoundPak(static_cast<SoundSlot>(slot)))
            sound->PreLoad(now);
    mAnimationSounds.PreLoad();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const auto& entry : mAbsorptionFx)
        if (auto* sound = objects.GetObject<SoundPak>(entry.second.soundId))
            sound->PreLoad(now);
    for (std::size_t i = 0; i < kEffectPackCount; ++i)
        GetEffectPack(i).PreLoad();
    mSkillManager->PreLoad(now);
    if (mDeathManager)
        mDeathManager->PreLoad();
}

void Character::InitialUpdate() {
    Actor::InitialUpdate();
    mSpawnPoint = GetCoords();
    BuildDeathManager();
    SetAnimation(GetHandState());
    mBio.InitialUpdate(*this);

    GameEvent_CreatureSpawn spawn;
    spawn.objectName = GetObjectName();
    spawn.objectId = GetObjectId();
    spawn.isPlayer = GetClassInfo().IsA(Player::GetStaticClassInfo());
    SendGameEvent(spawn, "CreatureSpawn");

    GameEvent_CreatureInitialUpdate initial;
    initial.objectId = GetObjectId();
    initial.objectName = GetObjectName();
    SendGameEvent(initial, "CreatureInitialUpdate");
}

void Character::UpdateSelf(int ms) {
    Actor::UpdateSelf(ms);
    mFrameElapsed = 0;
    if (ms <= 0)
        return;
    // The frame's time is the game clock's, so every machine sees the same frame.
    mFrameTimer.Update(0);
    mFrameElapsed = mFrameTimer.GetElapsedTime();
    // Never below zero: a call is allowed again exactly when the countdown has run out.
    if (mDistressCountdown > 0)
        mDistressCountdown = std::max(mDistressCountdown - ms, 0);
    mFxManager.Update(static_cast<int>(mFrameElapsed));
    if (mLifeState != Character_LifeState::Dead) {
        RotateTowardsAttackTarget(ms);
        // The combat manager's own steps end with its duration damage.
        mCombatManager->Update(ms);
        mAuraManager.Update(*this, ms);
        FollowPath(ms);
        UpdateDeathManager(static_cast<int>(mFrameElapsed));
        Update_TweakPose(ms);
    }
    mPlayStats.Update(ms);
}

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
    if (!mDeathManager)
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

void Character::PlayAnimationSound(const Name& name) {
    mAnimationSounds.Play(*this, name, nullptr);
}

void Character::PlayDeathSound() {
    PlayAnimationSound(Name::Create("deathSound1"));
}

bool Character::PlayDeathAnimation() {
    return mAnimationSet &&
           mAnimationSet->PlayAnimation(*this, AnimationSet_Type::Die, Name(), 1.0f, false, 0);
}

std::uint32_t Character::Lobotomize() {
    // Only a monster controller is taken out.
    auto* monster = IsA<Monster>() ? static_cast<Monster*>(this) : nullptr;
    ControllerMonster* controller = monster ? monster->Lobotomize() : nullptr;
    return controller ? controller->GetObjectId() : 0;
}

void Character::BrainTransplant(std::uint32_t controllerId) {
    auto* controller = Singleton<ObjectManager>::Get().GetObject<ControllerMonster>(controllerId);
    if (controller && IsA<Monster>())
        static_cast<Monster*>(this)->BrainTransplant(controller);
    else
        mControllerId = controllerId;
}

void Character::PreAnimationUpdate(int) {
    const int elapsed = static_cast<int>(mFrameElapsed);
    if (mLifeState != Character_LifeState::Dead) {
        mBio.Update(*this, elapsed);
        mSkillManager->Update(elapsed);
        if (auto* controller = FindController<ControllerBaseCharacter>(*this))
            controller->Update(elapsed);
        return;
    }
    // A corpse updates only while its controller asks for it.
    auto* controller = FindController<ControllerCombat>(*this);
    if (!controller || !controller->NeedsDeathUpdate())
        return;
    mBio.Update(*this, elapsed);
    mSkillManager->Update(elapsed);
    controller->DeathUpdate(elapsed);
}

Team Character::GetTeam() const {
    return mInvisible ? TeamManager::InvisibleTeam() : mTeam;
}

void Character::SetTeam(const Team& team) {
    if (team == mTeam)
        return;
    mTeam = team;
    RefreshDigest();
    if (auto* controller = FindController<ControllerAI>(*this))
        controller->TeamChanged();
}

bool Character::IsAlive() const {
    if (mObserver)
        return false;
    return mLifeState == Character_LifeState::Alive || mLifeState == Character_LifeState::Unknown;
}

bool Character::IsHiding() const {
    if (!IsVisible() || mHiddenFromCombat)
        return true;
    return mLifeState == Character_LifeState::Unknown;
}

bool Character::IsMoving() const {
    return mActionState == Character_ActionState::Move ||
           mActionState == Character_ActionState::Walk;
}

void Character::SetInitialStateInfo(Character_ActionState state, const WorldVec3& pathTarget,
                                    std::uint32_t attackTarget, std::uint32_t attackSkill) {
    mInitialActionState = state;
    mInitialPathTarget = pathTarget;
    mInitialAttackTarget = attackTarget;
    mInitialAttackSkill = attackSkill;
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

void Character::RestoreLifeState() {
    if (mLifeState == Character_LifeState::Dead || mLifeState == Character_LifeState::Dying) {
        StopAnimations();
        SetVisibility(false);
        PhysicsEngine::Get().RemoveEntityFromSimulation(this);
    } else if (mInitialActionState == Character_ActionState::Move) {
        // The move names its skill by reference, as its packet does.
        mActionHandler->Execute(std::make_unique<MoveToAction>(
            GetObjectId(), GetPosition(), mInitialPathTarget, mInitialAttackTarget,
            mSkillManager->GetSkillReferenceNumber(mInitialAttackSkill), 1.0f));
    } else if (mInitialActionState == Character_ActionState::Walk) {
        mActionHandler->Execute(std::make_unique<WalkAction>(
            GetObjectId(), GetPosition(), mInitialPathTarget, mInitialAttackTarget));
    } else if (mAnimationSet) {
        // A restored character that was not on its way stands in its attack idle.
        mAnimationSet->PlayAnimation(*this, AnimationSet_Type::AttackIdle, Name(), 1.0f, true, 0);
    }
    mInitialActionState = Character_ActionState::Unknown;
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

void Character::SetLife(float life, float limit) {
    mBio.SetBaseVital(CharAttributeType::Life, limit);
    mBio.Update(*this, 0);
    mBio.AddLifeFast(life - mBio.GetCurrentLife());
}

void Character::SetMana(float mana, float limit) {
    mBio.SetBaseVital(CharAttributeType::Mana, limit);
    mBio.Update(*this, 0);
    mBio.AddManaFast(mana - mBio.GetCurrentMana());
}

void Character::GetEquipCharAttributes(CharAttributeAccumulator&) {
    ReportCharacterSeam(CharacterSeam::EquipManagerCharacterAttributes);
}

void Character::GetSkillCharAttributes(CharAttributeAccumulator& accumulator) {
    mSkillManager->GetCharAttributes(accumulator);
}

void Character::ContributeItemSetCharAttributes(CharAttributeAccumulator&) {
    ReportCharacterSeam(CharacterSeam::InventoryItemSetAttributes);
}

void Character::GetAllDefenseAttributes(CombatAttributeAccumulator& accumulator) {
    ReportCharacterSeam(CharacterSeam::EquipManagerDefenseAttributes);
    mSkillManager->GetDefenseAttributes(accumulator);
    mBio.GetDefenseAttributes(accumulator);
    ReportCharacterSeam(CharacterSeam::InventoryItemSetDefenseAttributes);
    ContributeGameBalanceDefenseAttributes(accumulator);
}

float Character::GetRunSpeed() const {
    const float speed =
        mCombatManager->GetRunSpeed(GetTotalCharAttribute(CharAttributeType::RunSpeed));
    return mWarmUpSpeed ? CapAbsoluteRunSpeed(speed) : CapRunSpeed(speed);
}

float Character::GetAttackSpeed() const {
    const float speed = GetTotalCharAttribute(CharAttributeType::AttackSpeed);
    float base = GetTotalCharAttribute(CharAttributeType::BaseAttackSpeed);
    if (mHandState == 2)
        base *= 0.5f;
    return CapAttackSpeed(mCombatManager->GetAttackSpeed(speed + base));
}

float Character::GetSpellCastSpeed() const {
    return CapSpellCastSpeed(mCombatManager->ContributeSpellCastSpeed(
        GetTotalCharAttribute(CharAttributeType::SpellCastSpeed)));
}

float Character::CapAbsoluteRunSpeed(float speed) const {
    if (!gGameEngine)
        return speed;
    const LoadTable database = gGameEngine->GetDatabase();
    const auto index = static_cast<std::size_t>(Difficulty());
    const float low = database.GetArrayFloat("absoluteRunSpeedCapMin", index, 0.0f);
    const float high = database.GetArrayFloat("absoluteRunSpeedCapMax", index, 0.0f);
    if (low <= 0.0f || high <= 0.0f)
        return speed;
    const float base = mBio.GetBaseCharAttribute(CharAttributeType::RunSpeed);
    return std::clamp(speed, low * 0.01f * base, std::max(low, high) * 0.01f * base);
}

bool Character::TakeAttack(ParametersCombat& parameters) {
    mBio.BioIsTainted();
    mPlayStats.ReceiveHit();
    if (!parameters.auraName.empty())
        AddAura(parameters.auraName, false, parameters.auraLevel);
    mAttackerId = parameters.attackerId;
    return mCombatManager->TakeAttack(parameters);
}

float Character::DesignerCalculatePhysicalDamageDefense(float physical, float protection,
                                                        float absorbedProtection,
                                                        float armorBonus) const {
    return mCombatManager->DesignerCalculatePhysicalDamageDefense(physical, protection,
                                                                  absorbedProtection, armorBonus);
}

float Character::DesignerCalculateShieldBlockDamageReduction(float damage, float shieldDefense,
                                                             float shieldAbsorption) const {
    const float result = mCombatManager->DesignerCalculateShieldBlockDamageReduction(
        damage, shieldDefense, shieldAbsorption);
    mCombatManager->GetCharacter()->GetPlayStats().TallyDamageReduction(
        damage - result, PlayStatsDamageReductionType::Blocked);
    return result;
}

void Character::ApplyDamage(float damage, const PlayStatsDamageType& kind,
                            CombatAttributeType type) {
    mCombatManager->ApplyDamage(damage, kind, type);
}

void Character::AddDurationDamage(CombatAttributeType type, float amount, float duration) {
    GetDurationDamageManager().AddDamage(type, amount, duration);
}

void Character::AddFixedDurationDamage(CombatAttributeType type, float amount, float duration) {
    GetDurationDamageManager().AddFixedDamage(type, amount, duration);
}

namespace {

// The damage effect packs, in pack order.
constexpr CombatAttributeType kDamageFxTypes[Character::kDamageFxCount] = {
    CombatAttributeType::Cold,
    CombatAttributeType::Lightning,
    CombatAttributeType::Fire,
    CombatAttributeType::Poison,
    CombatAttributeType::Life,
    CombatAttributeType::Bleeding,
    CombatAttributeType::AttackSpeed,
    CombatAttributeType::SpellCastSpeed,
    CombatAttributeType::RunSpeed,
    CombatAttributeType::OffensiveAbility,
    CombatAttributeType::DefensiveAbility,
    CombatAttributeType::OffensiveReduction,
    CombatAttributeType::DefensiveReduction,
    CombatAttributeType::LifeLeech,
    CombatAttributeType::ManaLeech,
    CombatAttributeType::Fumble,
};

constexpr auto kImmobilizeEffect = static_cast<CombatAttributeType>(38);

}  // namespace

void Character::StartDamageEffect(CombatAttributeType type) {
    for (std::size_t i = 0; i < kDamageFxCount; ++i)
        if (kDamageFxTypes[i] == type)
            mDamageFx[i].Enable(true);
}

void Character::StopDamageEffect(CombatAttributeType type) {
    for (std::size_t i = 0; i < kDamageFxCount; ++i)
        if (kDamageFxTypes[i] == type)
            mDamageFx[i].Enable(false);
}

void Character::StartInvoluntaryEffect(CombatAttributeType type) {
    switch (type) {
        case CombatAttributeType::Stun:
            BeginStun();
            break;
        case CombatAttributeType::Trap:
            BeginTrap();
            break;
        case CombatAttributeType::Freeze:
            BeginFreeze();
            break;
        case CombatAttributeType::Petrify:
            BeginPetrify();
            break;
        default:
            if (type == kImmobilizeEffect)
                BeginImmobilize();
            break;
    }
}

void Character::StopInvoluntaryEffect(CombatAttributeType type) {
    switch (type) {
        case CombatAttributeType::Stun:
            EndStun();
            break;
        case CombatAttributeType::Trap:
            EndTrap();
            break;
        case CombatAttributeType::Freeze:
            EndFreeze();
            break;
        case CombatAttributeType::Petrify:
            EndPetrify();
            break;
        default:
            if (type == kImmobilizeEffect)
                EndImmobilize();
            break;
    }
}

bool Character::IsSkillSpeedUpdateNeeded() const {
    return mSkillManager->IsSpeedUpdateNeeded();
}

void Character::ForceSpeedUpdate() {
    mBio.Update(*this, 0);
    if (mAnimationSet == nullptr)
        return;
    if (mActionState == Character_ActionState::Move)
        mAnimationSet->AdjustAnimation(*this, GetRunSpeed());
    else if (mActionState == Character_ActionState::Attack)
        mAnimationSet->AdjustAnimation(*this, GetAttackSpeed());
}

bool Character::ApplyCombatDamage(float damage, const PlayStatsDamageType& kind,
                                  CombatAttributeType type) {
    ApplyDamage(damage, kind, type);
    return damage > 0.0f;
}

void Character::GiveCombatBonus(const Bonus& bonus, std::uint32_t attacker) {
    mCombatManager->GiveBonus(bonus, attacker);
}

void Character::CombatExertInfluenceTaunt(float value) {
    if (auto* controller = FindController<ControllerCombat>(*this))
        controller->TauntMe(value, mCombatManager->GetAttackerId());
}

void Character::CombatExertInfluenceFear(int value) {
    if (auto* controller = FindController<ControllerCombat>(*this))
        controller->ScareMe(mCombatManager->GetAttackerId(), static_cast<float>(value));
}

void Character::CombatAddCooldownDamage(int ms) {
    mSkillManager->ApplyCooldownDamage(static_cast<float>(ms));
}

void Character::CombatAddLifeLeechDamage(float amount) {
    mCombatManager->ApplyLifeLeech(amount);
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
        mBio.ReloadValues();
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

void Character::AddMoney(std::uint32_t amount) {
    const std::uint64_t total = static_cast<std::uint64_t>(mMoney) + amount;
    mMoney = static_cast<std::uint32_t>(std::min<std::uint64_t>(total, kMaxMoney));
}

std::uint32_t Character::SubtractMoney(std::uint32_t amount) {
    mMoney = amount >= mMoney ? 0 : mMoney - amount;
    return mMoney;
}

void Character::GetActiveStatusSkills(std::vector<std::string>& names) const {
    names.insert(names.end(), mStatusSkills.begin(), mStatusSkills.end());
}

}  // namespace GAME

// What the character's actions drive.
namespace GAME {

bool Character::StartSkill(std::uint32_t skillId, std::uint32_t targetId, const WorldVec3& point,
                           int seed) {
    mBio.BioIsTainted();
    return mSkillManager->StartSkill(skillId, targetId, point, seed);
}

void Character::ActivateSkill(std::uint32_t reference, const Name& event, std::uint32_t targetId,
                              const WorldVec3& point) {
    const std::uint32_t skillId = mSkillManager->GetSkillIdFromReference(reference);
    if (auto* skill = Singleton<ObjectManager>::Get().GetObject<SkillActivated>(skillId))
        skill->ActivateNow(*this, event, targetId, point);
}

void Character::SkillWarmUp(std::uint32_t skillId, bool ending) {
    const bool speedChange = mSkillManager->SkillWarmUp(skillId, ending);
    if (ending && mWarmUpSpeed) {
        mWarmUpSpeed = false;
        ForceSpeedUpdate();
    } else if (!ending && speedChange) {
        mWarmUpSpeed = true;
        ForceSpeedUpdate();
    }
}

void Character::CancelSkillAction(std::uint32_t skillId) {
    mSkillManager->CancelSkillAction(skillId);
}

void Character::PlayStunSound() {
    if (SoundPak* sound = GetSoundPak(StunSound))
        sound->Play(GetCoords().GetPosition());
}

void Character::PlayArmSwipeSound() {
    if (SoundPak* sound = GetSoundPak(SwipeSound))
        sound->Play(GetCoords().GetPosition());
}

void Character::SetCharacterBuffFx(CharacterBuff buff, bool on) {
    if (!on) {
        StopCharacterBuffFx(buff);
        return;
    }
    if (const auto it = mBuffFx.find(static_cast<int>(buff)); it != mBuffFx.end())
        it->second->Enable(true);
}

void Character::StopCharacterBuffFx(CharacterBuff buff) {
    if (const auto it = mBuffFx.find(static_cast<int>(buff)); it != mBuffFx.end())
        it->second->Enable(false);
}

void Character::PlayLoopingRunningSound() {
    SoundPak* sound = GetSoundPak(LoopingRunning);
    if (!sound || sound->IsPlaying())
        return;
    sound->Play(GetPathPosition(), true);
    sound->Track(GetObjectId());
}

void Character::StopLoopingRunningSound() {
    SoundPak* sound = GetSoundPak(LoopingRunning);
    if (sound && sound->IsPlaying())
        sound->FadeLastPlayedSound(static_cast<float>(mLoopingRunningSoundFadeTime));
}

}  // namespace GAME
