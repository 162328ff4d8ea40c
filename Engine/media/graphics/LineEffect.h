#pragma once
// A textured line between two points. Nothing is drawn: the line keeps its looks, a clock of
// game milliseconds advanced by its updates, and how far along its way it has travelled
// (clock / the record's "travelTime", reaching 1.0 and staying there).
#include <string>

#include "Engine/object/Object.h"

namespace GAME {

class LineEffect : public Entity {
    RTTI_DECLARE(LineEffect)
public:
    void Load(const LoadTable& table) override;
    void UpdateSelf(int elapsedMs) override;

    void SetColor(const Color& color) { mColor = color; }
    const Color& GetColor() const { return mColor; }
    void SetWidth(float width) { mWidth = width; }
    float GetWidth() const { return mWidth; }
    void SetTextureStretch(float stretch) { mTextureStretch = stretch; }
    float GetTextureStretch() const { return mTextureStretch; }
    void SetTexture(const std::string& texture);
    const std::string& GetTexture() const { return mTexture; }
    void SetShader(const std::string& shader) { mShader = shader; }
    const std::string& GetShader() const { return mShader; }

    void SetClock(int ms);
    int GetClock() const { return mClock; }
    float GetTravelPercentage() const { return mTravel; }
    void SetTravelTime(int ms) { mTravelTime = ms; }
    // While set, the clock stops once the line has reached its target: it holds there (and
    // ends no sooner) until the flag is cleared.
    void SetPauseAtTarget(bool pause) { mPauseAtTarget = pause; }
    bool IsPausedAtTarget() const { return mPauseAtTarget && mTravel >= 1.0f; }
    void SetTopBottomPercent(float top, float bottom) {
        mTop = top;
        mBottom = bottom;
    }
    float GetTopPercent() const { return mTop; }
    float GetBottomPercent() const { return mBottom; }
    float GetDefaultFadeMultiplier() const { return 1.0f; }

private:
    void UpdateTravel();

    Color mColor{1, 1, 1, 1};
    float mWidth = 1.0f;
    float mTextureStretch = 1.0f;
    std::string mTexture;
    std::string mShader;
    int mClock = 0;
    int mTravelTime = 300;
    bool mPauseAtTarget = false;
    float mTravel = 0.0f;
    float mTop = 1.0f;
    float mBottom = 0.0f;
};

}  // namespace GAME
