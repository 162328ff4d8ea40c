// A spawn proxy's run: its first update places what its pools made on free points around it.
#include <cmath>

#include "Engine/Engine.h"
#include "Engine/media/EditorFilter.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/world/World.h"
#include "Engine/world/nav/PathFinder.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameEvents.h"
#include "Game/world/proxies/Proxy.h"
#include "Game/world/proxies/ProxyAccessoryPool.h"
#include "Game/world/proxies/ProxyPool.h"

namespace GAME {

namespace {
constexpr int kEditorCategory = 3;
}  // namespace

void Proxy::InitialUpdate() {
    CriticalSectionLock lock(mLock);
    Actor::InitialUpdate();
    if (gEngine->IsEditor()) {
        SetVisibility(true);
        EditorFilter::Get().AddFilterObject(GetObjectId(), kEditorCategory);
        return;
    }
    SetVisibility(false);
    if (gGameEngine)
        RunProxy();
}

void Proxy::RunProxy() {
    if (mDone)
        return;
    GameEvent_GenericEntity event;
    event.objectId = GetObjectId();
    event.objectName = GetObjectName();
    SendGameEvent(event, "GenericEntityInitialUpdate");
    if (mDone)
        return;
    if (mChanceToRun > 0 && gGameEngine->GetRandomGen().FGenerate(0.0f, 100.0f) > mChanceToRun)
        return;
    mDone = true;
    if (mAccessoryPool)
        SelectPoolLoctions(mAccessoryPool->GetObjects(), mAccessoryLocations, false);
    if (mMainPool)
        SelectPoolLoctions(mMainPool->GetObjects(), mMainPoolLocations, false);
    World::Get().GetPathFinder().ClearFillData();
    if (mAccessoryPool) {
        AccessoryComplete(mAccessoryPool.get(), mAccessoryLocations);
        mAccessoryLocations.clear();
    }
    if (mMainPool) {
        PoolComplete(mMainPool.get(), mMainPoolLocations);
        mMainPoolLocations.clear();
    }
}

void Proxy::SelectPoolLoctions(const std::vector<std::uint32_t>& objects,
                               std::vector<WorldCoords>& locations, bool randomYaw) {
    const WorldCoords own = GetCoords();
    const std::vector<float> radii(objects.size(), mPlacementExtents);
    std::vector<WorldVec3> points;
    if (!radii.empty())
        World::Get().GetPathFinder().FillPointSet(own.GetPosition(), radii, points, false);
    locations.assign(points.size(), own);
    for (std::size_t i = 0; i < points.size(); ++i) {
        locations[i].SetPosition(points[i]);
        if (randomYaw) {
            const float angle =
                gGameEngine->GetRandomGen().FGenerate(0.0f, 2.0f * static_cast<float>(M_PI));
            Coords turned = Coords::FromAxisAngle(Vec3(0, 1, 0), angle);
            turned.origin = locations[i].coords.origin;
            locations[i].coords = turned;
        }
    }
}

void Proxy::PlaceObjects(std::vector<std::uint32_t>& objects,
                         const std::vector<WorldCoords>& locations) {
    ObjectManager& manager = Singleton<ObjectManager>::Get();
    std::size_t next = 0;
    for (const WorldCoords& location : locations) {
        if (next >= objects.size())
            break;
        Entity* entity = manager.GetObject<Entity>(objects[next]);
        if (!entity) {
            ++next;  // stays in the pool's list
            continue;
        }
        AddUniqueIdToEntity(entity);
        World::Get().AddEntity(entity, location, true);
        mPlacedObjects.push_back(objects[next]);
        objects.erase(objects.begin() + static_cast<std::ptrdiff_t>(next));
    }
}

void Proxy::PoolComplete(ProxyPool* pool, const std::vector<WorldCoords>& locations) {
    std::vector<std::uint32_t>& objects = pool->GetObjects();
    if (objects.empty())
        return;
    ObjectManager& manager = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : objects)
        if (Monster* monster = manager.GetObject<Monster>(id)) {
            monster->SetProxyParent(GetObjectName());
            monster->SetProxyNumSiblings(static_cast<unsigned int>(objects.size()));
        }
    PlaceObjects(objects, locations);
}

void Proxy::AccessoryComplete(ProxyAccessoryPool* pool, const std::vector<WorldCoords>& locations) {
    if (!pool->GetObjects().empty())
        PlaceObjects(pool->GetObjects(), locations);
}

void Proxy::AddUniqueIdToEntity(Entity* entity) {
    const auto* monster = dynamic_cast<Monster*>(entity);
    if (!monster)
        return;
    if (auto* controller = Singleton<ObjectManager>::Get().GetObject<ControllerMonster>(
            monster->GetControllerId()))
        controller->SetProxyId(GetUniqueId());
}

void Proxy::SaveState(BinaryWriter& writer) {
    Actor::SaveState(writer);
    writer.WriteUInt32(mDone ? 1u : 0u);
}

void Proxy::RestoreState(BinaryReader& reader) {
    Actor::RestoreState(reader);
    std::uint32_t done = 0;
    if (!reader.ReadUInt32(done)) {
        gEngine->Log(1, "Proxy %s: saved state is cut short; kept as loaded",
                     GetObjectName().c_str());
        return;
    }
    mDone = done != 0;
    mRestored = true;
}

}  // namespace GAME
