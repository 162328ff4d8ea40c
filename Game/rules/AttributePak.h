#pragma once
// All five kinds of attribute stores read from one record: the game-balance packs of monsters
// and players, item sets and relics keep one each.
#include <memory>
#include <string>
#include <vector>

#include "Game/items/GameTextLine.h"

namespace GAME {

class LoadTable;
class CharAttributeAccumulator;
class CharAttributeStore_Skill;
class SkillAttributeAccumulator;
class SkillAttributeStore_Skill;
class CombatAttributeAccumulator;
class DamageAttributeStore_Skill;
class RetaliationAttributeStore_Skill;
class DefenseAttributeStore_Skill;

class AttributePak {
public:
    AttributePak();
    virtual ~AttributePak();
    AttributePak(const AttributePak&) = delete;
    AttributePak& operator=(const AttributePak&) = delete;

    virtual void LoadFromDatabase(const std::string& recordName);
    // Character, skill, damage, retaliation and defense stores, in that order.
    virtual void LoadFromTable(const LoadTable& record);
    virtual void GetCharAttributes(CharAttributeAccumulator& accumulator, unsigned level) const;
    virtual void GetSkillAttributes(SkillAttributeAccumulator& accumulator, unsigned level) const;
    virtual void GetOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator,
                                              unsigned level) const;
    virtual void GetOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator,
                                                unsigned level) const;
    // Damage and then modifiers: retaliation needs both from one call.
    virtual void GetRetaliationAttributes(CombatAttributeAccumulator& accumulator,
                                          unsigned level) const;
    virtual void GetDefenseAttributes(CombatAttributeAccumulator& accumulator,
                                      unsigned level) const;
    // Damage, defense, retaliation, character and skill lines, each store's lists in turn.
    virtual void GetUIDisplayText(unsigned level, GameTextClass textClass,
                                  std::vector<GameTextLine>& lines) const;

    const std::string& GetRecordName() const { return mRecordName; }
    const CharAttributeStore_Skill& GetCharStore() const { return *mCharAttributes; }
    const SkillAttributeStore_Skill& GetSkillStore() const { return *mSkillAttributes; }
    const DamageAttributeStore_Skill& GetDamageStore() const { return *mDamageAttributes; }
    const RetaliationAttributeStore_Skill& GetRetaliationStore() const {
        return *mRetaliationAttributes;
    }
    const DefenseAttributeStore_Skill& GetDefenseStore() const { return *mDefenseAttributes; }

private:
    std::string mRecordName;
    std::unique_ptr<CharAttributeStore_Skill> mCharAttributes;
    std::unique_ptr<SkillAttributeStore_Skill> mSkillAttributes;
    std::unique_ptr<DamageAttributeStore_Skill> mDamageAttributes;
    std::unique_ptr<RetaliationAttributeStore_Skill> mRetaliationAttributes;
    std::unique_ptr<DefenseAttributeStore_Skill> mDefenseAttributes;
};

}  // namespace GAME
