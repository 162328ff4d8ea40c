#include "Game/skills/triggered/Skill_Spawners.h"

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/characters/Player.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/manager/SkillSpawnIds.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_OnDeathSpawnActor, SkillOnDeath)
RTTI_IMPLEMENT(Skill_MonsterGenerator, Skill)

namespace {

std::uint32_t SpawnSeed() {
    return gGameEngine ? gGameEngine->GetRandomSeed() & 0xFFFFu : 0u;
}

const WorldCoords& SpawnPointAt(const std::vector<WorldCoords>& points, std::size_t i,
                                const WorldCoords& fallback) {
    return i < points.size() ? points[i] : fallback;
}

}  // namespace

// --- On death ---

Skill_OnDeathSpawnActor::Skill_OnDeathSpawnActor() {
    SetTypeText("^bSpawn Actor on Death");
    SetPrimary(false);
    SetSecondary(false);
    SetRepeatable(false);
}

void Skill_OnDeathSpawnActor::ActivateOnDeathNow(Character& owner) {
    SkillServicesBase* services = HasManager() ? GetManager()->GetSkillServices() : nullptr;
    if (GetCurrentLevel() == 0 || !services)
        return;
    WorldCoords point = owner.GetCoords();
    WorldVec3 floor = point.GetPosition();
    floor.PutOnFloor();
    point.SetPosition(floor);
    const std::uint32_t id = CreateSkillSpawnId();
    if (id == 0)
        return;
    services->SendSpawnObject(GetObjectId(), owner.GetCoords(), 0, {point}, {id}, SpawnSeed());
}

void Skill_OnDeathSpawnActor::SkillSpawnObject(Character& owner, const WorldCoords& coords,
                                               std::uint32_t,
                                               const std::vector<WorldCoords>& points,
                                               const std::vector<std::uint32_t>& ids,
                                               std::uint32_t seed) {
    if (!ids.empty())
        PlayHitSound(coords.GetPosition());
    for (std::size_t i = 0; i < ids.size(); ++i)
        SpawnActor(owner, SpawnPointAt(points, i, coords), ids[i], seed);
}

void Skill_OnDeathSpawnActor::SpawnActor(Character&, const WorldCoords& coords, std::uint32_t id,
                                         std::uint32_t) {
    const std::string& record = GetSkillProfile().GetSpawnObject(GetCurrentLevel());
    auto* actor = Singleton<ObjectManager>::Get().CreateObjectFromFile<Actor>(record, id);
    if (!actor) {
        gEngine->Log(1, "Failed to spawn object (%s)", record.c_str());
        return;
    }
    World::Get().AddEntity(actor, coords, true);
}

// --- Generator ---

Skill_MonsterGenerator::Skill_MonsterGenerator() {
    SetTypeText("^bMonster Skill - Generator");
    SetPrimary(false);
    SetSecondary(false);
}

void Skill_MonsterGenerator::Update(Character& owner, int) {
    SkillServicesBase* services = HasManager() ? GetManager()->GetSkillServices() : nullptr;
    if (!owner.IsAlive() || mSpawnPending || !services)
        return;
    auto& objects = Singleton<ObjectManager>::Get();
    for (const bool second : {false, true}) {
        std::uint32_t& slot = second ? mSecondId : mFirstId;
        const Character* monster = slot ? objects.GetObject<Character>(slot) : nullptr;
        if (monster && monster->IsAlive())
            continue;
        slot = 0;
        SendSpawnPet(owner, *services, slot, second);
    }
}

void Skill_MonsterGenerator::SendSpawnPet(Character& owner, SkillServicesBase& services,
                                          std::uint32_t& slot, bool second) {
    const auto count = static_cast<int>(GetSkillProfile().GetNumberOfSpawnObjects());
    // Nothing to make: no id is taken and no roll drawn.
    if (count == 0 || !gGameEngine)
        return;
    slot = CreateSkillSpawnId();
    if (slot == 0)
        return;
    mSpawnPending = true;
    const WorldCoords& at = owner.GetCoords();
    WorldVec3 point = at.GetPosition();
    point.Translate(at.coords.xAxis * (second ? -2.0f : 2.0f) + at.coords.yAxis * 2.0f);
    point.PutOnFloor();
    WorldCoords spawn = at;
    spawn.SetPosition(point);
    // Index 0 names no record: every draw names one of them.
    const int index = gGameEngine->GetRandomGen().IGenerate(1, count);
    services.SendSpawnObject(GetObjectId(), spawn, static_cast<std::uint32_t>(index), {spawn},
                             {slot}, SpawnSeed());
}

void Skill_MonsterGenerator::SkillSpawnObject(Character& owner, const WorldCoords& coords,
                                              std::uint32_t index,
                                              const std::vector<WorldCoords>& points,
                                              const std::vector<std::uint32_t>& ids,
                                              std::uint32_t) {
    mSpawnPending = false;
    auto& objects = Singleton<ObjectManager>::Get();
    const std::string& record = GetSkillProfile().GetSpawnObject(index);
    const int timeToLive = GetSkillProfile().GetSpawnObjectTimeToLive(GetCurrentLevel());
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const WorldCoords& at = SpawnPointAt(points, i, coords);
        CreateTargetFx(at.GetPosition());
        auto* monster = objects.CreateObjectFromFile<Monster>(record, ids[i]);
        if (!monster) {
            gEngine->Log(1, "Failed to spawn pet object (%s)", record.c_str());
            continue;
        }
        if (dynamic_cast<Player*>(&owner))
            monster->JoinMe(owner.GetObjectId(), -1, false);
        else if (auto* master = dynamic_cast<Monster*>(&owner))
            master->TransferAnger(*monster);
        if (timeToLive > 0)
            monster->SetLifetime(timeToLive);
        monster->SetOwnedByClient(true);
        World::Get().AddEntity(monster, at, true);
    }
}

}  // namespace GAME
