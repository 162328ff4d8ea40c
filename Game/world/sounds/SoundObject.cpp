#include "Game/world/sounds/SoundObject.h"

#include "Engine/Engine.h"
#include "Engine/media/EditorFilter.h"
#include "Engine/records/LoadTable.h"

namespace GAME {

RTTI_IMPLEMENT(SoundObject, Actor)

namespace {
constexpr int kEditorSoundCategory = 2;
}  // namespace

SoundObject::~SoundObject() {
    if (gEngine->IsEditor())
        EditorFilter::Get().RemoveFilterObject(GetObjectId());
}

void SoundObject::Load(const LoadTable& table) {
    Actor::Load(table);
    mAmbient.Load(table);
    mPeriodic.Load(table);
    mStartOnLoad = table.GetInt("startOnLoad", 0) != 0;
    if (mStartOnLoad) {
        mAmbient.StartSound(true);
        mPeriodic.StartSound();
        mAmbient.Update(GetCoords(), 1);
        mPeriodic.Update(GetCoords(), 1);
    }
}

void SoundObject::PreLoad(bool now) {
    Actor::PreLoad(now);
    mAmbient.PreLoad();
    mPeriodic.PreLoad();
}

void SoundObject::InitialUpdate() {
    Actor::InitialUpdate();
    if (!mStartOnLoad) {
        mAmbient.StartSound(false);
        mPeriodic.StartSound();
    }
    if (gEngine->IsEditor()) {
        SetVisibility(true);
        EditorFilter::Get().AddFilterObject(GetObjectId(), kEditorSoundCategory);
    } else {
        SetVisibility(false);
    }
}

void SoundObject::UpdateSelf(int elapsedMs) {
    mAmbient.Update(GetCoords(), elapsedMs);
    mPeriodic.Update(GetCoords(), elapsedMs);
    Actor::UpdateSelf(elapsedMs);
}

}  // namespace GAME
