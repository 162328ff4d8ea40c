#include "Game/world/strategic/TravelCheck.h"

#include <algorithm>
#include <string>
#include <vector>

#include "Engine/world/InstanceGroup.h"
#include "Engine/world/InstanceGroupManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/characters/npc/Npc.h"
#include "Game/quests/actions/NpcActions.h"
#include "Game/quests/actions/RewardActions.h"
#include "Game/world/fixeditems/FixedItemTeleport.h"
#include "Game/world/strategic/StrategicMovementKinds.h"

namespace GAME {

namespace {

// As far as a fixed item may be used from.
constexpr float kSourceReach = 10.0f;
// The menus send whole numbers (rounded or truncated): a landing within this is the place.
constexpr float kLandingSlack = 2.0f;

bool Lands(const Vec3& place, const Vec3& destination) {
    const Vec3 d = place - destination;
    return d.x * d.x + d.y * d.y + d.z * d.z <= kLandingSlack * kLandingSlack;
}

bool Lands(const WorldVec3& place, const Vec3& destination) {
    return place.IsValid() && Lands(place.GetWorldPosition(), destination);
}

bool ToKnownStone(const Player& player, const Vec3& destination) {
    const World& world = World::Get();
    for (const UniqueId& id : player.GetTeleportUIDs()) {
        const auto* stone =
            dynamic_cast<const StrategicMovementTeleportShrine*>(world.FindPlacedEntity(id));
        if (stone && Lands(stone->GetMoveToPoint(player.GetObjectId()), destination))
            return true;
    }
    return false;
}

// The first other member of the boat's first group, as the boat itself chooses.
bool ToBoatLanding(const FixedItemTeleport& boat, const Vec3& destination) {
    UniqueId landing;
    {
        GroupListLock lock;
        InstanceGroupManager& groups = *InstanceGroupManager::Get();
        std::vector<std::string> names;
        groups.GetGroupsThatContain(boat.GetUniqueId(), names);
        const InstanceGroup* group = names.empty() ? nullptr : groups.GetGroup(names.front());
        if (!group)
            return false;
        std::vector<UniqueId> members;
        group->FillIdList(members);
        const auto other = std::find_if(members.begin(), members.end(), [&](const UniqueId& id) {
            return id != boat.GetUniqueId();
        });
        if (other == members.end())
            return false;
        landing = *other;
    }
    WorldVec3 where;
    return World::Get().GetInstanceWorldPosition(landing, where) && Lands(where, destination);
}

// A guide's way: the server cannot see the client's quests, so any way a guide action of its own
// quests opens for that guide goes, whether or not the player's quest has reached it yet.
bool ToGuidesWay(const Npc& guide, const Vec3& destination) {
    return FindQuestAction([&](TriggerAction& action) {
               const auto* way = dynamic_cast<const Action_BoatDialog*>(&action);
               return way && way->IsOn() &&
                      RecordNamesEqual(way->GetNpcRecord(), guide.GetObjectName()) &&
                      Lands(way->GetDestination(), destination);
           }) != nullptr;
}

}  // namespace

const char* TravelRefusal(const Player& player, const Vec3& destination) {
    if (!player.IsAlive() || !player.IsInWorld())
        return "the player is not standing in the world";
    std::vector<Entity*> near;
    World::Get().GetEntitiesInSphere(near, player.GetRegion(),
                                     Sphere{player.GetCoords().coords.origin, kSourceReach},
                                     EntityListType::Actors);
    bool atSource = false;
    for (const Entity* entity : near) {
        if (entity->IsA<StrategicMovementTeleportShrine>()) {
            atSource = true;
            if (ToKnownStone(player, destination))
                return nullptr;
        } else if (const auto* portal = dynamic_cast<const FixedItemTeleport*>(entity);
                   portal && !portal->IsLocked()) {
            atSource = true;
            if (portal->IsStaticPortal() ? ToBoatLanding(*portal, destination)
                                         : ToKnownStone(player, destination))
                return nullptr;
        } else if (const auto* guide = dynamic_cast<const Npc*>(entity);
                   guide && NpcWithinTalkReach(player, *guide)) {
            atSource = true;
            if (ToGuidesWay(*guide, destination))
                return nullptr;
        }
    }
    return atSource ? "the destination is no place the stone or portal there leads to"
                    : "the player stands at no travel stone or portal";
}

std::string CheckFoundStones(const std::vector<UniqueId>& stones, std::vector<UniqueId>& kept) {
    kept.clear();
    for (const UniqueId& id : stones) {
        const Entity* placed = World::Get().FindPlacedEntity(id);
        if (!placed)
            continue;
        if (!placed->IsA<StrategicMovementTeleportShrine>())
            return "found stones: " + id.ToString() + " is no travel stone";
        if (std::find(kept.begin(), kept.end(), id) == kept.end())
            kept.push_back(id);
    }
    return {};
}

}  // namespace GAME
