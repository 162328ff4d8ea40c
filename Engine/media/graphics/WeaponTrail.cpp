#include "Engine/media/graphics/WeaponTrail.h"

#include "Engine/media/MediaRecorder.h"

namespace GAME {

RTTI_IMPLEMENT(WeaponTrail, Entity)

void WeaponTrail::Start() {
    mStarted = true;
    MediaRecorder::Get().Record(MediaCall::WeaponTrailStart, GetObjectId(), GetObjectName());
}

void WeaponTrail::Stop() {
    mStarted = false;
    MediaRecorder::Get().Record(MediaCall::WeaponTrailStop, GetObjectId(), GetObjectName());
}

}  // namespace GAME
