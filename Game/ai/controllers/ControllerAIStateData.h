#pragma once
// The argument block of every state change: whom the state is about and where.
#include <cstdint>

#include "Engine/world/Region.h"

namespace GAME {

class ControllerAIStateData {
public:
    ControllerAIStateData() = default;
    ControllerAIStateData(std::uint32_t enemy, std::uint32_t ally, std::uint32_t skill,
                          const WorldVec3& point)
        : mEnemyId(enemy), mAllyId(ally), mSkillId(skill), mPointOfInterest(point) {}

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
