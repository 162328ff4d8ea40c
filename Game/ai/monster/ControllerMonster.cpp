#include "Game/ai/monster/ControllerMonster.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <span>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/ai/movement/MovementGoalManager.h"
#include "Game/characters/Character.h"
#include "Game/characters/DistressCall.h"
#include "Game/characters/monster/Monster.h"
#include "Game/skills/Skill.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerMonster, ControllerAI)

namespace {

// Keyword lists of the behaviour record, indexed by the value they stand for.
constexpr const char* kFleeBehaviors[] = {"NeverFlee", "FleeOnLowHealth", "FleeOnDamage",
                                          "FleeWhenEnemyClose"};
constexpr const char* kFleeTargets[] = {"AwayFromEnemy", "TowardsAllies", "TowardsHome"};
constexpr const char* kRoamBehaviors[] = {"NeverRoam", "Roam"};
constexpr const char* kSkillBehaviors[] = {"NeverUseSkill", "WhenIdle", "WhenEnemyIsSeen"};
constexpr const char* kBuffTargetings[] = {"BuffClosest", "BuffStrongest", "BuffWeakest"};
constexpr const char* kLeaderBehaviors[] = {"NeverLead", "LeadOnPatrol", "LeadWhenEnemyIsSeen",
                                            "LeadOnDamage"};

// A value matching none of the keywords leaves the field as it was.
void ReadKeyword(const LoadTable& table, const char* key, const char* fallback,
                 std::span<const char* const> keywords, int& field) {
    const std::string value = table.GetString(key, fallback);
    for (std::size_t i = 0; i < keywords.size(); ++i)
        if (value == keywords[i]) {
            field = static_cast<int>(i);
            return;
        }
}

Skill* FindMonsterSkill(std::uint32_t id) {
    return Singleton<ObjectManager>::Get().GetObject<Skill>(id);
}

// Counts down by ms while above 0.
void CountDown(int& countdown, int ms) {
    if (countdown > 0)
        countdown -= ms;
}

}  // namespace

ControllerMonster::ControllerMonster() {
    // Controllers take 64-byte aligned blocks: what an answer to a call for help reads stays one
    // line.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    constexpr std::size_t line = offsetof(ControllerMonster, mMaxPursuitDistance) / 64;
    static_assert(offsetof(ControllerMonster, mDistressResponseBehavior) / 64 == line &&
                      offsetof(ControllerMonster, mChanceToRespondToDistressCall) / 64 == line &&
                      offsetof(ControllerMonster, mHealSkill) / 64 == line,
                  "the fields a call for help's answer reads left their line");
#pragma GCC diagnostic pop
}

// The treasure proxy stays with the object manager for the "Dead" state to place.
ControllerMonster::~ControllerMonster() = default;

void ControllerMonster::Load(const LoadTable& table) {
    ControllerAI::Load(table);
    mFleeTime = table.GetInt("FleeTime", 3000);
    mMaxFleeCount = table.GetInt("maxFleeCount", 2);
    mFleeDistance = table.GetFloat("fleeDistance", 5.0f);
    mClearAngerWhenFleeing = table.GetBool("ClearAngerWhenFleeing", false);
    mResetOriginAfterFleeing = table.GetBool("ResetOriginAfterFleeing", false);
    ReadKeyword(table, "FleeBehavior", "NeverFlee", kFleeBehaviors, mFleeBehavior);
    ReadKeyword(table, "FleeTarget", "AwayFromEnemy", kFleeTargets, mFleeTarget);
    // Read a second time with another default; this read decides.
    mMaxFleeCount = table.GetInt("maxFleeCount", 3);
    mFleeDelay = table.GetInt("FleeDelay", 2000);
    mFleeChance = table.GetInt("FleeChance", 100);
    mInnerViewDistance = table.GetFloat("InnerViewDistance", 5.0f);
    mMaxYViewDistance = table.GetFloat("MaxYViewDistance", 0.0f);
    mPursuitTime = table.GetInt("PursuitTime", 10000);
    mMaxPursuitDistance = table.GetFloat("MaxPursuitDistance", 0.0f);
    mEmoteBeforePursuingChance = table.GetInt("EmoteBeforePursuingChance", 0);
    ReadKeyword(table, "RoamBehavior", "NeverRoam", kRoamBehaviors, mRoamBehavior);
    mMinRoamDistance = table.GetFloat("MinRoamDistance", 2.0f);
    mRoamDistance = table.GetFloat("RoamDistance", 10.0f);
    mMinTimeBeforeRoam = table.GetInt("MinTimeBeforeRoam", 3000);
    mMaxTimeBeforeRoam = table.GetInt("MaxTimeBeforeRoam", 10000);
    mMinWanderDistance = table.GetFloat("MinWanderDistance", 2.0f);
    mWanderDistance = table.GetFloat("WanderDistance", 5.0f);
    mTeleportToLeaderDistance = table.GetFloat("TeleportToLeaderDistance", 20.0f);
    ReadKeyword(table, "BuffSelfBehavior", "NeverUseSkill", kSkillBehaviors, mBuffSelfBehavior);
    ReadKeyword(table, "BuffAllyBehavior", "NeverUseSkill", kSkillBehaviors, mBuffAllyBehavior);
    ReadKeyword(table, "BuffAllyTargeting", "BuffClosest", kBuffTargetings, mBuffAllyTargeting);
    // Its default keyword is none of the list: an absent key keeps the constructor's 0.
    ReadKeyword(table, "DebuffEnemyBehavior", "NeverUseDebuff", kSkillBehaviors,
                mDebuffEnemyBehavior);
    mChanceToRespondToDistressCall = table.GetInt("ChanceToRespondToDistressCall", 100);
    mDistressResponseGroup = table.GetString("DistressResponseGroup", "");
    const std::string distress = table.GetString("DistressResponseBehavior", "RespondToAll");
    mDistressResponseBehavior = distress == "RespondToSameType"    ? RespondToSameType
                                : distress == "RespondToSameGroup" ? RespondToSameGroup
                                                                   : RespondToAll;
    ReadKeyword(table, "LeaderBehavior", "NeverLead", kLeaderBehaviors, mLeaderBehavior);
    mLeaderDistance = table.GetFloat("LeaderDistance", 5.0f);
    mMaxFollowers = table.GetInt("MaxFollowers", 4);
    mHealLeaderHealthPercentage = table.GetInt("healLeaderHealthPercentage", 0);
    mHealAllyHealthPercentage = table.GetInt("healAllyHealthPercentage", 0);
    mChanceToIdleOnPatrol = table.GetInt("ChanceToIdleOnPatrol", 20);
    mMinPatrolIdleTime = table.GetInt("MinPatrolIdleTime", 2000);
    mMaxPatrolIdleTime = table.GetInt("MaxPatrolIdleTime", 5000);
    mAngerTolerance = table.GetFloat("AngerTolerance", 10.0f);
    mAttackedAnger = table.GetFloat("AttackedAnger", 100.0f);
    mAllyAttackedAnger = table.GetFloat("AllyAttackedAnger", 40.0f);
    mSightAngerRate = table.GetFloat("SightAngerRate", 20.0f);
    mInnerSightAngerRate = table.GetFloat("InnerSightAngerRate", 20.0f);
    mProjectileAnger = table.GetFloat("ProjectileAnger", 20.0f);
    mForgiveRate = table.GetFloat("ForgiveRate", 50.0f);
    mEnemyTooClose = table.GetFloat("enemyTooClose", 5.0f);
    mRandomAngerChance = table.GetInt("RandomAngerChance", 0);
    mRandomAngerEvaluationTime = table.GetInt("RandomAngerEvaluationTime", 3000);
    mDodgeDelay = table.GetInt("DodgeDelay", 5000);
    mDodgeDistance = table.GetFloat("DodgeDistance", 4.0f);
    mDodgeChance = static_cast<unsigned>(table.GetInt("DodgeChance", 0));
    mMinDodgeDistance = table.GetFloat("MinDodgeDistance", 0.0f);
    mRepositionChance = table.GetInt("RepositionChance", 0);
    mEmoteWhenWaitingChance = table.GetInt("EmoteWhenWaitingChance", 50);
    mMinEmoteTime = table.GetInt("MinEmoteTime", 2000);
    mMaxEmoteTime = table.GetInt("MaxEmoteTime", 4000);
}

Monster* ControllerMonster::GetMonster() const {
    return Singleton<ObjectManager>::Get().GetObject(GetParentId(), mMonster);
}

// Here, not beside the other target queries: inlined there, the kept lookup changed how the
// compiler treats the sight sweep.
const Character* ControllerMonster::ValidEnemy(std::uint32_t enemyId) {
    if (enemyId == 0)
        return nullptr;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    // An answer to a call for help starts where the call found its attacker: each of ~80
    // allies would look the same id up afresh.
    if (mAnsweredCall && enemyId == mAnsweredCall->attackerId &&
        !objects.StillKept(enemyId, mEnemy))
        mEnemy = mAnsweredCall->attackerKept;
    const Character* enemy = objects.GetObject(enemyId, mEnemy);
    const Character* self = GetParentCharacter();
    if (!enemy || !self || !enemy->IsAlive() || enemy->IsHiding())
        return nullptr;
    // The game's team rules are the teams' own: no root to ask.
    return self->GetTeam().IsFoe(enemy->GetTeam()) && InPursuitRange(*enemy, *self) ? enemy
                                                                                    : nullptr;
}

SkillUseRange ControllerMonster::GetSkillRangeFromString(const std::string& text) {
    if (text == "ShortRange")
        return SkillUseRange::ShortRange;
    if (text == "MediumRange")
        return SkillUseRange::MediumRange;
    if (text == "LongRange")
        return SkillUseRange::LongRange;
    return SkillUseRange::Any;
}

void ControllerMonster::SetSkillRanges(float shortMin, float shortMax, float mediumMin,
                                       float mediumMax, float longMin, float longMax) {
    mShortRangeMin = shortMin;
    mShortRangeMax = shortMax;
    mMediumRangeMin = mediumMin;
    mMediumRangeMax = mediumMax;
    mLongRangeMin = longMin;
    mLongRangeMax = longMax;
}

void ControllerMonster::SetSpecialAttack(std::size_t index, std::uint32_t id, int timeoutMs,
                                         int delayMs, int chance, SkillUseRange range) {
    if (index >= kSpecialAttackCount)
        return;
    mSpecialAttacksSet = std::max(mSpecialAttacksSet, static_cast<std::uint8_t>(index + 1));
    SpecialAttack& block = mSpecialAttacks[index];
    block.skillId = id;
    block.timeout = timeoutMs;
    block.delay = delayMs;
    block.chance = chance;
    block.range = range;
    block.reuseCountdown = 0;
    block.firstUseCountdown = timeoutMs;
}

void ControllerMonster::GetSpecialAttackInfo(std::size_t index, std::uint32_t& id, int& timeout,
                                             int& delay, int& chance, SkillUseRange& range) const {
    const SpecialAttack& block = GetSpecialAttack(index);
    id = block.skillId;
    timeout = block.timeout;
    delay = block.delay;
    chance = block.chance;
    range = block.range;
}

const ControllerMonster::SpecialAttack& ControllerMonster::GetSpecialAttack(
    std::size_t index) const {
    static const SpecialAttack kNone;
    return index < kSpecialAttackCount ? mSpecialAttacks[index] : kNone;
}

void ControllerMonster::StartSpecialAttackReuse(std::size_t index) {
    if (index < kSpecialAttackCount)
        mSpecialAttacks[index].reuseCountdown = mSpecialAttacks[index].delay;
}

bool ControllerMonster::ShouldPlayRallyOrAlert() {
    const bool pending = mRallyOrAlertPending;
    mRallyOrAlertPending = false;
    return pending;
}

void ControllerMonster::InitializeStates() {
    const Character* character = GetParentCharacter();
    SetState(character && character->IsAlive() ? AIStateId::Startup : AIStateId::Dead,
             ControllerAIStateData());
}

void ControllerMonster::RegisterStates() {
    AddMonsterStates(false);
}

void ControllerMonster::RegisterTemporaryStates() {
    AddMonsterStates(true);
}

void ControllerMonster::Update(int ms) {
#ifndef NDEBUG
    for (std::size_t i = mSpecialAttacksSet; i < kSpecialAttackCount; ++i)
        if (mSpecialAttacks[i].reuseCountdown != 0 || mSpecialAttacks[i].firstUseCountdown != 0) {
            gEngine->Log(0, "ControllerMonster: a special attack never set counts down");
            std::abort();
        }
#endif
    const std::span<SpecialAttack> set(mSpecialAttacks.data(), mSpecialAttacksSet);
    for (SpecialAttack& block : set)
        CountDown(block.reuseCountdown, ms);
    CountDown(mDodgeCountdown, ms);
    // The first uses wait for the first enemy.
    if (mEnemySeen)
        for (SpecialAttack& block : set)
            CountDown(block.firstUseCountdown, ms);
    CountDown(mFleeTimer, ms);
    CountDown(mScaredTime, ms);
    if (mLifetime > 0) {
        mLifetime -= ms;
        // Exactly used up counts: 0 would otherwise read as unlimited and the summons stay.
        if (mLifetime <= 0)
            KillMe();
    }
    if (mHealCountdown > 0) {
        mHealCountdown -= ms;
        if (mHealCountdown < 0)
            TryToHealAlly();
    }
    if (!mRandomAngerDone) {
        mRandomAngerCountdown -= ms;
        if (mRandomAngerCountdown < 0) {
            mRandomAngerCountdown = mRandomAngerEvaluationTime;
            if (crt_rand() % 100 < mRandomAngerChance && GetCurrentEnemy() == 0) {
                if (Character* enemy = PickRandomEnemyInView()) {
                    mAngerManager.AddAnger(enemy->GetObjectId(), AngerManager::GetMaxAnger());
                    mRandomAngerDone = true;
                }
            }
        }
    }
    // Looked up once: nothing a frame of the brain does replaces the character it drives.
    const Character* const self = GetParentCharacter();
    const Monster* monster =
        self && self->IsA<Monster>() ? static_cast<const Monster*>(self) : nullptr;
#ifndef NDEBUG
    if (monster != GetMonster()) {
        gEngine->Log(0, "ControllerMonster: the monster kept for the frame is stale");
        std::abort();
    }
#endif
    if (monster && monster->GetDeathFromEnemyRange() != 0.0f) {
        mDeathFromEnemyCountdown -= ms;
        if (mDeathFromEnemyCountdown < 0) {
            mDeathFromEnemyCountdown = kTickMs;
            DieIfEnemyInRange();
        }
    }
    AngerUpdate(ms);
    FindEnemyUpdate(ms);
#ifndef NDEBUG
    if (self != GetParentCharacter()) {
        gEngine->Log(0, "ControllerMonster: the character kept for the frame is stale");
        std::abort();
    }
#endif
    if (self && self->GetShowAngerLevels())
        ShowAngerLevels();
    ControllerAI::Update(ms);
}

bool ControllerMonster::WeighedSkillEnabled(std::uint32_t skillId) {
    const Skill* skill = Singleton<ObjectManager>::Get().GetObject(skillId, mWeighedSkill);
    return skill && skill->IsSkillEnabled();
}

std::uint32_t ControllerMonster::ChooseBestSkill(std::uint32_t enemyId, bool checkDistance) {
    if (const std::uint32_t chosen = ChooseBestSkillOverride(enemyId, checkDistance))
        return chosen;
    ControllerAIState* state = GetExecutingState();
    for (const SpecialAttack& block : mSpecialAttacks) {
        if (block.skillId == 0 || block.reuseCountdown > 0 || block.firstUseCountdown > 0)
            continue;
        // Every candidate draws, whether or not its later tests pass.
        if (crt_rand() % 100 >= block.chance)
            continue;
        if (!WeighedSkillEnabled(block.skillId) || !IsSkillInProperRange(enemyId, block.range))
            continue;
        if (checkDistance && !state->CloseEnoughToUseSkill(enemyId, block.skillId))
            continue;
        return block.skillId;
    }
    if (mNormalAttackSkill != 0) {
        const bool tooFar =
            checkDistance && !state->CloseEnoughToUseSkill(enemyId, mNormalAttackSkill);
        if (!tooFar && WeighedSkillEnabled(mNormalAttackSkill))
            return mNormalAttackSkill;
    }
    if (mDefaultAttackSkill != 0 &&
        (!checkDistance || state->CloseEnoughToUseSkill(enemyId, mDefaultAttackSkill)))
        return mDefaultAttackSkill;
    if (!checkDistance) {
        const Character* character = GetParentCharacter();
        gEngine->Log(2, "ControllerMonster::ChooseBestSkill picked an invalid skill for %s",
                     character ? character->GetObjectName().c_str() : "");
    }
    return 0;
}

bool ControllerMonster::IsSkillInProperRange(std::uint32_t enemyId, SkillUseRange range) const {
    if (range == SkillUseRange::Any)
        return true;
    const Character* enemy = Singleton<ObjectManager>::Get().GetObject<Character>(enemyId);
    const Character* self = GetParentCharacter();
    if (!enemy || !self)
        return false;
    float low = 0.0f, high = 20.0f;
    switch (range) {
        case SkillUseRange::ShortRange:
            low = mShortRangeMin, high = mShortRangeMax;
            break;
        case SkillUseRange::MediumRange:
            low = mMediumRangeMin, high = mMediumRangeMax;
            break;
        case SkillUseRange::LongRange:
            low = mLongRangeMin, high = mLongRangeMax;
            break;
        default:
            break;
    }
    const float distance =
        std::sqrt(World::Get().GetDistanceSquared(self->GetCoords(), enemy->GetCoords()));
    const float gap = distance - (self->GetExtents() + enemy->GetExtents());
    return low < gap && gap < high;
}

std::uint32_t ControllerMonster::ChooseBestBuffSelfSkill() const {
    for (std::uint32_t id : mBuffSelfSkills) {
        const Skill* skill = id ? FindMonsterSkill(id) : nullptr;
        if (skill && skill->IsSkillEnabled() && !skill->IsTrackable(GetParentId()))
            return id;
    }
    return 0;
}

std::uint32_t ControllerMonster::ChooseBestAllyToBuff() const {
    const Character* self = GetParentCharacter();
    if (!self)
        return 0;
    const WorldVec3 position = self->GetPathPosition();
    std::vector<Character*> friends;
    GetFriendsInSphere(friends, position.GetRegion(),
                       Sphere{position.GetRegionPosition(), GetViewDistance()});
    const Character* chosen = nullptr;
    switch (mBuffAllyTargeting) {
        case BuffClosest:
            chosen = FindClosest(friends);
            break;
        case BuffStrongest:
            chosen = FindStrongest(friends);
            break;
        case BuffWeakest:
            chosen = FindWeakest(friends);
            break;
        default:
            break;
    }
    return chosen ? chosen->GetObjectId() : 0;
}

void ControllerMonster::TryToHealAlly() {
    auto lifePercent = [](const Character& c) {
        return c.GetCurrentLife() / c.GetTotalCharAttribute(CharAttributeType::Life) * 100.0f;
    };
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const Monster* monster = GetMonster();
    if (monster && monster->GetLeaderId() != 0) {
        const Character* leader = objects.GetObject<Character>(monster->GetLeaderId());
        if (leader && lifePercent(*leader) < static_cast<float>(mHealLeaderHealthPercentage)) {
            AddTemporaryState(
                "UseSkillOnAlly",
                ControllerAIStateData({.ally = leader->GetObjectId(), .skill = mHealSkill}));
            return;
        }
    }
    const Character* self = GetParentCharacter();
    if (!self)
        return;
    std::vector<Character*> friends;
    GetFriendsInSphere(friends, self->GetRegion(),
                       Sphere{self->GetCoords().coords.origin, GetViewDistance()});
    const Character* weakest = nullptr;
    float weakestPercent = 0.0f;
    for (const Character* other : friends) {
        const float percent = lifePercent(*other);
        if (percent >= static_cast<float>(mHealAllyHealthPercentage))
            continue;
        if (!weakest || percent < weakestPercent) {
            weakest = other;
            weakestPercent = percent;
        }
    }
    if (weakest)
        AddTemporaryState("UseSkillOnAlly", ControllerAIStateData({.ally = weakest->GetObjectId(),
                                                                   .skill = mHealSkill}));
}

bool ControllerMonster::CanFlee() {
    if (mFleeCount >= static_cast<unsigned>(mMaxFleeCount) || mFleeTimer > 0)
        return false;
    return static_cast<unsigned>(crt_rand() % 100) < static_cast<unsigned>(mFleeChance);
}

bool ControllerMonster::ShouldEmoteBeforePursuing() {
    if (mEmoted)
        return false;
    return crt_rand() % 100 < mEmoteBeforePursuingChance;
}

void ControllerMonster::ScareMe(std::uint32_t sourceId, float duration) {
    if (!GetExecutingState()->RespondsToFear())
        return;
    if (static_cast<float>(mScaredTime) >= duration)
        return;
    mScaredTime = static_cast<int>(duration);
    SetState("Scared", ControllerAIStateData({.enemy = sourceId}));
}

void ControllerMonster::Confuse(int amount) {
    GetExecutingState()->Confused(amount);
}
void ControllerMonster::BeginStun() {
    GetExecutingState()->BeginStun();
}
void ControllerMonster::EndStun() {
    GetExecutingState()->EndStun();
}
void ControllerMonster::BeginImmobilize() {
    GetExecutingState()->BeginImmobilize();
}
void ControllerMonster::EndImmobilize() {
    GetExecutingState()->EndImmobilize();
}
void ControllerMonster::BeginTrap() {
    GetExecutingState()->BeginTrap();
}
void ControllerMonster::EndTrap() {
    GetExecutingState()->EndTrap();
}

void ControllerMonster::TeamChanged() {
    ClearAnger();
}

void ControllerMonster::NewLeader(std::uint32_t) {
    ClearAnger();
}

bool ControllerMonster::CanMove() {
    const Character* character = GetParentCharacter();
    AnimationSet* set = character ? character->GetAnimationSet() : nullptr;
    return set && (set->DoesAnimationExist(AnimationSet_Type::Walk) ||
                   set->DoesAnimationExist(AnimationSet_Type::Run));
}

void ControllerMonster::TeleportToLeader(Character* leader) {
    if (!leader)
        return;
    // A look: the other machines see the teleport, not a slot; the next move holds one.
    WorldVec3 point;
    leader->RequestDefenseSlot(point, GetParentId(), false, false);
    if (!point.IsValid())
        return;
    WorldCoords coords = leader->GetCoords();
    coords.SetPosition(point);
    Teleport(coords);
    SetState("Idle", ControllerAIStateData());
}

WorldVec3 ControllerMonster::GetClosestMovePoint(const WorldVec3& point) const {
    const Character* character = GetParentCharacter();
    if (!character)
        return point;
    return MovementGoalManager::Get().GetClosestMovePoint(GetParentId(), character->GetExtents(),
                                                          point);
}

void ControllerMonster::ReleaseMoveGoal() const {
    MovementGoalManager::Get().ReleaseMoveGoal(GetParentId());
}

}  // namespace GAME
