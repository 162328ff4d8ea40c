#pragma once
// An animated mesh effect that fades in, sustains and fades out, then (placed in the world)
// removes itself once its animation has ended.
#include <memory>
#include <string>

#include "Game/world/EventSoundTable.h"
#include "Game/world/effects/Fx.h"

namespace GAME {

class AnimationChannels;
class GraphicsAnim;
class GraphicsMeshInstance;

class FxMesh : public Fx {
    RTTI_DECLARE(FxMesh)
public:
    enum Phase { kNone = 0, kFadeIn = 1, kSustain = 2, kFadeOut = 3 };

    FxMesh();
    ~FxMesh() override;

    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void InitialUpdate() override;
    void UpdateSelf(int elapsedMs) override;
    void LoadResources() override;
    void Start() override;
    void Stop() override;
    void AnimationCallback(int channel, const Name& event) override;
    void UpdateBoundingBox() override;

    // Placed at given coordinates; the plain form stays reachable.
    using Fx::AddToWorld;
    virtual void AddToWorld(const WorldCoords& coords);
    virtual void EndAnimation();

    const std::string& GetAttachPoint() const { return mAttachPoint; }
    const GraphicsMeshInstance* GetMeshInstance() const { return mMesh.get(); }
    AnimationChannels& GetAnimationChannels() { return *mChannels; }
    int GetPhase() const { return mPhase; }
    bool IsStarted() const { return mStarted; }
    bool HasAnimationEnded() const { return mAnimationEnded; }
    // Whether the effect would be drawn (only once started).
    bool AddToScene() const { return mStarted && mMesh != nullptr; }

private:
    static void OnAnimationEvent(void* owner, int channel, const Name& event);
    void SetBrightness(float brightness);

    std::string mMeshName;
    std::string mAnimationName;
    std::string mAttachPoint;
    GraphicsAnim* mAnimation = nullptr;
    std::unique_ptr<GraphicsMeshInstance> mMesh;
    std::unique_ptr<AnimationChannels> mChannels;
    bool mAnimationEnded = true;
    bool mLoop = false;
    float mSpeed = 1.0f;
    int mFadeInTime = 0;
    int mFadeOutTime = 0;
    int mSustainTime = 0;
    int mCountdown = 0;
    int mPhase = kNone;
    bool mStarted = false;
    EventSoundTable mSounds;
};

}  // namespace GAME
