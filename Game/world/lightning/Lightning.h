#pragma once
// Jagged electric bolts between two points, drawn as a line that grows out, holds and draws in
// on its clock, with optional short side bolts (tendrils). Skills poll HasReachedTarget to apply
// the hit when the bolt arrives. Each bolt's shape comes from a generator of its own, seeded
// from the C runtime's generator, so making a bolt leaves every other user of rand alone.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/media/graphics/LineEffect.h"
#include "Game/world/WorldRandom.h"

namespace GAME {

class Lightning : public LineEffect {
    RTTI_DECLARE(Lightning)
public:
    struct BoltFade {
        std::int32_t startTime = 0;
        std::int32_t lifetime = 0;
        float fadeMultiplier = 1.0f;
    };

    Lightning();

    void Load(const LoadTable& table) override;
    void UpdateSelf(int elapsedMs) override;

    void SetTarget(const WorldVec3& source, const WorldVec3& target);
    void Generate(const WorldVec3& from, const WorldVec3& to, bool tendrils, int startTime,
                  Color color, int lifetime, float unused);
    void SetValues(Color color, float width, float textureStretch, const std::string& texture,
                   const std::string& shader);
    bool HasReachedTarget() const { return GetTravelPercentage() > 0.9999f; }
    float GetFadeMultiplier(int bolt) const;
    WorldVec3 GetTendrilSrc() const { return mSource; }
    WorldVec3 GetTendrilDest() const;

    const std::vector<std::vector<Vec3>>& GetBolts() const { return mBolts; }
    const std::vector<BoltFade>& GetFades() const { return mFades; }
    std::int32_t GetSeed() const { return mSeed; }
    const Vec3& GetBoxMin() const { return mBoxMin; }
    const Vec3& GetBoxMax() const { return mBoxMax; }
    std::uint32_t GetNumberOfBolts() const { return mNumberOfBolts; }

private:
    void RecursiveGenerate(std::vector<Vec3>& bolt, const Vec3& a, const Vec3& b, int depth);
    void MakeTendril(int clock);

    std::vector<std::vector<Vec3>> mBolts;
    std::vector<BoltFade> mFades;
    Vec3 mBoxMin;
    Vec3 mBoxMax;
    WorldVec3 mSource;
    WorldVec3 mTarget;
    Vec3 mStart;
    Vec3 mEnd;
    std::int32_t mSeed = 0;
    CrtGenerator mShapeGen;
    Color mRecordColor{1, 1, 1, 1};
    bool mFromSky = false;
    bool mGenerateTendrils = true;
    bool mTendrils = false;
    std::uint32_t mNumberOfBolts = 0;
    std::int32_t mTimeMin = 0;
    std::int32_t mTimeMax = 0;
    float mSkyHeight = 20.0f;
    std::int32_t mLastTendrilIndex = -1;
};

}  // namespace GAME
