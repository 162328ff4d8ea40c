#pragma once
// Up to four nested volumes around one centre, for event music and boss fights. Once attached,
// index 0 is the innermost. A player's entering or leaving a nested volume reaches OnEnterVolume
// or OnExitVolume with its index, until the done flag is set.
//
// The multiple volume owns its nested volumes: destroying it destroys them, attached or not
// (an engine parent does not take its attached children with it here).
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/object/Object.h"
#include "Game/core/GameEventListener.h"
#include "Game/core/GameEvents.h"
#include "Game/quests/QuestEvents.h"

namespace GAME {

class BoundingVolumeMultiple : public Entity {
    RTTI_DECLARE(BoundingVolumeMultiple)
public:
    static constexpr int kMaxVolumes = 4;

    struct NestedVolume {
        std::uint32_t volumeId = 0;
        float radius = 0.0f;
        bool attached = false;
    };

    BoundingVolumeMultiple();
    ~BoundingVolumeMultiple() override;

    void Load(const LoadTable& table) override;
    void InitialUpdate() override;
    bool CanCollide(const Entity&) const override { return false; }

    // Sorts the volumes by ascending radius and attaches each to `parent` at its origin; a
    // parent standing in the world takes them into the world with it, so they update.
    virtual void AttachVolumes(Entity* parent);
    virtual void OnEnterVolume(int) {}
    virtual void OnExitVolume(int) {}

    const std::vector<NestedVolume>& GetVolumes() const { return mVolumes; }
    // The largest radius plus 1.0 (1.0 with no volume): the reach of its boxes.
    float GetOuterReach() const;
    bool IsDone() const { return mDone; }
    void SetDone(bool done) { mDone = done; }
    // The editor's description: the ids of the characters in each volume, one per line.
    std::string GetGameDescription() const;

private:
    void OnEnterBoundingVolume(const GameEvent_BoundingVolume& event);
    void OnExitBoundingVolume(const GameEvent_BoundingVolume& event);
    // The record's index of the nested volume, -1 when the volume is not one of ours or the
    // crossing does not count (done, or not a player).
    int CountingIndex(const GameEvent_BoundingVolume& event) const;

    std::vector<NestedVolume> mVolumes;
    bool mDone = false;
    GameEventListener<BoundingVolumeMultiple, GameEvent_BoundingVolume> mEnterListener;
    GameEventListener<BoundingVolumeMultiple, GameEvent_BoundingVolume> mExitListener;
};

class BoundingVolumeMusicEvent : public BoundingVolumeMultiple {
    RTTI_DECLARE(BoundingVolumeMusicEvent)
public:
    void Load(const LoadTable& table) override;
    void UpdateSelf(int elapsedMs) override;
    void OnEnterVolume(int index) override;
    void OnExitVolume(int index) override;

    const std::string& GetEventMusicFile() const { return mEventMusicFile; }

private:
    std::string mEventMusicFile;
    bool mAttached = false;
};

class BoundingVolumeBossMonster : public BoundingVolumeMultiple {
    RTTI_DECLARE(BoundingVolumeBossMonster)
public:
    BoundingVolumeBossMonster();
    ~BoundingVolumeBossMonster() override;

    void Load(const LoadTable& table) override;
    void OnEnterVolume(int index) override;

    void SetBossId(std::uint32_t id) { mBossId = id; }
    std::uint32_t GetBossId() const { return mBossId; }
    const std::string& GetBossEventMusic() const { return mBossEventMusic; }

private:
    void OnCreatureStartDeath(const GameEvent_CreatureStartDeath& event);

    std::string mBossEventMusic;
    std::uint32_t mBossId = 0;
    GameEventListener<BoundingVolumeBossMonster, GameEvent_CreatureStartDeath> mDeathListener;
};

}  // namespace GAME
