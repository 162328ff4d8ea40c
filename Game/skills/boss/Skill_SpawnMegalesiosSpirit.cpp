#include "Game/skills/boss/Skill_SpawnMegalesiosSpirit.h"

#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Engine/world/WorldShapes.h"
#include "Game/ai/bosses/megalesios/SpiritHostLink.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/boss/BossBeams.h"
#include "Game/skills/manager/SkillServicesBase.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_SpawnMegalesiosSpirit, Skill_E3FauxAttack)

namespace {

Monster* FindBurstHost(std::uint32_t id) {
    return id ? Singleton<ObjectManager>::Get().GetObject<Monster>(id) : nullptr;
}

}  // namespace

Skill_SpawnMegalesiosSpirit::Skill_SpawnMegalesiosSpirit() {
    SetTypeText("^bSpawn Megalesios Spirit");
}

Skill_SpawnMegalesiosSpirit::~Skill_SpawnMegalesiosSpirit() {
    for (const Burst& burst : mBursts)
        RemoveEffect(burst.effectId);
}

void Skill_SpawnMegalesiosSpirit::Load(const LoadTable& table) {
    Skill_E3FauxAttack::Load(table);
    mBurstVelocity = table.GetFloat("burstVelocity", 1.0f);
    mBurstName = table.GetString("burstName");
}

void Skill_SpawnMegalesiosSpirit::ActivateNow(Character& caster, const Name&, std::uint32_t,
                                              const WorldVec3&) {
    thread_local std::vector<Entity*> found;
    found.clear();
    const WorldVec3 at = caster.GetPosition();
    World::Get().GetEntitiesInSphere(found, at.region, Sphere{at.local, kHostReach});
    std::vector<std::uint32_t> hosts;
    for (Entity* entity : found) {
        auto* monster = dynamic_cast<Monster*>(entity);
        if (monster && IsSpiritHost(*monster))
            hosts.push_back(monster->GetObjectId());
    }
    if (SkillServicesBase* services = ControllingServices())
        services->SendTargetResult(GetObjectId(), hosts, caster.GetCoords(), NewCommandSeed(), 0,
                                   false);
}

void Skill_SpawnMegalesiosSpirit::TargetResult(Character& caster,
                                               const std::vector<std::uint32_t>& targets,
                                               const WorldCoords&, std::uint32_t, std::uint32_t,
                                               bool) {
    for (std::uint32_t id : targets) {
        if (!FindBurstHost(id))
            continue;
        Burst burst;
        burst.targetId = id;
        burst.position = BodyCentreOf(caster);
        auto* effect =
            mBurstName.empty()
                ? nullptr
                : Singleton<ObjectManager>::Get().CreateObjectFromFile<EffectEntity>(mBurstName);
        if (effect) {
            World::Get().AddEntity(effect, caster.GetCoords(), true);
            burst.effectId = effect->GetObjectId();
        }
        mBursts.push_back(burst);
    }
}

void Skill_SpawnMegalesiosSpirit::RemoveEffect(std::uint32_t effectId) {
    auto* effect =
        effectId ? Singleton<ObjectManager>::Get().GetObject<EffectEntity>(effectId) : nullptr;
    if (!effect)
        return;
    World::Get().RemoveEntity(effect);
    Singleton<ObjectManager>::Get().DestroyObjectEx(effect, "Game/Skill_SpawnMegalesiosSpirit",
                                                    __LINE__);
}

void Skill_SpawnMegalesiosSpirit::Update(Character& caster, int ms) {
    Skill_E3FauxAttack::Update(caster, ms);
    const float step = static_cast<float>(ms) * mBurstVelocity * 0.001f;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    std::erase_if(mBursts, [&](Burst& burst) {
        Monster* host = FindBurstHost(burst.targetId);
        // A burst whose statue died or went would otherwise hang in the air for good.
        if (!host || !host->IsAlive()) {
            RemoveEffect(burst.effectId);
            return true;
        }
        const WorldVec3 destination = BodyCentreOf(*host);
        const Vec3 way = burst.position.VectorTo(destination);
        const float distance = way.Length();
        if (distance < step) {
            AnimateSpiritHost(*host);
            RemoveEffect(burst.effectId);
            return true;
        }
        burst.position.Translate(way * (step / distance));
        if (Entity* effect = burst.effectId ? objects.GetObject<Entity>(burst.effectId) : nullptr)
            World::Get().SetCoords(effect, WorldCoords(burst.position.region,
                                                       Coords::FromOrigin(burst.position.local)));
        return false;
    });
}

}  // namespace GAME
