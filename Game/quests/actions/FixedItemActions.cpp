#include "Game/quests/actions/FixedItemActions.h"

#include <algorithm>
#include <memory>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/streams/IOStream.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameEvents.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/net/packets/FixedItemPackets.h"
#include "Game/items/ItemReplicaInfo.h"
#include "Game/quests/conditions/QuestCondition.h"
#include "Game/world/fixeditems/FixedItem.h"
#include "Game/world/proxies/Proxy.h"

namespace GAME {

GAME_TRIGGER_ACTION_KIND(Action_DispenseItemFromChest)
GAME_TRIGGER_ACTION_KIND(Action_OpenDoor)
GAME_TRIGGER_ACTION_KIND(Action_CloseDoor)
GAME_TRIGGER_ACTION_KIND(Action_LockFixedItem)
GAME_TRIGGER_ACTION_KIND(Action_UnlockFixedItem)

// Doors

DoorAction::DoorAction(std::uint32_t id)
    : BoundAction(id), mSpawnHandler("GameEvent_FixedItemSpawn", "Action") {
    mSpawnHandler.SetOwner(this, &DoorAction::OnSpawn);
}

void DoorAction::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("door", mDoor);
    stream.StreamBool("canReFire", mCanReFire);
    std::replace(mDoor.begin(), mDoor.end(), '\\', '/');
}

void DoorAction::OnSpawn(const GameEvent_FixedItemSpawn& event) {
    if (mDoor.empty() || !RecordNamesEqual(event.objectName, mDoor))
        return;
    mBound.assign(1, event.itemId);
    Rebind();
}

void DoorAction::Fire(std::uint32_t, bool reFire) {
    // A door is the server's: its controller decides and tells every machine, so a client's
    // copy of the quest leaves it to the server's.
    if (reFire && !mCanReFire)
        return;
    if (!DecidesGame())
        return;
    mWasReFire = reFire;
    mPending = true;
    Apply();
}

void DoorAction::Apply() {
    if (!mPending || mDoor.empty() || mBound.empty())
        return;
    const std::uint32_t id = mBound.front();
    auto* door = static_cast<Actor*>(FindObjectOfClass(id, "FixedItemDoorBase"));
    if (!door)
        return;
    door->Enqueue(std::make_unique<FixedItemStateChangeConfigCmd>(id, State(), 0u, !mWasReFire));
    mPending = false;
}

// Locks

LockAction::LockAction(std::uint32_t id)
    : BoundAction(id), mSpawnHandler("GameEvent_FixedItemSpawn", "Action") {
    mSpawnHandler.SetOwner(this, &LockAction::OnSpawn);
}

void LockAction::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("fixedItem", mFixedItem);
    Register(mFixedItem, false, true);
}

void Action_UnlockFixedItem::SerializeChildProperties(IOStream& stream) {
    LockAction::SerializeChildProperties(stream);
    stream.StreamBool("canReFire", mCanReFire);
}

void LockAction::OnSpawn(const GameEvent_FixedItemSpawn& event) {
    if (mFixedItem.empty() || !RecordNamesEqual(event.objectName, mFixedItem))
        return;
    AddBound(event.itemId);
    Rebind();
}

void LockAction::BindEntity(const std::string&, std::uint32_t id) {
    if (auto* proxy = dynamic_cast<Proxy*>(Objects().GetObject(id))) {
        std::vector<std::uint32_t> objects;
        proxy->GetAccessoryObjects(objects);
        for (std::uint32_t object : objects)
            AddBound(object);
        return;
    }
    AddBound(id);
}

void LockAction::BindProxyObjects(const QuestNetMsg_ProxySpawn& message) {
    mBound = message.accessoryObjects;
}

void LockAction::Apply() {
    // A client's copy asks the server (whose own quest decides); the lock changes where the
    // world is decided and reaches the others from there.
    const bool client = IsNetworkedClient();
    for (std::uint32_t id : mBound) {
        if (client) {
            if (gGameEngine)
                gGameEngine->QuestCommandLockFixedItem(id, Lock());
        } else if (FixedItem* item = Objects().GetObject<FixedItem>(id)) {
            item->SetLock(Lock());
        }
    }
    if (!mBound.empty())
        mPending = false;
}

// A chest's drop

Action_DispenseItemFromChest::Action_DispenseItemFromChest(std::uint32_t id)
    : BoundAction(id), mSpawnHandler("GameEvent_FixedItemSpawn", "Action") {
    mSpawnHandler.SetOwner(this, &Action_DispenseItemFromChest::OnSpawn);
}

void Action_DispenseItemFromChest::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("chest", mChest);
    StreamPerDifficulty(stream, "item", mItem);
}

void Action_DispenseItemFromChest::OnSpawn(const GameEvent_FixedItemSpawn& event) {
    if (mChest.empty() || !RecordNamesEqual(event.objectName, mChest))
        return;
    mBound.assign(1, event.itemId);
    Rebind();
}

void Action_DispenseItemFromChest::Apply() {
    FixedItem* chest = mBound.empty() ? nullptr : Objects().GetObject<FixedItem>(mBound.front());
    if (!chest)
        return;
    ItemReplicaInfo item;
    item.baseName = mItem[static_cast<std::size_t>(QuestDifficulty())];
    chest->SetDropPerPartyMemberItem(item);
    mPending = false;
}

}  // namespace GAME
