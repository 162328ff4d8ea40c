#pragma once
// The surface the host's render pass draws the overlays on. Headless, it keeps what the last
// pass drew: each filled rectangle and each picture, in order, until the next Clear.
#include <string>
#include <vector>

#include "Engine/world/Math.h"

namespace GAME {

class GraphicsCanvas {
public:
    struct FilledRect {
        Rect rect;
        Color color;
    };
    struct Picture {
        std::string texture;
        float x = 0, y = 0;
        float alpha = 0;
        float fraction = 0;  // how much of a progress picture is filled, 0..1
    };

    GraphicsCanvas(float width, float height) : mWidth(width), mHeight(height) {}

    float GetWidth() const { return mWidth; }
    float GetHeight() const { return mHeight; }

    void RenderRect(const Rect& rect, const Color& color) { mRects.push_back({rect, color}); }
    void RenderPicture(const std::string& texture, float x, float y, float alpha, float fraction) {
        mPictures.push_back({texture, x, y, alpha, fraction});
    }
    // A new pass: forgets what the last one drew (the storage is kept).
    void Clear() {
        mRects.clear();
        mPictures.clear();
    }

    const std::vector<FilledRect>& GetRects() const { return mRects; }
    const std::vector<Picture>& GetPictures() const { return mPictures; }

private:
    float mWidth;
    float mHeight;
    std::vector<FilledRect> mRects;
    std::vector<Picture> mPictures;
};

}  // namespace GAME
