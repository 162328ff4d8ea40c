#pragma once
// The argument block of every state change: whom the state is about and where.
#include <cstdint>

#include "Engine/world/Region.h"

namespace GAME {

// Filled by name ({.enemy = e, .skill = s}) so that a skill never lands in the ally slot.
struct ControllerAIStateArgs {
    std::uint32_t enemy = 0;
    std::uint32_t ally = 0;
    std::uint32_t skill = 0;
    WorldVec3 point = WorldVec3();
};

class ControllerAIStateData {
public:
    ControllerAIStateData() = default;
    explicit ControllerAIStateData(const ControllerAIStateArgs& args)
        : mEnemyId(args.enemy),
          mAllyId(args.ally),
          mSkillId(args.skill),
          mPointOfInterest(args.point) {}

    std::uint32_t GetEnemyID() const { return mEnemyId; }
    std::uint32_t GetAllyID() const { return mAllyId; }
    std::uint32_t GetSkillID() const { return mSkillId; }
    const WorldVec3& GetPointOfInterest() const { return mPointOfInterest; }

private:
    std::uint32_t mEnemyId = 0;
    std::uint32_t mAllyId = 0;
    std::uint32_t mSkillId = 0;
    WorldVec3 mPointOfInterest;
};

}  // namespace GAME
