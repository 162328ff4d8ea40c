#pragma once
// The one door through which a skill reaches its character: the owner's weapons, vitals,
// character-wide skill attributes, the active list and the character effects of skill use.
// SkillManager implements it; skills hold it as their manager.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace GAME {

class Character;
class CombatAttributeAccumulator;
class RandomUniform;
class RandomUniformLocked;
class Skill;
class SkillServicesBase;
struct PlayStatsDamageType;
enum class SkillAttributeType : std::uint32_t;
enum class Weapon_Type : std::int32_t;

// A skill's update bytes (Skill::CopyUpdateBytes), as debug builds keep them between walks.
using SkillUpdateBytes = std::array<std::byte, 72>;

// How far a skill or a weapon reaches.
enum class Skill_RangeProfile : int { Melee = 0, Short = 1, Moderate = 2, Long = 3, Maximum = 4 };

class SkillManagerBase {
public:
    virtual ~SkillManagerBase() = default;
    // Null everywhere but on the machine that controls the character. Plain data, as the reach
    // below: every skill's test reads both every frame.
    SkillServicesBase* GetSkillServices() const { return mServices; }
    Character* GetParent() const { return mParent; }
    // The root's generator while the update walks the skills, null otherwise: the walk looks the
    // root up once, not once per skill's draw.
    RandomUniformLocked* GetWalkRandom() const { return mWalkRandom; }
    virtual bool IsMonsterSkill() = 0;
    // The equipment's hand state (2: a melee weapon in each hand).
    virtual int GetHandState() = 0;
    // The held weapon's reach, set at each update. Not virtual: every weapon skill reads it
    // every frame.
    bool IsRangedWeapon() const { return mRangedWeapon; }
    Skill_RangeProfile GetWeaponRangeProfile() const {
        return static_cast<Skill_RangeProfile>(mWeaponRangeProfile);
    }
    virtual void GetWeaponTypes(Weapon_Type& right, Weapon_Type& left) = 0;
    virtual void SubtractMana(float amount) = 0;
    virtual void SubtractLife(float amount, const PlayStatsDamageType& type) = 0;
    virtual float GetCurrentMana() = 0;
    virtual std::uint32_t GetRightHandWeapon() const = 0;
    virtual std::uint32_t GetLeftHandWeapon() const = 0;
    // The character-wide skill attributes gathered at the last update.
    virtual float GetTotalSkillAttribute(SkillAttributeType type) = 0;
    // Moves whenever GetTotalSkillAttribute's answers may change: a skill keeps its total while
    // it stays. Not virtual: every skill reads it every frame.
    std::uint32_t GetSkillAttributesStamp() const { return mSkillAttributesStamp; }
    virtual void CollectAvailableOffensiveDamageAttributes(
        std::uint32_t weaponId, CombatAttributeAccumulator& accumulator) = 0;
    virtual void CollectAvailableOffensiveModifierAttributes(
        CombatAttributeAccumulator& accumulator) = 0;
    virtual float CalculateOffensiveAbility(float value) = 0;
    virtual void ForceSpeedUpdate() = 0;
    virtual void SetSpeedUpdateNeeded() = 0;
    virtual void RefreshCooldown() = 0;
    virtual float GetAttackSpeed() = 0;
    virtual float GetSpellCastSpeed() = 0;
    // Installed skills; a skill adds itself when its level becomes 1 or more.
    virtual void AddToActiveList(Skill* skill) = 0;
    virtual void RemoveFromActiveList(Skill* skill) = 0;
    virtual std::uint32_t SelectWeaponPoolSkill(RandomUniform& random) = 0;
    virtual std::uint32_t GetDefaultWPSkillId() = 0;
    virtual void PushPetInitialize(Character* pet) = 0;
    virtual void PopPetInitialize(Character* pet) = 0;
    virtual void AddWeaponEnchantment(std::uint32_t skillId, const std::string& name) = 0;
    virtual void RemoveWeaponEnchantment(std::uint32_t skillId) = 0;
    virtual void AddCharFxPak(std::uint32_t skillId, const std::vector<std::string>& names) = 0;
    virtual void RemoveCharFxPak(std::uint32_t skillId) = 0;
    // A skill's share of the character's attribute totals may have changed (its level, state,
    // warm-up, modifiers): the character works its totals out again at its next update.
    virtual void CharAttributesChanged() {}
    // A skill the manager marked quiet was written: the walk is no longer known to be quiet.
    void WalkSkillWritten() { mWalkQuiet = false; }

protected:
    void SetParent(Character* parent) { mParent = parent; }
    void SetSkillServices(SkillServicesBase* services) { mServices = services; }
    void SetWalkRandom(RandomUniformLocked* random) { mWalkRandom = random; }
    void SkillAttributesChanged() { ++mSkillAttributesStamp; }
    // Set after a walk that changed nothing, when every walk skill carries the quiet mark;
    // stands while none of them is written and the walk list stays.
    void SetWalkQuiet(bool quiet) { mWalkQuiet = quiet; }
    bool IsWalkQuiet() const { return mWalkQuiet; }
    void SetWeaponReach(bool ranged, Skill_RangeProfile profile) {
        mRangedWeapon = ranged;
        mWeaponRangeProfile = static_cast<std::uint8_t>(profile);
    }

private:
    Character* mParent = nullptr;
    SkillServicesBase* mServices = nullptr;
    RandomUniformLocked* mWalkRandom = nullptr;
    std::uint32_t mSkillAttributesStamp = 0;
    // Bytes: they fit beside the stamp.
    bool mRangedWeapon = false;
    std::uint8_t mWeaponRangeProfile = 0;
    // Beside them: a quiet frame's test reads the manager's first lines only.
    bool mWalkQuiet = false;
};

}  // namespace GAME
