#pragma once
// The controller of a practice target (a training dummy, a scarecrow): a combat controller, not a
// state machine. It shows its spawn animation, answers every hit by using its first skill on
// itself, and drops its own misc loot when it dies.
#include <cstdint>

#include "Game/ai/controllers/ControllerCombat.h"

namespace GAME {

class Character;

class ControllerStooge : public ControllerCombat {
    RTTI_DECLARE(ControllerStooge)
public:
    void InitialUpdate() override;
    void UnderAttack(std::uint32_t attackerId) override;
    void CharacterIsDead() override;

    void SetOnHitSkillId(std::uint32_t id) { mOnHitSkillId = id; }
    std::uint32_t GetOnHitSkillId() const { return mOnHitSkillId; }

    // The misc loot of the character's record: "lootMisc<i>Item<n>" with its weights, each of the
    // three rolled against "chanceToEquipMisc<i>".
    static void CreateDropMiscItems(Character& character);

private:
    std::uint32_t mOnHitSkillId = 0;
};

}  // namespace GAME
