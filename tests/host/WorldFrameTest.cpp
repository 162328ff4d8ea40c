// The host's entity pass updates every placed entity once a frame in ascending id order, whatever
// order the world holds them in, as entities join, leave and move between frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Host/WorldFrame.h"
#include "support/TestMachine.h"

namespace GAME::test {

namespace {
std::vector<std::uint32_t> gUpdateOrder;
}  // namespace

// An entity that notes its id each time it updates.
class UpdateOrderProbe : public Entity {
    RTTI_DECLARE(UpdateOrderProbe)
public:
    void UpdateSelf(int elapsedMs) override {
        Entity::UpdateSelf(elapsedMs);
        gUpdateOrder.push_back(GetObjectId());
    }
};

RTTI_IMPLEMENT(UpdateOrderProbe, Entity)

namespace {

constexpr int kProbes = 6;

struct Step {
    const char* what;
    std::vector<int> add;     // probes placed before the frame
    std::vector<int> remove;  // probes taken out before the frame
    std::vector<int> move;    // probes moved to the far corner before the frame
    std::vector<int> bounce;  // placed ones taken out and put back, others put in and taken out
    int bounces = 1;
};

TEST(WorldFrame, EveryPlacedEntityUpdatesOnceAFrameInIdOrder) {
    TestMachine tm;
    Region* region =
        World::Get().AddRegion(std::make_unique<Region>("F", Vec3(), Vec3(200, 50, 200)));
    std::vector<UpdateOrderProbe*> probes;
    for (int i = 0; i < kProbes; ++i)
        probes.push_back(Singleton<ObjectManager>::Get().CreateObject<UpdateOrderProbe>());
    // Later ids stand nearer the origin, so the world's own order is not the ids'.
    const auto at = [&](int i, float offset) {
        const float x = offset + 10.0f * static_cast<float>(kProbes - i);
        return WorldCoords(region, Coords::FromOrigin(Vec3(x, 0, x)));
    };
    std::vector<int> placed;
    const Step steps[] = {
        {"all placed", {0, 1, 2, 3, 4, 5}, {}, {}, {}},
        {"nothing changed", {}, {}, {}, {}},
        {"one left", {}, {2}, {}, {}},
        {"as many, another set", {2}, {4}, {}, {}},
        {"moved, the same set", {}, {}, {0, 5}, {}},
        {"back to all", {4}, {}, {}, {}},
        {"one left and came back, none new", {}, {}, {}, {1}},
        {"one came and went", {}, {3}, {}, {3}},
        {"more comings and goings than are kept", {3}, {}, {}, {0, 3}, 700},
        {"nothing changed after gathering afresh", {}, {}, {}, {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        for (const int i : step.add) {
            ASSERT_TRUE(World::Get().AddEntity(probes[i], at(i, 0.0f), true));
            placed.push_back(i);
        }
        for (const int i : step.remove) {
            ASSERT_TRUE(World::Get().RemoveEntity(probes[i]));
            std::erase(placed, i);
        }
        for (const int i : step.move)
            World::Get().SetCoords(probes[i], at(i, 100.0f));
        for (int n = 0; n < step.bounces; ++n)
            for (const int i : step.bounce) {
                const bool placedNow = std::find(placed.begin(), placed.end(), i) != placed.end();
                if (placedNow) {
                    ASSERT_TRUE(World::Get().RemoveEntity(probes[i]));
                    ASSERT_TRUE(World::Get().AddEntity(probes[i], at(i, 0.0f), true));
                } else {
                    ASSERT_TRUE(World::Get().AddEntity(probes[i], at(i, 0.0f), true));
                    ASSERT_TRUE(World::Get().RemoveEntity(probes[i]));
                }
            }
        std::vector<std::uint32_t> expected;
        for (const int i : placed)
            expected.push_back(probes[i]->GetObjectId());
        std::sort(expected.begin(), expected.end());
        gUpdateOrder.clear();
        UpdateWorldEntities(33);
        EXPECT_EQ(gUpdateOrder, expected);
    }
}

}  // namespace
}  // namespace GAME::test
