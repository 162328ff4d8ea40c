#include "Game/skills/spawn/Skill_DefensiveWall.h"

#include <cmath>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Engine/world/nav/PathFinder.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/manager/SkillSpawnIds.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/skills/spawn/SpawnedCharacters.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_DefensiveWall, SkillActivated)
RTTI_IMPLEMENT(Skill_DefensiveGround, Skill_DefensiveWall)

namespace {

const Vec3 kUp(0.0f, 1.0f, 0.0f);

// The centre moved along the region's x axis, then turned about the centre.
WorldCoords RingStart(const WorldCoords& centre, float distance, float turn) {
    WorldCoords cursor = centre;
    cursor.coords.origin += Vec3(distance, 0.0f, 0.0f);
    cursor.RotateAroundPoint(centre.GetPosition(), kUp, turn);
    return cursor;
}

}  // namespace

Skill_DefensiveWall::Skill_DefensiveWall() {
    SetTypeText("^bDefensive Wall");
    SetSkillType(1);
    SetPrimary(false);
    SetSecondary(true);
    SetRepeatable(false);
}

std::uint32_t Skill_DefensiveWall::PlacesPerRing() const {
    const float spacing = GetSkillProfile().GetSpawnObjectsSpacingAngle();
    // A record without a usable spacing would ask for endless places on a ring.
    if (!(spacing > 0.0f) || !std::isfinite(spacing))
        return 0;
    return static_cast<std::uint32_t>(360.0f / spacing);
}

std::size_t Skill_DefensiveWall::GetClientSpawnLimit() const {
    return static_cast<std::size_t>(
               GetSkillProfile().GetSpawnObjectsNumberOfRings(GetCurrentLevel())) *
           PlacesPerRing();
}

void Skill_DefensiveWall::PreLoadResources() {
    SkillActivatedSpell::PreLoadResources();
    PreLoadPet();
}

void Skill_DefensiveWall::ActivateNow(Character& character, const Name&, std::uint32_t target,
                                      const WorldVec3& point) {
    SkillServicesBase* services = HasManager() ? GetManager()->GetSkillServices() : nullptr;
    if (!services || !gGameEngine)
        return;
    const SkillProfile& profile = GetSkillProfile();
    const std::uint32_t rings = profile.GetSpawnObjectsNumberOfRings(GetCurrentLevel());
    const std::uint32_t perRing = PlacesPerRing();
    const float spacing = profile.GetSpawnObjectsSpacingAngle();
    const float increment = profile.GetSpawnObjectsDistanceIncrement();
    float distance = profile.GetSpawnObjectsDistanceInnerCircle();
    float ringOffset = 0.0f;

    WorldCoords centre = character.GetCoords();
    if (GetSkillType() == 0)
        centre.SetPosition(point);
    const WorldVec3 pivot = centre.GetPosition();
    static const std::vector<float> kWallRadius{1.0f};
    PathFinder& paths = World::Get().GetPathFinder();
    mPlaces.clear();
    mIds.clear();
    WorldCoords cursor = RingStart(centre, distance, ringOffset);
    for (std::uint32_t ring = 0; ring < rings; ++ring) {
        for (std::uint32_t i = 0; i < perRing; ++i) {
            if (paths.FillPointSet(cursor.GetPosition(), kWallRadius, mFill, true)) {
                WorldCoords place = cursor;
                // Each wall faces its own way.
                place.RotateAroundPoint(place.GetPosition(), kUp,
                                        gGameEngine->GetRandomGen().FGenerate(0.0f, 360.0f));
                WorldVec3 floor = place.GetPosition();
                floor.PutOnFloor();
                place.SetPosition(floor);
                const std::uint32_t id = CreateSkillSpawnId();
                if (id != 0) {
                    mPlaces.push_back(place);
                    mIds.push_back(id);
                }
            }
            cursor.RotateAroundPoint(pivot, kUp, spacing);
        }
        // The next ring lies farther out, staggered by half a spacing.
        ringOffset += spacing * 0.5f;
        distance += increment;
        cursor = RingStart(centre, distance, ringOffset);
    }
    // No room anywhere: nothing is sent and nothing is paid.
    if (mIds.empty())
        return;
    services->SendSpawnObject(GetObjectId(), centre, target, mPlaces, mIds,
                              gGameEngine->GetRandomSeed() & 0xFFFFu);
    mWallTimer = profile.GetSpawnObjectTimeToLive(GetCurrentLevel());
    mTimed = mWallTimer > 0;
    PrimaryActivateSecondarySkills(character, {}, centre);
}

void Skill_DefensiveWall::SkillSpawnObject(Character& character, const WorldCoords& coords,
                                           std::uint32_t, const std::vector<WorldCoords>& points,
                                           const std::vector<std::uint32_t>& ids,
                                           std::uint32_t seed) {
    if (!ids.empty()) {
        SubtractManaCost();
        StartCooldown();
        PlayHitSound(coords.GetPosition());
        CreateTargetFx(coords.GetPosition());
    }
    // The walls of an earlier use fall first.
    ReleaseWalls(character);
    for (std::size_t i = 0; i < ids.size(); ++i)
        SpawnWall(character, i < points.size() ? points[i] : coords, ids[i], seed);
    ActivateSecondarySkills(character, 0, ids, coords);
}

void Skill_DefensiveWall::SpawnWall(Character& character, const WorldCoords& coords,
                                    std::uint32_t objectId, std::uint32_t) {
    const std::string& record = GetSkillProfile().GetSpawnObject(GetCurrentLevel());
    Character* wall =
        MayTakeSpawnId(objectId)
            ? Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(record, objectId)
            : nullptr;
    if (!wall) {
        gEngine->Log(1, "Failed to spawn wall object (%s)", record.c_str());
        return;
    }
    wall->SetTeam(character.GetTeam());
    wall->JoinMe(character.GetObjectId(), -1, false);
    wall->SetOwnedByClient(true);
    World::Get().AddEntity(wall, coords, false);
    mWalls.push_back(objectId);
}

void Skill_DefensiveWall::ReleaseWalls(Character&) {
    mReleased = false;
    // Taken first: a wall's death may reach this skill again.
    const std::vector<std::uint32_t> walls = std::move(mWalls);
    mWalls.clear();
    bool heard = false;
    for (std::uint32_t id : walls) {
        const auto* wall = Singleton<ObjectManager>::Get().GetObject<Character>(id);
        if (!wall)
            continue;
        if (!heard) {
            PlayDeactivateSound(wall->GetPosition());
            heard = true;
        }
        KillSpawnedCharacter(id);
    }
}

void Skill_DefensiveWall::Update(Character& character, int ms) {
    SkillActivatedSpell::Update(character, ms);
    if (!IsControllingSkill() || mWalls.empty())
        return;
    mWallTimer -= ms;
    if (mWallTimer >= 1 || !mTimed || mReleased)
        return;
    mReleased = true;
    if (SkillServicesBase* services = HasManager() ? GetManager()->GetSkillServices() : nullptr)
        services->SendSpawnObject(GetObjectId(), character.GetCoords(), 0, {}, {}, 0);
    PrimaryStopSecondarySkills(character);
}

void Skill_DefensiveWall::StopSkill(Character& character) {
    ReleaseWalls(character);
    PrimaryStopSecondarySkills(character);
}

}  // namespace GAME
