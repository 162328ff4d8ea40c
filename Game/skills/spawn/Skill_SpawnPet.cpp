#include "Game/skills/spawn/Skill_SpawnPet.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Engine/world/nav/PathFinder.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/manager/SkillSpawnIds.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/skills/spawn/SpawnedCharacters.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_SpawnPet, SkillActivated)
RTTI_IMPLEMENT(Skill_SpawnPetMonster, Skill_SpawnPet)

namespace {

Monster* FindMonster(std::uint32_t id) {
    return id ? Singleton<ObjectManager>::Get().GetObject<Monster>(id) : nullptr;
}

}  // namespace

Skill_SpawnPet::Skill_SpawnPet() {
    SetTypeText("^bSpawn Pet");
    SetPrimary(false);
    SetSecondary(true);
}

std::uint32_t Skill_SpawnPet::BurstNumber() const {
    const std::uint32_t burst = GetSkillProfile().GetPetBurstSpawn(GetCurrentLevel());
    return burst == 0 ? 1 : burst;
}

std::uint32_t Skill_SpawnPet::GetNumPets(Character&) {
    return BurstNumber();
}

std::size_t Skill_SpawnPet::GetClientSpawnLimit() const {
    return BurstNumber();
}

const std::string& Skill_SpawnPet::GetSpawnObject(unsigned level) const {
    return GetSkillProfile().GetSpawnObject(level);
}

void Skill_SpawnPet::PreLoadResources() {
    SkillActivatedSpell::PreLoadResources();
    PreLoadPet();
}

WorldCoords Skill_SpawnPet::GetNewCasterCoords(Character& character,
                                               std::vector<WorldVec3>& points) {
    if (!points.empty())
        points.erase(points.begin());
    return character.GetCoords();
}

void Skill_SpawnPet::ActivateNow(Character& character, const Name&, std::uint32_t,
                                 const WorldVec3&) {
    SkillServicesBase* services = HasManager() ? GetManager()->GetSkillServices() : nullptr;
    if (!services)
        return;
    const std::uint32_t count = GetNumPets(character);
    if (count == 0)
        return;
    float casterSize = (character.GetExtents() + 2.0f) * GetExtentsMultiplier();
    float petSize = GetExtentsMultiplier() * GetPetExtents();
    if (SwapCasterWithPet())
        casterSize = petSize = std::max(casterSize, petSize);
    std::vector<float> sizes(count + 1, petSize);
    sizes[0] = casterSize;
    std::vector<WorldVec3> points;
    // No room: nothing is spawned and nothing is paid.
    if (!World::Get().GetPathFinder().FillPointSet(character.GetPosition(), sizes, points, true))
        return;
    const WorldCoords casterCoords = GetNewCasterCoords(character, points);
    std::vector<WorldCoords> placed;
    std::vector<std::uint32_t> ids;
    for (WorldVec3& point : points) {
        const std::uint32_t id = CreateSkillSpawnId();
        if (id == 0)
            break;
        point.PutOnFloor();
        // Pets face the way their caster faces.
        WorldCoords coords = character.GetCoords();
        coords.SetPosition(point);
        placed.push_back(coords);
        ids.push_back(id);
    }
    if (ids.empty())
        return;
    services->SendSpawnObject(GetObjectId(), casterCoords, 0, placed, ids,
                              gGameEngine ? gGameEngine->GetRandomSeed() & 0xFFFFu : 0u);
}

void Skill_SpawnPet::SkillSpawnObject(Character& character, const WorldCoords& casterCoords,
                                      std::uint32_t, const std::vector<WorldCoords>& points,
                                      const std::vector<std::uint32_t>& ids, std::uint32_t seed) {
    SetCasterCoords(character, casterCoords);
    if (!ids.empty()) {
        SubtractManaCost();
        StartCooldown();
        PlayHitSound(casterCoords.GetPosition());
    }
    for (std::size_t i = 0; i < ids.size(); ++i)
        SpawnPet(character, i < points.size() ? points[i] : casterCoords, ids[i], seed);
    ActivateSecondarySkills(character, 0, ids, casterCoords);
}

void Skill_SpawnPet::SpawnPet(Character& character, const WorldCoords& coords,
                              std::uint32_t objectId, std::uint32_t) {
    CreateTargetFx(coords.GetPosition());
    const unsigned level = GetCurrentLevel();
    const std::string& record = GetSpawnObject(level);
    Monster* pet =
        MayTakeSpawnId(objectId)
            ? Singleton<ObjectManager>::Get().CreateObjectFromFile<Monster>(record, objectId)
            : nullptr;
    if (!pet) {
        gEngine->Log(1, "Failed to spawn pet object (%s)", record.c_str());
    } else {
        if (ShouldJoinWithParent())
            pet->JoinMe(character.GetObjectId(), -1, false);
        // Its damage and its release belong to its summoner.
        pet->SetMasterId(character.GetObjectId());
        if (auto* caster = dynamic_cast<Monster*>(&character))
            caster->TransferAnger(*pet);
        const int lifetime = GetSkillProfile().GetSpawnObjectTimeToLive(level);
        if (lifetime > 0)
            pet->SetLifetime(lifetime);
        pet->SetOwnedByClient(true);
        World::Get().AddEntity(pet, coords, false);
        mPets.push_back(objectId);
        PostPetSpawned(character, *pet);
    }
    const std::uint32_t limit = GetSkillProfile().GetPetLimit(level);
    if (limit > 0 && mPets.size() > limit)
        ReleaseOnePet(character);
}

void Skill_SpawnPet::ReleaseOnePet(Character&) {
    if (mPets.empty())
        return;
    const std::uint32_t oldest = mPets.front();
    mPets.erase(mPets.begin());
    KillSpawnedCharacter(oldest);
}

void Skill_SpawnPet::ReleasePets(Character&) {
    // Taken first: a pet's death may reach this skill again.
    const std::vector<std::uint32_t> pets = std::move(mPets);
    mPets.clear();
    for (std::uint32_t id : pets)
        KillSpawnedCharacter(id);
}

void Skill_SpawnPet::Update(Character& character, int ms) {
    SkillActivatedSpell::Update(character, ms);
    // An id that names no monster any more stays until it is released.
    std::erase_if(mPets, [](std::uint32_t id) {
        const Monster* pet = FindMonster(id);
        return pet && !pet->IsAlive();
    });
}

// --- The monster's summons ---

Skill_SpawnPetMonster::Skill_SpawnPetMonster() {
    SetTypeText("^bSpawn Pet Monster");
}

std::uint32_t Skill_SpawnPetMonster::GetNumPets(Character& character) {
    const std::uint32_t burst = Skill_SpawnPet::GetNumPets(character);
    return mPets.size() >= burst ? 0 : burst - static_cast<std::uint32_t>(mPets.size());
}

void Skill_SpawnPetMonster::Update(Character& character, int ms) {
    Skill_SpawnPet::Update(character, ms);
    // Held back once the burst is alive, and usable again when all of it is gone, as the
    // projectile summons are.
    if (mPets.size() >= BurstNumber())
        mBurstAlive = true;
    else if (mPets.empty())
        mBurstAlive = false;
}

bool Skill_SpawnPetMonster::SetAvailability(bool ignoreMana, bool ignoreCooldown) {
    const bool available = Skill_SpawnPet::SetAvailability(ignoreMana, ignoreCooldown);
    if (!mBurstAlive)
        return available;
    SetReason(SkillReason::CoolingDown);
    return false;
}

}  // namespace GAME
