#pragma once
// Objects the local player discovers by walking near them and that then serve travel across the
// map: map markers, respawn shrines and teleport shrines. Their state follows what the local
// player knows (the player's lists of known unique ids are the truth), so each machine shows
// them for its own player.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/EngineClasses.h"
#include "Engine/sys/GameTimer.h"
#include "Game/characters/anim/OwnedAnimation.h"
#include "Game/core/net/packets/FixedItemPackets.h"
#include "Game/items/OwnedObject.h"

namespace GAME {

class Player;

enum StrategicMovementBaseState : std::uint32_t {
    StrategicMovementState_Undetermined = 0,
    StrategicMovementState_Editor = 1,
    StrategicMovementState_NoMapData = 2,
    StrategicMovementState_Dormant = 3,
    StrategicMovementState_Active = 4,
};

class StrategicMovementBase : public Tile, public StrategicMovementCommandTarget {
    RTTI_DECLARE(StrategicMovementBase)
public:
    static constexpr int kSoundCount = 5;
    static constexpr int kRecheckMs = 250;

    StrategicMovementBase();
    ~StrategicMovementBase() override;

    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void InitialUpdate() override;
    void UpdateSelf(int elapsedMs) override;
    void AnimationCallback(int channel, const Name& event) override;
    bool ShouldServerSpawn() const override { return false; }
    void SaveState(BinaryWriter& writer) override;
    void RestoreState(BinaryReader& reader) override;
    virtual bool IsStatic() const { return true; }
    virtual bool ShouldSaveState() const { return true; }
    virtual void OnRemoveFromLevel() { RemovePathObstacle(); }

    virtual std::wstring GetGameDescription(bool forMap) const;
    virtual WorldVec3 GetMoveToPoint(unsigned int user) const;
    virtual void RequestToUse(unsigned int) {}
    virtual bool IsOfInterest() const { return mState != StrategicMovementState_NoMapData; }
    void HandleTargets(const std::vector<unsigned int>&) override {}
    virtual void SetState(StrategicMovementBaseState state, bool fast);
    virtual StrategicMovementBaseState DetermineStateFromPlayer() const {
        return StrategicMovementState_Undetermined;
    }
    virtual bool InstallOnPlayerProximity(Player&) { return false; }
    virtual void RemoveAndDestroyAttachments();
    virtual bool QualifyMapData() const;
    // The headless meshes have no hit boxes: these objects close no path.
    virtual void CreatePathObstacle() {}
    virtual void RemovePathObstacle() {}

    StrategicMovementBaseState GetState() const { return mState; }
    bool IsFastForward() const { return mFastForward; }
    float GetBindDistance() const { return mBindDistance; }
    std::uint32_t GetLightId() const { return mLight.GetId(); }

protected:
    // The local player, when this machine has one in the world.
    static Player* LocalPlayer();
    void SetRequiresMapData(bool value) { mRequiresMapData = value; }
    int GetElapsedMs() const { return mElapsedMs; }
    void AppendMapEntry(std::vector<MinimapGameNugget>& out, int kind) const;

private:
    void ActivateFromNearbyPlayers();
    void FadeInLight();

    float mNormalSpeed = 1.0f;
    float mFastSpeed = 100.0f;
    int mDormantSoundFadeMs = 10;
    float mBindDistance = 0.0f;
    // Played on the animation events "sound1".."sound5" every time (no chance is drawn: what a
    // machine shows here follows its own player, so it must not touch a shared generator).
    OwnedObject<SoundPak> mEventSounds[kSoundCount]{
        OwnedObject<SoundPak>{"Game/StrategicMovementBase"},
        OwnedObject<SoundPak>{"Game/StrategicMovementBase"},
        OwnedObject<SoundPak>{"Game/StrategicMovementBase"},
        OwnedObject<SoundPak>{"Game/StrategicMovementBase"},
        OwnedObject<SoundPak>{"Game/StrategicMovementBase"}};
    OwnedAnimation mDormantAnimation;
    OwnedAnimation mActiveAnimation;
    OwnedObject<SoundPak> mDormantSound{"Game/StrategicMovementBase"};
    OwnedObject<SoundPak> mDormantToActiveSound{"Game/StrategicMovementBase"};
    OwnedObject<SoundPak> mActiveSound{"Game/StrategicMovementBase"};
    StrategicMovementBaseState mState = StrategicMovementState_Undetermined;
    std::string mDescriptionTag;
    std::string mLightName;
    std::string mLightAttachPoint;
    int mLightFadeInMs = 1;
    OwnedObject<Light> mLight{"Game/StrategicMovementBase"};
    int mLightFadeRemaining = 0;
    int mRecheckTimer = 0;
    int mElapsedMs = 0;
    GameTimer mUpdateTimer;
    bool mRequiresMapData = true;
    bool mFastForward = false;
    std::vector<Entity*> mNearby;  // the discovery check's scratch list
};

}  // namespace GAME
