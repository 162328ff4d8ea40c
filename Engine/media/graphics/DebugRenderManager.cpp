#include "Engine/media/graphics/DebugRenderManager.h"

#include <cstdio>

#include "Engine/media/MediaRecorder.h"
#include "Engine/sys/Machine.h"

namespace GAME {

DebugRenderManager& DebugRenderManager::Get() {
    return Singleton<DebugRenderManager>::Get();
}

void DebugRenderManager::RenderSphere(const WorldVec3& center, float radius, const Color& color) {
    const Vec3 at = center.GetWorldPosition();
    char argb[12];
    std::snprintf(argb, sizeof argb, "%08X", static_cast<unsigned>(color.ToARGB()));
    MediaRecorder::Get().Record(MediaCall::RenderSphere, 0, argb, at.x, at.y, at.z, radius);
}

void DebugRenderManager::RenderStatisticGraph(const std::string& name, float value,
                                              const Color& color) {
    MediaRecorder::Get().Record(MediaCall::StatisticGraph, 0, name, value, color.r, color.g,
                                color.b);
}

}  // namespace GAME
