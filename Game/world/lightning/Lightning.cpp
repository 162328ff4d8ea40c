#include "Game/world/lightning/Lightning.h"

#include <cmath>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Game/core/util/PerlinNoise.h"

namespace GAME {

RTTI_IMPLEMENT(Lightning, LineEffect)

namespace {
constexpr int kDepth = 4;
constexpr float kLightningTwoPi = 6.2831853f;
constexpr float kDegreesToRadians = 0.017453292f;
constexpr float kTendrilChance = 75.0f;

// `to` in the region of `from`.
Vec3 InRegionOf(const WorldVec3& from, const WorldVec3& to) {
    if (!from.GetRegion())
        return to.GetWorldPosition();
    return to.GetWorldPosition() - from.GetRegion()->GetOffset();
}
}  // namespace

Lightning::Lightning() {
    SetWidth(1.4f);
    SetTextureStretch(24.0f);
}

void Lightning::Load(const LoadTable& table) {
    LineEffect::Load(table);
    mRecordColor = Color{static_cast<float>(table.GetInt("Red256", 0)) / 255.0f,
                         static_cast<float>(table.GetInt("Green256", 0)) / 255.0f,
                         static_cast<float>(table.GetInt("Blue256", 0)) / 255.0f,
                         static_cast<float>(table.GetInt("Alpha256", 0)) / 255.0f};
    SetColor(mRecordColor);
    SetWidth(table.GetFloat("Width", 0.0f));
    SetTextureStretch(table.GetFloat("TextureStretch", 0.0f));
    SetTexture(table.GetString("Texture"));
    SetShader(table.GetString("Shader"));
    mFromSky = table.GetBool("fromSky", false);
    mGenerateTendrils = table.GetBool("generateTendrils", false);
    const int bolts = table.GetInt("numberOfBolts", 0);
    mNumberOfBolts = bolts < 0 ? 0u : static_cast<std::uint32_t>(bolts);
    mTimeMin = static_cast<std::int32_t>(table.GetFloat("timeMin", 0.0f));
    mTimeMax = static_cast<std::int32_t>(table.GetFloat("timeMax", 0.0f));
    mStart = Vec3{};
    mEnd = Vec3{};
}

void Lightning::SetTarget(const WorldVec3& source, const WorldVec3& target) {
    WorldVec3 start = source;
    if (mFromSky)
        start = WorldVec3(target.GetRegion(), target.GetRegionPosition() + Vec3{0, mSkyHeight, 0});
    for (std::uint32_t i = 0; i < mNumberOfBolts; ++i) {
        const int lifetime = static_cast<int>(
            RandomFloat(static_cast<float>(mTimeMin), static_cast<float>(mTimeMax)));
        Generate(start, target, mGenerateTendrils, 0, mRecordColor, lifetime, 0.1f);
    }
}

void Lightning::Generate(const WorldVec3& from, const WorldVec3& to, bool tendrils, int startTime,
                         Color color, int lifetime, float) {
    mSource = from;
    mTarget = to;
    mStart = from.GetRegionPosition();
    mEnd = InRegionOf(from, to);
    mSeed = static_cast<std::int32_t>(RandomFloat(0.0f, 1000.0f));
    SetColor(color);
    mTendrils = tendrils;
    mFades.push_back({startTime, lifetime, GetDefaultFadeMultiplier()});
    SetClock(startTime);
    // The bolt's own generator: seeding the machine's rand here would restart the sequence
    // every other user draws from.
    mShapeGen.Seed(static_cast<std::uint32_t>(mSeed));
    mBoxMin = Vec3{-5, 0, -5};
    mBoxMax = Vec3{5, 20, 5};
    mBolts.emplace_back().push_back(Vec3{});
    RecursiveGenerate(mBolts.back(), Vec3{}, mEnd - mStart, kDepth);
}

void Lightning::RecursiveGenerate(std::vector<Vec3>& bolt, const Vec3& a, const Vec3& b,
                                  int depth) {
    const Vec3 d = b - a;
    const float length = d.Length();
    if (length < 2.0f || depth == 0) {
        mBoxMin = mBoxMin.Min(b);
        mBoxMax = mBoxMax.Max(b);
        bolt.push_back(b);
        return;
    }
    const Vec3 u = d.Unit();
    const Vec3 p = u.AnyPerpendicular();
    const Vec3 q = u.Cross(p).Unit();
    const float theta = mShapeGen.Float(0.0f, kLightningTwoPi);
    const Vec3 direction = p * std::cos(theta) + q * std::sin(theta);
    const float jitter = mShapeGen.Float(-0.5f, 0.5f);
    const float noiseAt =
        static_cast<float>(gEngine->GetGameTime()) * 0.02f + mShapeGen.Float(0.0f, 100.0f);
    const float amplitude = jitter + 0.25f * PerlinNoise1::Sample(noiseAt);
    const Vec3 offset = direction * amplitude * (length * 0.2f);
    const Vec3 m = (a + b) * 0.5f + offset;
    RecursiveGenerate(bolt, a, m, depth - 1);
    RecursiveGenerate(bolt, m, b, depth - 1);
}

void Lightning::SetValues(Color color, float width, float textureStretch,
                          const std::string& texture, const std::string& shader) {
    SetColor(color);
    SetWidth(width);
    SetTextureStretch(textureStretch);
    SetTexture(texture);
    SetShader(shader);
}

float Lightning::GetFadeMultiplier(int bolt) const {
    if (bolt < 0 || static_cast<std::size_t>(bolt) >= mFades.size())
        return GetDefaultFadeMultiplier();
    return mFades[static_cast<std::size_t>(bolt)].fadeMultiplier;
}

WorldVec3 Lightning::GetTendrilDest() const {
    const float distance = RandomFloat(50.0f, 200.0f) * 0.005f;
    const float angle = RandomFloat(0.0f, 360.0f) * kDegreesToRadians;
    const Vec3 v = mEnd - mStart;
    const Vec3 a = v.Cross(Vec3{0.1f, 0.9f, 0.0f}).Unit();
    const Vec3 b = v.Cross(a).Unit();
    const Vec3 offset = (a * std::cos(angle) + b * std::sin(angle)) * distance;
    return WorldVec3(mTarget.GetRegion(), mTarget.GetRegionPosition() + offset);
}

void Lightning::MakeTendril(int clock) {
    auto* tendril =
        static_cast<Lightning*>(Singleton<ObjectManager>::Get().CreateObject("Lightning"));
    if (!tendril)
        return;
    tendril->Generate(GetTendrilSrc(), GetTendrilDest(), false, clock, GetColor(),
                      mFades.front().lifetime, 0.0f);
    tendril->SetValues(GetColor(), GetWidth(), GetTextureStretch(), GetTexture(), GetShader());
    World::Get().AddEntity(tendril, GetCoords(), true);
}

void Lightning::UpdateSelf(int elapsedMs) {
    // The bounding sphere holds the box around every point.
    SetBoundingRadius(Max(mBoxMin.Length(), mBoxMax.Length()));
    LineEffect::UpdateSelf(elapsedMs);
    const int clock = GetClock();
    float top = 1.0f;
    float bottom = 0.0f;
    if (!mBolts.empty()) {
        const int lifetime = mFades.front().lifetime;
        const float p =
            lifetime > 0 ? 1.0f - static_cast<float>(clock) / static_cast<float>(lifetime) : 0.0f;
        if (p > 0.75f)
            top = 1.0f - 4.0f * (p - 0.75f);
        else if (p < 0.25f)
            bottom = 1.0f - 4.0f * p;
        SetTopBottomPercent(top, bottom);

        const auto points = static_cast<float>(mBolts.front().size()) - 1.0f;
        const int index = static_cast<int>(points * GetTravelPercentage());
        if (index != mLastTendrilIndex && mTendrils) {
            mLastTendrilIndex = index;
            if (RandomFloat(0.0f, 100.0f) < kTendrilChance)
                MakeTendril(clock);
        }
    }
    bool anyPoints = false;
    for (std::size_t i = 0; i < mBolts.size(); ++i) {
        BoltFade& fade = mFades[i];
        fade.fadeMultiplier = top - bottom;
        // A bolt made without a lifetime would never end: it ends at once.
        if (fade.lifetime <= 0 || clock > fade.lifetime) {
            fade.lifetime = 0;
            mBolts[i].clear();
        }
        anyPoints = anyPoints || !mBolts[i].empty();
    }
    if (!anyPoints) {
        World::Get().RemoveEntity(this);
        Singleton<ObjectManager>::Get().DestroyObject(this);
    }
}

}  // namespace GAME
