#include "Host/WorldFrame.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"

namespace GAME {

namespace {

// The frame's scratch lists, kept by the machine so that a steady frame allocates nothing.
struct WorldFrameScratch {
    std::vector<Entity*> entities;
    std::vector<std::uint32_t> ids;
};

// A box that holds every region's grid: the world's query then visits every placed entity once.
constexpr float kEverywhere = 1.0e7f;

// Characters ahead of the update are asked for early, as each lies apart in memory: their own
// lines this far ahead, the objects those point to half as far, what those point to next.
constexpr std::size_t kPrefetchAhead = 4;

// Looked up afresh (an update may have destroyed them) and read only to ask for memory.
void PrefetchAhead(ObjectManager& objects, const std::vector<std::uint32_t>& ids, std::size_t i,
                   bool preAnimation) {
    if (i + kPrefetchAhead < ids.size())
        if (const Character* ahead = objects.GetObject<Character>(ids[i + kPrefetchAhead]))
            ahead->PrefetchOwnLines(preAnimation);
    if (i + kPrefetchAhead / 2 < ids.size())
        if (const Character* ahead = objects.GetObject<Character>(ids[i + kPrefetchAhead / 2]))
            ahead->PrefetchFrameData(preAnimation);
    if (preAnimation && i + 1 < ids.size())
        if (const Character* ahead = objects.GetObject<Character>(ids[i + 1]))
            ahead->PrefetchPointedData(preAnimation);
}

}  // namespace

void UpdateWorldEntities(int step) {
    UpdateWorldEntitiesSelf(step);
    UpdateWorldCharactersPreAnimation(step);
}

void UpdateWorldEntitiesSelf(int step) {
    World& world = World::Get();
    WorldFrameScratch& scratch = Singleton<WorldFrameScratch>::Get();
    scratch.ids.clear();
    if (world.GetRegions().empty())
        return;
    scratch.entities.clear();
    world.GetEntitiesInBox(scratch.entities, world.GetRegions().front().get(),
                           ABBox{Vec3(-kEverywhere, -kEverywhere, -kEverywhere),
                                 Vec3(kEverywhere, kEverywhere, kEverywhere)});
    // By id from here on: an update may destroy another entity, and ids never dangle.
    for (const Entity* entity : scratch.entities)
        scratch.ids.push_back(entity->GetObjectId());
    scratch.entities.clear();
    std::sort(scratch.ids.begin(), scratch.ids.end());

    ObjectManager& objects = Singleton<ObjectManager>::Get();
    // An entity placed by the level, or by anyone who left it to the frame, is brought to life
    // before its first update.
    for (std::size_t i = 0; i < scratch.ids.size(); ++i) {
        PrefetchAhead(objects, scratch.ids, i, false);
        if (Entity* entity = objects.GetObject<Entity>(scratch.ids[i]);
            entity && entity->IsInWorld()) {
            if (!entity->HasDoneInitialUpdate())
                entity->InitialUpdate();
            entity->UpdateSelf(step);
        }
    }
}

void UpdateWorldCharactersPreAnimation(int step) {
    WorldFrameScratch& scratch = Singleton<WorldFrameScratch>::Get();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::size_t i = 0; i < scratch.ids.size(); ++i) {
        PrefetchAhead(objects, scratch.ids, i, true);
        if (Character* character = objects.GetObject<Character>(scratch.ids[i]);
            character && character->IsInWorld())
            character->PreAnimationUpdate(step);
    }
}

}  // namespace GAME
