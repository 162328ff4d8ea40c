#include <gtest/gtest.h>

#include <vector>

#include "Game/rules/CharAttribute.h"
#include "Game/rules/CharAttributeAccumulator.h"
#include "SkillManagerTestSupport.h"

namespace GAME::test {

// A passive skill that adds one more than its current level to the strength gathered, so sums
// show who was asked, and its current level to the cooldown reduction.
class SkillManagerProbeSkill : public Skill {
    RTTI_DECLARE(SkillManagerProbeSkill)
public:
    void CollectPassiveCharAttributes(CharAttributeAccumulator& accumulator) override {
        accumulator.AddValue(CharAttributeType::Strength,
                             static_cast<float>(GetCurrentLevel() + 1));
    }
    void CollectPassiveSkillAttributes(SkillAttributeAccumulator& accumulator) override {
        accumulator.AddValue(SkillAttributeType::CooldownReduction,
                             static_cast<float>(GetCurrentLevel()));
    }
};
RTTI_IMPLEMENT(SkillManagerProbeSkill, Skill)

// A passive skill whose cooldown reduction is a roll of the gathering's generator.
class SkillManagerRollSkill : public Skill {
    RTTI_DECLARE(SkillManagerRollSkill)
public:
    void CollectPassiveSkillAttributes(SkillAttributeAccumulator& accumulator) override {
        accumulator.AddValue(SkillAttributeType::CooldownReduction,
                             static_cast<float>(accumulator.GetRandomGen().IGenerate(1, 1000)));
    }
};
RTTI_IMPLEMENT(SkillManagerRollSkill, Skill)

namespace {

constexpr const char* kProbe = "Records/SkillManager/Probe.dbr";
constexpr const char* kProbe2 = "Records/SkillManager/Probe2.dbr";

class SkillManagerGathering : public SkillManagerFixture {
protected:
    float Strength() {
        CharAttributeAccumulator accumulator;
        manager().GetCharAttributes(accumulator);
        return accumulator.GetValue(CharAttributeType::Strength);
    }
};

TEST_F(SkillManagerGathering, InstalledSkillsWithALevelThenItemSkillsContribute) {
    manager().LoadSkills("Records/SkillManager/ProbeSet.dbr", 2);
    ASSERT_EQ(manager().GetSkillList().size(), 2u);
    Skill* probe = Get(kProbe);
    Skill* probe2 = Get(kProbe2);
    EXPECT_FLOAT_EQ(Strength(), 4.0f);  // Probe at 3; Probe2 at 0 is not asked

    manager().AddItemSkill(probe2->GetObjectId(), 4);
    EXPECT_FLOAT_EQ(Strength(), 9.0f);
    manager().RemoveItemSkill(probe2->GetObjectId());
    EXPECT_FLOAT_EQ(Strength(), 4.0f);

    // Augments lift the current level of a bought skill only.
    manager().SetAllSkillAugment(2, "");
    EXPECT_FLOAT_EQ(Strength(), 6.0f);
    // Still installed, but without a level it is not asked.
    probe->SetSkillLevel(0);
    EXPECT_EQ(manager().GetActiveList().size(), 1u);
    EXPECT_FLOAT_EQ(Strength(), 0.0f);
}

TEST_F(SkillManagerGathering, EachFrameRefillsTheCharacterWideSkillAttributes) {
    manager().LoadSkills("Records/SkillManager/ProbeSet.dbr", 2);
    EXPECT_FLOAT_EQ(manager().GetTotalSkillAttribute(SkillAttributeType::CooldownReduction), 0.0f);
    RunFrame(*warrior, 50);
    EXPECT_FLOAT_EQ(manager().GetTotalSkillAttribute(SkillAttributeType::CooldownReduction), 3.0f);
    manager().IncrementSkill(Id(kProbe2), 2);
    RunFrame(*warrior, 50);
    // Refilled, not added to the last frame's.
    EXPECT_FLOAT_EQ(manager().GetTotalSkillAttribute(SkillAttributeType::CooldownReduction), 5.0f);
}

// Unseeded, the gathering's generator stands at zero, where a roll never moves it: the sums
// read the same every frame and are kept. A seed must end that, and from then on every frame
// rolls again.
TEST_F(SkillManagerGathering, ASeedEndsSumsKeptWhileTheGeneratorStoodStill) {
    const auto type = SkillAttributeType::CooldownReduction;
    manager().LoadSkills("Records/SkillManager/RollSet.dbr", 2);
    for (int frame = 0; frame < 2; ++frame) {
        RunFrame(*warrior, 50);
        ASSERT_FLOAT_EQ(manager().GetTotalSkillAttribute(type), 1.0f) << frame;
    }
    manager().PreLoad(false);
    std::vector<float> rolls;
    for (int frame = 0; frame < 3; ++frame) {
        RunFrame(*warrior, 50);
        rolls.push_back(manager().GetTotalSkillAttribute(type));
    }
    EXPECT_NE(rolls[0], 1.0f);
    EXPECT_NE(rolls[1], rolls[0]);
    EXPECT_NE(rolls[2], rolls[1]);
}

}  // namespace
}  // namespace GAME::test
