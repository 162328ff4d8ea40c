#include "Engine/media/graphics/GraphicsMeshInstance.h"

#include <cmath>

#include "Engine/Engine.h"
#include "Engine/media/MediaRecorder.h"
#include "Engine/object/Object.h"

namespace GAME {

std::uint32_t GraphicsMeshInstance::OwnerId() const {
    return mOwner ? mOwner->GetObjectId() : 0;
}

void GraphicsMeshInstance::SetMesh(const std::string& mesh) {
    if (mOwnMesh.empty())
        mOwnMesh = mesh;
    mMesh = mesh;
    MediaRecorder::Get().Record(MediaCall::SetMesh, OwnerId(), mesh);
}

void GraphicsMeshInstance::RestoreMesh() {
    mMesh = mOwnMesh;
    MediaRecorder::Get().Record(MediaCall::RestoreMesh, OwnerId(), mMesh);
}

void GraphicsMeshInstance::SetBaseTexture(const std::string& texture) {
    mBaseTexture = texture;
    MediaRecorder::Get().Record(MediaCall::SetBaseTexture, OwnerId(), texture);
}

void GraphicsMeshInstance::SetBumpTexture(const std::string& texture) {
    mBumpTexture = texture;
    MediaRecorder::Get().Record(MediaCall::SetBumpTexture, OwnerId(), texture);
}

void GraphicsMeshInstance::SetTintColor(const Color& color) {
    mTint = color;
    MediaRecorder::Get().Record(MediaCall::SetTintColor, OwnerId(), {}, color.r, color.g, color.b,
                                color.a);
}

void GraphicsMeshInstance::SetOutlineColor(const Color& color) {
    mOutline = color;
    MediaRecorder::Get().Record(MediaCall::SetOutlineColor, OwnerId(), {}, color.r, color.g,
                                color.b, color.a);
}

void GraphicsMeshInstance::BeginDissolve(int red, int green, int blue, float seconds,
                                         const std::string& texture) {
    StartDissolve(Dissolve::Out, red, green, blue, seconds, texture);
}

void GraphicsMeshInstance::BeginUnDissolve(int red, int green, int blue, float seconds,
                                           const std::string& texture) {
    StartDissolve(Dissolve::In, red, green, blue, seconds, texture);
}

void GraphicsMeshInstance::StartDissolve(Dissolve kind, int red, int green, int blue, float seconds,
                                         const std::string& texture) {
    mDissolve = kind;
    mDissolveStart = gEngine->GetGameTime();
    // A negative or non-finite time dissolves at once.
    const double ms = std::isfinite(seconds) && seconds > 0.0f ? std::ceil(seconds * 1000.0) : 0.0;
    mDissolveMs = static_cast<std::uint64_t>(ms);
    MediaRecorder::Get().Record(
        kind == Dissolve::Out ? MediaCall::BeginDissolve : MediaCall::BeginUnDissolve, OwnerId(),
        texture, static_cast<float>(red), static_cast<float>(green), static_cast<float>(blue),
        seconds);
}

bool GraphicsMeshInstance::IsDissolved() const {
    return mDissolve == Dissolve::Out && gEngine->GetGameTime() - mDissolveStart >= mDissolveMs;
}

}  // namespace GAME
