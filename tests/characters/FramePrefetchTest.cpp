#include <gtest/gtest.h>

#include <vector>

#include "CharacterTestSupport.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/manager/SkillManager.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

// The frame loop asks for the block as a whole: a field that drifts out of it, or a large one
// put inside, costs every character a memory wait per frame.
TEST(FrameLayout, TheFieldsEveryFrameReadsLieInOneBlockOfAtMostFourLines) {
    TestMachine machine;
    Character character;
    const std::ptrdiff_t block = CharacterTestAccess::FrameBlockBytes(character);
    EXPECT_LE(block, 4 * 64);
    for (const auto& [name, offset] : CharacterTestAccess::FrameFields(character)) {
        EXPECT_GE(offset, 0) << name;
        EXPECT_LT(offset, block) << name;
    }
}

class FramePrefetchTest : public ::testing::Test {
protected:
    FramePrefetchTest() { InitializeObjects(); }
    ~FramePrefetchTest() override { ShutdownObjects(); }

    TestMachine machine;
};

// Every step of asking ahead, in both passes, for a monster (its own fields too) and a bare
// character: nothing is filed or taken (the frame loop keeps its lookups while the table's
// version holds) and the monster's skills stay as they were.
TEST_F(FramePrefetchTest, AskingAheadChangesNoTableAndNoSkillList) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    auto* wolf = objects.CreateObjectFromFile<Monster>(kWolfRecord);
    auto* bare = objects.CreateObject<Character>();
    ASSERT_NE(wolf, nullptr);
    ASSERT_NE(bare, nullptr);
    wolf->InitialUpdate();
    ASSERT_FALSE(wolf->GetSkillManager().GetActiveList().empty());

    for (const Character* character :
         {static_cast<const Character*>(wolf), static_cast<const Character*>(bare)}) {
        const std::vector<std::uint32_t> before = character->GetSkillManager().GetActiveList();
        const std::uint64_t version = objects.Version();
        for (const bool preAnimation : {false, true}) {
            character->PrefetchOwnLines(preAnimation);
            character->PrefetchFrameData(preAnimation);
            character->PrefetchPointedData(preAnimation);
        }
        EXPECT_EQ(objects.Version(), version) << character->GetObjectId();
        EXPECT_EQ(character->GetSkillManager().GetActiveList(), before) << character->GetObjectId();
    }
}

}  // namespace
}  // namespace GAME::test
