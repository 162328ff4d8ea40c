// What a projectile finds: the modifier entries it reports to, the targets along its path and
// inside its explosions, and the fragments it scatters.
#include <algorithm>
#include <numbers>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/Skill.h"
#include "Game/world/projectiles/ProjectileBase.h"

namespace GAME {

namespace {

bool Knows(const std::vector<std::uint32_t>& known, std::uint32_t id) {
    return std::find(known.begin(), known.end(), id) != known.end();
}

}  // namespace

void ProjectileBase::AddProjectileModifier(const ProjectileModifierStruct& modifier) {
    mModifiers.push_back(modifier);
    mEntries.push_back(std::make_unique<ModifierEntry>(ModifierEntry{modifier, {}}));
    ModifierEntry* entry = mEntries.back().get();
    if (!modifier.fragmentRecord.empty()) {
        mFragmentEntries.push_back(entry);
        if (modifier.skillId != mInfo.skillId)
            return;
    }
    if (modifier.radius > 0.0f)
        mExplosionEntries.push_back(entry);
    mPathEntries.push_back(entry);
}

float ProjectileBase::GetPiercingModifier(std::uint32_t skillId) const {
    float piercing = 0.0f;
    for (const ProjectileModifierStruct& modifier : mModifiers)
        if (modifier.skillId == skillId)
            piercing += modifier.piercing;
    return piercing;
}

void ProjectileBase::SetFilteredTargets(const std::vector<std::uint32_t>& ids) {
    for (auto* list : {&mPathEntries, &mExplosionEntries, &mFragmentEntries})
        for (ModifierEntry* entry : *list)
            entry->known = ids;
}

std::uint32_t ProjectileBase::FindClosestTarget(const std::vector<std::uint32_t>& ids,
                                                const WorldVec3& point) const {
    std::uint32_t best = 0;
    float bestDistance = 0.0f;
    for (std::uint32_t id : ids) {
        const Character* character = FindCharacter(id);
        if (!character)
            continue;
        const float distance = point.DistanceTo(character->GetPosition()) - character->GetExtents();
        if (best == 0 || distance < bestDistance) {
            best = id;
            bestDistance = distance;
        }
    }
    return best;
}

WorldVec3 ProjectileBase::GetHitPoint(const Character& character) const {
    return character.GetAttachedCoords("Target").GetPosition();
}

void ProjectileBase::ReportTargets(const ModifierEntry& entry, const WorldCoords& at,
                                   std::vector<std::uint32_t>& ids) {
    if (Skill* skill = Singleton<ObjectManager>::Get().GetObject<Skill>(entry.modifier.skillId))
        skill->TargetInformation(mInfo, at, ids);
}

void ProjectileBase::ProcessPathTargets(bool single, std::vector<std::uint32_t>& hits) {
    hits.clear();
    const WorldCoords flight = GetFlightCoords();
    const WorldVec3 here = flight.GetPosition();
    mFound.clear();
    if (mPathOrigin.region && gGameEngine) {
        Vec3 direction = mPathOrigin.VectorTo(here);
        const float distance = direction.Length();
        direction = distance > 0.0f ? direction * (1.0f / distance) : flight.coords.zAxis.Unit();
        const WorldRay ray{mPathOrigin.region, mPathOrigin.local, direction};
        gGameEngine->GetTargetsAlongRay(mInfo.team, ray, std::max(distance, 1.0f), mFound,
                                        mInfo.casterId, mInfo.friends);
    }
    mPathOrigin = here;
    if (mFound.empty())
        return;
    const WorldCoords at = GetCoords();
    // By index: a skill that hears of its targets may add modifiers to nothing here, but a
    // list of pointers must not be walked while it could grow.
    for (std::size_t i = 0; i < mPathEntries.size(); ++i) {
        ModifierEntry& entry = *mPathEntries[i];
        mCollected.clear();
        for (std::uint32_t id : mFound) {
            if (Knows(entry.known, id))
                continue;
            entry.known.push_back(id);
            mCollected.push_back(id);
            if (single)
                break;
        }
        if (entry.modifier.skillId == mInfo.skillId)
            hits = mCollected;
        ReportTargets(entry, at, mCollected);
    }
}

bool ProjectileBase::ProcessExplosion(bool all, const WorldCoords& at) {
    if (!gGameEngine)
        return !mExplosionEntries.empty();
    for (std::size_t i = 0; i < mExplosionEntries.size(); ++i) {
        ModifierEntry& entry = *mExplosionEntries[i];
        mFound.clear();
        gGameEngine->GetTargetsInRadius(mInfo.team, at.GetPosition(), entry.modifier.radius, mFound,
                                        mInfo.casterId, mInfo.friends);
        mCollected.clear();
        for (std::uint32_t id : mFound) {
            if (!all) {
                if (Knows(entry.known, id))
                    continue;
                entry.known.push_back(id);
            }
            mCollected.push_back(id);
        }
        ReportTargets(entry, at, mCollected);
    }
    return !mExplosionEntries.empty();
}

void ProjectileBase::ProcessFragmentation(std::uint32_t hitTarget, const WorldCoords& at) {
    if (mFragmentEntries.empty())
        return;
    WorldVec3 spawn = at.GetPosition();
    spawn.PutOnFloor();
    spawn.Translate(Vec3(0.0f, 1.0f, 0.0f));
    const WorldCoords spawnCoords(spawn.region, Coords::FromOrigin(spawn.local));
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    bool first = true;
    // Copies: a fragment's launch may reach back into this projectile's lists.
    for (std::size_t e = 0; e < mFragmentEntries.size(); ++e) {
        const ProjectileModifierStruct modifier = mFragmentEntries[e]->modifier;
        const int count = mRandom.IGenerate(static_cast<int>(modifier.fragmentCountMin),
                                            static_cast<int>(modifier.fragmentCountMax));
        if (modifier.fragmentRecord.empty() || count <= 0)
            continue;
        const int step = 360 / count;
        int heading = 0;
        for (int k = 0; k < count; ++k) {
            heading += step + mRandom.IGenerate(-30, 30);
            WorldCoords coords = spawnCoords;
            coords.coords = Coords::FromAxisAngle(
                Vec3(0.0f, 1.0f, 0.0f),
                static_cast<float>(heading) * (std::numbers::pi_v<float> / 180.0f));
            coords.coords.origin = spawnCoords.coords.origin;
            auto* fragment = objects.CreateObjectFromFile<ProjectileBase>(modifier.fragmentRecord);
            if (!fragment) {
                gEngine->Log(1, "Failed to spawn projectile fragments (%s)",
                             modifier.fragmentRecord.c_str());
                continue;
            }
            ProjectileInfo info;
            info.skillId = modifier.skillId;
            info.casterId = mInfo.casterId;
            info.team = mInfo.team;
            info.start = coords;
            info.targetPosition = coords.GetPosition();
            info.piercingChance = modifier.piercing;
            fragment->LoadInfo(info, static_cast<std::uint32_t>(mRandom.IGenerate(1, 32767)));
            ProjectileModifierStruct own;
            own.skillId = modifier.skillId;
            own.radius = modifier.radius;
            fragment->AddProjectileModifier(own);
            fragment->SetFilteredTargets({hitTarget});
            if (first)
                fragment->PlaySwipeSound(spawn);
            first = false;
            fragment->ProjectileGo();
        }
    }
}

}  // namespace GAME
