#include "Game/ai/monster/states/MonsterStateProjectiles.h"

#include "Engine/object/ObjectManager.h"
#include "Game/world/projectiles/ProjectileBase.h"

namespace GAME {

bool FindProjectileLaunchPoint(std::uint32_t projectileId, WorldVec3& out) {
    const auto* projectile =
        Singleton<ObjectManager>::Get().GetObject<ProjectileBase>(projectileId);
    if (!projectile)
        return false;
    out = projectile->GetInfo().start.GetPosition();
    return true;
}

}  // namespace GAME
