#include "Game/skills/boss/Skill_Aktaios.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Engine/world/WorldShapes.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/characters/Player.h"
#include "Game/characters/anim/AnimationSetType.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/world/effects/FxPak.h"
#include "Game/world/props/LightOfRaMarker.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_AktaiosLightOfRa, SkillActivated)
RTTI_IMPLEMENT(Skill_AktaiosMirage, Skill_SpawnPet)

namespace {

// Kept between uses: the boss casts often and a gathering must not allocate once warm.
std::vector<Entity*>& Around(const WorldVec3& at, float reach) {
    thread_local std::vector<Entity*> found;
    found.clear();
    World::Get().GetEntitiesInSphere(found, at.region, Sphere{at.local, reach});
    return found;
}

}  // namespace

// --- Light of Ra ---

Skill_AktaiosLightOfRa::Skill_AktaiosLightOfRa() {
    SetTypeText("^bAktaios Light Of Ra");
    SetPrimary(false);
    SetSecondary(true);
}

void Skill_AktaiosLightOfRa::ActivateNow(Character& caster, const Name&, std::uint32_t,
                                         const WorldVec3&) {
    SkillServicesBase* services = ControllingServices();
    if (!services)
        return;
    const std::vector<Entity*>& near = Around(caster.GetPathPosition(), kMarkerReach);
    for (std::size_t i = 0; i < near.size(); ++i) {
        if (!near[i]->IsA<LightOfRaMarker>())
            continue;
        if (i > 0)
            services->ClearHitIteration();
        services->SendCreateProjectile(GetObjectId(), near[i]->GetCoords(), 0,
                                       near[i]->GetPosition(), NewCommandSeed(), 0);
    }
}

// --- Mirage ---

Skill_AktaiosMirage::Skill_AktaiosMirage() {
    SetTypeText("^bAktaios Mirage");
}

void Skill_AktaiosMirage::Load(const LoadTable& table) {
    SkillActivated::Load(table);
    mCasterHintEffect = table.GetString("casterHintEffect");
}

bool Skill_AktaiosMirage::SetAvailability(bool ignoreMana, bool ignoreCooldown) {
    const bool available = Skill_SpawnPet::SetAvailability(ignoreMana, ignoreCooldown);
    for (std::uint32_t id : GetPets())
        if (const Character* pet = FindCharacter(id); pet && pet->IsAlive())
            return false;
    return available;
}

WorldCoords Skill_AktaiosMirage::GetNewCasterCoords(Character& character,
                                                    std::vector<WorldVec3>& points) {
    const int n = static_cast<int>(points.size());
    if (n <= 1)
        return character.GetCoords();
    // n itself stands for staying put, so the boss is as likely to stay as to take any copy's
    // place.
    const int k = gGameEngine ? gGameEngine->GetRandomGen().IGenerate(0, n) : n;
    if (k == n)
        return character.GetCoords();
    WorldVec3 place = points[static_cast<std::size_t>(k)];
    place.TranslateToFloor(Vec3());
    WorldCoords coords = character.GetCoords();
    coords.SetPosition(place);
    points.erase(points.begin() + k);
    return coords;
}

void Skill_AktaiosMirage::SetCasterCoords(Character& character, const WorldCoords& coords) {
    character.TeleportToLocation(coords);
    StartNormalAnimation(character, 18, Name(), 1.0f, 0, 0);
    if (mCasterHintEffect.empty())
        return;
    if (auto* hint = Singleton<ObjectManager>::Get().CreateObjectFromFile<FxPak>(mCasterHintEffect))
        World::Get().AddEntity(
            hint, WorldCoords(coords.region, Coords::FromOrigin(coords.coords.origin)), true);
}

void Skill_AktaiosMirage::PostPetSpawned(Character& character, Monster& pet) {
    pet.SetUIActorDescriptionRedirectId(character.GetObjectId());
}

void Skill_AktaiosMirage::SkillSpawnObject(Character& character, const WorldCoords& casterCoords,
                                           std::uint32_t extra,
                                           const std::vector<WorldCoords>& points,
                                           const std::vector<std::uint32_t>& ids,
                                           std::uint32_t seed) {
    Skill_SpawnPet::SkillSpawnObject(character, casterCoords, extra, points, ids, seed);
    const Team team = character.GetTeam();
    for (Entity* entity : Around(character.GetPosition(), kConfusionReach)) {
        if (auto* monster = dynamic_cast<Monster*>(entity);
            monster && monster->IsAlive() && team.IsFoe(monster->GetTeam())) {
            monster->ClearAnger();
            monster->GoIdle();
        } else if (auto* player = dynamic_cast<Player*>(entity); player && player->IsAlive()) {
            player->ClearTarget();
        }
    }
}

}  // namespace GAME
