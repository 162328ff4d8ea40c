#include "Engine/media/graphics/Light.h"

#include "Engine/media/MediaRecorder.h"

namespace GAME {

RTTI_IMPLEMENT(Light, Entity)

void Light::SetColor(const Color& color) {
    mColor = color;
    MediaRecorder::Get().Record(MediaCall::LightColor, GetObjectId(), {}, color.r, color.g, color.b,
                                color.a);
}

void Light::SetRadius(float radius) {
    mRadius = radius;
    MediaRecorder::Get().Record(MediaCall::LightRadius, GetObjectId(), {}, radius);
}

void Light::SetForceShadows(bool force) {
    mForceShadows = force;
    MediaRecorder::Get().Record(MediaCall::LightForceShadows, GetObjectId(), {},
                                force ? 1.0f : 0.0f);
}

}  // namespace GAME
