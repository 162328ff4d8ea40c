#include "Game/items/ItemNetworkCreation.h"

#include <cmath>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/RandomUniform.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/items/Item.h"
#include "Game/items/ItemCharacterServices.h"
#include "Game/items/ItemSeed.h"

namespace GAME {

namespace {
constexpr float kTwoPi = 6.2831855f;
constexpr float kDropRadius = 0.5f;
constexpr float kDropHeight = 1.0f;
constexpr float kDropLift = 4.0f;
constexpr float kMaxSpin = 8.0f;
constexpr int kDroppedPhysics = 2;
}  // namespace

Item* CreateItemFromRequest(std::uint32_t character, const WorldCoords& where,
                            const ItemReplicaInfo& record, std::wstring* nameOut) {
    Item* item = Item::CreateItem(record);
    if (!item)
        return nullptr;
    if (nameOut)
        item->GetGameDescription(*nameOut);
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (character != 0) {
        Character* receiver = objects.GetObject<Character>(character);
        if (receiver && ItemCharacterServices::Get().GiveItemToCharacter(*receiver, *item))
            return item;
        if (!receiver)
            gEngine->Log(1, "GameEngine: Unable to resolve character (%d) to give item (%d)",
                         static_cast<int>(character), static_cast<int>(item->GetObjectId()));
        objects.DestroyObjectEx(item, "Game/ItemNetworkCreation", __LINE__);
        return nullptr;
    }

    RandomUniform random;
    SeedItemGenerator(random, item->GetReplicaInfo().seed);
    const float theta = random.FGenerate(0.0f, kTwoPi);
    const Vec3 offset(kDropRadius * std::cos(theta), kDropHeight, kDropRadius * std::sin(theta));
    const float phi = random.FGenerate(0.0f, kTwoPi);
    Coords placed = Coords::FromAxisAngle(Vec3(0.0f, 1.0f, 0.0f), phi);
    placed.origin = where.coords.origin + offset;
    // A headless item has no pose to reset: it is dropped with the physics of a loose object.
    item->SetPhysicsType(kDroppedPhysics);
    // A place in no region of this world is logged by the world; the item is then nowhere.
    World::Get().AddEntity(item, WorldCoords(where.region, placed), true);
    Vec3 linear = where.coords.zAxis;
    linear.y += kDropLift;
    const float spinX = random.FGenerate(-kMaxSpin, kMaxSpin);
    const float spinY = random.FGenerate(-kMaxSpin, kMaxSpin);
    const float spinZ = random.FGenerate(-kMaxSpin, kMaxSpin);
    item->SetVelocities(linear, Vec3(spinX, spinY, spinZ));
    item->SetDropSoundToPlay();
    return item;
}

}  // namespace GAME
