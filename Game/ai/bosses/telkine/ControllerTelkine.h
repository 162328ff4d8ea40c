#pragma once
// The Telkine: a caster that stands its ground and fights in two phases, first lifting and
// throwing things at its enemies every 12 s with an emote between throws, then striking
// directly every 5 s. It keeps the monster's per-frame work but only its own states and keys.
#include <cstdint>
#include <string>

#include "Game/ai/monster/ControllerMonster.h"

namespace GAME {

class ControllerTelkine : public ControllerMonster {
    RTTI_DECLARE(ControllerTelkine)
public:
    ControllerTelkine();
    ~ControllerTelkine() override;

    void Load(const LoadTable& table) override;
    void InitialUpdate() override;
    void Update(int ms) override;
    void RegisterStates() override;

    std::uint32_t GetSkeletonSpellId() const { return mSkeletonSpellId; }
    std::uint32_t GetTelekinesisSpellId() const { return mTelekinesisSpellId; }
    std::uint32_t GetDirectAttackId() const { return mDirectAttackId; }

private:
    std::string mSkeletonSpell;
    std::string mTelekinesisSpell;
    std::string mDirectAttack;
    std::uint32_t mSkeletonSpellId = 0;
    std::uint32_t mTelekinesisSpellId = 0;
    std::uint32_t mDirectAttackId = 0;
};

}  // namespace GAME
