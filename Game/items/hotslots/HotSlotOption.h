#pragma once
// What a hot slot holds: a skill of the player's, or a potion type drunk by the best fitting
// kind. The user interface asks an option for its pictures, names, counts and cooldown.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Game/items/inventory/PlayerInventoryCtrl.h"

namespace GAME {

class IOStream;
class Player;
class Skill;
struct GameTextLine;

enum HotSlotOptionStatus : std::uint32_t {
    HotSlotStatus_Nothing = 0,  // no option, no skill or no controller
    HotSlotStatus_Ready = 1,
    HotSlotStatus_Recharging = 2,
    HotSlotStatus_NotEnoughMana = 3,
    HotSlotStatus_NoPotion = 4,
    HotSlotStatus_NotQualifying = 5,
};

class HotSlotOption {
public:
    static constexpr std::uint32_t kSkill = 0;
    static constexpr std::uint32_t kPotion = 1;
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    explicit HotSlotOption(std::uint32_t storedType) : mStoredType(storedType) {}
    virtual ~HotSlotOption() = default;

    virtual bool Validate() const = 0;
    // The same kind for the same player, and the kind's own field.
    virtual bool operator==(const HotSlotOption& other) const;
    virtual void Activate(bool& targetingNeeded, bool& used) = 0;
    virtual float GetCooldownCompletion() const = 0;
    virtual HotSlotOptionStatus GetStatus() const = 0;
    virtual std::string GetBitmapNameUp() const = 0;
    virtual std::string GetBitmapNameDown() const = 0;
    virtual int GetNumberAvailable() const = 0;
    virtual void GetRolloverText(std::vector<GameTextLine>& lines) const = 0;
    virtual void GetDisplayName(std::wstring& text) const = 0;
    // The kind's fields of the save section ("storedType" is the slot's).
    virtual void StreamProperties(IOStream& stream) = 0;
    virtual std::uint32_t GetSkillId() const { return 0; }
    virtual std::unique_ptr<HotSlotOption> Clone() const = 0;

    std::uint32_t GetType() const { return mStoredType; }
    Player* GetPlayer() const { return mPlayer; }
    void SetPlayer(Player* player) { mPlayer = player; }

protected:
    Player* mPlayer = nullptr;
    std::uint32_t mStoredType;
};

class HotSlotOptionSkill : public HotSlotOption {
public:
    explicit HotSlotOptionSkill(std::uint32_t skillId = 0)
        : HotSlotOption(kSkill), mSkillId(skillId) {}

    bool Validate() const override;
    bool operator==(const HotSlotOption& other) const override;
    void Activate(bool& targetingNeeded, bool& used) override;
    float GetCooldownCompletion() const override;
    HotSlotOptionStatus GetStatus() const override;
    std::string GetBitmapNameUp() const override;
    std::string GetBitmapNameDown() const override;
    int GetNumberAvailable() const override { return -1; }
    void GetRolloverText(std::vector<GameTextLine>& lines) const override;
    void GetDisplayName(std::wstring& text) const override;
    void StreamProperties(IOStream& stream) override;
    std::uint32_t GetSkillId() const override { return mSkillId; }
    std::unique_ptr<HotSlotOption> Clone() const override;

private:
    Skill* FindSkill() const;

    std::uint32_t mSkillId;
};

class HotSlotOptionPotion : public HotSlotOption {
public:
    using OPTION_POTION_DEFAULT_TYPE = PotionType;
    static constexpr std::size_t kMaxTextLength = 127;

    explicit HotSlotOptionPotion(std::uint32_t defaultType = kNone)
        : HotSlotOption(kPotion), mDefaultType(defaultType) {}

    bool Validate() const override { return mStoredType < kNone; }
    bool operator==(const HotSlotOption& other) const override;
    void Activate(bool& targetingNeeded, bool& used) override;
    float GetCooldownCompletion() const override;
    HotSlotOptionStatus GetStatus() const override;
    std::string GetBitmapNameUp() const override;
    std::string GetBitmapNameDown() const override;
    int GetNumberAvailable() const override;
    void GetRolloverText(std::vector<GameTextLine>& lines) const override;
    void GetDisplayName(std::wstring& text) const override;
    void StreamProperties(IOStream& stream) override;
    std::unique_ptr<HotSlotOption> Clone() const override;
    std::uint32_t GetDefaultType() const { return mDefaultType; }

    // The look of each potion type, shared by every option; longer texts are cut.
    static void SetDefaultPotionData(PotionType type, const std::string& up,
                                     const std::string& down, const std::wstring& displayName);

private:
    bool HasType() const { return mDefaultType <= static_cast<std::uint32_t>(PotionType::Mana); }
    PlayerInventoryCtrl* FindInventory() const;

    std::uint32_t mDefaultType;
};

}  // namespace GAME
