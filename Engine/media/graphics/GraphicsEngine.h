#pragma once
// The graphics engine of a machine, headless: animations come from the clip library, textures
// are only recorded (a texture's pixel size is read from a record of the texture's name), and the
// screen is 1024 x 768, the size the user-interface layouts are drawn for, unless a host or test
// sets a smaller one.
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
    // One more use of a clip already loaded (a copy of its holder); null counts nothing.
    void RetainAnimation(GraphicsAnim* anim);
    int GetUseCount(const GraphicsAnim* anim) const;

    // Recorded; always succeeds for a non-empty name.
    bool LoadTexture(const std::string& name);

    // Width and height in pixels from the texture's record ("width", "height"); false (and 0 x 0)
    // for an empty name or a texture without a record.
    bool GetTextureSize(const std::string& name, int& width, int& height);

    int GetWidth() const { return mWidth; }
    int GetHeight() const { return mHeight; }
    void SetScreenSize(int width, int height) {
        mWidth = width;
        mHeight = height;
    }
    // The screen is smaller than the layouts' design size, so user-interface rectangles shrink.
    bool IsDownsizing() const { return mWidth < kWidth || mHeight < kHeight; }
    // A design-size rectangle scaled to the screen.
    Rect GetResAdjRect(const Rect& rect) const;

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
    int mWidth = kWidth;
    int mHeight = kHeight;
    WorldFrustum mPreLoadFrustum;
    bool mHasPreLoadFrustum = false;
    std::unordered_map<const GraphicsAnim*, int> mUses;
    std::unordered_set<std::string> mReportedUnknown;
};

}  // namespace GAME
