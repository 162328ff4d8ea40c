#include <cmath>

#include "EffectsTestSupport.h"
#include "Engine/media/graphics/Light.h"
#include "Game/core/util/PerlinNoise.h"
#include "Game/world/WorldRandom.h"
#include "Game/world/lightning/LightAnchor.h"
#include "Game/world/lightning/LightTorch.h"
#include "Game/world/lightning/Lightning.h"

namespace GAME::test {
namespace {

constexpr const char* kChain = "Records/Effects/Lightning/ChainLightning.dbr";
constexpr const char* kSky = "Records/Effects/Lightning/SkyStrike.dbr";

class LightningBolts : public EffectsTest {
protected:
    Lightning* Bolt(const char* record) {
        Lightning* bolt = Make<Lightning>(record);
        World::Get().AddEntity(bolt, At(0, 0, 0), true);
        return bolt;
    }
    std::size_t LightningCount() {
        std::vector<Entity*> found;
        World::Get().GetEntitiesInSphere(found, region, Sphere{Vec3(0, 0, 0), 500.0f});
        std::size_t count = 0;
        for (Entity* e : found)
            count += e->IsA<Lightning>() ? 1 : 0;
        return count;
    }
};

TEST_F(LightningBolts, BoltReachesItsTargetAfterItsTimeAndWaitsWhileTheGameIsPaused) {
    Lightning* bolt = Bolt(kSky);  // travel 150 ms, lifetime 400 ms, from 20 above the target
    const std::uint32_t id = bolt->GetObjectId();
    const WorldVec3 target(region, Vec3(30, 0, 40));
    bolt->SetTarget(WorldVec3(region, Vec3(0, 0, 0)), target);
    ASSERT_EQ(bolt->GetBolts().size(), 1u);
    const auto& points = bolt->GetBolts()[0];
    ASSERT_GE(points.size(), 2u);
    EXPECT_LE(points.size(), 17u);
    EXPECT_FLOAT_EQ(points.front().y, 0.0f);
    EXPECT_FLOAT_EQ(points.back().y, -20.0f);  // the strike falls from the sky
    EXPECT_FLOAT_EQ(points.back().x, 0.0f);

    Frame(100, {id});
    EXPECT_FALSE(bolt->HasReachedTarget());
    EXPECT_FLOAT_EQ(bolt->GetTopPercent(), 1.0f);
    gEngine->SetGameTimePaused(true);
    Frames(5, 100, {id});
    EXPECT_FALSE(bolt->HasReachedTarget());
    gEngine->SetGameTimePaused(false);
    Frame(50, {id});
    EXPECT_TRUE(bolt->HasReachedTarget());

    Frame(200, {id});  // clock 350 of 400: the tail draws in
    EXPECT_FLOAT_EQ(bolt->GetBottomPercent(), 0.5f);
    EXPECT_FLOAT_EQ(bolt->GetFadeMultiplier(0), 0.5f);
    EXPECT_FLOAT_EQ(bolt->GetFadeMultiplier(7), 1.0f);
    Frame(100, {id});
    EXPECT_FALSE(Alive(id));
}

TEST_F(LightningBolts, ShapeRepeatsForASeedAndOtherRandUsersKeepTheirSequence) {
    // Per bolt SetTarget draws the lifetime and the seed from rand; the shape draws nothing
    // from it.
    crt_srand(2024);
    Lightning* first = Bolt(kChain);
    first->SetTarget(WorldVec3(region, Vec3(0, 1, 0)), WorldVec3(region, Vec3(25, 1, 5)));
    CrtGenerator mirror;
    mirror.Seed(2024);
    for (int draw = 0; draw < 4; ++draw)
        mirror.Next();
    EXPECT_EQ(crt_rand(), mirror.Next());
    EXPECT_EQ(first->GetBolts().size(), 2u);

    crt_srand(2024);
    Lightning* second = Bolt(kChain);
    second->SetTarget(WorldVec3(region, Vec3(0, 1, 0)), WorldVec3(region, Vec3(25, 1, 5)));
    EXPECT_EQ(second->GetSeed(), first->GetSeed());
    ASSERT_EQ(second->GetBolts()[1].size(), first->GetBolts()[1].size());
    for (std::size_t i = 0; i < first->GetBolts()[1].size(); ++i) {
        EXPECT_EQ(second->GetBolts()[1][i].x, first->GetBolts()[1][i].x);
        EXPECT_EQ(second->GetBolts()[1][i].z, first->GetBolts()[1][i].z);
    }
    // A long bolt is displaced: some point leaves the straight line.
    float widest = 0.0f;
    for (const Vec3& p : first->GetBolts()[0])
        widest = std::max(widest, std::fabs(p.x * 5.0f - p.z * 25.0f));
    EXPECT_GT(widest, 0.0f);
}

TEST_F(LightningBolts, ShortBoltIsStraightAndABoltlessStrikeLeavesAtOnce) {
    Lightning* shortBolt = Make<Lightning>(kChain);
    shortBolt->Generate(WorldVec3(region, Vec3(0, 0, 0)), WorldVec3(region, Vec3(1.5f, 0, 0)),
                        false, 0, Color{1, 1, 1, 1}, 300, 0.0f);
    ASSERT_EQ(shortBolt->GetBolts()[0].size(), 2u);
    EXPECT_FLOAT_EQ(shortBolt->GetBolts()[0][1].x, 1.5f);
    EXPECT_FLOAT_EQ(shortBolt->GetBoxMax().x, 5.0f);

    shortBolt->SetTravelTime(10000);
    shortBolt->SetClock(9999);
    EXPECT_FALSE(shortBolt->HasReachedTarget());
    shortBolt->SetClock(10000);
    EXPECT_TRUE(shortBolt->HasReachedTarget());

    EXPECT_EQ(Objects().CreateObjectFromFile<Lightning>("Records/Effects/Lights/Anchor.dbr"),
              nullptr);
    Lightning* empty = Bolt(kSky);
    const std::uint32_t id = empty->GetObjectId();
    empty->Generate(WorldVec3(region, Vec3()), WorldVec3(region, Vec3(0, 0, 9)), false, 0, Color{},
                    0, 0.0f);
    Frame(10, {id});  // a bolt without a lifetime ends at once
    EXPECT_FALSE(Alive(id));
}

TEST_F(LightningBolts, TendrilsBranchOffAsTheBoltTravels) {
    crt_srand(7);
    Lightning* bolt = Bolt(kChain);
    const std::uint32_t id = bolt->GetObjectId();
    bolt->SetTarget(WorldVec3(region, Vec3(0, 0, 0)), WorldVec3(region, Vec3(40, 0, 0)));
    const std::size_t points = bolt->GetBolts()[0].size();
    Frames(20, 10, {id});  // travel 200 ms: the tendril index walks along the first bolt
    const std::size_t made = LightningCount() - 1;
    EXPECT_GE(made, 1u);
    EXPECT_LE(made, points);
}

TEST_F(LightningBolts, LightsTakeTheirColours) {
    auto* anchor = static_cast<LightAnchor*>(Make<Light>("Records/Effects/Lights/Anchor.dbr"));
    ASSERT_TRUE(anchor->IsA<LightAnchor>());
    EXPECT_FLOAT_EQ(anchor->GetColor().b, 1.96f);
    EXPECT_FLOAT_EQ(anchor->GetRadius(), 20.0f);
    EXPECT_EQ(anchor->GetLightType(), 0);

    auto* torch = static_cast<LightTorch*>(Make<Light>("Records/Effects/Lights/Torch.dbr"));
    ASSERT_TRUE(torch->IsA<LightTorch>());
    crt_srand(11);
    CrtGenerator mirror;
    mirror.Seed(11);
    torch->InitialUpdate();
    const float phase = mirror.Float(0.0f, 1000.0f);
    EXPECT_FLOAT_EQ(torch->GetPhase(), phase);
    Frame(1234, {torch->GetObjectId()});
    const float t = static_cast<float>(1234) * 0.001f + phase;
    const float a = (PerlinNoise1::Sample(t + 3.14159265f) + 1.0f) * 0.5f;
    const float b = PerlinNoise1::Sample(t * 10.0f) * 0.25f + a + 0.5f;
    EXPECT_FLOAT_EQ(torch->GetColor().r, b);
    EXPECT_FLOAT_EQ(torch->GetColor().g, 0.5f * b);
}

}  // namespace
}  // namespace GAME::test
