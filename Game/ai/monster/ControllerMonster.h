#pragma once
// The controller of every monster and the base of the boss, pet and ally controllers: the
// behaviour record, the skills the monster gave it, the anger table, the countdowns of flight,
// dodging, healing and special attacks, and the enemy search that feeds the named states.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "Engine/object/UniqueId.h"
#include "Engine/world/Region.h"
#include "Game/ai/anger/AngerManager.h"
#include "Game/ai/controllers/ControllerAI.h"

namespace GAME {

class Actor;
class Character;
class Monster;
class Skill;
struct DistressCall;
struct Sphere;

// Where the target must stand for a special attack, as a gap between the two bodies.
enum class SkillUseRange : int { Any = 0, ShortRange = 1, MediumRange = 2, LongRange = 3 };

class ControllerMonster : public ControllerAI {
    RTTI_DECLARE(ControllerMonster)
public:
    // The record's keyword values; the fields hold them as ints.
    enum FleeBehaviorType { NeverFlee, FleeOnLowHealth, FleeOnDamage, FleeWhenEnemyClose };
    enum FleeTargetType { AwayFromEnemy, TowardsAllies, TowardsHome };
    enum RoamBehaviorType { NeverRoam, Roam };
    enum SkillBehaviorType { NeverUseSkill, WhenIdle, WhenEnemyIsSeen };
    enum BuffTargetingType { BuffClosest, BuffStrongest, BuffWeakest };
    enum DistressResponseType { RespondToSameType, RespondToSameGroup, RespondToAll };
    enum LeaderBehaviorType { NeverLead, LeadOnPatrol, LeadWhenEnemyIsSeen, LeadOnDamage };
    enum ChainBehaviorType { ChainUseOnEnemy, ChainUseOnLeader, ChainUseOnSelf };

    static constexpr std::size_t kSpecialAttackCount = 5;
    // Sight anger and the enemy search run on this cadence of game time.
    static constexpr int kTickMs = 200;

    struct SpecialAttack {
        std::uint32_t skillId = 0;
        int timeout = 0;  // before the first use, counted from the first enemy seen
        int delay = 0;    // between uses
        int reuseCountdown = 0;
        int firstUseCountdown = 0;
        int chance = 0;
        SkillUseRange range = SkillUseRange::Any;
    };

    ControllerMonster();
    ~ControllerMonster() override;

    // Added to ControllerAI's virtual operations, in this order.
    // The sight anger the character earns over ms. The sight sweep weighs foes itself, from
    // their digests, while this is the default: a kind that replaces it must also clear
    // mSightAngerIsDefault (debug builds stop when the two part).
    virtual float ProcessAngerTarget(Character* character, int ms);
    // A teleport skill landed the monster at these coordinates.
    virtual void Teleported(const WorldCoords&) {}
    // The monster has a walk or a run animation.
    virtual bool CanMove();
    virtual std::uint32_t ChooseBestSkillOverride(std::uint32_t, bool) { return 0; }
    virtual bool ClosestEnemyFoundOverride(std::uint32_t, float) { return false; }
    virtual bool ShouldAlwaysLookForClosestEnemy() { return false; }

    void Load(const LoadTable& table) override;
    void PostParentAttached() override;
    void Update(int ms) override;
    void ProjectileNotification(std::uint32_t projectileId) override;
    void ScareMe(std::uint32_t sourceId, float duration) override;
    void TauntMe(float amount, std::uint32_t id) override;
    void BeginStun() override;
    void EndStun() override;
    void BeginImmobilize() override;
    void EndImmobilize() override;
    void BeginTrap() override;
    void EndTrap() override;
    void UnderAttack(std::uint32_t attackerId) override;
    void AllyAttacked(std::uint32_t allyId, std::uint32_t attackerId) override;
    void TeamChanged() override;
    virtual void NewLeader(std::uint32_t leaderId);
    void RegisterStates() override;
    void RegisterTemporaryStates() override;
    void InitializeStates() override;
    void Confuse(int amount);

    Monster* GetMonster() const;

    // "ShortRange" 1, "MediumRange" 2, "LongRange" 3, anything else 0.
    static SkillUseRange GetSkillRangeFromString(const std::string& text);

    // Skill assignment, from the monster's record.
    void SetDefaultAttackSkill(std::uint32_t id) { mDefaultAttackSkill = id; }
    void SetNormalAttackSkill(std::uint32_t id) { mNormalAttackSkill = id; }
    void SetBuffSelfSkill(std::uint32_t id) { mBuffSelfSkills[0] = id; }
    void SetBuffSelf2Skill(std::uint32_t id) { mBuffSelfSkills[1] = id; }
    void SetBuffSelf3Skill(std::uint32_t id) { mBuffSelfSkills[2] = id; }
    void SetBuffOtherSkill(std::uint32_t id) { mBuffOtherSkills[0] = id; }
    void SetBuffOther2Skill(std::uint32_t id) { mBuffOtherSkills[1] = id; }
    void SetBuffOther3Skill(std::uint32_t id) { mBuffOtherSkills[2] = id; }
    void SetHealSkill(std::uint32_t id, int delayMs) {
        mHealSkill = id;
        mHealDelay = delayMs;
    }
    void SetBerserkSkill(std::uint32_t id) { mBerserkSkill = id; }
    void SetDyingSkill(std::uint32_t id) { mDyingSkill = id; }
    void SetInitialSkill(std::uint32_t id) { mInitialSkill = id; }
    void SetChainInitialSkill(std::uint32_t id) { mChainInitialSkill = id; }
    void SetChainNextSkill(std::uint32_t id) { mChainNextSkill = id; }
    void SetChainBehavior(int behavior) { mChainBehavior = behavior; }
    void SetSkillRanges(float shortMin, float shortMax, float mediumMin, float mediumMax,
                        float longMin, float longMax);
    // Blocks 1 to 5: the first use waits for the timeout, the reuse counter starts free.
    void SetSpecialAttackSkill(std::uint32_t id, int timeoutMs, int delayMs, int chance,
                               SkillUseRange range) {
        SetSpecialAttack(0, id, timeoutMs, delayMs, chance, range);
    }
    void SetSpecialAttack2Skill(std::uint32_t id, int timeoutMs, int delayMs, int chance,
                                SkillUseRange range) {
        SetSpecialAttack(1, id, timeoutMs, delayMs, chance, range);
    }
    void SetSpecialAttack3Skill(std::uint32_t id, int timeoutMs, int delayMs, int chance,
                                SkillUseRange range) {
        SetSpecialAttack(2, id, timeoutMs, delayMs, chance, range);
    }
    void SetSpecialAttack4Skill(std::uint32_t id, int timeoutMs, int delayMs, int chance,
                                SkillUseRange range) {
        SetSpecialAttack(3, id, timeoutMs, delayMs, chance, range);
    }
    void SetSpecialAttack5Skill(std::uint32_t id, int timeoutMs, int delayMs, int chance,
                                SkillUseRange range) {
        SetSpecialAttack(4, id, timeoutMs, delayMs, chance, range);
    }
    void SetSpecialAttack(std::size_t index, std::uint32_t id, int timeoutMs, int delayMs,
                          int chance, SkillUseRange range);
    void GetSpecialAttackSkillInfo(std::uint32_t& id, int& timeout, int& delay, int& chance,
                                   SkillUseRange& range) const {
        GetSpecialAttackInfo(0, id, timeout, delay, chance, range);
    }
    void GetSpecialAttack2SkillInfo(std::uint32_t& id, int& timeout, int& delay, int& chance,
                                    SkillUseRange& range) const {
        GetSpecialAttackInfo(1, id, timeout, delay, chance, range);
    }
    void GetSpecialAttack3SkillInfo(std::uint32_t& id, int& timeout, int& delay, int& chance,
                                    SkillUseRange& range) const {
        GetSpecialAttackInfo(2, id, timeout, delay, chance, range);
    }
    void GetSpecialAttack4SkillInfo(std::uint32_t& id, int& timeout, int& delay, int& chance,
                                    SkillUseRange& range) const {
        GetSpecialAttackInfo(3, id, timeout, delay, chance, range);
    }
    void GetSpecialAttack5SkillInfo(std::uint32_t& id, int& timeout, int& delay, int& chance,
                                    SkillUseRange& range) const {
        GetSpecialAttackInfo(4, id, timeout, delay, chance, range);
    }
    void GetSpecialAttackInfo(std::size_t index, std::uint32_t& id, int& timeout, int& delay,
                              int& chance, SkillUseRange& range) const;
    // Block 0..4 (special attack 1..5); an index past the end gives an empty block.
    const SpecialAttack& GetSpecialAttack(std::size_t index) const;
    // A state reports the block's skill used: it rests for its delay.
    void StartSpecialAttackReuse(std::size_t index);
    // A state reports the heal skill used: the next heal waits for the heal delay.
    void StartHealDelay() { mHealCountdown = mHealDelay; }

    // Skills.
    std::uint32_t GetDefaultSkillId() const { return mDefaultAttackSkill; }
    std::uint32_t GetNormalSkillId() const { return mNormalAttackSkill; }
    std::uint32_t GetBuffSelfSkillId() const { return mBuffSelfSkills[0]; }
    std::uint32_t GetBuffSelf2SkillId() const { return mBuffSelfSkills[1]; }
    std::uint32_t GetBuffSelf3SkillId() const { return mBuffSelfSkills[2]; }
    std::uint32_t GetBuffOtherSkillId() const { return mBuffOtherSkills[0]; }
    std::uint32_t GetBuffOther2SkillId() const { return mBuffOtherSkills[1]; }
    std::uint32_t GetBuffOther3SkillId() const { return mBuffOtherSkills[2]; }
    std::uint32_t GetHealSkillId() const { return mHealSkill; }
    int GetHealDelay() const { return mHealDelay; }
    int GetHealCountdown() const { return mHealCountdown; }
    std::uint32_t GetBerserkSkillId() const { return mBerserkSkill; }
    std::uint32_t GetDyingSkillId() const { return mDyingSkill; }
    std::uint32_t GetSpecialAttackSkillId() const { return mSpecialAttacks[0].skillId; }
    std::uint32_t GetSpecialAttack2SkillId() const { return mSpecialAttacks[1].skillId; }
    std::uint32_t GetSpecialAttack3SkillId() const { return mSpecialAttacks[2].skillId; }
    std::uint32_t GetSpecialAttack4SkillId() const { return mSpecialAttacks[3].skillId; }
    std::uint32_t GetSpecialAttack5SkillId() const { return mSpecialAttacks[4].skillId; }
    std::uint32_t GetInitialSkillId() const { return mInitialSkill; }
    std::uint32_t GetChainInitialSkill() const { return mChainInitialSkill; }
    std::uint32_t GetChainNextSkill() const { return mChainNextSkill; }
    int GetChainBehavior() const { return mChainBehavior; }
    float GetShortRangeMin() const { return mShortRangeMin; }
    float GetShortRangeMax() const { return mShortRangeMax; }
    float GetMediumRangeMin() const { return mMediumRangeMin; }
    float GetMediumRangeMax() const { return mMediumRangeMax; }
    float GetLongRangeMin() const { return mLongRangeMin; }
    float GetLongRangeMax() const { return mLongRangeMax; }

    // Behaviour.
    float GetAngerTolerance() const { return mAngerTolerance; }
    float GetAttackedAnger() const { return mAttackedAnger; }
    float GetAllyAttackedAnger() const { return mAllyAttackedAnger; }
    float GetSightAngerRate() const { return mSightAngerRate; }
    float GetInnerSightAngerRate() const { return mInnerSightAngerRate; }
    float GetProjectileAnger() const { return mProjectileAnger; }
    float GetForgiveRate() const { return mForgiveRate; }
    float GetEnemyTooCloseDistance() const { return mEnemyTooClose; }
    int GetPursuitTime() const { return mPursuitTime; }
    float GetMaxPursuitDistance() const { return mMaxPursuitDistance; }
    int GetFleeBehavior() const { return mFleeBehavior; }
    int GetFleeTarget() const { return mFleeTarget; }
    int GetMaxFleeCount() const { return mMaxFleeCount; }
    int GetFleeChance() const { return mFleeChance; }
    int GetFleeTime() const { return mFleeTime; }
    int GetFleeDelay() const { return mFleeDelay; }
    float GetFleeDistance() const { return mFleeDistance; }
    bool GetClearAngerWhenFleeing() const { return mClearAngerWhenFleeing; }
    bool GetResetOriginAfterFleeing() const { return mResetOriginAfterFleeing; }
    int GetRoamBehavior() const { return mRoamBehavior; }
    int GetBuffSelfBehavior() const { return mBuffSelfBehavior; }
    int GetBuffAllyBehavior() const { return mBuffAllyBehavior; }
    int GetBuffAllyTargeting() const { return mBuffAllyTargeting; }
    int GetDebuffEnemyBehavior() const { return mDebuffEnemyBehavior; }
    int GetChanceToRespondToDistressCall() const { return mChanceToRespondToDistressCall; }
    const std::string& GetDistressResponseGroup() const { return mDistressResponseGroup; }
    int GetDistressResponseBehavior() const { return mDistressResponseBehavior; }
    int GetHealLeaderHealthPercentage() const { return mHealLeaderHealthPercentage; }
    int GetHealAllyHealthPercentage() const { return mHealAllyHealthPercentage; }
    int GetLeaderBehavior() const { return mLeaderBehavior; }
    float GetLeaderDistance() const { return mLeaderDistance; }
    int GetMaxFollowers() const { return mMaxFollowers; }
    int GetFollowersJoined() const { return mFollowersJoined; }
    void SetFollowersJoined(int count) { mFollowersJoined = count; }
    float GetMinWanderDistance() const { return mMinWanderDistance; }
    float GetWanderDistance() const { return mWanderDistance; }
    float GetMinRoamDistance() const { return mMinRoamDistance; }
    float GetRoamDistance() const { return mRoamDistance; }
    float GetTeleportToLeaderDistance() const { return mTeleportToLeaderDistance; }
    int GetChanceToIdleOnPatrol() const { return mChanceToIdleOnPatrol; }
    int GetMinPatrolIdleTime() const { return mMinPatrolIdleTime; }
    int GetMaxPatrolIdleTime() const { return mMaxPatrolIdleTime; }
    float GetInnerViewDistance() const { return mInnerViewDistance; }
    float GetMaxYViewDistance() const { return mMaxYViewDistance; }
    int GetRandomAngerChance() const { return mRandomAngerChance; }
    int GetRandomAngerEvaluationTime() const { return mRandomAngerEvaluationTime; }
    int GetMinTimeBeforeRoam() const { return mMinTimeBeforeRoam; }
    int GetMaxTimeBeforeRoam() const { return mMaxTimeBeforeRoam; }
    float GetDodgeDistance() const { return mDodgeDistance; }
    float GetDodgeChance() const { return static_cast<float>(mDodgeChance); }
    float GetMinDodgeDistance() const { return mMinDodgeDistance; }
    int GetDodgeDelay() const { return mDodgeDelay; }
    int GetRepositionChance() const { return mRepositionChance; }
    int GetEmoteBeforePursuingChance() const { return mEmoteBeforePursuingChance; }
    int GetEmoteWhenWaitingChance() const { return mEmoteWhenWaitingChance; }
    int GetMinEmoteTime() const { return mMinEmoteTime; }
    int GetMaxEmoteTime() const { return mMaxEmoteTime; }

    // Running state.
    bool ShouldPlayRallyOrAlert();  // true once
    bool HasSeenEnemy() const { return mEnemySeen; }
    int GetConfusedTime() const { return mConfusedTime; }
    void SetConfusedTime(int ms) { mConfusedTime = ms; }
    const std::vector<UniqueId>& GetPatrolPoints() const { return mPatrolPoints; }
    int GetCurrentPatrolPoint() const { return mCurrentPatrolPoint; }
    void SetCurrentPatrolPoint(int index) { mCurrentPatrolPoint = index; }
    void SetLifetime(int ms) { mLifetime = ms; }
    int GetLifetime() const { return mLifetime; }
    void SetProxyId(const UniqueId& id) { mProxyId = id; }
    const UniqueId& GetProxy() const { return mProxyId; }
    unsigned GetFleeCount() const { return mFleeCount; }
    int GetFleeTimer() const { return mFleeTimer; }
    int GetScaredTime() const { return mScaredTime; }
    int GetDodgeCountdown() const { return mDodgeCountdown; }
    float GetAngerTickAccumulator() const { return mAngerAccumulator; }
    int GetFindEnemyTimer() const { return mFindEnemyTimer; }

    bool CanFlee();
    void IncrementFleeCount() { ++mFleeCount; }
    void ResetFleeTimer() { mFleeTimer = mFleeDelay; }
    bool StillScared() const { return mScaredTime > 0; }
    bool ShouldEmoteBeforePursuing();
    void SetEmoted(bool emoted) { mEmoted = emoted; }
    // The heal is ready again, whichever ally asks.
    bool ShouldHealAlly(std::uint32_t = 0) const { return mHealCountdown <= 0; }

    // Skill choice.
    std::uint32_t ChooseBestSkill(std::uint32_t enemyId, bool checkDistance);
    bool IsSkillInProperRange(std::uint32_t enemyId, SkillUseRange range) const;
    std::uint32_t ChooseBestBuffSelfSkill() const;
    std::uint32_t ChooseBestAllyToBuff() const;

    // Movement.
    void TeleportToLeader(Character* leader);
    WorldVec3 GetClosestMovePoint(const WorldVec3& point) const;
    void ReleaseMoveGoal() const;

    // Target finding.
    void GetCharactersInSphere(std::vector<Character*>& out, Region* region, const Sphere& sphere,
                               bool foes) const;
    void GetFoesInSphere(std::vector<Character*>& out, Region* region, const Sphere& sphere) const {
        GetCharactersInSphere(out, region, sphere, true);
    }
    void GetFriendsInSphere(std::vector<Character*>& out, Region* region,
                            const Sphere& sphere) const {
        GetCharactersInSphere(out, region, sphere, false);
    }
    bool InPursuitRange(std::uint32_t enemyId);
    // The same with the enemy already looked up (null: not found). Inline: without a limit, as
    // most monsters have, each of the ~80 allies told of a call for help asks nothing more.
    bool InPursuitRange(const Character* enemy) {
        return mMaxPursuitDistance == 0.0f || InPursuitRangeOf(enemy);
    }
    bool InPursuitRange(const Character& enemy, const Character& self);
    // The sight anger earned over ms by a foe this far away (ProcessAngerTarget's rate).
    float SightAnger(float distance, int ms) const;
    bool IsEnemyValid(std::uint32_t enemyId) { return ValidEnemy(enemyId) != nullptr; }
    // The enemy when IsEnemyValid holds for it (for a caller that goes on to use it), else null.
    const Character* ValidEnemy(std::uint32_t enemyId);
    WorldVec3 GetHomePosition();
    void FindEnemy();
    void FindClosestEnemy(Character* character, float distance);
    Character* PickRandomEnemyInView() const;
    void DieIfEnemyInRange();
    bool ShouldCareAboutDistressCall(std::uint32_t allyId) const;
    // The same, already known true for the ally whose call AllyAttacked is passing on.
    bool CaresAboutDistressCall(std::uint32_t allyId) const;
    // ShouldCareAboutDistressCall for a character ally at hand. Inline: a monster that answers
    // every ally (the default) needs nothing of it.
    bool ShouldCareAboutAlly(const Character& ally) const {
        if (mDistressResponseBehavior != RespondToSameType &&
            mDistressResponseBehavior != RespondToSameGroup)
            return GetParentCharacter() != nullptr;
        return SharesDistressGroup(ally);
    }
    void AngerUpdate(int ms);
    void FindEnemyUpdate(int ms);

    // The anger table.
    AngerManager& GetAngerManager() { return mAngerManager; }
    const AngerManager& GetAngerManager() const { return mAngerManager; }
    std::uint32_t GetMostHatedEnemy();
    void SetMostHatedEnemy(std::uint32_t id) { mAngerManager.SetMostHatedEnemy(id); }
    void ClearAnger() { mAngerManager.Clear(); }
    void TransferAnger(ControllerMonster& other) const {
        mAngerManager.TransferAnger(other.mAngerManager);
    }
    void ShowAngerLevels() const { mAngerManager.ShowAngerLevels(); }

    // Loot and treasure.
    void CreateDropMiscItems();
    void SetTreasureProxy(const std::string& recordName);
    // The proxy that places the monster's treasure where it died; null when none.
    Actor* GetTreasureProxy() const;

protected:
    // Adds the named states (or, with `temporary`, the temporary ones) that every monster
    // has; kinds register their replacements after it.
    void AddMonsterStates(bool temporary);

    // False in a kind that replaces ProcessAngerTarget: the sweep then asks it of every foe.
    bool mSightAngerIsDefault = true;

private:
    void TryToHealAlly();
    // InPursuitRange for a monster with a pursuit limit.
    bool InPursuitRangeOf(const Character* enemy);
    // ShouldCareAboutAlly for a monster that answers only its own type or group.
    bool SharesDistressGroup(const Character& ally) const;
    // Whether the skill is enabled, looked up from where the last one weighed was found.
    bool WeighedSkillEnabled(std::uint32_t skillId);
    // The foe nearest within enemyTooClose of the monster, searched once per frame.
    void ClosestEnemyCheck(bool& searched, Character*& best, float& bestDistance);

    bool mRallyOrAlertPending = true;
    // The special attacks before this were set; those after it never were, so their countdowns
    // stay 0 and the frame passes them over.
    std::uint8_t mSpecialAttacksSet = 0;
    int mFindEnemyTimer = 0;
    // What every frame counts down, together near the front: the frame loop prefetches the
    // controller's first lines.
    std::array<SpecialAttack, kSpecialAttackCount> mSpecialAttacks{};
    int mDodgeCountdown = 0;
    int mFleeTimer = 0;
    int mScaredTime = 0;
    int mLifetime = 0;
    int mHealCountdown = 0;
    int mRandomAngerCountdown = 3000;
    int mDeathFromEnemyCountdown = 200;
    bool mEnemySeen = false;
    bool mRandomAngerDone = false;
    float mAngerTolerance = 10.0f;
    float mAttackedAnger = 100.0f;
    float mAllyAttackedAnger = 40.0f;
    float mSightAngerRate = 20.0f;
    float mForgiveRate = 50.0f;
    float mInnerSightAngerRate = 50.0f;
    float mProjectileAnger = 20.0f;
    float mAngerAccumulator = 0.0f;
    float mEnemyTooClose = 0.0f;
    AngerManager mAngerManager;
    int mPursuitTime = 10000;
    // What every ally told of a call for help reads, in the line the anger table's end leaves.
    float mMaxPursuitDistance = 20.0f;
    int mDistressResponseBehavior = RespondToAll;
    int mChanceToRespondToDistressCall = 100;
    std::uint32_t mHealSkill = 0;
    int mFleeBehavior = NeverFlee;
    int mFleeTarget = AwayFromEnemy;
    int mMaxFleeCount = 3;
    int mFleeChance = 100;
    int mFleeTime = 3000;
    int mFleeDelay = 2000;
    float mFleeDistance = 5.0f;
    bool mClearAngerWhenFleeing = false;
    int mRoamBehavior = NeverRoam;
    int mBuffSelfBehavior = WhenEnemyIsSeen;
    int mBuffAllyBehavior = WhenEnemyIsSeen;
    int mBuffAllyTargeting = BuffClosest;
    int mDebuffEnemyBehavior = NeverUseSkill;
    std::string mDistressResponseGroup;
    int mHealLeaderHealthPercentage = 0;
    int mHealAllyHealthPercentage = 0;
    int mLeaderBehavior = NeverLead;
    float mLeaderDistance = 2.0f;
    int mMaxFollowers = 4;
    int mFollowersJoined = 0;
    float mWanderDistance = 5.0f;
    float mRoamDistance = 10.0f;
    float mTeleportToLeaderDistance = 15.0f;
    int mChanceToIdleOnPatrol = 20;
    int mMinPatrolIdleTime = 2000;
    int mMaxPatrolIdleTime = 5000;
    float mInnerViewDistance = 5.0f;
    float mMaxYViewDistance = 0.0f;
    int mRandomAngerChance = 0;
    int mMinTimeBeforeRoam = 3000;
    int mMaxTimeBeforeRoam = 10000;
    float mMinRoamDistance = 2.0f;
    float mMinWanderDistance = 5.0f;
    bool mResetOriginAfterFleeing = false;
    int mEmoteBeforePursuingChance = 0;
    float mDodgeDistance = 4.0f;
    unsigned mDodgeChance = 0;
    float mMinDodgeDistance = 2.0f;
    int mRepositionChance = 0;

    std::uint32_t mDefaultAttackSkill = 0;
    std::uint32_t mNormalAttackSkill = 0;
    std::uint32_t mBerserkSkill = 0;
    std::uint32_t mDyingSkill = 0;
    int mHealDelay = 0;
    std::array<std::uint32_t, 3> mBuffSelfSkills{};
    std::array<std::uint32_t, 3> mBuffOtherSkills{};
    std::uint32_t mInitialSkill = 0;

    bool mEmoted = false;
    int mEmoteWhenWaitingChance = 0;
    int mMinEmoteTime = 2000;
    int mMaxEmoteTime = 4000;
    std::vector<UniqueId> mPatrolPoints;
    int mCurrentPatrolPoint = 0;
    UniqueId mProxyId;
    int mRandomAngerEvaluationTime = 3000;
    int mDodgeDelay = 0;
    int mConfusedTime = 0;
    unsigned mFleeCount = 0;
    std::uint32_t mChainInitialSkill = 0;
    std::uint32_t mChainNextSkill = 0;
    int mChainBehavior = ChainUseOnEnemy;
    float mShortRangeMin = 0.0f;
    float mShortRangeMax = 4.0f;
    float mMediumRangeMin = 4.0f;
    float mMediumRangeMax = 8.0f;
    float mLongRangeMin = 8.0f;
    float mLongRangeMax = 16.0f;
    // An object of the object manager: it outlives the monster for the "Dead" state to use.
    std::uint32_t mTreasureProxyId = 0;

    // Scratch of the searches, kept so that steady frames allocate nothing.
    mutable std::vector<Character*> mFoundScratch;
    WorldVec3 mClosestSearchPosition;
    // The monster GetMonster found, and where the object table had it: asked every frame.
    mutable ObjectManager::Kept<Monster> mMonster;
    // The character IsEnemyValid last looked up: states ask for the same enemy every frame.
    ObjectManager::Kept<Character> mEnemy;
    // The ally whose call for help the executing state is answering; 0 when none.
    std::uint32_t mAnsweredAlly = 0;
    // That call when it is a character's (its attacker looked up once for all who answer).
    const DistressCall* mAnsweredCall = nullptr;
    // The skill ChooseBestSkill last found: every ally answering a call asks for its attack.
    ObjectManager::Kept<Skill> mWeighedSkill;
};

}  // namespace GAME
