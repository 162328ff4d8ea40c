// A character's construction, record, preload and frame.
#include "Game/characters/Character.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Engine/Engine.h"
#include "Engine/anim/AnimationLibrary.h"
#include "Engine/anim/Skeleton.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/HugePageSpans.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/characters/CharacterEvents.h"
#include "Game/characters/Player.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/anim/AnimationSet.h"
#include "Game/characters/items/GarmentManager.h"
#include "Game/characters/monster/Monster.h"
#include "Game/characters/movement/CharacterMovementManager.h"
#include "Game/characters/movement/SlotManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/players/PlayerInfo.h"
#include "Game/core/util/SeamLog.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/rules/death/DeathManager.h"
#include "Game/skills/SkillActivated.h"
#include "Game/skills/manager/SkillCommands.h"
#include "Game/skills/manager/SkillManager.h"

namespace GAME {

RTTI_IMPLEMENT(Character, Actor)

namespace {

// The sound pack fields in the order the record is read; the slot each fills.
struct SoundKey {
    const char* key;
    Character::SoundSlot slot;
};

constexpr SoundKey kCharacterSoundKeys[] = {
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

}  // namespace

Character::Character() {
    // Made here rather than with the fields: they keep a reference to the whole character.
    mMovement = std::make_unique<CharacterMovementManager>(*this);
    mAttackSlots = std::make_unique<SlotManager>(*this);
    mDefenseSlots = std::make_unique<SlotManager>(*this);
    mInventory = std::make_unique<Inventory>();
    mCombatManager->AssignParent(this);
    mSkillManager->Initialize(mCombatManager.get(), this);
    mFxManager.AttachActor(this);
    mBuffFx[1] = &mFireBuffFx;
    mBuffFx[2] = &mPoisonBuffFx;
    mExperience.SetOwner(this);
    SetActionHandler(std::make_unique<CharacterActionHandler>());
    mTrapped = false;
    mFrameTimer.Reset();
    mFrameTimer.Update(0);
    mFrameElapsed = 0;
}

GarmentManager& Character::GetGarmentManager() const {
    if (!mGarments)
        mGarments = std::make_unique<GarmentManager>();
    return *mGarments;
}

Character::~Character() {
    for (std::size_t i = 0; i < kEffectPackCount; ++i)
        GetEffectPack(i).SetParent(0);
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    auto destroy = [&objects](std::uint32_t id) {
        if (Object* object = id != 0 ? objects.GetObject(id) : nullptr)
            objects.DestroyObjectEx(object, "Game/Character", __LINE__);
    };
    // The mind goes with its body (a carried brain is held by someone else, not by this id).
    destroy(mControllerId);
    for (std::uint32_t id : mSoundIds)
        destroy(id);
    for (const CharacterDamageFx& fx : mAbsorptionFx)
        destroy(fx.soundId);
    destroy(mSpawnEffectObject);
    // What it wears dies with it, as what it carries does (its inventory).
    for (const EquipManagerContainer& entry : GetEquipManager().GetAttachedItems())
        destroy(entry.itemId);
}

namespace {

// The height of the "Target" point of the skeleton actors pose with, at rest: where shots aim.
float BindHeightOfTarget() {
    const Skeleton* skeleton = Singleton<AnimationLibrary>::Get().GetDefaultSkeleton();
    const SkeletonAttachPoint* point =
        skeleton ? skeleton->FindAttachPoint(Name::Create("Target")) : nullptr;
    if (!point)
        return 0.0f;
    float height = point->offset.y;
    for (int bone = point->bone; bone >= 0 && bone < skeleton->GetNumBones();
         bone = skeleton->GetBone(bone).parent)
        height += skeleton->GetBone(bone).offset.y;
    return height;
}

}  // namespace

void Character::Load(const LoadTable& table) {
    Actor::Load(table);
    SetRayLift(BindHeightOfTarget());
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
    if (ShouldLoadLoot() && gGameEngine) {
        PlayerInfo players;
        gGameEngine->GetPlayerInfo(players);
        LoadLootFromSeed(gGameEngine->GetRandomSeed(),
                         static_cast<std::uint16_t>(players.averageLevel));
    } else {
        AllocateAnimSets();
        LoadAnimations();
    }

    mCausesAnger = table.GetBool("causesAnger", true);
    mAngerMultiplier = table.GetFloat("angerMultiplier", 1.0f);
    mWeaponScale = table.GetFloat("weaponScale", 0.0f);

    mGender = GenderFromText(table.GetString("characterGenderProfile"));

    for (const SoundKey& sound : kCharacterSoundKeys)
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
    mInventory->SetOwner(GetObjectId());
    mInventory->SetGender(GetGender());

    mNumAttackSlots = table.GetInt("numAttackSlots", 4);
    mNumDefenseSlots = table.GetInt("numDefenseSlots", 4);
    mAttackSlots->SetNumSlots(static_cast<unsigned int>(std::max(mNumAttackSlots, 0)));
    mDefenseSlots->SetNumSlots(static_cast<unsigned int>(std::max(mNumDefenseSlots, 0)));
    mTweakSpineOnTurn = table.GetBool("tweakSpineOnTurn", false);
    mPathGenerationStyle =
        GetStringAsEnum<CharacterPathGenerationStyle>(table.GetString("pathGenerationStyle"));

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
    for (const CharacterDamageFx& fx : mAbsorptionFx)
        if (auto* sound = objects.GetObject<SoundPak>(fx.soundId))
            sound->PreLoad(now);
    for (std::size_t i = 0; i < kEffectPackCount; ++i)
        GetEffectPack(i).PreLoad();
    mSkillManager->PreLoad(now);
    if (mDeathManager)
        mDeathManager->PreLoad();
}

namespace {

// About what each character's first two ticks (its first searches, paths and actions) carve anew.
constexpr std::size_t kFirstFramesBytes = 2560;

// Characters made at one game time have their first frames ahead of them together.
struct MadeTogether {
    std::uint64_t time = ~std::uint64_t{0};
    std::size_t count = 0;
    // What their first sight ticks carve for anger tables, as FirstSightBytes estimates it.
    std::size_t sightBytes = 0;
    // The farthest a monster among them sees: how far a character that keeps no table is seen.
    float view = 0;
};
thread_local MadeTogether tMadeTogether;

// What the first sight ticks carve for anger tables on account of `character`, made now, as
// the world stands: its own table when it keeps one (its foes in view and the room the table
// keeps beyond them), and its entry in the tables of the monsters among them. A crowd's first
// tick fills tens of megabytes of tables at once, each page's first touch costing far more than
// its use.
std::size_t FirstSightBytes(const Character& character, float& farthestView) {
    auto* const own = FindController<ControllerMonster>(character);
    if (own)
        farthestView = std::max(farthestView, own->GetViewDistance());
    const float view = own ? own->GetViewDistance() : farthestView;
    const WorldVec3 at = character.GetPosition();
    if (view <= 0 || !at.region)
        return 0;
    // Keeps its room: made at spawns only, never in a frame.
    thread_local std::vector<Entity*> near;
    near.clear();
    World::Get().GetEntitiesInSphere(near, at.region, Sphere{at.local, view},
                                     EntityListType::Actors);
    const Team team = character.GetTeam();
    std::size_t foes = 0, tables = 0;
    for (Entity* entity : near) {
        auto* const other = dynamic_cast<Character*>(entity);
        if (!other || other == &character || !other->IsAlive() || !team.IsFoe(other->GetTeam()))
            continue;
        ++foes;
        tables += FindController<ControllerMonster>(*other) != nullptr;
    }
    // Filled from empty, each provocation calms the entries before it by a share (0.7) of its
    // amount over the table's size then: entry k of n loses about 0.7 * ln(n / k) amounts like
    // its own, so the first e^(-1 / 0.7) of them, about a quarter, fall to nothing at once.
    const auto kept = [](std::size_t count) { return count - count / 4; };
    constexpr std::size_t kEntry = AngerStorage::kTableEntryBytes;
    std::size_t bytes = kept(tables) * kEntry;
    if (own && foes != 0) {
        const std::size_t entries = kept(foes);
        bytes += AngerStorage::NewBlockBytes(
            entries + std::min(entries / 4, AngerManager::kRoomToGrow), kEntry);
    }
    return bytes;
}

// A character made is one more that may fight: the room fights take on this thread is
// reserved now, for the world as it stands, so that a crowd's first blows (often a second into
// its fight) take nothing from the heap.
void ReserveCombatRoom(const Character& character) {
    const std::size_t population = World::Get().GetEntityCount();
    if (gGameEngine)
        gGameEngine->ReserveCombatRoom(population);
    SkillActivated::ReserveTargetLists(population);
    SkillManager::ReserveWalkCopies();
    SkillTargetResultConfigCmd::ReserveTargets();
    Character::ReserveDistressLists(population);
    // The blocks a crowd's first frames take (first paths, actions) are carved from pages
    // written now, as much again up to a page more as that carving goes on into the next page.
    // Only for the characters made with this one: those made before have had their first
    // frames, and pages written for them again would lie past all they carve.
    MadeTogether& made = tMadeTogether;
    const std::uint64_t now = gEngine->GetGameTime();
    if (made.time != now)
        made = MadeTogether{now, 0};
    ++made.count;
    made.sightBytes += FirstSightBytes(character, made.view);
    const std::size_t firstFrames =
        std::min(made.count, population) * kFirstFramesBytes + made.sightBytes;
    HugePageSpans::Warm(firstFrames + std::min(firstFrames, HugePageSpans::kPageBytes));
}

}  // namespace

void Character::InitialUpdate() {
    Actor::InitialUpdate();
    ReserveCombatRoom(*this);
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
        // Tested here: most of a crowd is not attacking, and the call would only say so.
        if (GetActionState() == Character_ActionState::Attack)
            RotateTowardsAttackTarget(ms);
        // The combat manager's own steps end with its duration damage.
        mCombatManager->Update(ms);
        mAuraManager.Update(*this, ms);
        FollowPath(ms);
        if (gEngine->IsCharacterDataLogEnabled())
            DebugRender();
        UpdateDeathManager(static_cast<int>(mFrameElapsed));
        Update_TweakPose(ms);
    }
    mPlayStats.Update(ms);
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

namespace {

// The crowd's objects lie apart in memory and a frame reads each once: asked for a character
// ahead, they arrive while the one before it updates. Every line the span touches: a span seldom
// starts on a line, and stepping from its start would leave out the line its end lies in.
void PrefetchLines(const void* from, std::size_t bytes) {
    if (bytes == 0)
        return;
    constexpr std::uintptr_t kLine = 64;
    const auto first = reinterpret_cast<std::uintptr_t>(from) & ~(kLine - 1);
    const auto last = reinterpret_cast<std::uintptr_t>(from) + bytes - 1;
    for (std::uintptr_t line = first; line <= last; line += kLine)
        __builtin_prefetch(reinterpret_cast<const void*>(line));
}

// Of a controller only its first part: the state machine and the timers lie there.
constexpr std::size_t kControllerPrefetchBytes = 1024;
// The bio's first values, the life among them.
constexpr std::size_t kBioLeadBytes = 64;

}  // namespace

void Character::PrefetchOwnLines(bool preAnimation) const {
    // The first line holds the class, which every update's call reads.
    __builtin_prefetch(this);
    // The frame's loops first ask whether it is in the world: that flag lies just past the
    // coordinates, on the next line.
    __builtin_prefetch(&GetCoords() + 1);
    __builtin_prefetch(&mLifeState);
    const auto* hot = reinterpret_cast<const char*>(&mForcedUpdates);
    PrefetchLines(hot,
                  static_cast<std::size_t>(reinterpret_cast<const char*>(&mMovement + 1) - hot));
    if (preAnimation) {
        PrefetchLines(&mBio, sizeof mBio);
        mExperience.PrefetchLevel();
        // The combat controller asks whether the character is invincible; the controller is
        // found through the kept lookup.
        __builtin_prefetch(&mInvincible);
        PrefetchLines(&mController, sizeof mController);
        return;
    }
    // A hit taken asks for the life, which leads the bio.
    PrefetchLines(&mBio, kBioLeadBytes);
    // The combat manager's frame calls the character through this base.
    __builtin_prefetch(static_cast<const DurationDamageOwner*>(this));
    // The self update asks for attached children and whether a spawn point is set.
    __builtin_prefetch(&GetAttachedChildren());
    __builtin_prefetch(&mSpawnPoint);
    PrefetchLines(&mFxManager, sizeof mFxManager);
    mPlayStats.PrefetchUpdateLine();
}

void Character::PrefetchFrameData(bool preAnimation) const {
    PrefetchKindLines();
    if (preAnimation) {
        mSkillManager->PrefetchUpdateData();
        mBio.PrefetchUpdateData();
        __builtin_prefetch(mActionHandler.get());
        const RTTI_ClassInfo* classInfo = nullptr;
        if (const Object* controller = FindControllerObject(classInfo))
            PrefetchLines(controller, kControllerPrefetchBytes);
        return;
    }
    PrefetchLines(mCombatManager.get(), sizeof(CombatManager));
    if (mMovement)
        PrefetchLines(mMovement.get(), sizeof(CharacterMovementManager));
    if (mDeathManager)
        PrefetchLines(mDeathManager.get(), sizeof(DeathManager));
}

void Character::RefindController() const {
    ObjectManager& objects = Objects();
    [[maybe_unused]] const bool stood = objects.StillKept(mControllerId, mController.object);
    [[maybe_unused]] const RTTI_ClassInfo* const kept = mController.classInfo;
    // A kept answer that still stands is compared with a fresh lookup there (debug builds).
    const Object* object = objects.GetObject(mControllerId, mController.object);
    mController.classInfo = object ? &object->GetClassInfo() : nullptr;
#ifndef NDEBUG
    if (stood && mController.classInfo != kept) {
        gEngine->Log(0, "Character: the kept controller class of id %u is stale", mControllerId);
        std::abort();
    }
#endif
}

void Character::PrefetchPointedData(bool preAnimation) const {
    if (!preAnimation)
        return;
    // The controller asks whether the current action still runs.
    if (mActionHandler)
        __builtin_prefetch(mActionHandler->GetCurrentAction());
}

void Character::DestroyMe() {
    World::Get().RemoveEntity(this);
    Singleton<ObjectManager>::Get().DestroyObjectEx(this, "Game/Character", __LINE__);
}

void Character::SetActionHandler(std::unique_ptr<CharacterActionHandler> handler) {
    if (handler)
        mActionHandler = std::move(handler);
}

void Character::DebugRender() {
    if (gEngine->IsCharacterDataLogEnabled())
        mMovement->DebugRender();
}

void Character::SetTeam(const Team& team) {
    if (team == mTeam)
        return;
    mTeam = team;
    RefreshDigest();
    if (auto* controller = FindController<ControllerAI>(*this))
        controller->TeamChanged();
}

}  // namespace GAME
