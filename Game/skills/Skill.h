#pragma once
// The base of every skill a character owns. One object per skill per character, made by class
// name from the skill's record and owned by the character's skill manager, which the skill sees
// only as a SkillManagerBase. Every per-level number lives in the shared SkillProfile; the
// skill keeps the per-character state: level and augmentation, enabled and active state, the
// running cooldown, the last availability verdict, its loaded sounds and effects and the
// modifier, secondary and base skills attached to it.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Engine/object/Object.h"
#include "Engine/text/Name.h"
#include "Game/characters/CharacterRagDoll.h"
#include "Game/core/ObjectLookup.h"
#include "Game/items/GameTextLine.h"
#include "Game/items/OwnedObject.h"
#include "Game/skills/manager/SkillManagerBase.h"
#include "Game/skills/manager/SkillState.h"
#include "Game/world/projectiles/ProjectileInfo.h"

namespace GAME {

namespace detail {
// Skills destroyed on this thread so far. Initial-exec: the library is linked at start-up, and
// the frame's walk over the skills reads it once per skill.
extern constinit thread_local std::uint64_t tDestroyedSkills
    __attribute__((tls_model("initial-exec")));
}  // namespace detail

struct AnimationRagDoll;
class Character;
class CharAttributeAccumulator;
class CombatAttributeAccumulator;
class ParametersCombat;
class ProjectileBase;
class Prop;
class SkillAttributeAccumulator;
class SkillProfile;
class SkillProfile_Modifiers;
class SoundPak;
struct RacialBonus_Damage;
struct RacialBonus_Defense;
struct WorldCoords;
struct WorldVec3;
enum class ParametersCombatStyle : std::int32_t;
enum class SkillAttributeType : std::uint32_t;

// Why the last availability test failed (3 is never produced by the base).
enum class SkillReason : int {
    Available = 0,
    CoolingDown = 1,
    NotEnoughMana = 2,
    NotQualifying = 4,
    LevelZero = 5,
    // A kind that needs something in the world around its user found none.
    NothingAround = 6,
};

class Skill : public Object {
    RTTI_DECLARE(Skill)
public:
    static constexpr const char* kSourceFile = "Game/Skill";

    Skill();
    ~Skill() override;
    // Skills destroyed on this thread so far: a walk holding skills by pointer re-finds them
    // when it moved.
    static std::uint64_t DestroyedOnThisThread() { return detail::tDestroyedSkills; }
    // Asks for the lines a frame's update reads (the state, the cooldown, the kept cost): the
    // fields up to mActiveState, which lead the object.
    void PrefetchUpdateLines() const {
        const char* const first = reinterpret_cast<const char*>(this);
        const char* const last = reinterpret_cast<const char*>(&mActiveState + 1) - 1;
        for (const char* at = first; at <= last; at += 64)
            __builtin_prefetch(at);
        __builtin_prefetch(last);
    }

    // Virtual operations, in the order kinds override them.
    void Load(const LoadTable& table) override;
    virtual void OnDestroy();
    virtual void Install(Character* character);
    virtual void UnInstall(Character* character);
    virtual void IncrementSkillLevel(int count);
    virtual void SetSkillLevel(int level);
    virtual bool DecrementSkillLevel();
    virtual void IncrementAugmentedSkillLevel(std::uint32_t count);
    virtual void DecrementAugmentedSkillLevel(std::uint32_t count);
    virtual void SkillLevelChange() {}
    virtual void LoadResources(const LoadTable& table);
    void PreLoad(bool now) override;
    virtual void Update(Character& character, int ms);
    // The weapon kinds' update, which keeps the base's availability test (they make
    // SetAvailability final): the test is made without a call, then the reach follows the
    // weapon. Defined in SkillUpdate.h; the manager's walk calls it directly for the kinds
    // whose Update it is.
    inline void UpdateAsWeapon(int ms);
    bool UpdatesAsWeapon() const { return mUpdatesAsWeapon; }
    // Whether the weapon update, run again while the manager's inputs stay, changes nothing and
    // only owes the root its draw: a weapon kind of this manager that takes any weapon, with no
    // cooldown running and its cost kept under the inputs.
    bool QuietWeaponUpdate(const SkillManagerBase* manager, std::uint32_t inputs,
                           std::uint32_t stamp) const {
        return mUpdatesAsWeapon && mManager == manager && mAnyWeapon && mCooldownRemaining <= 0 &&
               mCostKept && mCostInputs == inputs && mCostStamp == stamp;
    }
    // The manager marks its skills after a walk that changed nothing; any write to what the
    // update reads or writes drops the mark and the manager's. The mark shares the walk's lines.
    void KeepQuiet() const { mQuiet = true; }
    bool KeptQuiet() const { return mQuiet; }
    // The block from mManager to the end of mActiveState without the mark: debug builds keep
    // it with the mark and abort where a write left the mark standing (defined there only).
    void CopyUpdateBytes(SkillUpdateBytes& out) const;
    virtual void CreateUISkillName(std::wstring& text) const;
    virtual void CreateUISkillName(std::vector<GameTextLine>& lines) const;
    virtual void CreateUISkillHeading(std::vector<GameTextLine>& lines) const;
    virtual void CreateUINameText(std::vector<GameTextLine>& lines) const;
    virtual void CreateUIParameterText(std::vector<GameTextLine>& lines) const;
    virtual void CreateUINextParameterText(std::vector<GameTextLine>& lines) const;
    virtual void CreateUISpecializedText(std::vector<GameTextLine>& lines) const;
    virtual void CreateUINextSpecializedText(std::vector<GameTextLine>& lines) const;
    virtual void CreateUIModifierText(std::vector<GameTextLine>& lines) const;
    virtual void CreateUINextModifierText(std::vector<GameTextLine>& lines) const;
    virtual void CreateUIShortSummaryText(std::vector<GameTextLine>& lines) const;
    // The same lines in the caller's style (a pet's summary).
    void CreateUIShortSummaryText(GameTextClass textClass, std::vector<GameTextLine>& lines) const;
    virtual void OnHitActivation(Character&, const ParametersCombat&) {}
    // Not virtual: every availability test reads it. A kind says where its level comes from
    // with SetLevelSource. Always inline: the weapon update must not turn it into a call.
    [[gnu::always_inline]] std::uint32_t GetCurrentLevel() const {
        if (mLevelSource == LevelSource::Fixed)
            return 1;
        if (mLevelSource == LevelSource::ActiveSubLevel)
            return mActiveState.subLevel > 0 ? static_cast<std::uint32_t>(mActiveState.subLevel)
                                             : 0u;
        return mSkillState.level == 0 ? 0u : BoughtLevel();
    }
    virtual std::uint32_t GetChanceWeight(bool) const { return 0; }
    virtual bool IsSkillOnHitActive() const { return false; }
    virtual bool IsTrackable(std::uint32_t) const { return false; }
    virtual bool IsTempTrackable(std::uint32_t) const { return false; }
    virtual bool HasIconDisplay(std::uint32_t id) const { return IsTrackable(id); }
    virtual bool TrackableTimed(std::uint32_t) const { return false; }
    virtual int TrackableRemainingTime(std::uint32_t) const { return 1; }
    virtual int TrackableTotalTime(std::uint32_t) const { return 1; }
    virtual Skill_RangeProfile GetRangeProfile() const { return mRangeProfile; }
    virtual void EndCooldown() {
        mCooldownRemaining = 0;
        ForgetQuiet();
    }
    virtual void ReplaceCooldownTime(float ms);
    virtual void ApplyDisruptionCooldownTime(float ms);
    virtual bool SetAvailability(bool ignoreMana, bool ignoreCooldown);
    // A kind that adds parts of its own says so with SetTotalHasOtherParts while it does: the
    // mana cost is kept only from the base's answer.
    virtual float GetTotalSkillAttribute(SkillAttributeType type) const;
    virtual void GetSkillModifierData(SkillProfile_Modifiers& data) const;
    virtual void AddProjectileModifier(ProjectileBase& projectile);
    virtual void PlaySwipeSound(const WorldVec3& where);
    virtual void PlayHitSound(const WorldVec3& where);
    virtual void PlaySkillSound1(const WorldVec3& where);
    virtual void PlaySkillSound2(const WorldVec3& where);
    virtual void PlayWeaponSwipeSound(Character& character, const Name& event);
    virtual void ParticleEffect1(Character& character, bool on);
    virtual void ParticleEffect2(Character& character, bool on);
    virtual void ParticleEffect3(Character& character, bool on);
    virtual void WarmUpEffect(Character& character, bool on);
    virtual void CreateTargetFx(const WorldVec3& where);
    virtual void CreateEndBuffOtherFx(const WorldVec3& where);
    virtual void CreateEndBuffSelfFx(const WorldVec3& where);
    virtual void CollectLocalOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator);
    virtual void CollectLocalOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator);
    virtual void CollectLocalRacialBonusDamage(const std::vector<std::string>& races,
                                               RacialBonus_Damage& bonus);
    virtual void CollectPassiveCharAttributes(CharAttributeAccumulator&) {}
    virtual void CollectPassiveSkillAttributes(SkillAttributeAccumulator&) {}
    virtual void CollectPassiveOffensiveDamageAttributes(CombatAttributeAccumulator&) {}
    virtual void CollectPassiveOffensiveModifierAttributes(CombatAttributeAccumulator&) {}
    virtual void CollectPassiveRetaliationAttributes(CombatAttributeAccumulator&) {}
    virtual void CollectPassiveDefenseAttributes(CombatAttributeAccumulator&) {}
    virtual void CollectPassiveRacialBonusDamage(const std::vector<std::string>&,
                                                 RacialBonus_Damage&) {}
    virtual void CollectPassiveRacialBonusDefense(const std::vector<std::string>&,
                                                  RacialBonus_Defense&) {}
    virtual void TargetInformation(const ProjectileInfo&, const WorldCoords&,
                                   std::vector<std::uint32_t>&) {}
    virtual void TargetFriendInformation(const ProjectileInfo&, const WorldCoords&,
                                         std::vector<std::uint32_t>&) {}
    virtual void TargetResult(Character&, const std::vector<std::uint32_t>&, const WorldCoords&,
                              std::uint32_t, std::uint32_t, bool) {}
    virtual void CreateProjectile(Character&, std::uint32_t, const WorldCoords&, std::uint32_t,
                                  const WorldVec3&, std::uint32_t, std::uint16_t) {}
    virtual void SkillSpawnObject(Character&, const WorldCoords&, std::uint32_t,
                                  const std::vector<WorldCoords>&,
                                  const std::vector<std::uint32_t>&, std::uint32_t) {}
    virtual void Cancel(Character& character);
    virtual void StopSkill(Character&) {}
    virtual void DispellSelfBuff(Character&) {}
    virtual bool IsRepeatable() const { return mRepeatable; }
    virtual bool GetValidTarget(const Character&, std::uint32_t& target, const WorldVec3&, bool,
                                float) {
        target = 0;
        return true;
    }
    virtual bool IsTargetInRange(const Character& caster, std::uint32_t target, float range) const;
    virtual void CollectCombatParameters(Character& attacker, Character* target,
                                         ParametersCombatStyle style, bool useItemDamage,
                                         std::uint32_t itemId, ParametersCombat& parameters,
                                         float damagePercent);
    virtual bool ShouldMonsterSkillBeInterruptedWhilePursuing() const { return true; }
    virtual void ReceiveStateUpdate(const SkillState& state, bool force);
    virtual void ReceiveActiveUpdate(Character&, const SkillActiveState& state, bool) {
        mActiveState = state;
        ForgetQuiet();
        ContributionChanged();
    }
    virtual bool IsValidTarget(std::uint32_t) const { return true; }
    virtual bool GetWarmUpWasActive() const { return false; }
    virtual void InitRagDollData(CharacterRagDoll::EffectData& out, const WorldVec3& from,
                                 const WorldVec3& to) const;
    virtual void PreLoadResources() {}
    virtual void PreLoadPet();
    // How many objects one spawn command of this skill may make when a client sends it (the
    // server's check); kinds that spawn nothing allow none.
    virtual std::size_t GetClientSpawnLimit() const { return 0; }
    // Whether the server runs a client's target result of this skill: kinds whose result moves
    // characters or names a place check its targets and place against what the skill reaches
    // from the caster as the server has it (within kClientLeeway, the client's view lagging).
    static constexpr float kClientLeeway = 2.0f;
    virtual bool AcceptClientResult(const Character&, const std::vector<std::uint32_t>&,
                                    const WorldCoords&) const {
        return true;
    }

    // The manager and the profile.
    void SetManager(SkillManagerBase* manager) {
        ForgetQuiet();  // tells the manager that marked it
        mManager = manager;
        mTotalKept = false;
        mCostKept = false;
        ContributionChanged();
    }
    SkillManagerBase* GetManager() const { return mManager; }
    bool HasManager() const { return mManager != nullptr; }
    const Name& GetResourceName() const { return mResourceName; }
    // Never null: a skill without a profile reads the root's never-loaded one. Inline: read
    // several times per skill and frame.
    const SkillProfile& GetSkillProfile() const { return mProfile ? *mProfile : FallbackProfile(); }
    // Loads the profile of the object's own record without keeping it.
    void LoadOriginalSkillResource(const LoadTable& table);
    int GetSkillType() const { return mSkillType; }
    bool IsPrimary() const { return mIsPrimary; }
    bool IsSecondary() const { return mIsSecondary; }

    // Levels.
    std::uint32_t GetSkillLevel() const { return mSkillState.level; }
    std::uint32_t GetAugmentedLevel() const { return mAugmentedLevel; }
    std::uint32_t GetMaxLevel() const;
    std::uint32_t GetUltimateLevel() const;
    std::uint32_t GetMasteryLevelRequirement() const;
    const std::string& GetDisplayNameTag() const;
    const std::string& GetBaseDescriptionTag() const;
    const std::vector<std::string>& GetSkillDependancy() const;
    void AddSkillLevel(int count);
    void SubtractSkillLevel(int count);
    bool IsAugmented() const { return mAugmentedLevel > 0; }
    std::uint32_t GetMasteryLevel() const;
    bool IsBaseSkillEnabled() const;

    // Range, availability, cooldown and mana.
    float GetRange() const;
    // Target choice: a given target must be a foe (a friend); without one, the first found in
    // the radius around the point, or around the caster when `useCasterPosition` is set.
    bool GetValidMeleeTarget(const Character& caster, std::uint32_t& target, const WorldVec3& point,
                             bool useCasterPosition, float radius, bool noSearch);
    bool GetValidRangedTarget(const Character& caster, std::uint32_t& target,
                              const WorldVec3& point, bool flag, float radius);
    // With nobody else in the radius the caster is its own friend target.
    bool GetValidFriendTarget(const Character& caster, std::uint32_t& target,
                              const WorldVec3& point, bool useCasterPosition, float radius);
    bool NeedsAttackSlot() const { return mRangeProfile == Skill_RangeProfile::Melee; }
    SkillReason GetReason() const { return mReason; }
    bool IsNotEnoughMana() const { return mNotEnoughMana; }
    bool IsCoolingDown() const { return mCooldownRemaining > 0; }
    bool UseDefaultWhenUnavailable() const;
    float GetCooldownTime() const;
    float GetCooldownCompletion() const;
    int GetCooldownRemaining() const { return mCooldownRemaining; }
    int GetCooldownTotal() const { return mCooldownTotal; }
    void StartCooldown();
    float GetManaCost() const;
    // The mana cost of the level and the modifiers, before the character-wide reduction.
    float GetModifierManaCost() const;
    void SubtractManaCost();
    void SetIgnoreMana(bool ignore) {
        mIgnoreMana = ignore;
        ForgetQuiet();
    }
    bool QualifyingWeapon() const {
        // Most skills take any weapon.
        return mAnyWeapon || HoldsQualifyingWeapon();
    }
    // Skills that need a melee weapon in each hand (hand state 2).
    bool QualifyingHandState() const {
        return !mDualWeaponsOnly || (mManager && mManager->GetHandState() == 2);
    }
    bool IsQualifyingWeapons() const { return QualifyingWeapon() && QualifyingHandState(); }
    bool AllowDualWieldWeapons() const { return mDualWeaponsOnly && GetCurrentLevel() != 0; }

    // State and its replication.
    bool IsSkillEnabled() const { return mSkillState.enabled && mSkillState.level > 0; }
    bool IsControllingSkill() const { return mManager && mManager->GetSkillServices(); }
    void SendStateUpdate();
    void SendActiveStateUpdate();
    const SkillState& GetSkillState() const { return mSkillState; }
    const SkillActiveState& GetActiveState() const { return mActiveState; }
    void SetAsTempSkill(bool temporary) { mIsTemporary = temporary; }
    bool IsTempSkill() const { return mIsTemporary; }
    void SetAsItemSkill(bool item) { mIsItemSkill = item; }
    bool IsItemSkill() const { return mIsItemSkill; }
    bool IsDefaultSkill() const { return mIsDefaultSkill; }
    bool ShouldWpUseParentResources() const { return mWpUsesParentResources; }

    // Attached skills, by object id.
    void AddMastery(std::uint32_t id);
    std::uint32_t GetMasteryId() const { return mMasteryId; }
    bool IsSkillTheMasterySkill() const { return mMasteryId == 0; }
    void AddModifier(std::uint32_t id);
    void AddSecondarySkill(std::uint32_t id);
    void AddBaseSkill(std::uint32_t id);
    const std::vector<std::uint32_t>& GetModifiers() const { return mModifiers; }
    const std::vector<std::uint32_t>& GetSecondarySkills() const { return mSecondarySkills; }
    const std::vector<std::uint32_t>& GetBaseSkills() const { return mBaseSkills; }
    // Forward to each attached secondary skill that exists.
    void ActivateSecondarySkills(Character& character, std::uint32_t count,
                                 const std::vector<std::uint32_t>& targets,
                                 const WorldCoords& coords);
    void PrimaryActivateSecondarySkills(Character& character,
                                        const std::vector<std::uint32_t>& targets,
                                        const WorldCoords& coords);
    void PrimaryStopSecondarySkills(Character& character);
    bool GetModifierInfo(std::size_t index, std::string& name, std::uint32_t& level) const;
    std::string GetBaseNameText() const;
    std::wstring GetBaseNamesText() const;

    // The add-modifier family: each attached modifier skill adds its share.
    void AddModifierCharAttributes(CharAttributeAccumulator& accumulator);
    void AddModifierSkillAttributes(SkillAttributeAccumulator& accumulator) const;
    void AddModifierOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator);
    void AddModifierOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator);
    void AddModifierRetaliationAttributes(CombatAttributeAccumulator& accumulator);
    void AddModifierDefenseAttributes(CombatAttributeAccumulator& accumulator);
    void AddModifierRacialBonusDamage(const std::vector<std::string>& races,
                                      RacialBonus_Damage& bonus);
    void AddModifierRacialBonusDefense(const std::vector<std::string>& races,
                                       RacialBonus_Defense& bonus);
    // The skill's own share at its level and then its modifiers' (every collector of a skill
    // that contributes adds it this way).
    void AddOwnCharAttributes(CharAttributeAccumulator& accumulator);
    void AddOwnSkillAttributes(SkillAttributeAccumulator& accumulator);
    void AddOwnOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator);
    void AddOwnOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator);
    void AddOwnRetaliationAttributes(CombatAttributeAccumulator& accumulator);
    void AddOwnDefenseAttributes(CombatAttributeAccumulator& accumulator);
    void AddOwnRacialBonusDefense(const std::vector<std::string>& races,
                                  RacialBonus_Defense& bonus);
    ProjectileModifierStruct MakeProjectileModifier() const;

    // Presentation (sounds, effects, animations).
    void PlayWarmUpSound(const WorldVec3& where);
    void PlayActivateSound(const WorldVec3& where);
    void PlayDeactivateSound(const WorldVec3& where);
    void PlayCastSound(const WorldVec3& where);
    void PlayUnCastSound(const WorldVec3& where);
    // At the owner's position: the cast (activate) sound when on, the un-cast (deactivate) one
    // when off.
    void PlayCastSounds(bool on);
    void PlayActivatedSounds(bool on);
    void ApplyCastVisualEffects(Character& character, bool on);
    void ApplyActivatedVisualEffects(Character& character, bool on);
    void ApplyBuffSelfEffects(Character& character, bool on);
    void ApplyBuffOtherEffects(Character& character, bool on);
    void ApplyActiveWorldVisualEffects(Character& character, bool on);
    const std::string& GetBuffSelfCharFxPakName() const;
    const std::string& GetBuffOtherCharFxPakName() const;
    Prop* GetProp1() const;
    Prop* GetProp2() const;
    bool IsPetDisplayable() const;
    float GetPetExtents() const;
    Character* GetPetTemplate() const;
    Character* GetNextPetTemplate() const;
    bool StartSpecialAnimation(Character& character, float speed, bool flag);
    bool StartNormalAnimation(Character& character, int type, const Name& name, float speed, int a,
                              int b);
    void CaptureAnimationRagDollInfo(Character& character);
    WorldCoords GetCoordsFromCallback(const Character& character, const Name& event) const;
    std::uint32_t GetEffectHandle(std::size_t index) const { return mEffectHandles[index]; }
    const std::string& GetEndBuffOtherFxPakName() const;
    void CreateUIPetText(std::vector<GameTextLine>& lines) const;

protected:
    // Where GetCurrentLevel reads the level: the bought level raised by augments up to the
    // ultimate level, the active state's sub-level (buffs), or always 1.
    enum class LevelSource : std::uint8_t { Bought, ActiveSubLevel, Fixed };
    void SetLevelSource(LevelSource source) {
        mLevelSource = source;
        ForgetQuiet();
    }
    void SetTotalHasOtherParts(bool other) {
        mTotalHasOtherParts = other;
        mCostKept = false;
        ForgetQuiet();
    }
    // The weapon kinds say at construction that their (final) Update is UpdateAsWeapon.
    void MarkUpdatesAsWeapon() {
        mUpdatesAsWeapon = true;
        ForgetQuiet();
    }
    // Pooled attacks are never held back by mana or cooldown.
    void IgnoreManaAndCooldown() {
        mIgnoresManaAndCooldown = true;
        ForgetQuiet();
    }
    // Weapon kinds reach as far as the owner's weapon: a ranged one its range, else melee.
    // Inline: every weapon skill follows it every frame.
    void FollowWeaponRange() {
        if (!mManager)
            return;
        mRangedWeapon = mManager->IsRangedWeapon();
        mRangeProfile =
            mRangedWeapon ? mManager->GetWeaponRangeProfile() : Skill_RangeProfile::Melee;
        ForgetQuiet();
    }
    bool HoldsRangedWeapon() const { return mRangedWeapon; }
    // Calls fn on every attached modifier skill that still exists. The modifier kinds live in
    // files of their own, so they are found by class name. Allocates nothing: it runs per attack.
    template <class Fn>
    void ForEachModifier(Fn fn) const {
        for (std::uint32_t id : mModifiers)
            if (Object* object = FindObjectOfClass(id, "Skill_Modifier"))
                fn(*static_cast<Skill*>(object));
    }
    void SetRepeatable(bool repeatable) { mRepeatable = repeatable; }
    void SetRangeProfile(Skill_RangeProfile profile) {
        mRangeProfile = profile;
        ForgetQuiet();
    }
    void SetSkillType(int type) { mSkillType = type; }
    void SetDisruptionApplies(bool applies) { mDisruptionApplies = applies; }
    // A text of the program's own (it outlives the skill).
    void SetTypeText(const char* text) { mTypeText = text; }
    void SetUseDefaultWhenUnavailable(bool outOfMana, bool coolingDown) {
        mDefaultWhenOutOfMana = outOfMana;
        mDefaultWhenCoolingDown = coolingDown;
    }
    void SetPrimary(bool primary) { mIsPrimary = primary; }
    void SetResourceName(const Name& name) { mResourceName = name; }
    void SetReason(SkillReason reason) {
        mReason = reason;
        ForgetQuiet();
    }
    // Tells the user interface that the skill switched on or off; headless, the skill keeps
    // what it last told (IsUINotifiedActive).
    void NotifyUIOnActivate() { mUINotifiedActive = true; }
    void NotifyUIOnDeactivate() { mUINotifiedActive = false; }
    void SetSecondary(bool secondary) { mIsSecondary = secondary; }
    void SetDefaultSkill(bool isDefault) { mIsDefaultSkill = isDefault; }
    void SetWpUsesParentResources(bool uses) {
        mWpUsesParentResources = uses;
        ContributionChanged();
    }
    // An effect pack from the record at the point, unturned; nothing for an empty name.
    static void CreateFxPak(const std::string& name, const WorldVec3& where);
    // Kinds that act whenever something else does (secondary skills, weapon pools) start
    // enabled; the controlling machine's update may change it.
    void MarkEnabled() {
        mSkillState.enabled = true;
        ForgetQuiet();
        ContributionChanged();
    }
    // Every change of what the skill adds to its character's attributes comes through here.
    void ContributionChanged() {
        if (mManager)
            mManager->CharAttributesChanged();
    }

public:
    std::string_view GetTypeText() const { return mTypeText; }
    bool IsUINotifiedActive() const { return mUINotifiedActive; }

private:
    // Only a manager's walk marks its skills (mManager is then that manager): the manager learns
    // of the write without reading the skills.
    void ForgetQuiet() const {
        if (mQuiet) {
            mQuiet = false;
            mManager->WalkSkillWritten();
        }
    }
    static const SkillProfile& FallbackProfile();
    std::uint32_t BoughtLevel() const {
#ifndef NDEBUG
        CheckKeptUltimateLevel();
#endif
        // Summed wide: a large augmentation must not wrap around to a low level.
        const std::uint64_t level = std::uint64_t{mSkillState.level} + mAugmentedLevel;
        return static_cast<std::uint32_t>(std::min<std::uint64_t>(level, mUltimateLevel));
    }
    // The profile's weapon rules and ultimate level, kept with the profile: read by every
    // availability test, which then never reads the profile's lines.
    void KeepProfileRules();
    // Whether both parts of the mana cost were just kept: the modifiers' cost and a reduction
    // total that rolled nothing.
    bool ManaCostPartsKept(const Character& owner) const;
    static float ReducedManaCost(float cost, float reduction) {
        return std::max(0.0f, (1.0f - reduction * 0.01f) * cost);
    }
    // The skill's and its modifiers' attribute sum for `type`, rolled from `seed`; `drew` says
    // whether the gathering rolled.
    float SumOwnSkillAttribute(SkillAttributeType type, std::uint32_t seed, bool& drew) const;
    // The slow paths, out of line so that the kept answers' tests stay small.
    [[gnu::noinline]] float RefreshOwnSkillAttribute(SkillAttributeType type, std::uint32_t seed,
                                                     const Character* owner) const;
    [[gnu::noinline]] float RefreshModifierManaCost(const Character* owner) const;
    // GetManaCost's and SetAvailability's bodies, and Update's with either test; defined in
    // SkillUpdate.h.
    inline float KeptOrFreshManaCost() const;
    inline bool BaseAvailability(bool ignoreMana, bool ignoreCooldown);
    template <bool BaseTest>
    inline void RunDown(int ms);
    [[gnu::noinline]] float RefreshManaCost(const Character* owner) const;
    [[gnu::noinline]] bool HoldsQualifyingWeapon() const;
#ifndef NDEBUG
    void CheckKeptManaCost(std::uint32_t seed) const;
    void CheckKeptUltimateLevel() const;
#endif

    enum SoundSlot : std::size_t {
        WarmUpSound,
        SwipeSound,
        HitSound,
        ActivateSound,
        DeactivateSound,
        CastSound,
        UnCastSound,
        SkillSound1,
        SkillSound2,
        SoundCount
    };
    // The sound packs the skill made, by slot, kept by id; destroyed with the skill, last slot
    // first.
    class SoundPaks {
    public:
        SoundPaks() = default;
        ~SoundPaks();
        SoundPaks(const SoundPaks&) = delete;
        SoundPaks& operator=(const SoundPaks&) = delete;
        SoundPak* Get(std::size_t slot) const;
        // Destroys the pack held (when it still lives) and holds the new one.
        void Reset(std::size_t slot, SoundPak* pak);

    private:
        std::array<std::uint32_t, SoundCount> mIds{};
    };
    void PlaySound(SoundSlot slot, const WorldVec3& where);
    void LoadSounds();
    void ToggleParticleEffect(Character& character, std::size_t slot, const std::string& name,
                              const std::string& attachPoint, bool on);
    void HandBuffEffects(const std::vector<std::string>& names);

    // What a frame's update reads leads the object (PrefetchUpdateLines asks for it): within
    // 96 bytes, two lines wherever a 32-byte aligned block puts it.
    SkillManagerBase* mManager = nullptr;
    SkillState mSkillState;
    int mCooldownRemaining = 0;
    std::uint32_t mAugmentedLevel = 0;
    std::uint32_t mUltimateLevel = 0;  // the profile's
    SkillReason mReason = SkillReason::Available;
    Skill_RangeProfile mRangeProfile = Skill_RangeProfile::Melee;
    bool mNotEnoughMana = false;
    bool mCoolingDown = false;
    bool mWeaponNotQualifying = false;
    bool mHandStateNotQualifying = false;
    bool mIgnoreMana = false;
    LevelSource mLevelSource = LevelSource::Bought;
    bool mAnyWeapon = true;
    bool mDualWeaponsOnly = false;
    bool mRangedWeapon = false;
    bool mTotalHasOtherParts = false;
    // GetManaCost's answer, good while the character's change count stays at mCostInputs and
    // the manager's stamp at mCostStamp.
    mutable bool mCostKept = false;
    bool mIgnoresManaAndCooldown = false;
    bool mUpdatesAsWeapon = false;
    // KeepQuiet's mark, in the padding before the counts.
    mutable bool mQuiet = false;
    mutable std::uint32_t mCostInputs = 0;
    mutable std::uint32_t mCostStamp = 0;
    mutable float mCost = 0.0f;
    SkillActiveState mActiveState;

    // GetModifierManaCost's answer, good while the character's change count stays at
    // mManaCostInputs (every level, state and modifier change moves it).
    mutable bool mManaCostKept = false;
    // The skill's own part of GetTotalSkillAttribute for mOwnAttributeType, kept the same way
    // while its gathering rolls nothing.
    mutable bool mOwnAttributeKept = false;
    // The kept own part plus the manager's, good while that part is kept and the manager's
    // stamp stays at mTotalStamp.
    mutable bool mTotalKept = false;
    mutable std::uint32_t mManaCostInputs = 0;
    mutable float mManaCost = 0.0f;
    mutable SkillAttributeType mOwnAttributeType{};
    mutable std::uint32_t mOwnAttributeInputs = 0;
    mutable float mOwnAttribute = 0.0f;
    mutable std::uint32_t mTotalStamp = 0;
    mutable float mTotal = 0.0f;

    const SkillProfile* mProfile = nullptr;
    Name mResourceName;
    const char* mTypeText = "^r--- Invalid Type ----";
    int mSkillType = 0;
    bool mIsPrimary = false;
    bool mIsSecondary = false;
    bool mRepeatable = true;
    bool mDefaultWhenOutOfMana = false;
    bool mDefaultWhenCoolingDown = false;
    bool mDisruptionApplies = false;
    bool mWpUsesParentResources = true;
    bool mIsDefaultSkill = false;
    bool mUINotifiedActive = false;
    std::uint32_t mMasteryId = 0;
    int mCooldownTotal = 0;
    std::vector<std::uint32_t> mModifiers;
    std::vector<std::uint32_t> mSecondarySkills;
    std::vector<std::uint32_t> mBaseSkills;
    SoundPaks mSounds;
    // Particle effects 1 to 3 and the warm-up effect.
    std::array<std::uint32_t, 4> mEffectHandles{};
    OwnedObject<Prop> mProp1{kSourceFile};
    OwnedObject<Prop> mProp2{kSourceFile};
    // How the clip the skill started last throws a body (clips live as long as the machine);
    // null when it says nothing.
    const AnimationRagDoll* mAnimationRagDoll = nullptr;
    std::uint32_t mActiveWorldAura = 0;
    std::uint32_t mCastAuraHandle = 0;
    std::uint32_t mActivatedAuraHandle = 0;
    // The profile's effect pack to make when the buff on another ends; null when none is due.
    const std::string* mEndBuffOtherFxPak = nullptr;
    bool mIsTemporary = false;
    bool mIsItemSkill = false;
    OwnedObject<Character> mPetTemplate{kSourceFile};
    OwnedObject<Character> mNextPetTemplate{kSourceFile};
};

}  // namespace GAME
