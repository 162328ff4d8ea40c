#include "Game/skills/secondary/SkillSecondary.h"

#include <algorithm>
#include <string>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Engine/world/nav/PathFinder.h"
#include "Game/characters/Character.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameUIInterface.h"
#include "Game/core/players/Bonus.h"
#include "Game/core/util/StringUtil.h"
#include "Game/skills/SkillTargets.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/manager/SkillSpawnIds.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

RTTI_IMPLEMENT(SkillSecondary, Skill)
RTTI_IMPLEMENT(SkillSecondary_Bonus, SkillSecondary)
RTTI_IMPLEMENT(SkillSecondary_PetModifier, SkillSecondary)
RTTI_IMPLEMENT(SkillSecondary_PetSpawn, SkillSecondary)

namespace {

Bonus SecondaryBonus(const Skill& skill) {
    const std::uint32_t level = skill.GetCurrentLevel();
    Bonus bonus;
    bonus.lifePoints = skill.GetSkillProfile().GetLifeBonus(level);
    bonus.manaPoints = skill.GetSkillProfile().GetManaBonus(level);
    bonus.effectName = skill.GetSkillProfile().GetBonusEffectName();
    return bonus;
}

}  // namespace

// --- The base ---

SkillSecondary::SkillSecondary() {
    MarkEnabled();
    SetTypeText("^bSecondary Skill");
}

SkillServicesBase* SkillSecondary::Services() const {
    return HasManager() ? GetManager()->GetSkillServices() : nullptr;
}

void SkillSecondary::PrimaryActivateNow(Character& caster, std::uint32_t,
                                        const std::vector<std::uint32_t>& targets,
                                        const WorldCoords& point) {
    PrimaryActivateSecondarySkills(caster, targets, point);
}

void SkillSecondary::ActivateNow(Character&, std::uint32_t, const std::vector<std::uint32_t>&,
                                 const WorldCoords&) {
    if (GameUIInterface* ui = gGameEngine ? gGameEngine->GetUI() : nullptr)
        ui->OnSecondarySkillActivated(GetObjectId());
}

void SkillSecondary::PrimaryStop(Character& caster) {
    PrimaryStopSecondarySkills(caster);
}

// --- Bonus ---

SkillSecondary_Bonus::SkillSecondary_Bonus() {
    SetTypeText("^bSecondary Skill - Bonus");
}

void SkillSecondary_Bonus::ActivateNow(Character& caster, std::uint32_t,
                                       const std::vector<std::uint32_t>& targets,
                                       const WorldCoords& point) {
    const Bonus bonus = SecondaryBonus(*this);
    auto& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : targets)
        if (Character* target = objects.GetObject<Character>(id))
            target->TakeBonus(bonus, false, 0);
    ActivateSecondarySkills(caster, 0, targets, point);
}

// --- Pet modifier ---

SkillSecondary_PetModifier::SkillSecondary_PetModifier() {
    SetTypeText("^bSecondary Skill - Pet Modifier");
}

void SkillSecondary_PetModifier::Load(const LoadTable& table) {
    Object::Load(table);
    mPetSkillName = table.GetString("petSkillName");
    NormalizePath(mPetSkillName);
    std::string resource = table.GetString("buffSkillName");
    NormalizePath(resource);
    if (resource.empty())
        resource = mPetSkillName;
    if (resource.empty()) {
        Skill::Load(table);
        return;
    }
    // The pet's skill (or the buff) is what this skill shows and is measured by.
    auto& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(resource);
    const LoadTable record = objects.GetLoadTable(resource);
    SetResourceName(Name::Create(resource));
    LoadResources(record);
    LoadOriginalSkillResource(record);
}

void SkillSecondary_PetModifier::ActivateNow(Character& caster, std::uint32_t,
                                             const std::vector<std::uint32_t>& targets,
                                             const WorldCoords& point) {
    if (GetCurrentLevel() > 0) {
        auto& objects = Singleton<ObjectManager>::Get();
        for (std::uint32_t id : targets)
            if (Character* pet = objects.GetObject<Character>(id))
                pet->AddToSkillLevel(mPetSkillName, static_cast<int>(GetCurrentLevel()));
    }
    ActivateSecondarySkills(caster, 0, targets, point);
}

// --- Pet spawn ---

SkillSecondary_PetSpawn::SkillSecondary_PetSpawn() {
    SetTypeText("^bSecondary Skill - Pet Spawn");
}

std::size_t SkillSecondary_PetSpawn::GetClientSpawnLimit() const {
    return std::max<std::size_t>(1, GetSkillProfile().GetPetLimit(GetCurrentLevel()));
}

void SkillSecondary_PetSpawn::PrimaryActivateNow(Character& caster, std::uint32_t targetId,
                                                 const std::vector<std::uint32_t>& targets,
                                                 const WorldCoords& point) {
    SkillSecondary::PrimaryActivateNow(caster, targetId, targets, point);
    SkillServicesBase* services = Services();
    if (!IsSkillEnabled() || !services)
        return;
    const std::size_t count = GetClientSpawnLimit();
    mClearances.assign(1, GetCharacterExtents(caster) + 1.5f);
    mClearances.insert(mClearances.end(), count, GetPetExtents());
    mPoints.clear();
    // The first place is the caster's own; the pets stand on the others.
    if (!World::Get().GetPathFinder().FillPointSet(caster.GetPosition(), mClearances, mPoints,
                                                   true))
        return;
    std::vector<WorldCoords> places;
    std::vector<std::uint32_t> ids;
    for (std::size_t i = mPoints.size(); i-- > 1;) {
        WorldVec3 floor = mPoints[i];
        floor.PutOnFloor();
        const std::uint32_t id = CreateSkillSpawnId();
        if (id == 0)
            break;
        places.emplace_back(floor.GetRegion(), Coords::FromOrigin(floor.local));
        ids.push_back(id);
    }
    if (!ids.empty() && gGameEngine)
        services->SendSpawnObject(GetObjectId(), caster.GetCoords(), 0, places, ids,
                                  gGameEngine->GetRandomSeed() & 0xFFFFu);
}

void SkillSecondary_PetSpawn::SkillSpawnObject(Character& caster, const WorldCoords& coords,
                                               std::uint32_t,
                                               const std::vector<WorldCoords>& points,
                                               const std::vector<std::uint32_t>& ids,
                                               std::uint32_t) {
    if (!ids.empty())
        PlayHitSound(coords.GetPosition());
    for (std::size_t i = 0; i < ids.size(); ++i)
        SpawnPet(caster, i < points.size() ? points[i] : coords, ids[i]);
    ActivateSecondarySkills(caster, 0, ids, coords);
}

void SkillSecondary_PetSpawn::SpawnPet(Character& caster, const WorldCoords& at, std::uint32_t id) {
    CreateTargetFx(at.GetPosition());
    const std::uint32_t level = GetCurrentLevel();
    const std::string& record = GetSkillProfile().GetSpawnObject(level);
    auto* pet = Singleton<ObjectManager>::Get().CreateObjectFromFile<Monster>(record, id);
    if (!pet) {
        gEngine->Log(1, "Failed to spawn pet object (%s)", record.c_str());
        return;
    }
    pet->JoinMe(caster.GetObjectId(), -1, false);
    if (auto* master = dynamic_cast<Monster*>(&caster))
        master->TransferAnger(*pet);
    if (const int timeToLive = GetSkillProfile().GetSpawnObjectTimeToLive(level); timeToLive > 0)
        pet->SetLifetime(timeToLive);
    pet->SetOwnedByClient(true);
    World::Get().AddEntity(pet, at, true);
}

void SkillSecondary_PetSpawn::PreLoadResources() {
    SkillSecondary::PreLoadResources();
    PreLoadPet();
}

}  // namespace GAME
