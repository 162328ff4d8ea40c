#include "Game/skills/projectile/Skill_AttackProjectileSpawnPet.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Engine/world/nav/PathFinder.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/ControllerCombat.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/characters/monster/Monster.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/manager/SkillSpawnIds.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_AttackProjectileSpawnPet, Skill_AttackProjectile)

Skill_AttackProjectileSpawnPet::Skill_AttackProjectileSpawnPet() {
    SetTypeText("^bProjectile Attack Spawn Pet");
}

std::size_t Skill_AttackProjectileSpawnPet::GetClientSpawnLimit() const {
    return std::max<std::size_t>(1, GetSkillProfile().GetPetBurstSpawn(GetCurrentLevel()));
}

void Skill_AttackProjectileSpawnPet::TargetInformation(const ProjectileInfo& info,
                                                       const WorldCoords& at,
                                                       std::vector<std::uint32_t>&) {
    SkillServicesBase* services = ControllingServices();
    if (!FindCharacter(info.casterId) || !services)
        return;
    // The pets' places only: a fill for the struck target's room first would move them.
    const std::size_t count = GetClientSpawnLimit();
    mClearances.assign(count, GetPetExtents());
    mPoints.clear();
    if (!World::Get().GetPathFinder().FillPointSet(at.GetPosition(), mClearances, mPoints, true))
        return;
    std::vector<WorldCoords> places;
    std::vector<std::uint32_t> ids;
    for (const WorldVec3& point : mPoints) {
        WorldVec3 floor = point;
        floor.PutOnFloor();
        const std::uint32_t id = CreateSkillSpawnId();
        if (id == 0)
            break;
        places.emplace_back(floor.GetRegion(), Coords::FromOrigin(floor.local));
        ids.push_back(id);
    }
    if (!ids.empty())
        if (const Character* caster = FindCharacter(info.casterId))
            services->SendSpawnObject(GetObjectId(), caster->GetCoords(), 0, places, ids,
                                      NewCommandSeed());
}

void Skill_AttackProjectileSpawnPet::SkillSpawnObject(Character& caster, const WorldCoords& coords,
                                                      std::uint32_t,
                                                      const std::vector<WorldCoords>& points,
                                                      const std::vector<std::uint32_t>& ids,
                                                      std::uint32_t seed) {
    if (!ids.empty())
        PlayHitSound(coords.GetPosition());
    for (std::size_t i = 0; i < ids.size(); ++i)
        SpawnPet(caster, i < points.size() ? points[i] : coords, ids[i], seed);
    ActivateSecondarySkills(caster, 0, ids, coords);
}

void Skill_AttackProjectileSpawnPet::SpawnPet(Character& caster, const WorldCoords& at,
                                              std::uint32_t id, std::uint32_t) {
    const std::uint32_t level = GetCurrentLevel();
    const std::string& record = GetSkillProfile().GetSpawnObject(level);
    auto* pet = Singleton<ObjectManager>::Get().CreateObjectFromFile<Monster>(record, id);
    if (!pet) {
        gEngine->Log(1, "Failed to spawn pet object (%s)", record.c_str());
        return;
    }
    pet->JoinMe(caster.GetObjectId(), -1, false);
    if (const int timeToLive = GetSkillProfile().GetSpawnObjectTimeToLive(level); timeToLive > 0)
        pet->SetLifetime(timeToLive);
    if (auto* master = dynamic_cast<Monster*>(&caster))
        master->TransferAnger(*pet);
    pet->SetOwnedByClient(true);
    World::Get().AddEntity(pet, at, true);
    mPets.push_back(id);
    const std::uint32_t limit = GetSkillProfile().GetPetLimit(level);
    if (limit > 0 && mPets.size() > limit)
        ReleaseOnePet(caster);
}

void Skill_AttackProjectileSpawnPet::ReleaseOnePet(Character&) {
    if (mPets.empty())
        return;
    const std::uint32_t oldest = mPets.front();
    mPets.erase(mPets.begin());
    if (auto* pet = Singleton<ObjectManager>::Get().GetObject<Monster>(oldest))
        if (auto* controller = FindController<ControllerCombat>(*pet))
            controller->KillMe();
}

void Skill_AttackProjectileSpawnPet::ReleasePets(Character& caster) {
    while (!mPets.empty())
        ReleaseOnePet(caster);
}

void Skill_AttackProjectileSpawnPet::StopSkill(Character& caster) {
    Skill_AttackProjectile::StopSkill(caster);
    ReleasePets(caster);
}

void Skill_AttackProjectileSpawnPet::Update(Character& caster, int ms) {
    Skill_AttackProjectile::Update(caster, ms);
    auto& objects = Singleton<ObjectManager>::Get();
    // A dead pet leaves the list; an id that names nothing any more stays.
    std::erase_if(mPets, [&](std::uint32_t id) {
        const auto* pet = objects.GetObject<Monster>(id);
        return pet && !pet->IsAlive();
    });
}

bool Skill_AttackProjectileSpawnPet::SetAvailability(bool ignoreMana, bool ignoreCooldown) {
    const bool available = Skill_AttackProjectile::SetAvailability(ignoreMana, ignoreCooldown);
    // Through the availability the base update sends, so the state changes once, not every
    // frame.
    const bool monster = HasManager() && dynamic_cast<Monster*>(GetManager()->GetParent());
    return available && !(monster && !mPets.empty());
}

void Skill_AttackProjectileSpawnPet::PreLoadResources() {
    Skill_AttackProjectile::PreLoadResources();
    PreLoadPet();
}

}  // namespace GAME
