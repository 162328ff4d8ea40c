#pragma once
// The skill level bonuses an item grants (per skill, per mastery, to all skills) and the skills
// it lets its wearer use. Installed on a character and removed again symmetrically.
#include <cstdint>
#include <string>
#include <vector>

#include "Game/items/GameTextLine.h"
#include "Game/rules/CostInfo.h"

namespace GAME {

class Character;
class LoadTable;

class ItemSkillAugment {
public:
    struct Augment {
        std::string name;  // normalised record name
        int level = 0;
    };
    struct GrantedSkill {
        std::string name;
        int level = 0;
        std::uint32_t skillId = 0;  // the created skill object, 0 while none
    };

    ItemSkillAugment() = default;
    virtual ~ItemSkillAugment();
    ItemSkillAugment(const ItemSkillAugment&) = delete;
    ItemSkillAugment& operator=(const ItemSkillAugment&) = delete;

    virtual void GetUIDisplayText(GameTextClass textClass, std::vector<GameTextLine>& lines) const;
    virtual void GetCostInfo(CostInfo_AugmentAttributes& cost) const;

    // Adds the augments and granted skill of one record.
    void Load(const LoadTable& record);
    // Forgets every augment and destroys the created skills.
    void Clear();
    // Creates the skill object of each granted skill that has none.
    void CreateItemSkills();
    void InstallOnCharacter(Character& character, std::uint32_t itemId) const;
    void RemoveFromCharacter(Character& character, std::uint32_t itemId) const;

    const std::vector<Augment>& GetSkillAugments() const { return skillAugments; }
    const std::vector<Augment>& GetMasteryAugments() const { return masteryAugments; }
    int GetAllSkillsLevel() const { return allSkillsLevel; }
    int GetAugmentLevelSum() const { return levelSum; }
    int GetAugmentCount() const { return augmentCount; }
    const std::vector<GrantedSkill>& GetGrantedSkills() const { return grantedSkills; }

private:
    void AddAugment(std::vector<Augment>& list, const std::string& name, int level);

    std::vector<Augment> skillAugments;
    std::vector<Augment> masteryAugments;
    int allSkillsLevel = 0;
    int levelSum = 0;
    int augmentCount = 0;
    std::vector<GrantedSkill> grantedSkills;
};

}  // namespace GAME
