#pragma once
// The attacks of a character's weapon pool. A weapon-pool skill draws one of them per swing by
// chance weight and hands it the swing; the attack plays and hits as a weapon attack, then
// reports its targets back to the pool skill that drew it. While that parent shares its
// resources, the attack's sounds, effects and attributes add the parent's to its own.
#include <cstdint>

#include "Game/skills/SkillActivated.h"

namespace GAME {

class Skill_WPAttack : public SkillActivatedWeapon {
    RTTI_DECLARE(Skill_WPAttack)
public:
    // Never held back by mana or cooldown; weapon and hand state still count.
    Skill_WPAttack();

    // The profile's weight at the current level; a disabled attack weighs nothing unless asked.
    std::uint32_t GetChanceWeight(bool includeDisabled) const override;
    float GetTotalSkillAttribute(SkillAttributeType type) const override;
    void GetSkillModifierData(SkillProfile_Modifiers& data) const override;
    void AddProjectileModifier(ProjectileBase& projectile) override;
    void PlaySwipeSound(const WorldVec3& where) override;
    void PlayHitSound(const WorldVec3& where) override;
    void CreateTargetFx(const WorldVec3& where) override;
    void CollectLocalOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator) override;
    void CollectLocalOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator) override;

    // The weapon-pool skill that drew this attack last.
    void SetParentSkillId(std::uint32_t id) {
        mParentSkillId = id;
        SetTotalHasOtherParts(id != 0);
        ContributionChanged();
    }
    std::uint32_t GetParentSkillId() const { return mParentSkillId; }

protected:
    // The parent, when it exists and shares its resources; else null. Inline: most attacks have
    // none, and the attributes ask every frame.
    Skill* SharingParent() const { return mParentSkillId ? FindSharingParent() : nullptr; }

private:
    Skill* FindSharingParent() const;

    std::uint32_t mParentSkillId = 0;
};

// The plain pooled swing: a weapon hit, whose targets go back to the pool skill.
class Skill_WPAttack_BasicAttack : public Skill_WPAttack {
    RTTI_DECLARE(Skill_WPAttack_BasicAttack)
public:
    Skill_WPAttack_BasicAttack();

    void ActivateNow(Character& character, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    void TargetResult(Character& character, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool melee) override;
};

}  // namespace GAME
