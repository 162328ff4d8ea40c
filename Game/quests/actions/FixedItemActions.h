#pragma once
// The quest actions on placed usable objects: open and close doors, lock and unlock, and name a
// chest's drop for each party member. They bind to the objects as these announce themselves.
#include <cstdint>
#include <string>

#include "Game/core/GameEventListener.h"
#include "Game/quests/actions/BoundAction.h"

namespace GAME {

struct GameEvent_FixedItemSpawn;

// Opens (state 11) or closes (state 9) a door, on the machine that decides the world.
class DoorAction : public BoundAction {
public:
    explicit DoorAction(std::uint32_t id);
    bool CanReFire() const override { return true; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;
    void StreamChildProperties(IOStream&) override {}

protected:
    virtual unsigned int State() const = 0;
    void Apply() override;

    std::string mDoor;

private:
    void OnSpawn(const GameEvent_FixedItemSpawn& event);

    bool mCanReFire = true;
    bool mWasReFire = false;
    ActionEventHandler<DoorAction, GameEvent_FixedItemSpawn> mSpawnHandler;
};

class Action_OpenDoor : public DoorAction {
public:
    using DoorAction::DoorAction;
    const char* GetName() const override { return "Action_OpenDoor"; }

protected:
    std::string Describe() const override {
        return "Open door " + Highlight(ShowRecordName(mDoor));
    }
    unsigned int State() const override { return 11; }
};

class Action_CloseDoor : public DoorAction {
public:
    using DoorAction::DoorAction;
    const char* GetName() const override { return "Action_CloseDoor"; }

protected:
    std::string Describe() const override {
        return "Close door " + Highlight(ShowRecordName(mDoor));
    }
    unsigned int State() const override { return 9; }
};

class LockAction : public BoundAction {
public:
    explicit LockAction(std::uint32_t id);
    void SerializeChildProperties(IOStream& stream) override;
    void StreamChildProperties(IOStream&) override {}

protected:
    virtual bool Lock() const = 0;
    void BindProxyObjects(const QuestNetMsg_ProxySpawn& message) override;
    void BindEntity(const std::string& name, std::uint32_t id) override;
    void BindCreature(const std::string&, std::uint32_t) override {}
    void Apply() override;

    std::string mFixedItem;

private:
    void OnSpawn(const GameEvent_FixedItemSpawn& event);

    ActionEventHandler<LockAction, GameEvent_FixedItemSpawn> mSpawnHandler;
};

class Action_LockFixedItem : public LockAction {
public:
    using LockAction::LockAction;
    const char* GetName() const override { return "Action_LockFixedItem"; }
    void Fire(std::uint32_t, bool reFire) override { FirePending(reFire, true); }

protected:
    std::string Describe() const override {
        return "Lock Fixed Item " + Highlight(ShowRecordName(mFixedItem));
    }
    bool Lock() const override { return true; }
};

class Action_UnlockFixedItem : public LockAction {
public:
    using LockAction::LockAction;
    const char* GetName() const override { return "Action_UnlockFixedItem"; }
    bool CanReFire() const override { return true; }
    void Fire(std::uint32_t, bool reFire) override { FirePending(reFire, mCanReFire); }
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override {
        return "Unlock Fixed Item " + Highlight(ShowRecordName(mFixedItem)) + " and " +
               Highlight(mCanReFire ? "Refire" : "Don't Refire");
    }
    bool Lock() const override { return false; }

private:
    bool mCanReFire = true;
};

class Action_DispenseItemFromChest : public BoundAction {
public:
    explicit Action_DispenseItemFromChest(std::uint32_t id);
    const char* GetName() const override { return "Action_DispenseItemFromChest"; }
    bool CanReFire() const override { return true; }
    void Fire(std::uint32_t, bool reFire) override { FirePending(reFire, true); }
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override {
        return "Dispense Item " +
               Highlight(ShowRecordName(mItem[static_cast<std::size_t>(QuestDifficulty())])) +
               " From Chest " + Highlight(ShowRecordName(mChest));
    }
    void Apply() override;

private:
    void OnSpawn(const GameEvent_FixedItemSpawn& event);

    std::string mChest;
    PerDifficulty<std::string> mItem;
    ActionEventHandler<Action_DispenseItemFromChest, GameEvent_FixedItemSpawn> mSpawnHandler;
};

}  // namespace GAME
