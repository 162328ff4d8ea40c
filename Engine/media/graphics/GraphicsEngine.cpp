#include "Engine/media/graphics/GraphicsEngine.h"

#include "Engine/Engine.h"
#include "Engine/anim/AnimationLibrary.h"
#include "Engine/anim/GraphicsAnim.h"
#include "Engine/media/MediaRecorder.h"
#include "Engine/object/Object.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/Machine.h"

namespace GAME {

GraphicsEngine& GraphicsEngine::Get() {
    return Singleton<GraphicsEngine>::Get();
}

bool GraphicsEngine::InRenderPreLoadFrustum(const Entity& entity) const {
    const Region* view = mPreLoadFrustum.region;
    const WorldVec3 at = entity.GetPosition();
    if (!mHasPreLoadFrustum || !view || !at.region)
        return false;
    const Vec3 local = at.region == view ? at.local : at.GetWorldPosition() - view->GetOffset();
    return mPreLoadFrustum.IntersectsSphere(local, entity.GetBoundingRadius());
}

GraphicsAnim* GraphicsEngine::LoadAnimation(std::string_view name) {
    GraphicsAnim* anim = Singleton<AnimationLibrary>::Get().FindClip(name);
    if (!anim) {
        if (mReportedUnknown.insert(RecordDatabase::NormalizeName(name)).second)
            gEngine->Log(1, "GraphicsEngine::LoadAnimation: unknown animation (%.*s)",
                         static_cast<int>(name.size()), name.data());
        return nullptr;
    }
    ++mUses[anim];
    return anim;
}

void GraphicsEngine::UnloadAnimation(GraphicsAnim* anim) {
    // Holders unload in their destructors, which may run after this engine was rebuilt while
    // the machine shuts down: an unknown handle is simply ignored.
    auto it = mUses.find(anim);
    if (it == mUses.end())
        return;
    if (--it->second == 0)
        mUses.erase(it);
}

void GraphicsEngine::RetainAnimation(GraphicsAnim* anim) {
    if (anim)
        ++mUses[anim];
}

int GraphicsEngine::GetUseCount(const GraphicsAnim* anim) const {
    auto it = mUses.find(anim);
    return it == mUses.end() ? 0 : it->second;
}

bool GraphicsEngine::LoadTexture(const std::string& name) {
    if (name.empty())
        return false;
    MediaRecorder::Get().Record(MediaCall::LoadTexture, 0, name);
    return true;
}

bool GraphicsEngine::GetTextureSize(const std::string& name, int& width, int& height) {
    width = 0;
    height = 0;
    if (name.empty())
        return false;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (!objects.LoadTableFile(name))
        return false;
    const LoadTable record = objects.GetLoadTable(name);
    width = record.GetInt("width", 0);
    height = record.GetInt("height", 0);
    return true;
}

Rect GraphicsEngine::GetResAdjRect(const Rect& rect) const {
    const float sx = static_cast<float>(mWidth) / static_cast<float>(kWidth);
    const float sy = static_cast<float>(mHeight) / static_cast<float>(kHeight);
    return Rect{rect.left * sx, rect.top * sy, rect.width * sx, rect.height * sy};
}

}  // namespace GAME
