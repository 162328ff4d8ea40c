#include <gtest/gtest.h>

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

}  // namespace
}  // namespace GAME::test
