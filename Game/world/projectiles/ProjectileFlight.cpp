// How a projectile is aimed and set flying: straight, ballistic, and the fumble that may
// deflect either.
#include <cmath>
#include <numbers>

#include "Engine/media/physics/PhysicsEngine.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/world/WorldRandom.h"
#include "Game/world/projectiles/ProjectileBase.h"

namespace GAME {

namespace {

constexpr float kDegrees = std::numbers::pi_v<float> / 180.0f;
constexpr float kGravity = PhysicsEngine::kGravity;
const Vec3 kUp(0.0f, 1.0f, 0.0f);

// Turned about its own axis, origin kept.
Coords Turned(const Coords& coords, const Vec3& axis, float angle) {
    Coords turned = coords * Coords::FromAxisAngle(axis, angle);
    turned.origin = coords.origin;
    return turned;
}

Coords Orthonormalised(Coords c) {
    c.zAxis = c.zAxis.Unit();
    c.xAxis = c.yAxis.Cross(c.zAxis).Unit();
    c.yAxis = c.zAxis.Cross(c.xAxis);
    return c;
}

// The launch speed that carries a body `d` across and `h` up at the angle; NaN or infinite when
// no speed does (the target lies above the arc).
float LaunchSpeed(float d, float h, float angle) {
    if (d < 0.0001f)
        return 0.0001f;
    const float c = std::cos(angle);
    return std::sqrt(kGravity * d * d / (2.0f * (std::tan(angle) * d - h) * c * c));
}

bool Usable(float speed) {
    return std::isfinite(speed) && speed > 0.0f;
}

}  // namespace

void ProjectileBase::MoveStraightLine(const WorldVec3& target) {
    EnableGravity(false);
    SetPhysicsType(PhysicsEngine::kFlyingType);
    WorldCoords coords = GetCoords();
    const Vec3 direction = ToStartSpace(target) - coords.coords.origin;
    if (direction.LengthSquared() > 0.0f)
        coords.coords = Coords::FromDirection(coords.coords.origin, direction, kUp);
    SetCoords(coords);
    ApplyFumbleDamage();
    SetLinearVelocity(GetCoords().coords.zAxis * mProjectileVelocity *
                      (1.0f + mInfo.speedModifier * 0.01f));
}

void ProjectileBase::MoveStraightLine() {
    EnableGravity(false);
    SetPhysicsType(PhysicsEngine::kFlyingType);
    ApplyFumbleDamage();
    SetLinearVelocity(GetCoords().coords.zAxis * mProjectileVelocity);
}

void ProjectileBase::MoveTrajectory(const WorldVec3& target, float angle, bool spin) {
    WorldCoords coords = GetCoords();
    const Vec3 here = coords.coords.origin;
    Vec3 aim = ToStartSpace(target);
    Vec3 level(aim.x, here.y, aim.z);
    if ((aim - here).LengthSquared() <= 0.0001f) {
        const Vec3 ahead = coords.coords.zAxis * mProjectileDistance;
        aim += ahead;
        level += ahead;
    }
    if ((level - here).LengthSquared() > 0.0f)
        coords.coords = Coords::FromDirection(here, level - here, kUp);

    const float d =
        std::sqrt((aim.x - here.x) * (aim.x - here.x) + (aim.z - here.z) * (aim.z - here.z));
    const float h = aim.y - here.y;
    float speed = LaunchSpeed(d, h, angle);
    if (Usable(speed) && speed < std::min(mProjectileVelocity, 5.0f)) {
        angle = 0.1f * kDegrees;
        speed = LaunchSpeed(d, h, angle);
    }
    bool straight = false;
    if (!Usable(speed)) {
        // The target lies above the arc: halfway between the line of sight and straight up
        // reaches it; nearly overhead, the shot goes straight.
        const float sight = std::atan2(h, d);
        angle = sight + (std::numbers::pi_v<float> * 0.5f - sight) * 0.5f;
        speed = angle <= 80.0f * kDegrees ? LaunchSpeed(d, h, angle) : 0.0f;
        straight = !Usable(speed);
    }
    if (straight) {
        SetCoords(coords);
        MoveStraightLine(target);
        return;
    }
    coords.coords = Turned(coords.coords, Vec3(1.0f, 0.0f, 0.0f), -angle);
    SetCoords(coords);
    ApplyFumbleDamage();
    EnableGravity(true);
    SetPhysicsType(PhysicsEngine::kFlyingType);
    SetLinearVelocity(GetCoords().coords.zAxis * speed);
    if (spin) {
        // Only looks: drawn from a generator of its own, never one that game logic shares.
        CrtGenerator spinDraws;
        spinDraws.Seed(mRandom.GetState());
        const float x = spinDraws.Float(-10.0f, 10.0f);
        const float y = spinDraws.Float(-10.0f, 10.0f);
        const float z = spinDraws.Float(-10.0f, 10.0f);
        SetAngularVelocity(Vec3(x, y, z));
    }
}

void ProjectileBase::ApplyFumbleDamage() {
    Character* caster = FindCharacter(mInfo.casterId);
    if (!caster)
        return;
    const float fumble = caster->GetFumbleDamage();
    const float projectileFumble = caster->GetProjectileFumbleDamage();
    if (fumble <= 0.0f && projectileFumble <= 0.0f)
        return;
    const float first = mRandom.FGenerate(0.0f, 100.0f);
    const float second = mRandom.FGenerate(0.0f, 100.0f);
    if (!(first <= fumble || second <= projectileFumble))
        return;
    float yaw = mRandom.FGenerate(10.0f, 20.0f);
    float pitch = mRandom.FGenerate(5.0f, 10.0f);
    switch (mRandom.IGenerate(0, 3)) {
        case 0:
            yaw = -yaw;
            break;
        case 1:
            pitch = -pitch;
            break;
        case 2:
            yaw = -yaw;
            pitch = -pitch;
            break;
        default:
            break;
    }
    WorldCoords coords = GetCoords();
    coords.coords = Turned(coords.coords, kUp, yaw * kDegrees);
    coords.coords = Turned(coords.coords, Vec3(1.0f, 0.0f, 0.0f), pitch * kDegrees);
    coords.coords = Orthonormalised(coords.coords);
    SetCoords(coords);
}

}  // namespace GAME
