#pragma once
// A light entity. Nothing is lit: colour, radius, type and shadow forcing are kept and recorded.
#include "Engine/object/Object.h"

namespace GAME {

class Light : public Entity {
    RTTI_DECLARE(Light)
public:
    void SetColor(const Color& color);
    const Color& GetColor() const { return mColor; }
    void SetRadius(float radius);
    float GetRadius() const { return mRadius; }
    void SetLightType(int type) { mType = type; }
    int GetLightType() const { return mType; }
    void SetForceShadows(bool force);
    // 0 (dark) to 1 (full); a light that fades in is driven by its owner.
    void SetIntensity(float intensity) { mIntensity = intensity; }
    float GetIntensity() const { return mIntensity; }
    bool GetForceShadows() const { return mForceShadows; }

private:
    Color mColor{1, 1, 1, 1};
    float mRadius = 10.0f;
    int mType = 0;
    bool mForceShadows = false;
    float mIntensity = 1.0f;
};

}  // namespace GAME
