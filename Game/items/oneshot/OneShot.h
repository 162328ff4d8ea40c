#pragma once
// Items used up when used: potions (stackable), gold piles, sacks, dyes and instant rewards.
// Each carries a bonus that its use hands to a character, a use sound and an optional trail
// that shows while the dropped pickup flies.
#include <cstdint>
#include <string>

#include "Engine/media/graphics/EffectEntity.h"
#include "Game/core/players/Bonus.h"
#include "Game/items/Item.h"

namespace GAME {

class OneShot : public Item {
    RTTI_DECLARE(OneShot)
public:
    OneShot();
    ~OneShot() override;

    void Load(const LoadTable& record) override;
    void UpdateSelf(int elapsedMs) override;
    std::string GetBitmap() override { return bitmapName; }

    // The common step: the use sound at the character.
    virtual void Use(Character* character);
    virtual const SoundPak* GetUseSound() const { return useSound.Get(); }
    virtual int GetUseDelayTime() const { return useDelayTime; }

    const std::string& GetButtonUpBitmapName() const { return buttonUpBitmapName; }
    const std::string& GetButtonDownBitmapName() const { return buttonDownBitmapName; }
    const Bonus& GetBonus() const { return bonus; }
    bool IsTrailEmitting() const { return trailEmitting; }
    // The character that picked the item up (0: none): only it may use the item up.
    std::uint32_t GetCarrierId() const { return carrierId; }
    void SetCarrierId(std::uint32_t id) { carrierId = id; }

protected:
    int lifeType = 0;
    Bonus bonus;

private:
    std::string bitmapName;
    std::string buttonUpBitmapName;
    std::string buttonDownBitmapName;
    OwnedObject<SoundPak> useSound{"Game/Oneshot"};
    int useDelayTime = 0;
    OwnedObject<EffectEntity> trailEffect{"Game/Oneshot"};
    bool trailEmitting = false;
    bool trailStopped = false;
    std::uint32_t carrierId = 0;
};

class OneShot_Potion : public OneShot {
    RTTI_DECLARE(OneShot_Potion)
public:
    static constexpr std::uint32_t kStackLimitDefault = 10;

    OneShot_Potion();
    void Use(Character* character) override;
    std::unique_ptr<CursorHandler> CreateSecondaryCursorHandler(
        const Character* character) override;
    void GetUIBitmapText(std::wstring& text) const override;
    void GetUIDisplayText(const Character* character, std::vector<GameTextLine>& lines) override;
    int GetItemCost(bool wholeStack) override;

    // The stack counts the potions beyond the first; a stack holds "potionStackLimit" potions.
    std::uint32_t AddToStack(std::uint32_t count);
    std::uint32_t RemoveFromStack(std::uint32_t count);
    void SetStackCount(std::uint32_t count) { stackCount = count; }
    std::uint32_t GetNumberInStack() const { return stackCount; }
    bool IsStackFull() const;
    static std::uint32_t GetStackLimit();

private:
    std::uint32_t stackCount = 0;
};

class OneShot_PotionHealth : public OneShot_Potion {
    RTTI_DECLARE(OneShot_PotionHealth)
public:
    OneShot_PotionHealth() { lifeType = 1; }
};

class OneShot_PotionMana : public OneShot_Potion {
    RTTI_DECLARE(OneShot_PotionMana)
public:
    OneShot_PotionMana() { lifeType = 1; }
};

class OneShot_Gold : public OneShot {
    RTTI_DECLARE(OneShot_Gold)
public:
    OneShot_Gold();
    void InitializeItem() override;
    void Use(Character* character) override;
    void GetGameDescription(std::wstring& text) const override;
    void GetUIGameDescription(std::vector<GameTextLine>& lines) const override;

    // The pile's amount: its gold value, its bonus's gold and its record's relic level.
    virtual void SetGoldValue(float value);
    std::uint32_t GetGoldValue() const { return goldValue; }

private:
    std::uint32_t goldValue = 0;
};

class OneShot_Sack : public OneShot {
    RTTI_DECLARE(OneShot_Sack)
public:
    OneShot_Sack();
    void Use(Character* character) override;
};

class OneShot_InstantReward : public OneShot {
    RTTI_DECLARE(OneShot_InstantReward)
public:
    OneShot_InstantReward();
    void Use(Character* character) override;
};

class OneShot_Dye : public OneShot {
    RTTI_DECLARE(OneShot_Dye)
public:
    OneShot_Dye();
    void Load(const LoadTable& record) override;
    void Use(Character* character) override;
    std::unique_ptr<CursorHandler> CreateSecondaryCursorHandler(
        const Character* character) override;
    void GetUIDisplayText(const Character* character, std::vector<GameTextLine>& lines) override;

private:
    std::string maleTexture;
    std::string femaleTexture;
};

}  // namespace GAME
