#include "Game/ai/monster/states/MonsterStateSeams.h"

#include "Game/core/util/SeamLog.h"

namespace GAME {

bool FindProjectileLaunchPoint(std::uint32_t, WorldVec3&) {
    ReportSeam("Monster states", "ProjectileBase::GetProjectileInfo");
    return false;
}

}  // namespace GAME
