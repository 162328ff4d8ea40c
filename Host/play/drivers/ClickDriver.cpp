#include "Host/play/drivers/ClickDriver.h"

#include <cstdlib>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/characters/npc/Npc.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Game/items/Item.h"
#include "Game/world/fixeditems/FixedItem.h"
#include "Game/world/strategic/StrategicMovementKinds.h"
#include "Host/play/drivers/NearestFoe.h"

namespace GAME {

std::optional<HostClick> ClickDriver::Next(Player& player, int frame, std::uint64_t gameTimeMs) {
    if (gameTimeMs < mNextClickMs)
        return std::nullopt;
    mNextClickMs = gameTimeMs + kIntervalMs;
    // A person waits out the death screen; clicks on a corpse would go nowhere anyway.
    if (!player.IsAlive() || !player.IsInWorld())
        return std::nullopt;
    if (std::optional<HostClick> click = ClickItem(player, frame, kItemReach))
        return click;
    // A chest nearer than every foe is opened first, then a travel stone; then foes, loot in
    // sight, the ground.
    std::optional<HostClick> foe = ClickFoe(player, frame);
    std::optional<HostClick> chest = ClickFixedItem(player, frame);
    if (chest && (!foe || mChestDistance < mFoeDistance))
        return chest;
    std::optional<HostClick> stone =
        mUseStones ? ClickTravelStone(player, frame) : std::optional<HostClick>();
    // Low on life, a person steps away through the stone even with a foe at hand.
    const bool fleeing = player.GetCurrentLife() < 0.5f * player.GetLifeLimit();
    if (stone && (!foe || fleeing || mStoneDistance < mFoeDistance)) {
        ++mStoneClicks;
        return stone;
    }
    if (foe)
        return foe;
    if (std::optional<HostClick> click = ClickItem(player, frame, kSightRadius))
        return click;
    if (std::optional<HostClick> click = mSmallTalk ? ClickNpc(player, frame) : std::nullopt)
        return click;
    return ClickGround(player, frame);
}

std::optional<HostClick> ClickDriver::ClickFoe(Player& player, int frame) {
    float nearestDistance = 0.0f;
    Character* nearest = FindNearestFoe(player, kSightRadius, mNearby, nearestDistance);
    if (!nearest)
        return std::nullopt;
    mFoeDistance = nearestDistance;
    const WorldVec3 at = nearest->GetPosition();
    return HostClick{frame, nearest->GetObjectId(), at.region->GetName(), at.local, 0};
}

namespace {

// Whether the item lies within reach of `from`, and how far away it is.
bool InReach(const Item& item, const WorldVec3& from, float within, float& distance) {
    if (!item.IsInWorld() || !item.IsPickupOk())
        return false;
    const WorldVec3 at = item.GetCoords().GetPosition();
    if (at.region != from.region)
        return false;
    distance = from.DistanceTo(at);
    return distance <= within;
}

// The nearest item in reach over every object, ties to the first in the objects' order.
const Item* NearestItemOfAll(const WorldVec3& from, float within, std::vector<std::uint32_t>& ids) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const Item* nearest = nullptr;
    float nearestDistance = 0.0f;
    objects.GetObjectIds(ids);
    for (const std::uint32_t id : ids) {
        const Item* item = objects.GetObject<Item>(id);
        float distance = 0.0f;
        if (item && InReach(*item, from, within, distance) &&
            (!nearest || distance < nearestDistance)) {
            nearest = item;
            nearestDistance = distance;
        }
    }
    return nearest;
}

}  // namespace

std::optional<HostClick> ClickDriver::ClickItem(Player& player, int frame, float within) {
    const WorldVec3 from = player.GetPosition();
    // Only items in the world can be in reach: the world's cells near the player name them all
    // (the query reaches a metre further, so no rounding of the two distances loses one). Ties go
    // to the first item in the objects' order, which only the scan over every object knows: it
    // runs when two nearest items lie exactly as far away.
    const Item* nearest = nullptr;
    float nearestDistance = 0.0f;
    bool tie = false;
    mNearby.clear();
    if (from.region)
        World::Get().GetEntitiesInSphere(mNearby, from.region, Sphere{from.local, within + 1.0f});
    for (const Entity* entity : mNearby) {
        float distance = 0.0f;
        if (!entity->IsA<Item>() ||
            !InReach(static_cast<const Item&>(*entity), from, within, distance))
            continue;
        if (nearest && distance == nearestDistance)
            tie = true;
        if (!nearest || distance < nearestDistance) {
            nearest = static_cast<const Item*>(entity);
            nearestDistance = distance;
            tie = false;
        }
    }
    if (tie)
        nearest = NearestItemOfAll(from, within, mIds);
#ifndef NDEBUG
    if (NearestItemOfAll(from, within, mIds) != nearest) {
        gEngine->Log(0, "ClickDriver: the items near the player disagree with the scan of all");
        std::abort();
    }
#endif
    if (!nearest)
        return std::nullopt;
    const WorldVec3 at = nearest->GetCoords().GetPosition();
    return HostClick{frame, nearest->GetObjectId(), at.region->GetName(), at.local, 0};
}

std::optional<HostClick> ClickDriver::ClickFixedItem(Player& player, int frame) {
    const WorldCoords& coords = player.GetCoords();
    mNearby.clear();
    World::Get().GetEntitiesInSphere(
        mNearby, coords.region, Sphere{coords.coords.origin, kSightRadius}, EntityListType::Actors);
    const WorldVec3 from = coords.GetPosition();
    const FixedItem* nearest = nullptr;
    float nearestDistance = 0.0f;
    for (const Entity* entity : mNearby) {
        if (!entity->IsA<FixedItem>())
            continue;
        const auto& item = static_cast<const FixedItem&>(*entity);
        // A person sees the lock and leaves that chest alone.
        if (!item.IsOfInterest() || item.IsLocked())
            continue;
        const float distance = World::Get().GetDistanceSquared(from, item.GetPosition());
        if (!nearest || distance < nearestDistance) {
            nearest = &item;
            nearestDistance = distance;
        }
    }
    if (!nearest)
        return std::nullopt;
    mChestDistance = nearestDistance;
    const WorldVec3 at = nearest->GetPosition();
    return HostClick{frame, nearest->GetObjectId(), at.region->GetName(), at.local, 0};
}

std::optional<HostClick> ClickDriver::ClickNpc(Player& player, int frame) {
    const WorldCoords& coords = player.GetCoords();
    mNearby.clear();
    World::Get().GetEntitiesInSphere(
        mNearby, coords.region, Sphere{coords.coords.origin, kSightRadius}, EntityListType::Actors);
    const WorldVec3 from = coords.GetPosition();
    const Npc* nearest = nullptr;
    float nearestDistance = 0.0f;
    for (const Entity* entity : mNearby) {
        if (!entity->IsA<Npc>() || mTalkedTo.count(entity->GetObjectId()))
            continue;
        const auto& npc = static_cast<const Npc&>(*entity);
        if (!npc.IsOfInterest())
            continue;
        const float distance = from.DistanceTo(npc.GetPosition());
        if (!nearest || distance < nearestDistance) {
            nearest = &npc;
            nearestDistance = distance;
        }
    }
    if (!nearest)
        return std::nullopt;
    if (nearestDistance <= kTalkDistance)
        mTalkedTo.insert(nearest->GetObjectId());
    const WorldVec3 at = nearest->GetPosition();
    return HostClick{frame, nearest->GetObjectId(), at.region->GetName(), at.local, 0};
}

std::optional<HostClick> ClickDriver::ClickTravelStone(Player& player, int frame) {
    if (mStoneClicks >= kStoneClicks || player.GetTeleportUIDs().size() < 2)
        return std::nullopt;
    const WorldCoords& coords = player.GetCoords();
    mNearby.clear();
    World::Get().GetEntitiesInSphere(
        mNearby, coords.region, Sphere{coords.coords.origin, kSightRadius}, EntityListType::Actors);
    for (const Entity* entity : mNearby) {
        if (!entity->IsA<StrategicMovementTeleportShrine>() ||
            !player.IsTeleportUIDKnown(entity->GetUniqueId()))
            continue;
        mStoneDistance =
            World::Get().GetDistanceSquared(coords.GetPosition(), entity->GetPosition());
        const WorldVec3 at = entity->GetPosition();
        return HostClick{frame, entity->GetObjectId(), at.region->GetName(), at.local, 0};
    }
    return std::nullopt;
}

std::optional<HostClick> ClickDriver::ClickGround(Player& player, int frame) {
    const WorldVec3 from = player.GetPosition();
    std::vector<const SpawnPoint*>& waypoints = mWaypoints;
    waypoints.clear();
    for (const SpawnPoint& spawn : World::Get().GetSpawnPoints())
        if (spawn.coords.region == from.region)
            waypoints.push_back(&spawn);
    if (waypoints.empty())
        return std::nullopt;
    mWaypoint %= waypoints.size();
    WorldVec3 goal = waypoints[mWaypoint]->coords.GetPosition();
    if (from.DistanceTo(goal) <= kArrivedDistance) {
        mWaypoint = (mWaypoint + 1) % waypoints.size();
        goal = waypoints[mWaypoint]->coords.GetPosition();
    }
    Vec3 step = from.VectorTo(goal);
    const float length = step.Length();
    if (length > kGroundClickReach)
        step = step * (kGroundClickReach / length);
    WorldVec3 point = from;
    // The cursor lands on the ground; where there is none the point stays as aimed.
    if (!point.TranslateToFloor(step))
        point.Translate(step);
    return HostClick{frame, 0, point.region->GetName(), point.local, 0};
}

}  // namespace GAME
