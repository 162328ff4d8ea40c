// Buff objects and the buff table on one machine that controls its characters: commands run at
// once, so what the services decide shows in the table straight away.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/combat/CombatAttributeType.h"
#include "Game/skills/buffs/SkillBuff.h"
#include "Game/skills/buffs/Skill_BuffSelf.h"
#include "Game/skills/manager/SkillBuffTransfer.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/modifiers/Skill_Modifier.h"
#include "skills/WeaponSkillTestSupport.h"
#include "skills/buffs/BuffTestSupport.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kCarrier = 0x0F000001;
constexpr std::uint32_t kCaster = 0x0F000100;
constexpr const char* kShield = "Records/Buffs/Shield.dbr";
constexpr const char* kPool = "Records/Buffs/Pool.dbr";
constexpr const char* kFireWard = "Records/Buffs/FireWard.dbr";
constexpr const char* kBoost = "Records/Buffs/Boost.dbr";
constexpr const char* kToggle = "Records/Buffs/Toggle.dbr";
constexpr const char* kGrow = "Records/Buffs/Grow.dbr";
constexpr const char* kCurseBuff = "Records/Buffs/Curse.dbr";
constexpr const char* kStubborn = "Records/Buffs/Stubborn.dbr";

struct RecordText {
    const char* name;
    const char* text;
};
const RecordText kRecords[] = {
    {kShield, R"({"Class": "SkillBuff_Passive", "skillMaxLevel": 3, "damageAbsorption": [30],
        "damageAbsorptionPercent": [50]})"},
    {kPool, R"({"Class": "SkillBuff_PassiveShield", "skillMaxLevel": 3,
        "damageAbsorption": [100]})"},
    {kFireWard, R"({"Class": "SkillBuff", "skillMaxLevel": 3, "damageAbsorption": [40],
        "fireDamageQualifier": true})"},
    {kBoost, R"({"Class": "Skill_Modifier", "skillMaxLevel": 3, "characterStrength": [7]})"},
    {kToggle, R"({"Class": "Skill_BuffSelfToggled", "skillMaxLevel": 3, "skillManaCost": [20],
        "skillCooldownTime": [3.0], "skillActiveManaCost": [6.0], "characterStrength": [10]})"},
    {kGrow, R"({"Class": "Skill_BuffSelfColossus", "skillMaxLevel": 3,
        "skillActiveDuration": [5.0], "actorScale": 1.5, "actorScaleTime": 0})"},
    {kCurseBuff, R"({"Class": "SkillBuff_Debuf", "skillMaxLevel": 3})"},
    {kStubborn, R"({"Class": "SkillBuff_Passive", "skillMaxLevel": 3, "notDispelable": true})"},
};

constexpr const char* kPerson = R"({"Class": "Character", "characterLife": 300,
    "characterMana": 100, "characterStrength": 50,
    "combatManagerRecord": "Records/Combat/Standard.dbr",
    "skillName1": "Records/Buffs/Toggle.dbr", "skillLevel1": 1,
    "skillName2": "Records/Buffs/Grow.dbr", "skillLevel2": 1})";

class SkillBuffs : public ::testing::Test {
protected:
    void SetUp() override {
        auto& records = Singleton<RecordDatabase>::Get();
        for (const RecordText& r : kRecords)
            ASSERT_TRUE(records.AddRecordText(r.name, r.text)) << r.name;
        ASSERT_TRUE(records.AddRecordText("Records/Buffs/Person.dbr", kPerson));
        InitializeObjects();
        carrier = MakeFighter(kCarrier, 10.0f, "Records/Buffs/Person.dbr");
        caster = MakeFighter(kCaster, 12.0f, "Records/Buffs/Person.dbr");
        ASSERT_TRUE(carrier && caster);
        for (Character* c : {carrier, caster}) {
            c->GetSkillManager().LoadSkills("Records/Buffs/Person.dbr", 2);
            c->GetSkillManager().SetAsControllingManager();
            World::Get().AddEntity(c, c->GetCoords(), true);
        }
        Frame(10);
    }
    void TearDown() override { ShutdownObjects(); }

    void Frame(int ms) {
        gEngine->AdvanceGameTime(static_cast<std::uint32_t>(ms));
        for (Character* c : {carrier, caster}) {
            c->UpdateSelf(ms);
            c->PreAnimationUpdate(ms);
        }
    }
    void Give(const char* buff, std::uint32_t level, int timeToLive,
              const std::string& modifier = "", std::uint32_t modifierLevel = 0) {
        SkillBuffTransfer transfer;
        transfer.buffName = buff;
        transfer.level = level;
        transfer.modifier1Name = modifier;
        transfer.modifier1Level = modifierLevel;
        transfer.timeToLive = static_cast<std::uint32_t>(timeToLive);
        transfer.casterId = kCaster;
        carrier->ControllerAddSkillBuff(transfer, {}, false);
    }
    static std::size_t Objects() { return Singleton<ObjectManager>::Get().GetObjectCount(); }

    TestMachine tm;
    Character* carrier = nullptr;
    Character* caster = nullptr;
};

TEST_F(SkillBuffs, ShieldsTakeTheirShareOfQualifyingHits) {
    struct Case {
        const char* buff;
        float damage;
        CombatAttributeType type;
        float passes;
    };
    const Case cases[] = {
        // 50 % off 100 leaves 50, of which 30 are absorbed.
        {kShield, 100.0f, CombatAttributeType::Physical, 20.0f},
        {kShield, 20.0f, CombatAttributeType::Fire, 0.0f},
        // Only fire qualifies for the ward.
        {kFireWard, 100.0f, CombatAttributeType::Fire, 60.0f},
        {kFireWard, 100.0f, CombatAttributeType::Cold, 100.0f},
    };
    for (const Case& c : cases) {
        Give(c.buff, 1, 0);
        SkillBuff* buff = BuffOn(*carrier, c.buff);
        ASSERT_NE(buff, nullptr) << c.buff;
        EXPECT_FLOAT_EQ(buff->ModifyDamage(c.damage, c.type), c.passes) << c.buff;
    }
}

TEST_F(SkillBuffs, APassiveShieldEndsOnTheUpdateAfterItsPoolIsSpent) {
    Give(kPool, 1, 0);
    auto* pool = static_cast<SkillBuff_PassiveShield*>(BuffOn(*carrier, kPool));
    ASSERT_NE(pool, nullptr);
    // A non-qualifying hit never reaches the pool; each hit absorbs up to the full 100.
    EXPECT_FLOAT_EQ(pool->ModifyDamage(80.0f, CombatAttributeType::Physical), 0.0f);
    EXPECT_FLOAT_EQ(pool->ModifyDamage(80.0f, CombatAttributeType::Physical), 0.0f);
    EXPECT_FLOAT_EQ(pool->GetShieldPool(), -60.0f);
    EXPECT_TRUE(carrier->IsSkillBuffActive(kPool));
    Frame(33);
    EXPECT_FALSE(carrier->IsSkillBuffActive(kPool));
}

TEST_F(SkillBuffs, ATimeToLiveOfZeroNeverEndsAndOneEndsOnTheFirstFrame) {
    Give(kShield, 1, 0);
    Give(kFireWard, 1, 1);
    Frame(1);
    EXPECT_TRUE(carrier->IsSkillBuffActive(kFireWard));
    Frame(1);
    EXPECT_FALSE(carrier->IsSkillBuffActive(kFireWard));
    for (int i = 0; i < 100; ++i)
        Frame(1000);
    EXPECT_TRUE(carrier->IsSkillBuffActive(kShield));
}

TEST_F(SkillBuffs, TheTableHoldsOneEntryPerNameAndANewLevelReplacesTheOld) {
    SkillManager& table = carrier->GetSkillManager();
    table.CreateRemoveSkillBuff(0, "RECORDS/Buffs/Shield.DBR", 1, "", 0, "", 0, 0, kCaster);
    const std::uint32_t first = table.FindSkillId(kShield);
    const std::size_t count = Objects();
    table.CreateRemoveSkillBuff(0, "records\\buffs\\shield.dbr", 3, kBoost, 2, "", 0, 0, kCaster);
    EXPECT_EQ(table.GetUITempSkillList().size(), 1u);
    EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject(first), nullptr);
    SkillBuff* buff = BuffOn(*carrier, kShield);
    ASSERT_NE(buff, nullptr);
    EXPECT_EQ(buff->GetCurrentLevel(), 3u);
    EXPECT_EQ(Objects(), count + 1);  // the modifier
    // The modifier carries the caster's level and adds to the buff's attributes.
    EXPECT_EQ(buff->GetModifiers().size(), 1u);
    // Level 0 removes the buff and its modifier.
    table.CreateRemoveSkillBuff(0, kShield, 0, "", 0, "", 0, 0, 0);
    EXPECT_EQ(Objects(), count - 1);
    EXPECT_TRUE(table.GetUITempSkillList().empty());
}

TEST_F(SkillBuffs, ReplicasRebuildTheBuffsWithTheirCasterAndNeverLeakADuplicate) {
    Give(kShield, 2, 5000, kBoost, 1);
    std::vector<SkillManager::_SkillBuffReplica> replicas;
    carrier->GetSkillManager().GetSkillBuffReplica(replicas);
    ASSERT_EQ(replicas.size(), 1u);
    const SkillManager::_SkillBuffReplica read = replicas[0];
    EXPECT_EQ(read.casterId, kCaster);
    EXPECT_EQ(read.modifier1.state.level, 1u);

    caster->GetSkillManager().SetSkillBuffReplica({read});
    SkillBuff* copy = BuffOn(*caster, kShield);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetCasterId(), kCaster);
    EXPECT_EQ(copy->GetCurrentLevel(), 2u);
    EXPECT_EQ(copy->GetModifiers().size(), 1u);
    // Replicas keep no time to live: the deciding machine's removal ends them.
    EXPECT_EQ(copy->GetTimeToLiveTotal(), 0);
    // The same replica again replaces the entry; nothing is left without an owner.
    const std::size_t count = Objects();
    caster->GetSkillManager().SetSkillBuffReplica({read});
    EXPECT_EQ(Objects(), count);
    EXPECT_EQ(caster->GetSkillManager().GetUITempSkillList().size(), 1u);
}

TEST_F(SkillBuffs, ADisabledModifierAddsNothingEvenWhenItsOwnModifiersAreEnabled) {
    auto& objects = Singleton<ObjectManager>::Get();
    auto* outer = objects.CreateObjectFromFile<Skill_Modifier>(kBoost);
    auto* inner = objects.CreateObjectFromFile<Skill_Modifier>(kBoost);
    ASSERT_TRUE(outer && inner);
    outer->AddModifier(inner->GetObjectId());
    inner->ReceiveStateUpdate(SkillState(1, true), true);
    CharAttributeAccumulator disabled;
    outer->CollectModifierCharAttributes(disabled);
    EXPECT_FLOAT_EQ(disabled.GetValue(CharAttributeType::Strength), 0.0f);
    outer->ReceiveStateUpdate(SkillState(1, true), true);
    CharAttributeAccumulator both;
    outer->CollectModifierCharAttributes(both);
    EXPECT_FLOAT_EQ(both.GetValue(CharAttributeType::Strength), 14.0f);
}

TEST_F(SkillBuffs, AToggledSelfBuffCostsItsUpkeepAndStopsWhenSwitchedAgain) {
    auto* toggle =
        static_cast<Skill_BuffSelfToggled*>(Singleton<ObjectManager>::Get().GetObject<Skill>(
            carrier->GetSkillManager().FindSkillId(kToggle)));
    ASSERT_NE(toggle, nullptr);
    const float strength = carrier->GetTotalCharAttribute(CharAttributeType::Strength);
    const float mana = carrier->GetCurrentMana();
    toggle->ActivateNow(*carrier, Name(), 0, WorldVec3());
    EXPECT_TRUE(toggle->IsOn());
    EXPECT_TRUE(toggle->IsUINotifiedActive());
    // The cooldown waits for the end.
    EXPECT_FALSE(toggle->IsCoolingDown());
    // The cost when switched on, then 6 a second (drains show on the next frame).
    for (int i = 0; i <= 30; ++i)
        Frame(33);
    EXPECT_NEAR(carrier->GetCurrentMana(), mana - 20.0f - 6.0f, 1.5f);
    EXPECT_FLOAT_EQ(carrier->GetTotalCharAttribute(CharAttributeType::Strength), strength + 10.0f);
    toggle->ActivateNow(*carrier, Name(), 0, WorldVec3());
    EXPECT_FALSE(toggle->IsOn());
    EXPECT_FALSE(toggle->GetActiveState().active);
    EXPECT_TRUE(toggle->IsCoolingDown());
    Frame(33);
    EXPECT_FLOAT_EQ(carrier->GetTotalCharAttribute(CharAttributeType::Strength), strength);
}

TEST_F(SkillBuffs, TheActiveStatusSkillsAreTheShownSkillsThenTheBuffs) {
    auto* toggle =
        static_cast<Skill_BuffSelfToggled*>(Singleton<ObjectManager>::Get().GetObject<Skill>(
            carrier->GetSkillManager().FindSkillId(kToggle)));
    ASSERT_NE(toggle, nullptr);
    auto active = [&] {
        std::vector<std::string> names;
        carrier->GetActiveStatusSkills(names);
        return names;
    };
    using Names = std::vector<std::string>;
    // The buff table keeps a buff under its normalised record name.
    const std::string shield = "records\\buffs\\shield.dbr";
    const struct Step {
        const char* what;
        std::function<void()> act;
        Names expected;
    } steps[] = {
        {"nothing on", [] {}, Names{}},
        {"a buff", [&] { Give(kShield, 1, 0); }, Names{shield}},
        {"the toggle switched on (a skill of its own list comes first)",
         [&] { toggle->ActivateNow(*carrier, Name(), 0, WorldVec3()); }, Names{kToggle, shield}},
        {"the buff gone",
         [&] {
             carrier->GetSkillManager().CreateRemoveSkillBuff(0, kShield, 0, "", 0, "", 0, 0, 0);
         },
         Names{kToggle}},
        {"the toggle off", [&] { toggle->ActivateNow(*carrier, Name(), 0, WorldVec3()); }, Names{}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(active(), step.expected);
    }
}

TEST_F(SkillBuffs, DispelsRemoveTheirOwnFamilyAndStopTheSelfBuffsThatAllowIt) {
    auto* toggle =
        static_cast<Skill_BuffSelfToggled*>(Singleton<ObjectManager>::Get().GetObject<Skill>(
            carrier->GetSkillManager().FindSkillId(kToggle)));
    ASSERT_NE(toggle, nullptr);
    const struct Case {
        const char* what;
        bool buffs;  // else the debuffs
        std::vector<const char*> gone;
        std::vector<const char*> kept;
        bool toggleOn;
    } cases[] = {
        {"buffs", true, {kShield}, {kFireWard, kCurseBuff, kStubborn}, false},
        {"debuffs", false, {kCurseBuff}, {kShield, kFireWard, kStubborn}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* buff : {kShield, kFireWard, kCurseBuff, kStubborn})
            Give(buff, 1, 0);
        if (!toggle->IsOn())
            toggle->ActivateNow(*carrier, Name(), 0, WorldVec3());
        if (c.buffs)
            carrier->DispelSkillBuffs();
        else
            carrier->DispelSkillDeBuffs();
        for (const char* buff : c.gone)
            EXPECT_FALSE(carrier->IsSkillBuffActive(buff)) << buff;
        for (const char* buff : c.kept)
            EXPECT_TRUE(carrier->IsSkillBuffActive(buff)) << buff;
        EXPECT_EQ(toggle->IsOn(), c.toggleOn);
    }
}

TEST_F(SkillBuffs, AColossusWithoutAScaleTimeGrowsAtOnce) {
    auto* grow =
        static_cast<Skill_BuffSelfColossus*>(Singleton<ObjectManager>::Get().GetObject<Skill>(
            carrier->GetSkillManager().FindSkillId(kGrow)));
    ASSERT_NE(grow, nullptr);
    grow->ActivateNow(*carrier, Name(), 0, WorldVec3());
    Frame(33);
    EXPECT_FLOAT_EQ(carrier->GetScale(), 1.5f);
    EXPECT_FALSE(grow->IsScaling());
    Frame(6000);
    Frame(33);
    EXPECT_FALSE(grow->IsOn());
    EXPECT_FLOAT_EQ(carrier->GetScale(), 1.0f);
}

}  // namespace
}  // namespace GAME::test
