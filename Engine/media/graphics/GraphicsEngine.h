#pragma once
// The graphics engine of a machine, headless: animations come from the clip library, textures
// are only recorded, and the screen is a fixed 1024 x 768.
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "Engine/world/WorldShapes.h"

namespace GAME {

class Entity;
class GraphicsAnim;

class GraphicsEngine {
public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

    static GraphicsEngine& Get();

    // The clip of that name, or null for an unknown one (logged once per name). Each load
    // counts a use that UnloadAnimation gives back; clips stay valid for the machine's life.
    GraphicsAnim* LoadAnimation(std::string_view name);
    void UnloadAnimation(GraphicsAnim* anim);
    int GetUseCount(const GraphicsAnim* anim) const;

    // Recorded; always succeeds for a non-empty name.
    bool LoadTexture(const std::string& name);

    int GetWidth() const { return kWidth; }
    int GetHeight() const { return kHeight; }

    // The view the renderer loads ahead around: the host's camera, set each frame. Until one is
    // set (and after Clear) nothing is in it, as on a machine that shows nothing.
    void SetRenderPreLoadFrustum(const WorldFrustum& frustum) {
        mPreLoadFrustum = frustum;
        mHasPreLoadFrustum = true;
    }
    void ClearRenderPreLoadFrustum() { mHasPreLoadFrustum = false; }
    // The entity's bounding sphere reaches into that view.
    bool InRenderPreLoadFrustum(const Entity& entity) const;

private:
    WorldFrustum mPreLoadFrustum;
    bool mHasPreLoadFrustum = false;
    std::unordered_map<const GraphicsAnim*, int> mUses;
    std::unordered_set<std::string> mReportedUnknown;
};

}  // namespace GAME
