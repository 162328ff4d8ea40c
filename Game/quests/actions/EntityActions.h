#pragma once
// The quest actions that act on creatures and placed entities: send a creature somewhere,
// spawn at a quest location, kill, make invincible, animate, use a skill, hide or show, and
// disable a spawn proxy. What changes the shared world runs only where the game is decided.
#include <cstdint>
#include <string>
#include <vector>

#include "Game/core/GameEventListener.h"
#include "Game/quests/actions/BoundAction.h"

namespace GAME {

struct GameEvent_CreatureSpawn;

class Action_TaskCreatureToLocation : public BoundAction {
public:
    using BoundAction::BoundAction;
    const char* GetName() const override { return "Action_TaskCreatureToLocation"; }
    bool CanReFire() const override { return true; }
    void Fire(std::uint32_t, bool reFire) override { FirePending(reFire, mCanReFire); }
    void SerializeChildProperties(IOStream& stream) override;
    std::uint32_t GetLocationId() const { return mLocationId; }

protected:
    std::string Describe() const override {
        return "Task " + Highlight(ShowRecordName(mCreature)) + " To " +
               Highlight(ShowRecordName(mLocation)) + " and " +
               Highlight(mFight ? " Fight" : " Don't Fight");
    }
    void BindCreature(const std::string& name, std::uint32_t id) override;
    void BindEntity(const std::string& name, std::uint32_t id) override;
    void Apply() override;

private:
    std::string mCreature;
    std::string mLocation;
    bool mFight = false;
    bool mCanReFire = true;
    std::uint32_t mLocationId = 0;
};

class Action_SpawnEntityAtLocation : public BoundAction {
public:
    using BoundAction::BoundAction;
    const char* GetName() const override { return "Action_SpawnEntityAtLocation"; }
    void Fire(std::uint32_t, bool reFire) override { FirePending(reFire, true); }
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override {
        return "Spawn " + Highlight(ShowRecordName(mEntity)) + " At " +
               Highlight(ShowRecordName(mLocation));
    }
    void BindCreature(const std::string&, std::uint32_t) override {}
    void BindEntity(const std::string& name, std::uint32_t id) override;
    void Apply() override;

private:
    std::string mEntity;
    std::string mLocation;
    std::uint32_t mLocationId = 0;
};

class Action_KillCreature : public BoundAction {
public:
    explicit Action_KillCreature(std::uint32_t id);
    const char* GetName() const override { return "Action_KillCreature"; }
    bool CanDelay() const override { return false; }
    void Fire(std::uint32_t, bool reFire) override { FirePending(reFire, mCanReFire); }
    void SerializeChildProperties(IOStream& stream) override;
    void StreamChildProperties(IOStream&) override {}

protected:
    std::string Describe() const override {
        return "Kill Creature " + Highlight(ShowRecordName(mCreature));
    }
    void Apply() override;

private:
    void OnSpawn(const GameEvent_CreatureSpawn& event);

    std::string mCreature;
    bool mCanReFire = true;
    ActionEventHandler<Action_KillCreature, GameEvent_CreatureSpawn> mSpawnHandler;
};

class Action_SetCharacterInvincible : public BoundAction {
public:
    using BoundAction::BoundAction;
    const char* GetName() const override { return "Action_SetCharacterInvincible"; }
    bool CanReFire() const override { return true; }
    bool CanDelay() const override { return false; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override {
        return "Make " + Highlight(ShowRecordName(mNpc)) + " invincible";
    }
    void Apply() override;

private:
    std::string mNpc;
    bool mInvincible = true;
    bool mCanReFire = true;
};

class Action_NpcPlayAnimation : public BoundAction {
public:
    using BoundAction::BoundAction;
    const char* GetName() const override { return "Action_NpcPlayAnimation"; }
    void Fire(std::uint32_t, bool reFire) override { FirePending(reFire, true); }
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override;
    void Apply() override;

private:
    std::string mNpc;
    std::int32_t mAnimation = 0;
    bool mAllowInterruptions = false;
    bool mLooping = false;
};

class Action_FireSkill : public BoundAction {
public:
    using BoundAction::BoundAction;
    const char* GetName() const override { return "Action_FireSkill"; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;
    void StreamChildProperties(IOStream&) override {}
    const std::vector<std::uint32_t>& GetTargets() const { return mTargets; }
    bool GetAllowInterruptions() const { return mAllowInterruptions; }

protected:
    std::string Describe() const override;
    void BindCreature(const std::string& name, std::uint32_t id) override;
    void BindEntity(const std::string& name, std::uint32_t id) override;
    void BindProxyObjects(const QuestNetMsg_ProxySpawn& message) override;
    void Apply() override;

private:
    std::string mSkill;
    std::string mSource;
    std::string mTarget;
    bool mAllowInterruptions = false;
    std::vector<std::uint32_t> mTargets;  // mBound holds the sources
};

// Hides (false) or shows (true) a character named in the quest.
class NpcVisibilityAction : public BoundAction {
public:
    using BoundAction::BoundAction;
    bool CanReFire() const override { return true; }
    bool CanDelay() const override { return false; }
    void Fire(std::uint32_t, bool reFire) override { FirePending(reFire, mCanReFire); }
    void SerializeChildProperties(IOStream& stream) override;

protected:
    void BindCreature(const std::string& name, std::uint32_t id) override;
    void BindEntity(const std::string&, std::uint32_t) override {}
    void Apply() override;
    virtual bool Visible() const = 0;

    std::string mNpc;
    bool mCanReFire = true;
};

class Action_HideNpc : public NpcVisibilityAction {
public:
    using NpcVisibilityAction::NpcVisibilityAction;
    const char* GetName() const override { return "Action_HideNpc"; }

protected:
    std::string Describe() const override { return "Hide " + Highlight(ShowRecordName(mNpc)); }
    bool Visible() const override { return false; }
};

class Action_ShowNpc : public NpcVisibilityAction {
public:
    using NpcVisibilityAction::NpcVisibilityAction;
    const char* GetName() const override { return "Action_ShowNpc"; }

protected:
    std::string Describe() const override { return "Show " + Highlight(ShowRecordName(mNpc)); }
    bool Visible() const override { return true; }
};

class Action_DisableProxy : public BoundAction {
public:
    using BoundAction::BoundAction;
    const char* GetName() const override { return "Action_DisableProxy"; }
    bool CanReFire() const override { return true; }
    bool CanDelay() const override { return false; }
    void Fire(std::uint32_t, bool reFire) override { FirePending(reFire, true); }
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override {
        return "Disable proxy " + Highlight(ShowRecordName(mProxy));
    }
    void BindCreature(const std::string&, std::uint32_t) override {}
    void BindEntity(const std::string& name, std::uint32_t id) override;
    void BindProxyObjects(const QuestNetMsg_ProxySpawn& message) override;
    void Apply() override;

private:
    std::string mProxy;
};

}  // namespace GAME
