#include "Game/world/effects/FxMesh.h"

#include <algorithm>

#include "Engine/anim/AnimationChannels.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/media/graphics/GraphicsMeshInstance.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/Math.h"
#include "Engine/world/World.h"
#include "Game/core/ObjectLookup.h"

namespace GAME {

RTTI_IMPLEMENT(FxMesh, Fx)

FxMesh::FxMesh()
    : mChannels(std::make_unique<AnimationChannels>(this, &FxMesh::OnAnimationEvent)) {}

FxMesh::~FxMesh() {
    if (mAnimation)
        GraphicsEngine::Get().UnloadAnimation(mAnimation);
}

void FxMesh::OnAnimationEvent(void* owner, int channel, const Name& event) {
    static_cast<FxMesh*>(owner)->AnimationCallback(channel, event);
}

void FxMesh::Load(const LoadTable& table) {
    Fx::Load(table);
    mMeshName = table.GetString("meshName", "");
    mAnimationName = table.GetString("animationName", "");
    mAttachPoint = table.GetString("attachPoint", "");
    mLoop = table.GetBool("loop", false);
    mSpeed = table.GetFloat("speed", 1.0f);
    mFadeInTime = SaturatedInt(table.GetFloat("fadeInTime", 0.0f));
    mFadeOutTime = SaturatedInt(table.GetFloat("fadeOutTime", 0.0f));
    mSustainTime = SaturatedInt(table.GetFloat("sustainTime", 0.0f));
    static constexpr const char* kSoundKeys[] = {"sound1", "sound2", "sound3", "sound4"};
    for (const char* key : kSoundKeys)
        mSounds.Add(Name::Create(key), GetSoundPakFromRecord(table, key), 100.0f);
}

void FxMesh::LoadResources() {
    if (!mAnimation && !mAnimationName.empty())
        mAnimation = GraphicsEngine::Get().LoadAnimation(mAnimationName);
    if (!mMesh) {
        mMesh = std::make_unique<GraphicsMeshInstance>(*this);
        mMesh->SetMesh(mMeshName);
    }
}

void FxMesh::PreLoad(bool now) {
    Fx::PreLoad(now);
    LoadResources();
    mSounds.PreLoad();
}

void FxMesh::InitialUpdate() {
    Fx::InitialUpdate();
    if (!mStarted && !IsComplete())
        Start();
}

void FxMesh::Start() {
    LoadResources();
    mStarted = true;
    mCountdown = mFadeInTime;
    if (mFadeInTime >= 1 || mFadeOutTime >= 1 || mSustainTime >= 1)
        mPhase = kFadeIn;
    if (mAnimation)
        mChannels->Play(0, mAnimation, mLoop, mSpeed, 0);
    mAnimationEnded = false;
}

void FxMesh::SetBrightness(float brightness) {
    const float b = std::clamp(brightness, 0.0f, 1.0f);
    mMesh->SetDiffuseColor(Color{b, b, b, 1.0f});
}

void FxMesh::UpdateSelf(int elapsedMs) {
    Fx::UpdateSelf(elapsedMs);
    if (!mMesh)
        return;
    mCountdown -= elapsedMs;
    switch (mPhase) {
        case kFadeIn:
            SetBrightness(mFadeInTime > 0 ? 1.0f - static_cast<float>(mCountdown) /
                                                       static_cast<float>(mFadeInTime)
                                          : 1.0f);
            if (mCountdown < 1) {
                mCountdown = mSustainTime;
                mPhase = kSustain;
            }
            break;
        case kSustain:
            if (mCountdown < 1) {
                mCountdown = mFadeOutTime;
                mPhase = mFadeOutTime > 0 ? kFadeOut : kNone;
            }
            break;
        case kFadeOut:
            SetBrightness(static_cast<float>(mCountdown) / static_cast<float>(mFadeOutTime));
            if (mCountdown < 1) {
                mCountdown = 0;
                mPhase = kNone;
            }
            break;
        default:
            break;
    }
    if (IsInWorld() && mAnimationEnded && mPhase == kNone) {
        SetComplete(true);
        SetVisibility(false);
        World::Get().RemoveEntity(this);
        Singleton<ObjectManager>::Get().DestroyObject(this);
    }
}

void FxMesh::AnimationCallback(int channel, const Name& event) {
    Fx::AnimationCallback(channel, event);
    static const Name kEnd = Name::Create("End");
    if (event == kEnd) {
        if (!mLoop)
            EndAnimation();
    } else if (IsInWorld()) {
        mSounds.Play(event, GetPosition());
    }
}

void FxMesh::Stop() {
    SetVisibility(false);
    EndAnimation();
    SetComplete(true);
}

void FxMesh::EndAnimation() {
    mChannels->Stop(0);
    mAnimationEnded = true;
}

void FxMesh::UpdateBoundingBox() {
    // Headless meshes have no extent of their own: a unit sphere around the effect.
    SetBoundingRadius(1.0f);
}

void FxMesh::AddToWorld(const WorldCoords& coords) {
    World::Get().AddEntity(this, coords, true);
}

}  // namespace GAME
