#pragma once
// The actor of every living creature: the player, monsters, non-player characters. It owns its
// biography (vitals and attributes), its level and experience, its play statistics and its
// state, and is the one door through which combat payloads, bonuses and the frame act on it.
// Parts that belong to later subsystems (skill manager, controller, inventory) are reached
// through seams that log once and do nothing. Its operations are defined by concern: record and
// frame (Character.cpp), vitals, states, death and experience (CharacterVitals.cpp), combat hooks,
// speeds and skills (CharacterCombat.cpp), effect packs and record sounds (CharacterEffects.cpp),
// own and net sounds (CharacterSounds.cpp), spawn effect and pose (CharacterPose.cpp), ragdoll
// and physics type (CharacterPhysics.cpp), items and equipment (CharacterEquipment.cpp),
// restoring a saved or replicated state (CharacterRestore.cpp), animations (anim/), movement
// and targets (movement/). What it holds is declared in CharacterFields.h.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Engine/object/Object.h"
#include "Engine/sys/GameTimer.h"
#include "Engine/world/WorldShapes.h"
#include "Game/characters/CharacterEffects.h"
#include "Game/characters/CharacterFields.h"
#include "Game/characters/CharacterStates.h"
#include "Game/characters/anim/AnimationSet.h"
#include "Game/characters/anim/AnimationSound.h"
#include "Game/characters/bio/CharacterBio.h"
#include "Game/characters/bio/ExperienceLevelControl.h"
#include "Game/characters/monster/MonsterLoot.h"
#include "Game/characters/stats/PlayStats.h"
#include "Game/core/players/Team.h"
#include "Game/core/util/EnumConverter.h"
#include "Game/items/GameTextLine.h"
#include "Game/items/loot/RandomizerWeightModifiers.h"
#include "Game/rules/combat/CombatCharacter.h"
#include "Game/rules/combat/CombatManager.h"
#include "Game/rules/duration/DurationDamageOwner.h"
#include "Game/skills/auras/AuraManager.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/profile/CharacterBuff.h"
#include "Game/world/effects/CharFxPak.h"
#include "Game/world/effects/PFxManager.h"

namespace GAME {

class Item;
class Prop;
struct InventoryReplica;
class Bonus;
class Name;
class GraphicsAnim;
class ParametersCombat;
class CombatFilter;
struct SkillBuffTransfer;
enum class Weapon_Type : std::int32_t;
class Path;
class SoundPak;
class SkeletalPose;
class Skill;
struct CollisionData;
struct PathGenerationParams;

struct ProjectileInfo;

class Character : public Actor,
                  public CombatCharacter,
                  public DurationDamageOwner,
                  public CharacterFields {
    RTTI_DECLARE(Character)
    // Tests set up what only the equipment, skills and summoning would set in play.
    friend struct test::CharacterTestAccess;

public:
    static constexpr std::uint32_t kMaxMoney = 2000000000u;

    Character();
    ~Character() override;

    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void InitialUpdate() override;
    void UpdateSelf(int ms) override;
    bool ShouldServerSpawn() const override { return true; }
    // Out of the world and destroyed.
    void DestroyMe();
    // After UpdateSelf, once per frame: regeneration, skills and the controller.
    virtual void PreAnimationUpdate(int ms);
    // Ask for what the next update (self, or before animation) reads, ahead of the call: first
    // the character's own lines, then (once those arrived) the objects they point to.
    void PrefetchOwnLines(bool preAnimation) const;
    void PrefetchFrameData(bool preAnimation) const;
    // A kind's own frame fields, asked for with the frame data (the class is known by then).
    virtual void PrefetchKindLines() const {}
    void PrefetchPointedData(bool preAnimation) const;

    // Team: the invisible team while invisible. Inline: a crowd's searches ask it of everyone
    // they meet; only a kind that marked its team derived is asked through the hook.
    Team GetTeam() const;
    // The team the character holds, as its digest copies it.
    Team GetOwnTeam() const { return mInvisible ? TeamManager::InvisibleTeam() : mTeam; }
    virtual void SetTeam(const Team& team);
    void SetInvisible(bool invisible) {
        mInvisible = invisible;
        RefreshDigest();
    }
    bool IsInvisible() const { return mInvisible; }

    // Life and action states (CharacterVitals.cpp).
    virtual void SetLifeState(Character_LifeState state) {
        mLifeState = state;
        RefreshDigest();
    }
    virtual Character_LifeState GetLifeState() const { return mLifeState; }
    virtual const char* GetLifeStateAsText() const { return GetLifeStateText(mLifeState); }
    virtual void SetActionState(Character_ActionState state) { mActionState = state; }
    virtual Character_ActionState GetActionState() const { return mActionState; }
    static const char* GetActionStateAsText(Character_ActionState state) {
        return GetActionStateText(state);
    }
    const char* GetActionStateAsText() const { return GetActionStateText(mActionState); }
    // Inline: the crowd's searches ask them of every character they meet.
    bool IsAlive() const {
        return !mObserver && (mLifeState == Character_LifeState::Alive ||
                              mLifeState == Character_LifeState::Unknown);
    }
    bool IsHiding() const {
        return !IsVisible() || mHiddenFromCombat || mLifeState == Character_LifeState::Unknown;
    }
    virtual bool IsImmobilized() const { return mActionState == Character_ActionState::Immobilize; }
    bool IsMoving() const;
    bool IsTrapped() const { return mTrapped; }
    void SetInitialStateInfo(Character_ActionState state, const WorldVec3& pathTarget,
                             std::uint32_t attackTarget, std::uint32_t attackSkill);

    virtual void ExecuteStun();
    virtual void ReleaseStun();
    virtual void ExecuteImmobilize();
    virtual void ReleaseImmobilize();
    virtual void ExecuteTrap();
    virtual void ReleaseTrap();
    virtual void CharacterStop();
    void BeginStun();
    void EndStun();
    void BeginImmobilize();
    void EndImmobilize();
    void BeginFreeze() { BeginImmobilize(); }
    void EndFreeze() { EndImmobilize(); }
    void BeginPetrify() { BeginImmobilize(); }
    void EndPetrify() { EndImmobilize(); }
    void BeginTrap();
    void EndTrap();

    // Death and respawn.
    virtual void ImDying();
    virtual void ImDead();
    virtual void CharacterIsDying();
    virtual void CharacterHasDied() {}
    virtual void UnderAttack(std::uint32_t attacker);
    virtual void AllyAttacked(std::uint32_t a, std::uint32_t b);
    virtual void StartRespawn(const WorldCoords& coords);
    virtual void StopRespawn();
    virtual void TeleportToLocation(const WorldCoords& coords);
    void RestoreLifeState();
    const WorldCoords& GetSpawnPoint() const { return mSpawnPoint; }
    void SetSpawnPoint(const WorldCoords& coords) { mSpawnPoint = coords; }
    bool IsTeleporting() const { return mTeleporting; }
    void SetTeleporting(bool teleporting) { mTeleporting = teleporting; }
    virtual bool ShouldUseDistressCall() const;
    void DoDistressCall(std::uint32_t attacker);
    // Room for the calling thread's calls for help over a world of `population` entities.
    static void ReserveDistressLists(std::size_t population);

    // Vitals.
    float GetCurrentLife() const override { return mBio.GetCurrentLife(); }
    int GetCurrentLifeInt() const;
    float GetPotentialLife() const { return mBio.GetLifePotential(); }
    float GetLifeLimit() const { return mBio.GetLifeLimit(); }
    float GetCurrentMana() const final { return mBio.GetCurrentMana(); }
    float GetPotentialMana() const { return mBio.GetManaPotential(); }
    float GetReserveMana() const { return mBio.GetManaReserve(); }
    float GetManaLimit() const { return mBio.GetManaLimit(); }
    float GetTotalMana() const override { return mBio.GetManaLimit(); }
    void SetCurrentMana(float value) { mBio.AddManaFast(value - GetCurrentMana()); }
    void SubtractLife(float amount, const PlayStatsDamageType& type);
    void SubtractMana(float amount) override;
    void AddLifeSlow(float amount, PlayStatsLifeType type);
    void AddManaSlow(float amount) { mBio.AddManaSlow(amount); }
    void ReloadCharacterBio() { mBio.ReloadValues(); }

    // Attributes.
    float GetTotalCharAttribute(CharAttributeType type) const { return mBio.GetAttribute(type); }
    float GetTotalCharModifier(CharAttributeType type) const { return mBio.GetModifier(type); }
    void GetBaseCharAttributes(CharAttributeAccumulator& accumulator) const {
        mBio.GetBaseCharAttributes(accumulator);
    }
    void IncrementBaseAttribute(CharAttributeType type, float amount) {
        mBio.IncrementBaseAttribute(type, amount);
    }
    // The sources of the biography's totals beyond its own base store.
    virtual void GetEquipCharAttributes(CharAttributeAccumulator& accumulator);
    virtual void GetSkillCharAttributes(CharAttributeAccumulator& accumulator);
    virtual void ContributeItemSetCharAttributes(CharAttributeAccumulator& accumulator);
    virtual void ContributeGameBalanceCharAttributes(CharAttributeAccumulator&) {}
    // Counts the changes of those sources, so the biography keeps its totals between them.
    void CharAttributeInputsChanged() { ++mCharAttributeInputs; }
    std::uint32_t GetCharAttributeInputs() const { return mCharAttributeInputs; }
    virtual void ContributeGameBalanceDefenseAttributes(CombatAttributeAccumulator&) {}
    virtual void ContributeGameBalanceSkillAttributes(SkillAttributeAccumulator&) {}
    virtual void ContributeGameBalanceOffensiveDamageAttributes(CombatAttributeAccumulator&) {}
    virtual void ContributeGameBalanceOffensiveModifierAttributes(CombatAttributeAccumulator&) {}
    // What the character strikes back with when it is hit in melee.
    virtual void GetEquipRetaliationAttributes(CombatAttributeAccumulator& accumulator);
    virtual void ContributeItemSetRetaliationAttributes(CombatAttributeAccumulator& accumulator);
    virtual void ContributeGameBalanceRetaliationAttributes(CombatAttributeAccumulator&) {}
    void GetAllDefenseAttributes(CombatAttributeAccumulator& accumulator);

    // Speeds.
    float GetRunSpeed() const;
    float GetAttackSpeed() const;
    float GetSpellCastSpeed() const;
    float CapAbsoluteRunSpeed(float speed) const;
    // Every speed cap of the game record: the caps are percentages of the base total of the
    // speed's attribute; a cap of 0 or less leaves the speed as it is, and a maximum below the
    // minimum wins (the engine's Clamp).
    float CapSpeedToBase(float speed, float capMin, float capMax, CharAttributeType base) const;
    virtual float CapRunSpeed(float speed) const { return speed; }
    virtual float CapSpellCastSpeed(float speed) const { return speed; }
    virtual float CapAttackSpeed(float speed) const { return speed; }
    // The equipment's hand state (EquipManager_HandState), as last handed to SetAnimation; two
    // melee weapons (2) halve the base attack speed.
    int GetHandState() const { return mHandState; }

    // Cheats and modes.
    void SetInvincible(bool on) { mInvincible = on; }
    bool IsInvincible() const override { return mInvincible; }
    void SetGod(bool on) { mGod = on; }
    bool IsGod() const { return mGod; }
    void SetOmnipotent(bool on) { mOmnipotent = on; }
    bool IsOmnipotent() const { return mOmnipotent; }
    void SetObserverMode(bool on) {
        mObserver = on;
        RefreshDigest();
    }
    void SetObserverCheatMode(bool on) { mHiddenFromCombat = on; }

    // Combat (CharacterCombat.cpp).
    virtual bool TakeAttack(ParametersCombat& parameters);
    std::uint32_t GetAttackerId() const { return mAttackerId; }
    bool IsUnderAttack() const;
    virtual float GetChanceToHit(const Skill*) const { return 0.0f; }

    // The combat rules' view of this character.
    std::uint32_t GetCombatObjectId() const override { return GetObjectId(); }
    unsigned int GetCharLevel() const override { return mExperience.GetLevel(); }
    float DesignerCalculateElementalDamage(float damage) const override {
        return mCombatManager->DesignerCalculateElementalDamage(damage);
    }
    float DesignerCalculateElementalDurationDamage(float damage) const override {
        return mCombatManager->DesignerCalculateElementalDurationDamage(damage);
    }
    float DesignerCalculatePhysicalDamage(float damage) const override {
        return mCombatManager->DesignerCalculatePhysicalDamage(damage);
    }
    float DesignerCalculatePierceDamage(float damage) const override {
        return mCombatManager->DesignerCalculatePierceDamage(damage);
    }
    float DesignerCalculatePhysicalDamageDefense(float physical, float protection,
                                                 float absorbedProtection,
                                                 float armorBonus) const override;
    float DesignerCalculateShieldBlockDamageReduction(float damage, float shieldDefense,
                                                      float shieldAbsorption) const override;
    float GetDefenseAttributeCap() const override { return 0.0f; }
    CombatManager& GetCombatManager() const { return *mCombatManager; }
    float GetCombatRegionChance(CombatAttributeRegion region) const {
        return mCombatManager->GetRegionChance(region);
    }
    void ApplyDamage(float damage, const PlayStatsDamageType& kind,
                     CombatAttributeType type) override;
    void AddDurationDamage(CombatAttributeType type, float amount, float duration) override;
    void AddFixedDurationDamage(CombatAttributeType type, float amount, float duration) override;
    void CombatExertInfluenceTaunt(float amount) override;
    void CombatExertInfluenceFear(int ms) override;
    void CombatExertInfluenceConfusion(int) override {}
    void CombatAddCooldownDamage(int ms) override;
    void CombatAddLifeLeechDamage(float amount) override;
    void JoinMe(std::uint32_t, int, bool) override {}

    // Lasting effects of attacks (damage over time, slows, stuns).
    DurationDamageManager& GetDurationDamageManager() {
        return mCombatManager->GetDurationDamageMgr();
    }
    bool IsPoisoned() const { return mCombatManager->IsPoisoned(); }
    float GetOffensiveReduction() const { return mCombatManager->ContributeOffensiveReduction(); }
    float GetTotalDamageReductionPercent() const {
        return mCombatManager->ContributeTotalDamageReductionPercent();
    }
    float GetTotalDamageReductionAbsolute() const {
        return mCombatManager->ContributeTotalDamageReductionAbsolute();
    }
    float GetFumbleDamage() const { return mCombatManager->ContributeFumbleDamage(); }
    float GetProjectileFumbleDamage() const {
        return mCombatManager->ContributeProjectileFumbleDamage();
    }
    void StartDamageEffect(CombatAttributeType type) override;
    void StopDamageEffect(CombatAttributeType type) override;
    void StartInvoluntaryEffect(CombatAttributeType type) override;
    void StopInvoluntaryEffect(CombatAttributeType type) override;
    // Taken only while alive unless forced, so the killing blow keeps the reaction of the last
    // hit taken alive; the record's overrides then apply (CharacterPhysics.cpp).
    void SetRagdollData(const CharacterRagDoll::EffectData& data, bool force) override;
    const CharacterRagDoll::EffectData& GetRagdollData() const { return mRagdollData; }
    bool IsSkillSpeedUpdateNeeded() const override;
    // Recomputes the speeds.
    void ForceSpeedUpdate() override;
    void SetCombatAttacker(std::uint32_t attacker) override;
    bool ApplyCombatDamage(float damage, const PlayStatsDamageType& kind,
                           CombatAttributeType type) override;
    void GiveCombatBonus(const Bonus& bonus, std::uint32_t attacker) override;

    // Level and experience.
    std::uint32_t GetExperiencePoints() const { return mExperience.GetExperiencePoints(); }
    void ReceiveExperience(std::uint32_t amount, bool quiet = false);
    void IncrementCharLevel();
    // What killing this character is worth: the root's reward over its level and experience.
    std::uint32_t GetExperienceReward() const;
    std::uint32_t GetModifierPoints() const { return mExperience.GetModifierPoints(); }
    std::uint32_t GetSkillPoints() const { return mExperience.GetSkillPoints(); }
    void IncrementBaseStrength();
    void IncrementBaseDexterity();
    void IncrementBaseIntelligence();
    void IncrementBaseLife();
    void IncrementBaseMana();
    void IncrementBaseLife(int points);
    void IncrementBaseMana(int points);
    virtual void TakeBonus(const Bonus& bonus, bool slow, int lifeType);
    // Characters in general take nothing; players carry what they pick up.
    virtual bool GiveItemToCharacter(Item& item);
    // Uses up a one-shot this character carries (nothing for any other item or carrier).
    void UseInventoryItem(std::uint32_t itemId, bool destroy);
    // Carried and worn items (CharacterEquipment.cpp). Equipping takes the item out of the
    // inventory; unequipping puts it back.
    Inventory& GetInventory() const { return *mInventory; }
    // Made when the character first puts a garment on.
    GarmentManager& GetGarmentManager() const;
    EquipManager& GetEquipManager() const { return mCombatManager->GetEquipManager(); }
    virtual void AttachItemAction(std::uint32_t itemId, std::uint32_t location);
    virtual void DetachItemAction(std::uint32_t itemId);
    void AttachItem(Item* item, std::uint32_t location);
    bool HasItem(std::uint32_t itemId) const;
    bool HasItem(const std::string& recordName) const;
    void TakeItemFromCharacter(std::uint32_t itemId);
    virtual void NotifyControllerItemRemovedFromInventory(std::uint32_t) {}
    bool GetChangeOfEquipmentNotification() { return std::exchange(mChangeOfEquipment, false); }
    void AddEquipmentProp(Prop* prop);
    void RemoveEquipmentProp(std::uint32_t propId);
    void SetWeaponEnchantment(const std::string& name);
    void AllowDualWieldWeapons(bool allow);
    // By the equipment's hand state: 0 nothing held, 2 two melee weapons.
    bool IsUnarmed() const;
    bool IsWieldingDualWeapons() const;
    float GetWeaponScale() const { return mWeaponScale; }
    // Item sets worn: member record names (lower case) by set name.
    void AddItemToSet(const std::string& set, const std::string& item);
    void RemoveItemFromSet(const std::string& set, const std::string& item);
    std::vector<std::string> GetItemsInSet(const std::string& set) const;
    std::size_t GetNumberOfItemsInSet(const std::string& set) const;
    void ContributeItemSetSkillAttributes(SkillAttributeAccumulator& accumulator);
    void ContributeItemSetDefenseAttributes(CombatAttributeAccumulator& accumulator);
    void ContributeItemSetOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator);
    void ContributeItemSetOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator);
    void GetEquipSkillAttributes(SkillAttributeAccumulator& accumulator);
    void GetEquipArmorDamageAttributes(CombatAttributeAccumulator& accumulator);
    void GetEquipOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator);
    // The network image: carried items (location 0), then worn ones with their locations.
    void GetInventoryReplica(std::vector<InventoryReplica>& out) const;
    void SetInventoryReplica(const std::vector<InventoryReplica>& replicas);
    // Into the world from the left hand, tossed up (CharacterDrops.cpp); x and z go unused.
    virtual void DropItem(Item* item, float x, float z);
    // A worn item falls where it is worn; the id is zeroed in every case.
    void DropItemFromEquipLocation(std::uint32_t& itemId, std::uint32_t location, bool physics);
    void UseRelic(std::uint32_t relicId, std::uint32_t targetId);
    // Generated equipment (CharacterLoot.cpp), the same on every machine from the seed and ids.
    virtual bool ShouldLoadLoot() const { return false; }
    void LoadLootFromSeed(std::uint16_t seed, std::uint16_t level);
    void LoadLootFromStruct(const LootStruct& loot);
    const LootStruct& GetLootStruct() const { return mLoot; }
    const RandomizerWeightModifiers& GetLootWeightModifiers() const { return mLootWeightModifiers; }

    // A pet or summon keeps its master's object id (0: none); its damage counts for the master.
    std::uint32_t GetMasterId() const { return mMasterId; }
    void SetMasterId(std::uint32_t id) { mMasterId = id; }
    std::uint32_t GetControllerId() const { return mControllerId; }
    void SetControllerId(std::uint32_t id) { mControllerId = id; }
    // The controller and its class record (null, untouched: none), read back from where it was
    // last found while its slot holds it (debug builds look it up afresh and compare).
    Object* FindControllerObject(const RTTI_ClassInfo*& classInfo) const;

    // 1: male; see Character_Gender.
    int GetGender() const { return static_cast<int>(mGender); }
    void SetGender(int gender) { mGender = static_cast<Character_Gender>(gender); }
    const std::vector<std::string>& GetRace() const { return mRaces; }
    CharacterPathingSize GetPathingSize() const { return mPathingSize; }
    // Size-dependent game-wide fields are read at this index.
    std::size_t GetEffectIndex() const { return static_cast<std::size_t>(mPathingSize); }
    // Twice as heavy while standing.
    float GetPathMass() const { return IsMoving() ? mPathMass : mPathMass * 2.0f; }
    void SetPathMass(float mass) { mPathMass = mass; }
    // A kind may never anger anyone, whatever its record or its states say.
    virtual bool CausesAnger() const { return mCausesAnger; }
    void SetCausesAnger(bool on) {
        mCausesAnger = on;
        RefreshDigest();
    }
    float GetAngerMultiplier() const { return mAngerMultiplier; }
    const std::string& GetDeleteBehavior() const { return mDeleteBehavior; }
    const std::string& GetActorToSpawnOnDeath() const { return mActorToSpawnOnDeath; }
    bool ShouldWaitForCallbackToSpawn() const { return mWaitForCallbackToSpawn; }
    const std::string& GetDeathEffect() const { return mDeathEffect; }
    const std::string& GetActorToSpawnForMyBones() const { return mActorToSpawnForMyBones; }
    const std::string& GetDissolveEffect() const { return mDissolveEffect; }
    const std::string& GetDissolveLight() const { return mDissolveLight; }
    float GetDissolveTime() const { return mDissolveTime; }
    const std::string& GetDissolveTexture() const { return mDissolveTexture; }
    int GetDissolveColorRed() const { return mDissolveColor[0]; }
    int GetDissolveColorGreen() const { return mDissolveColor[1]; }
    int GetDissolveColorBlue() const { return mDissolveColor[2]; }
    bool ShouldDoLateCrumple() const { return mDoLateCrumple; }
    const std::string& GetRagDollBehaviorOverride() const { return mOverrideRagdollBehavior; }
    float GetRagDollSpeedOverride() const { return mOverrideRagdollSpeed; }
    virtual bool ShouldDoRagDoll() const;
    // The body under physics: type 3 builds the ragdoll (CreatePhysicsObject) and switches it on;
    // another type switches it off.
    int GetPhysicsType() const { return mPhysicsType; }
    void CreatePhysicsObject();
    // Null until the body first fell limp.
    CharacterRagDoll* GetRagDoll() const { return mRagDoll.get(); }
    // Null until InitialUpdate.
    DeathManager* GetDeathManager() const { return mDeathManager.get(); }
    const std::string& GetPortraitName() const { return mPortraitName; }
    std::uint32_t GetFrameElapsed() const { return mFrameElapsed; }
    int GetDistressCallsLeft() const { return mDistressCallsLeft; }

    const std::string& GetGoldGenerator() const { return mGoldGenerator; }
    float GetGoldGeneratorChance() const { return mGoldGeneratorChance; }

    std::uint32_t GetMoney() const { return mMoney; }
    void AddMoney(std::uint32_t amount);
    std::uint32_t SubtractMoney(std::uint32_t amount);

    // Appends the record names of the skills active on the character.
    void GetActiveStatusSkills(std::vector<std::string>& names) const;

    // The sound packs of the record, in member order (footsteps and running, then attack to
    // splash); null when the record names none.
    SoundPak* GetSoundPak(SoundSlot slot) const;
    std::uint32_t GetSpawnSoundId() const { return mSpawnSoundId; }

    // The damage effect packs (cold .. fumble), then the fire and poison buff packs.
    CharFxPak& GetEffectPack(std::size_t index);
    // The absorption effect of a combat attribute type, or null.
    const CharacterDamageFx* GetAbsorptionEffect(CombatAttributeType type) const;
    // Each absorption kind shows at most once per attack: an attack resets and arms them, its
    // damage fires them, its end disarms them.
    virtual void FireAbsEffect(CombatAttributeType type);
    virtual void ResetAbsEffects();
    virtual void DisarmAbsEffects();
    bool AreAbsEffectsArmed() const { return mAbsEffectsArmed; }

    // The racial damage bonus the character's items, skills and the given weapon grant against
    // any of the races.
    void ContributeRacialBonusDamage(const std::vector<std::string>& races, std::uint32_t weaponId,
                                     RacialBonus_Damage& damage);
    // The racial defense the character's items and skills grant against any of the races.
    virtual void ContributeRacialBonusDefense(const std::vector<std::string>& races,
                                              RacialBonus_Defense& defense);
    // A melee hit's sound: a draw of the machine's C-runtime generator against
    // "impactSoundChance".
    virtual void PlayImpactSound();
    virtual SoundPak* GetCriticalHitSound() const { return GetSoundPak(CriticalHitSound); }
    virtual SoundPak* GetAttackSound() const { return GetSoundPak(AttackSound); }
    virtual SoundPak* GetSwipeSound() const { return GetSoundPak(SwipeSound); }

    // Sounds (CharacterSounds.cpp).
    void PlayAttackSound();
    void PlayLootSound();
    // Sounds once when life falls to the trigger level, again only after it climbed back to the
    // reset level (both percent of the life limit); tells the controller each time.
    virtual void PlayLowHealthSoundIfNeeded(float currentLife);
    bool IsLowHealthLatched() const { return mLowHealthLatch; }
    // On water the splash pack (nothing without one), elsewhere the "bodyFallSound" entry.
    void PlayBodyFallSound(PhysicsSurface surface);
    void CollisionCallback(const CollisionData& data) override;
    // A sound every machine hears: its position in the net-sound list travels in a
    // PlaySoundConfigCmd, so every machine registers the same packs in the same order.
    void PlayNetSound(SoundPak* sound);
    void OnPlayNetSound(unsigned int index);
    std::size_t GetNetSoundCount() const { return mNetSounds.size(); }

    // Spawn, highlight and pose (CharacterPose.cpp).
    void StartSpawnEffect();
    std::uint32_t GetSpawnEffectId() const { return mSpawnEffectObject; }
    // Forgets the spawn effect, which plays on.
    void DetachSpawnEffect() { mSpawnEffectObject = 0; }
    std::string GetPrespawnEffectName() const { return mPrespawnEffect; }
    // Nothing shows before a character spawns.
    void StartPrespawnEffect(std::uint32_t, const WorldCoords&) {}
    // Every effect attached to the character stops emitting.
    void StopAttachedEffects();
    // Brightens a character standing underground in a dark cave (0 above ground).
    virtual float GetAmbientHighlight() const;
    // Kept in 0..1; 1 holds the breast bone still, 0 leaves the animation alone.
    void SetBreastSupport(float support);
    float GetBreastSupport() const { return mBreastSupport; }
    // The target is kept within the maximum curve; Update_TweakPose turns towards it.
    virtual void SetSpineCurve(float value);
    void Update_TweakPose(int ms);
    float GetSpineCurve() const { return mSpineCurve; }
    float GetSpineCurveTarget() const { return mSpineCurveTarget; }
    void TweakPose(SkeletalPose& pose) const override;
    // Only the breast support changes a pose (written to match TweakPose_Breasts' test).
    bool TweaksPose() const override { return !(mBreastSupport <= 0.0f); }
    void TweakPose_Breasts(SkeletalPose& pose) const;
    // The spine curve bends no bone.
    void TweakPose_Head(SkeletalPose&) const {}
    void TweakPose_Spine(SkeletalPose&) const {}

    CharacterBio& GetCharacterBio() { return mBio; }
    const CharacterBio& GetCharacterBio() const { return mBio; }
    ExperienceLevelControl& GetExperienceLevelControl() { return mExperience; }
    PlayStats& GetPlayStats() { return mPlayStats; }
    void DumpPlayStats() { mPlayStats.Dump(); }
    // The lines that describe the character to the player (a pet's health, abilities, damage);
    // none in general.
    virtual void CreateUISummaryText(GameTextClass, std::vector<GameTextLine>&) const {}
    // A debug display: the monster's controller draws its anger table while this is on.
    void ShowAngerLevels(bool on) { mShowAngerLevels = on; }
    bool GetShowAngerLevels() const { return mShowAngerLevels; }
    // The movement's debug view, while the engine's character data log is on.
    virtual void DebugRender();

    // Effects on the character, through its effect manager.
    virtual std::uint32_t AddParticleEffect(const std::string& name,
                                            const std::string& attachPoint) {
        return mFxManager.AddParticleEffect(name, attachPoint);
    }
    virtual void StartParticleEffect(std::uint32_t id) { mFxManager.StartParticleEffect(id); }
    virtual void StopParticleEffect(std::uint32_t id) { mFxManager.StopParticleEffect(id); }
    virtual void RemoveParticleEffect(std::uint32_t& id) { mFxManager.RemoveParticleEffect(id); }
    virtual std::uint32_t AddMeshEffect(const std::string& name) {
        return mFxManager.AddMeshEffect(name);
    }
    virtual void StartMeshEffect(std::uint32_t id) { mFxManager.StartMeshEffect(id); }
    virtual void StopMeshEffect(std::uint32_t id) { mFxManager.StopMeshEffect(id); }
    virtual void RemoveMeshEffect(std::uint32_t& id) { mFxManager.RemoveMeshEffect(id); }
    PFxManager& GetFxManager() { return mFxManager; }

    // Animations: one set per weapon stance (Game/characters/anim/CharacterAnimations.cpp).
    // Players hold all six sets, other characters only the stance they load with.
    virtual bool AllocateAllAnimSets() const { return false; }
    // Null for an empty or unknown name.
    virtual GraphicsAnim* LoadAnimation(const std::string& name);
    // Makes the set of a hand state current (1 single-handed, 2 dual-wielded, 3 bow, 4 spear,
    // 5 staff, any other unarmed); a stance without a set changes nothing.
    virtual void SetAnimation(int handState);
    AnimationSet* GetAnimationSet() const { return mAnimationSet; }
    // The set of a hand state 0..5, null when it was not allocated.
    AnimationSet* GetStanceAnimationSet(int handState) const;
    virtual GraphicsAnim* GetCurrentAnimation() const;
    bool CanPlayAnimation(AnimationSet_Type type) const;
    void LoadUnarmedAnimationSet(const LoadTable& record);
    void LoadSingleHandedAnimationSet(const LoadTable& record);
    void LoadDualWieldedAnimationSet(const LoadTable& record);
    void LoadSpearAnimationSet(const LoadTable& record);
    void LoadBowAnimationSet(const LoadTable& record);
    void LoadStaffAnimationSet(const LoadTable& record);
    // The key is the animation event name that plays the sound.
    void LoadAnimationSound(const LoadTable& record, const char* key, float chance);
    void LoadAnimationSound(const LoadTable& record, const char* key, const char* chanceKey);
    const AnimationSound& GetAnimationSounds() const { return mAnimationSounds; }
    // Every named event of a running animation: offered to the current set, then sounds,
    // footsteps or the action handler, then the controller and the engine.
    void AnimationCallback(int channel, const Name& event) override;
    bool HandleSkillAnimationCallback(const Name& event, std::uint32_t skillId,
                                      std::uint32_t targetId, const WorldVec3& targetPosition);
    void QuestCommandPlayAnimation(AnimationSet_Type type, bool first, bool second);
    void SendQuestAnimationCompletedEvent() const;
    bool HasForcedUpdates() const { return mForcedUpdates; }
    // A projectile flies near (to a foe of its caster) or struck something (to its caster);
    // both go to the controller.
    void ProjectileNotification(std::uint32_t projectileId);
    void ProjectileCollisionCallback(const ProjectileInfo& info, const CollisionData& data);
    // What the death handlers ask of the body.
    virtual void SetPhysicsType(int type);
    virtual void PlayAnimationSound(const Name& name);
    virtual void PlayDeathSound();
    // False when the death animation cannot be played.
    virtual bool PlayDeathAnimation();
    // Auras: entities attached to the character for a while (seconds; 0 with permanent).
    std::uint32_t AddAura(const std::string& name, bool permanent, int seconds) {
        return mAuraManager.AddAura(*this, name, permanent, seconds);
    }
    void RemoveAura(std::uint32_t id) { mAuraManager.RemoveAura(id); }
    void RemoveAura(const std::string& name) { mAuraManager.RemoveAura(name); }
    const AuraManager& GetAuraManager() const { return mAuraManager; }

    SkillManager& GetSkillManager() const { return *mSkillManager; }
    // Skill buffs on the character (CharacterSkillBuffs.cpp). The create-or-remove command runs
    // on every machine; a transfer is decided only where the character's skills have services.
    void CreateRemoveSkillBuff(std::uint32_t skillId, const std::string& buffName,
                               std::uint32_t level, const std::string& modifier1Name,
                               std::uint32_t modifier1Level, const std::string& modifier2Name,
                               std::uint32_t modifier2Level, int timeToLive,
                               std::uint32_t casterId);
    void ControllerAddSkillBuff(const SkillBuffTransfer& transfer,
                                const std::vector<Weapon_Type>& weaponTypes, bool dualWieldOnly);
    bool IsSkillBuffActive(const std::string& buffName) const;
    // Removes the positive (negative) skill buffs that allow it.
    void DispelSkillBuffs();
    void DispelSkillDeBuffs();
    void AddCombatFilter(CombatFilter* filter);
    void RemoveCombatFilter(CombatFilter* filter);
    // An all-skills level bonus held under the source's name.
    void SetAllSkillLevelAugment(std::uint32_t amount, const std::string& sourceName);
    void RemoveAllSkillLevelAugment(std::uint32_t amount, const std::string& sourceName);
    // Raises the character's skill of that record.
    void AddToSkillLevel(const std::string& recordName, int amount);

    // What the character's actions drive.
    CharacterActionHandler& GetActionHandler() { return *mActionHandler; }
    // The character owns one handler: a new one deletes the old; null is ignored.
    void SetActionHandler(std::unique_ptr<CharacterActionHandler> handler);
    // The death handlers of the character; null when it has none.
    DeathManager* GetDeathManager() { return mDeathManager.get(); }
    bool StartSkill(std::uint32_t skillId, std::uint32_t targetId, const WorldVec3& point,
                    int seed);
    // Runs the activation of the skill with that reference number under the event's name.
    void ActivateSkill(std::uint32_t reference, const Name& event, std::uint32_t targetId,
                       const WorldVec3& point);
    void SkillWarmUp(std::uint32_t skillId, bool ending);
    void CancelSkillAction(std::uint32_t skillId);
    void PlayStunSound();
    void PlayArmSwipeSound();
    // Switches the character's own effect pack of a buff; a buff without a pack changes nothing.
    void SetCharacterBuffFx(CharacterBuff buff, bool on);
    void StopCharacterBuffFx(CharacterBuff buff);
    void PlayLoopingRunningSound();
    void StopLoopingRunningSound();

    // Movement (Game/characters/movement/CharacterMovement.cpp).
    int GetSize() const { return static_cast<int>(mPathingSize); }
    float GetExtents() const {
        return mPathingSize == CharacterPathingSize::Medium  ? 1.0f
               : mPathingSize == CharacterPathingSize::Large ? 1.75f
                                                             : 0.5f;
    }
    void SetExtentsLarge();
    void SetExtentsSmall();
    float GetPathSlowdownLength() const;
    bool OccludesPathing() const override { return IsAlive() && !mInvisible; }
    static void GetPathGenerationParams(PathGenerationParams& params);
    Sphere GetRegionBoundingSphere() const;
    WorldVec3 GetPathPosition() const;
    // Rewrites what this character's world digest copies of it (movement/SightDigest.h); every
    // change of a value copied there calls it. Nothing while the character stands in no world.
    void RefreshDigest() const;
    Path* GetPath();
    void UpdatePathPosition(const WorldVec3& position);
    WorldVec3 GetPathTarget() const;
    void SetPathPosition(const WorldVec3& position);
    void SetPathPositionNotCoords(const WorldVec3& position);
    void ResetMovementManager();
    virtual bool CanMoveTo(const WorldVec3& point, float distance);
    bool AlreadyThere(const WorldVec3& point);
    WorldVec3 GetFurthestMoveToPoint(const WorldVec3& point);
    bool DisallowsMovement() const { return mTrapped; }
    WorldCoords GetFootCoords(bool left) const;
    void SetPointOfInterest(const Vec3& point);
    void ClearPointOfInterest() { mHasPointOfInterest = false; }
    bool HasPointOfInterest() const { return mHasPointOfInterest; }
    const Vec3& GetPointOfInterest() const { return mPointOfInterest; }
    void RotateTowardsTarget(bool rotate);
    bool IsRotatingTowardsTarget() const { return mRotateTowardsTarget; }
    bool DisallowsRotation() const { return mDisallowRotation; }
    // Radians per second; RotateTowards turns between them.
    virtual float GetMinRotationSpeed() const { return mMinRotationSpeed; }
    virtual float GetMaxRotationSpeed() const { return mMaxRotationSpeed; }
    CharacterPathGenerationStyle GetPathGenerationStyle() const { return mPathGenerationStyle; }
    void GoIdle();
    bool CanWalk() const;
    virtual void MoveTo(const WorldVec3& target, float blendTime);
    virtual void WalkTo(const WorldVec3& target, float blendTime);
    void CharacterStopMoving();
    virtual void FollowPath(int ms);
    void UpdatePath();
    // Without `holdSlot` a slot around the target is only looked at: a decision one machine
    // makes alone (a player's click) leaves the slots as every machine has them.
    WorldVec3 GetMoveToPoint(std::uint32_t targetId, std::uint32_t skillId,
                             const WorldVec3& targetPosition, bool holdSlot = true);
    void RotateTowards(int ms, const Vec3& direction, const WorldVec3& position);
    // Files the coordinates with the world unless they are the very bits it holds already.
    void PlaceAt(const WorldCoords& coords);
    CharacterMovementManager& GetMovementManager() { return *mMovement; }
    const CharacterMovementManager& GetMovementManager() const { return *mMovement; }

    // Attack and defense slots.
    void RequestAttackSlot(WorldVec3& out, std::uint32_t attackerId, std::uint32_t skillId,
                           bool hold = true);
    void RequestDefenseSlot(WorldVec3& out, std::uint32_t defenderId, bool acceptUnchecked,
                            bool hold = true);
    void ReleaseAttackSlot(std::uint32_t id);
    void ReleaseDefenseSlot(std::uint32_t id);
    virtual void LostSlot();
    SlotManager& GetAttackSlots() { return *mAttackSlots; }
    SlotManager& GetDefenseSlots() { return *mDefenseSlots; }

    // Targets and queries (Game/characters/movement/CharacterTargets.cpp).
    void SetCurrentAttackTarget(std::uint32_t id, const WorldVec3& position, int skillReference);
    void GetCurrentAttackTarget(std::uint32_t& id, WorldVec3& position,
                                std::uint32_t& skillId) const;
    std::uint32_t GetCurrentAttackTargetId() const { return mAttackTargetId; }
    static float GetTargetDistance(std::uint32_t attacker, std::uint32_t target,
                                   std::uint32_t skill);
    virtual bool NearTarget(std::uint32_t target, float margin);
    // NearTarget's test of a character already at hand.
    bool NearCharacter(const Character& other, float margin) const;
    const std::string& GetDistressCallGroup() const { return mDistressCallGroup; }
    virtual WorldCoords GetChatCoords() const;
    bool ShouldRotateWhenChatting() const { return mRotateWhenChatting; }
    void GetConversationPartnerLocation(std::vector<WorldVec3>& out) const;
    virtual bool WillYouChat(std::uint32_t) { return false; }
    virtual bool ChatWith(std::uint32_t) { return false; }
    virtual bool IsOfInterest() const { return mTouched; }
    virtual void TouchedByPlayer() { mTouched = false; }
    void GetLivingCharacters(std::vector<Entity*>& out, const ABBox& box);
    void RequestAttack(std::uint32_t a, std::uint32_t b);
    void RequestMove(std::uint32_t a, const WorldVec3& point);
    void QuestCommandMove(std::uint32_t a, const WorldVec3& point, bool flag);
    void QuestCommandWalk(std::uint32_t a, const WorldVec3& point, bool flag);
    void QuestCommandUseSkill(const std::string& skill, std::uint32_t target, bool flag);
    void SendQuestMoveCompletedEvent();
    // A flying character stops at anything but an item, a character or a sound object.
    virtual bool CanCollide(const Entity* other) const;
    bool CanCollide(const Entity& other) const override { return CanCollide(&other); }

protected:
    // Appends a pack to the net-sound list (null is ignored).
    void RegisterNetSound(SoundPak* sound);
    // A kind whose team depends on more than the character (a player's party) marks it at
    // construction; it may change only a human team's minor team, which sweeps rely on.
    void MarkTeamDerived() { mTeamDerived = true; }
    virtual Team DerivedTeam() const { return GetOwnTeam(); }

private:
    // FindControllerObject's search, which keeps what it finds.
    void RefindController() const;
    void LoadLoot();
    void DiscardLoot();
    Item* CreateItemFromLootTable(const LoadTable& table, const char* chanceKey,
                                  std::uint32_t location, std::uint32_t& id, RandomUniform& random);
    void AllocateAnimSets();
    void LoadAnimations();
    void LoadStanceAnimationSet(const LoadTable& record, int handState);
    void LoadAnimationSounds(const LoadTable& record);
    void PlayFootstep();

    void LoadEffectPacks();
    void BuildDeathManager();
    void UpdateDeathManager(int elapsed);
    // Turns an attacking character towards its target while it may (asked only while attacking).
    void RotateTowardsAttackTarget(int ms);
    Character* FindAttackTarget();
};

inline Team Character::GetTeam() const {
#ifndef NDEBUG
    if (!mTeamDerived && !(DerivedTeam() == GetOwnTeam()))
        std::abort();  // a kind derives its team without marking it
#endif
    return mTeamDerived ? DerivedTeam() : GetOwnTeam();
}

[[gnu::always_inline]] inline Object* Character::FindControllerObject(
    const RTTI_ClassInfo*& classInfo) const {
    if (mControllerId == 0)
        return nullptr;
#ifdef NDEBUG
    if (!Objects().StillKept(mControllerId, mController.object))
        RefindController();
#else
    RefindController();
#endif
    if (mController.object.object)
        classInfo = mController.classInfo;
    return mController.object.object;
}

}  // namespace GAME
