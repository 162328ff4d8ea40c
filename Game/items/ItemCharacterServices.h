#pragma once
// What items ask of characters, skills and world objects. Items call the machine's services
// object; the default one does what the character or skill offers, and for what is not offered
// yet logs one level-1 line naming the operation and does nothing (queries answer 0 or nothing).
// Tests install a recording one.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Game/rules/CharAttribute.h"

namespace GAME {

class Character;
class Item;

class ItemCharacterServices {
public:
    virtual ~ItemCharacterServices() = default;

    virtual float GetTotalCharAttribute(const Character& character, CharAttributeType type);
    virtual float GetWeaponScale(const Character& character);
    // Skill level bonuses: a skill or mastery record (normalised) and a level.
    virtual void SetSkillLevelAugment(Character& character, const std::string& skill, int level);
    virtual void RemoveSkillLevelAugment(Character& character, const std::string& skill, int level);
    virtual void SetMasteryLevelAugment(Character& character, const std::string& mastery,
                                        int level);
    virtual void RemoveMasteryLevelAugment(Character& character, const std::string& mastery,
                                           int level);
    virtual void SetAllSkillLevelAugment(Character& character, int level);
    virtual void RemoveAllSkillLevelAugment(Character& character, int level);
    // Lends the wearer a skill of its own made from the granting skill (an item's granted skill
    // object), at the level; taking it back leaves that skill at level 0.
    virtual void AddItemSkill(Character& character, std::uint32_t grantingSkillId,
                              std::uint32_t level);
    virtual void RemoveItemSkill(Character& character, std::uint32_t grantingSkillId);
    virtual void AddItemToSet(Character& character, const std::string& set,
                              const std::string& itemName);
    virtual void RemoveItemFromSet(Character& character, const std::string& set,
                                   const std::string& itemName);
    virtual std::vector<std::string> GetItemsInSet(const Character& character,
                                                   const std::string& set);
    // The garment manager's vestment (or clothing, when `clothing`): three empty names remove it.
    virtual void SetGarment(Character& character, bool clothing, const std::string& mesh,
                            const std::string& baseTexture, const std::string& bumpTexture);
    virtual void SetBreastSupport(Character& character, float support);
    // False when the character did not take the item.
    virtual bool GiveItemToCharacter(Character& character, Item& item);

    // Skills: the object of an item-granted skill (0: none made) and a skill's display tag.
    virtual std::uint32_t CreateItemSkill(const std::string& skillRecord);
    virtual std::string GetSkillDisplayNameTag(const std::string& skillRecord);
    // World objects of later subsystems: projectiles, weapon trails and effects (0: none made).
    virtual std::uint32_t CreateProjectile(const std::string& record);
    virtual std::uint32_t CreateWeaponTrail(const std::string& record);
    virtual std::uint32_t CreateEffect(const std::string& record);

    // The machine's services (the logging default until one is installed).
    static ItemCharacterServices& Get();
    // Installs services for this machine; null restores the default. Returns the previous ones.
    static std::unique_ptr<ItemCharacterServices> Install(
        std::unique_ptr<ItemCharacterServices> services);
};

// The character's total strength, dexterity and intelligence (zeros without a character), in
// the order item requirements name them.
std::array<float, 3> GetAbilityValues(const Character* character);

}  // namespace GAME
