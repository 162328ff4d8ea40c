#pragma once
// Relics are collected in shards and combined until complete, when a bonus is rolled from a
// table; complete or not, one can be inserted into an equipment item. Charms are relics with
// other words (animal parts instead of shards).
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Game/items/Item.h"
#include "Game/items/ItemSkillAugment.h"
#include "Game/rules/AttributePak.h"

namespace GAME {

class RacialBonus;

class ItemRelic : public Item {
    RTTI_DECLARE(ItemRelic)
public:
    // The slot words, in record order: which kinds of equipment take the relic.
    enum Slot {
        kAmulet,
        kBracelet,
        kRing,
        kArmband,
        kHelmet,
        kGreaves,
        kBodyArmor,
        kShield,
        kBow,
        kSpear,
        kStaff,
        kAxe,
        kMace,
        kSword,
        kSlotCount
    };
    // The display tags: shard word, complete word, ratio format, bonus title, directions, error.
    struct TextTags {
        const char* shard;
        const char* complete;
        const char* ratio;
        const char* bonusTitle;
        const char* directions;
        const char* error;
    };

    ItemRelic();
    ~ItemRelic() override;

    void Load(const LoadTable& record) override;
    void PreLoad(bool now) override;
    std::unique_ptr<CursorHandler> CreateSecondaryCursorHandler(
        const Character* character) override;
    void InitializeItem() override;
    std::string GetBitmap() override;
    void GetUIBitmapText(std::wstring& text) const override;
    void GetCharAttributes(CharAttributeAccumulator& accumulator) override;
    void GetSkillAttributes(SkillAttributeAccumulator& accumulator) override;
    void GetOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator) override;
    void GetOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator) override;
    void GetRetaliationAttributes(CombatAttributeAccumulator& accumulator) override;
    void GetDefenseAttributes(CombatAttributeAccumulator& accumulator) override;
    void ContributeRacialBonusDamage(std::vector<RacialBonusContribution>& bonuses) override;
    void ContributeRacialBonusDefense(std::vector<RacialBonusContribution>& bonuses) override;
    bool AreRequirementsMet(const Character* character) override;
    void GetUIRequirementText(const Character* character,
                              std::vector<GameTextLine>& lines) override;
    int GetItemCost(bool withRelic = true) override;
    void GetUIDisplayText(const Character* character, std::vector<GameTextLine>& lines) override;

    virtual std::string GetRelicOverlayBitmap();
    virtual void GetBoundUIDisplayText(std::vector<GameTextLine>& lines);
    virtual void SetRelicLevel(std::uint32_t level);
    virtual std::uint32_t GetRelicLevel() const { return relicLevel; }
    virtual bool IsComplete() const { return relicLevel >= completedRelicLevel; }
    virtual bool UseRelicOn(Entity* target, bool playSound);
    virtual bool CanRelicBeUsedOn(Entity* target, bool& onEquipment);
    // Adds shards; returns those left over (0 when already complete).
    virtual std::uint32_t AddToRelicLevel(std::uint32_t count, bool playSound);
    virtual bool TestCompatibility(ItemRelic* other);
    virtual bool ItemUseFilter(Entity* target);

    void InstallOnCharacter(Character* character);
    void RemoveFromCharacter(Character* character);

    std::uint32_t GetCompletedRelicLevel() const { return completedRelicLevel; }
    const std::string& GetBonusTableName() const { return bonusTableName; }
    const AttributePak& GetAttributes() const { return attributes; }
    const AttributePak* GetBonusAttributes() const { return bonusAttributes.get(); }
    const ItemSkillAugment& GetSkillAugments() const { return skillAugments; }
    bool GetSlot(Slot slot) const { return slots[slot]; }
    const TextTags& GetTextTags() const { return tags; }

protected:
    // Loads the bonus record's attributes, augments and racial bonus.
    void LoadBonus(const std::string& bonusRecord);
    std::array<float, 3> GetRequirementReductions(const Character* character) const;
    // The shard count (or complete word), the own attributes, and the completion bonus block.
    void AppendRelicNumberLine(std::vector<GameTextLine>& lines) const;
    void AppendOwnBonusText(std::vector<GameTextLine>& lines) const;
    void AppendCompletionText(std::vector<GameTextLine>& lines) const;

    std::uint32_t relicLevel = 1;
    std::uint32_t completedRelicLevel = 0;
    std::string shardBitmap;
    std::string relicBitmap;
    std::string itemOverlayBitmap;
    AttributePak attributes;
    std::unique_ptr<AttributePak> bonusAttributes;
    std::string bonusTableName;
    ItemSkillAugment skillAugments;
    std::unique_ptr<RacialBonus> racialBonus;
    std::unique_ptr<RacialBonus> bonusRacialBonus;
    OwnedObject<SoundPak> relicToRelicSound{"Game/ItemRelic"};
    OwnedObject<SoundPak> relicToItemSound{"Game/ItemRelic"};
    OwnedObject<SoundPak> relicCompleteSound{"Game/ItemRelic"};
    std::array<bool, kSlotCount> slots{};
    TextTags tags;
};

class ItemCharm : public ItemRelic {
    RTTI_DECLARE(ItemCharm)
public:
    ItemCharm();
};

}  // namespace GAME
