// Items leaving a character: dropped from the hand or from where they are worn, and relics used
// up on another item. Drops run on every machine, so their tosses draw from a generator seeded
// with the item's own seed: every machine tosses alike and no shared generator moves.
#include "Engine/anim/SkeletalPose.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/sys/RandomUniform.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/items/ItemRelic.h"
#include "Game/items/ItemSeed.h"
#include "Game/items/inventory/Inventory.h"

namespace GAME {

namespace {
constexpr float kTwoPi = 6.2831855f;
constexpr float kDropLift = 4.0f;
constexpr float kHandDropSpin = 8.0f;
constexpr float kWornDropSpin = 4.0f;
constexpr int kFlyingPhysics = 2;
constexpr int kRestingPhysics = 0;

Vec3 DrawSpin(RandomUniform& random, float most) {
    const float x = random.FGenerate(-most, most);
    const float y = random.FGenerate(-most, most);
    const float z = random.FGenerate(-most, most);
    return Vec3(x, y, z);
}
}  // namespace

void Character::DropItem(Item* item, float, float) {
    if (!item)
        return;
    RandomUniform random;
    SeedItemGenerator(random, item->GetReplicaInfo().seed);
    WorldCoords coords = GetAttachedCoords("L Hand");
    const Vec3 origin = coords.coords.origin;
    coords.coords = Coords::FromAxisAngle(Vec3(0.0f, 1.0f, 0.0f), random.FGenerate(0.0f, kTwoPi));
    coords.coords.origin = origin;
    item->SetPose(SkeletalPose());
    item->SetPhysicsType(kFlyingPhysics);
    if (!World::Get().AddEntity(item, coords, true))
        return;
    item->SetVelocities(Vec3(0.0f, kDropLift, 0.0f), DrawSpin(random, kHandDropSpin));
    item->SetDropSoundToPlay();
    mInventory->RemoveItemFromInventory(item->GetObjectId());
}

void Player::DropItem(Item* item, float x, float z) {
    Character::DropItem(item, x, z);
    RequestSave();
}

void Character::DropItemFromEquipLocation(std::uint32_t& itemId, std::uint32_t location,
                                          bool physics) {
    Item* item = itemId != 0 ? Singleton<ObjectManager>::Get().GetObject<Item>(itemId) : nullptr;
    itemId = 0;
    if (!item)
        return;
    const WorldCoords coords = mCombatManager->GetAttachCoords(location);
    item->SetPose(GetPose());
    item->SetPhysicsType(physics ? kFlyingPhysics : kRestingPhysics);
    const bool added = World::Get().AddEntity(item, coords, true);
    if (physics && added) {
        RandomUniform random;
        SeedItemGenerator(random, item->GetReplicaInfo().seed);
        item->SetVelocities(Vec3(0.0f, kDropLift, 0.0f), DrawSpin(random, kWornDropSpin));
    }
    item->SetDropSoundToPlay();
    mInventory->RemoveItemFromInventory(item->GetObjectId());
}

void Character::UseRelic(std::uint32_t relicId, std::uint32_t targetId) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    auto* relic = objects.GetObject<ItemRelic>(relicId);
    auto* target = objects.GetObject<Item>(targetId);
    if (!relic || !target)
        return;
    const bool mainPlayer = gGameEngine && gGameEngine->GetPlayerId() == GetObjectId();
    relic->UseRelicOn(target, mainPlayer);
    if (relic->GetRelicLevel() != 0)
        return;
    TakeItemFromCharacter(relicId);
    objects.DestroyObjectEx(relic, "Game/Character", __LINE__);
}

}  // namespace GAME
