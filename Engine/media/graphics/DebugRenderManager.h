#pragma once
// Debug drawing of a machine: nothing is drawn; each shape is recorded.
#include <string>

#include "Engine/world/Region.h"

namespace GAME {

class DebugRenderManager {
public:
    static DebugRenderManager& Get();

    // Position in the region's space.
    void RenderSphere(const WorldVec3& center, float radius, const Color& color);
    // One bar of the statistic graph: a named value in a colour (the alpha is not kept).
    void RenderStatisticGraph(const std::string& name, float value, const Color& color);
};

}  // namespace GAME
