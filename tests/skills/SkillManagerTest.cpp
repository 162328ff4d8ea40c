#include <gtest/gtest.h>

#include <functional>

#include "Engine/records/RecordDatabase.h"
#include "Game/items/Item.h"
#include "Game/items/ItemReplicaInfo.h"
#include "Game/items/equipment/EquipLocations.h"
#include "Game/items/kinds/Weapon.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/SkillKinds.h"
#include "Game/skills/manager/SkillCommands.h"
#include "Game/skills/manager/SkillState.h"
#include "SkillManagerTestSupport.h"
#include "support/CharacterSetUp.h"
#include "support/TestAccess.h"

namespace GAME::test {
namespace {

using Ids = std::vector<std::uint32_t>;

class SkillManagerLoading : public SkillManagerFixture {};

TEST_F(SkillManagerLoading, RecordBuildsTheLinkedSetAtTheDifficultysLevels) {
    gGameEngine->SetGameDifficulty(1);
    LoadSkills();
    const std::uint32_t mastery = Id(kWarfare);
    const std::uint32_t cleave = Id(kCleave);
    const std::uint32_t sharpen = Id(kSharpen);
    const std::uint32_t echo = Id(kEcho);
    const std::uint32_t echo2 = Id(kEcho2);
    const std::uint32_t bolt = Id(kBolt);
    const std::uint32_t lastBreath = Id("Records/SkillManager/LastBreath.dbr");
    const std::uint32_t swings = Id("Records/SkillManager/Swings.dbr");
    const std::uint32_t storm = Id(kStorm);
    // Creation order is the reference order; the modifier named twice is made once, the
    // duplicate skill and the missing record are skipped, the 31st entry is read.
    EXPECT_EQ(manager().GetSkillList(),
              (Ids{mastery, cleave, sharpen, echo, echo2, bolt, lastBreath, swings, storm}));
    EXPECT_EQ(manager().GetUISkillList(), manager().GetSkillList());
    EXPECT_EQ(tm.CountLog("SkillManager::Tried to create duplicate non-modifier skill "
                          "(Records/SkillManager/Cleave.dbr)"),
              1);
    EXPECT_EQ(tm.CountLog("SkillManager::Unable to create skill (Records/SkillManager/Missing.dbr) "
                          "(Records/SkillManager/Warrior.dbr)"),
              1);

    EXPECT_EQ(Get(kWarfare)->GetSkillLevel(), 2u);
    EXPECT_EQ(Get(kCleave)->GetSkillLevel(), 4u);
    EXPECT_EQ(Get(kBolt)->GetSkillLevel(), 0u);  // no level list: 0

    EXPECT_EQ(Get(kWarfare)->GetMasteryId(), 0u);
    for (const char* record : {kCleave, kSharpen, kEcho, kEcho2, kBolt, kStorm})
        EXPECT_EQ(Get(record)->GetMasteryId(), record == kStorm ? 0u : mastery) << record;
    EXPECT_EQ(Get(kCleave)->GetModifiers(), Ids{sharpen});
    EXPECT_EQ(Get(kBolt)->GetModifiers(), Ids{sharpen});
    EXPECT_EQ(Get(kCleave)->GetSecondarySkills(), Ids{echo});
    EXPECT_EQ(Get(kEcho)->GetSecondarySkills(), Ids{echo2});
    EXPECT_EQ(manager().GetWeaponPoolSkills(), Ids{swings});
    EXPECT_EQ(manager().GetOnDeathSkills(), Ids{lastBreath});
    // Installed: the skills with a level.
    EXPECT_EQ(manager().GetActiveList(), (Ids{mastery, cleave}));
}

TEST_F(SkillManagerLoading, CountsOutsideOneToThirtyOneReadNothing) {
    const LoadTable table = Singleton<ObjectManager>::Get().GetLoadTable(kWarrior);
    manager().LoadSkills(table, 0);
    manager().LoadSkills(table, 32);
    manager().LoadSkills(std::string(), 5);
    EXPECT_TRUE(manager().GetSkillList().empty());
    manager().LoadSkills(kWarrior, 2);
    EXPECT_EQ(manager().GetSkillList(), (Ids{Id(kWarfare), Id(kCleave)}));
}

TEST_F(SkillManagerLoading, ReferenceNumbersNameSkillsThenItemSkillsFrom4096) {
    LoadSkills();
    const std::uint32_t defaultAttack = manager().LoadDefaultSkills();
    ASSERT_NE(defaultAttack, 0u);
    EXPECT_EQ(manager().GetDefaultSkillId(), defaultAttack);
    EXPECT_NE(manager().GetDefaultWPSkillId(), 0u);
    const Ids& skills = manager().GetSkillList();
    ASSERT_EQ(skills.size(), 11u);
    EXPECT_EQ(skills[9], manager().GetDefaultWPSkillId());
    EXPECT_EQ(skills[10], defaultAttack);

    const std::uint32_t cleave = Id(kCleave);
    EXPECT_EQ(manager().GetSkillReferenceNumber(cleave), 1u);
    EXPECT_EQ(manager().GetSkillIdFromReference(1), cleave);
    EXPECT_EQ(manager().GetSkillReferenceNumber(warrior->GetObjectId()), 0xFFFFFFFFu);
    EXPECT_EQ(manager().GetSkillIdFromReference(4096), 0u);
    EXPECT_EQ(manager().GetSkillIdFromReference(11), 0u);

    manager().AddItemSkill(cleave, 3);
    ASSERT_EQ(manager().GetItemSkillList().size(), 1u);
    const std::uint32_t item = manager().GetItemSkillList()[0];
    EXPECT_NE(item, cleave);
    EXPECT_EQ(manager().GetSkillReferenceNumber(item), 4096u);
    EXPECT_EQ(manager().GetSkillIdFromReference(4096), item);
    EXPECT_EQ(manager().FindItemSkillId("RECORDS\\SKILLMANAGER\\CLEAVE.DBR"), item);
    EXPECT_EQ(manager().GetUISkillList().back(), item);
    // Item skills stay off the active list.
    EXPECT_EQ(std::count(manager().GetActiveList().begin(), manager().GetActiveList().end(), item),
              0);
    EXPECT_TRUE(manager().IsSkillValidForUse(item, false));

    manager().RemoveItemSkill(cleave);
    auto* itemSkill = Singleton<ObjectManager>::Get().GetObject<Skill>(item);
    ASSERT_NE(itemSkill, nullptr);
    EXPECT_EQ(itemSkill->GetSkillLevel(), 0u);
    EXPECT_FALSE(manager().IsSkillValidForUse(item, false));
    EXPECT_TRUE(manager().IsSkillValidForUse(item, true));
    manager().AddItemSkill(cleave, 2);
    EXPECT_EQ(manager().GetItemSkillList(), Ids{item});
    EXPECT_EQ(itemSkill->GetSkillLevel(), 2u);

    EXPECT_FALSE(manager().IsSkillValidForUse(Id(kBolt), true));  // level 0
    EXPECT_TRUE(manager().IsSkillValidForUse(cleave, false));
    EXPECT_FALSE(manager().IsSkillValidForUse(warrior->GetObjectId(), true));
}

TEST_F(SkillManagerLoading, StateCommandsReachTheSkillByReferenceAndSkillsDieWithTheCharacter) {
    LoadSkills();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const std::uint32_t bolt = Id(kBolt);
    // A rise of a player's skill is paid with its skill points.
    warrior->GetExperienceLevelControl().AddSkillPoints(3);
    const std::uint32_t points = warrior->GetSkillPoints();
    SkillStateUpdateConfigCmd command(warrior->GetObjectId(),
                                      manager().GetSkillReferenceNumber(bolt), SkillState{3, true});
    command.RunExecute();
    EXPECT_EQ(Get(kBolt)->GetSkillLevel(), 3u);
    EXPECT_EQ(warrior->GetSkillPoints(), points - 3);
    EXPECT_TRUE(Get(kBolt)->IsSkillEnabled());
    EXPECT_EQ(manager().GetActiveList().back(), bolt);

    const Ids skills = manager().GetSkillList();
    objects.DestroyObject(warrior);
    for (std::uint32_t id : skills)
        EXPECT_EQ(objects.GetObject(id), nullptr);
}

class SkillManagerFrame : public SkillManagerFixture {};

TEST_F(SkillManagerFrame, UpdateRunsInstalledAndItemSkillsAndReadsTheHands) {
    LoadSkills();
    Skill* cleave = Get(kCleave);
    Skill* bolt = Get(kBolt);  // level 0: not installed
    manager().AddItemSkill(Id(kCleave), 1);
    Skill* item = Singleton<ObjectManager>::Get().GetObject<Skill>(manager().GetItemSkillList()[0]);
    for (Skill* skill : {cleave, bolt, item})
        skill->ReplaceCooldownTime(1000.0f);
    test::SetHandState(*warrior, 3);  // a bow
    RunFrame(*warrior, 400);
    EXPECT_EQ(cleave->GetCooldownRemaining(), 600);
    EXPECT_EQ(item->GetCooldownRemaining(), 600);
    EXPECT_EQ(bolt->GetCooldownRemaining(), 1000);
    // The walk's generator is lent only while the skills run: a later draw outside a walk
    // must find the root's current one.
    EXPECT_EQ(manager().GetWalkRandom(), nullptr);
    EXPECT_TRUE(manager().IsRangedWeapon());
    EXPECT_EQ(manager().GetWeaponRangeProfile(), Skill_RangeProfile::Long);
    Weapon_Type right{};
    Weapon_Type left{};
    manager().GetWeaponTypes(right, left);
    EXPECT_EQ(static_cast<int>(right), 1);
    EXPECT_EQ(static_cast<int>(left), 1);

    test::SetHandState(*warrior, 2);
    RunFrame(*warrior, 100);
    EXPECT_FALSE(manager().IsRangedWeapon());
    EXPECT_EQ(manager().GetWeaponRangeProfile(), Skill_RangeProfile::Melee);
}

// The walk updates the weapon kinds without the virtual call: they still follow the reach.
TEST_F(SkillManagerFrame, WeaponKindsFollowTheReachThroughTheWalkAndOthersDoNot) {
    auto& records = Singleton<RecordDatabase>::Get();
    const struct {
        const char* kind;
        bool followsReach;
    } rows[] = {{"Skill_AttackWeapon", true},
                {"Skill_AttackWeaponCharge", true},
                {"Skill_WPAttack", true},
                {"Skill", false},
                {"Skill_AttackRadius", false}};
    for (const auto& row : rows) {
        const std::string name = std::string("Records/SkillManager/Walked_") + row.kind + ".dbr";
        const std::string owner = std::string("Records/SkillManager/WalkedBy_") + row.kind + ".dbr";
        ASSERT_TRUE(records.AddRecordText(
            name, std::string(R"({"Class": ")") + row.kind + R"(", "skillMaxLevel": 1})"));
        ASSERT_TRUE(records.AddRecordText(owner, R"({"Class": "Character", "skillName1": ")" +
                                                     name + R"(", "skillLevel1": [1, 1, 1]})"));
        manager().LoadSkills(owner.c_str(), 1);
        Skill* skill = Get(name.c_str());
        ASSERT_NE(skill, nullptr) << row.kind;
        skill->ReplaceCooldownTime(1000.0f);
        test::SetHandState(*warrior, 3);  // a bow
        RunFrame(*warrior, 400);
        EXPECT_EQ(skill->GetCooldownRemaining(), 600) << row.kind;
        EXPECT_EQ(skill->GetRangeProfile() == Skill_RangeProfile::Long, row.followsReach)
            << row.kind;
    }
}

// A walk that changed nothing is kept while nothing it reads moves: each change between two
// frames still reaches the skill (debug builds also walk, and abort where the kept walk differs).
TEST_F(SkillManagerFrame, KeptQuietWalksMeetEachChangeBetweenFrames) {
    auto& records = Singleton<RecordDatabase>::Get();
    ASSERT_TRUE(records.AddRecordText("Records/SkillManager/Quiet.dbr", R"({"Class":
        "Skill_AttackWeapon", "skillMaxLevel": 1, "skillManaCost": [10]})"));
    ASSERT_TRUE(records.AddRecordText(
        "Records/SkillManager/QuietOwner.dbr",
        R"({"Class": "Character", "skillName1": "Records/SkillManager/Quiet.dbr",
            "skillLevel1": [1, 1, 1]})"));
    manager().LoadSkills("Records/SkillManager/QuietOwner.dbr", 1);
    manager().SetAsControllingManager();
    Skill* skill = Get("Records/SkillManager/Quiet.dbr");
    ASSERT_NE(skill, nullptr);
    warrior->SubtractMana(0.0f);  // the vitals keep a mana set from now on
    enum class Change { None, Mana, Cooldown, Hands, AskedIgnoringMana };
    const struct {
        Change change;
        float mana;
        SkillReason reason;
        Skill_RangeProfile reach;
    } rows[] = {
        {Change::None, 100.0f, SkillReason::Available, Skill_RangeProfile::Melee},
        {Change::Mana, 100.0f, SkillReason::NotEnoughMana, Skill_RangeProfile::Melee},
        {Change::Cooldown, 100.0f, SkillReason::CoolingDown, Skill_RangeProfile::Melee},
        {Change::Hands, 100.0f, SkillReason::Available, Skill_RangeProfile::Long},
        // A test from outside the walk rewrites the verdict the quiet walk left.
        {Change::AskedIgnoringMana, 5.0f, SkillReason::NotEnoughMana, Skill_RangeProfile::Melee}};
    for (const auto& row : rows) {
        warrior->SetCurrentMana(row.mana);
        test::SetHandState(*warrior, 0);
        skill->EndCooldown();
        RunFrame(*warrior, 100);
        RunFrame(*warrior, 100);
        if (row.change == Change::Mana)
            warrior->SetCurrentMana(5.0f);
        else if (row.change == Change::Cooldown)
            skill->ReplaceCooldownTime(1000.0f);
        else if (row.change == Change::Hands)
            test::SetHandState(*warrior, 3);  // a bow
        else if (row.change == Change::AskedIgnoringMana) {
            ASSERT_TRUE(skill->SetAvailability(true, false));
        }
        RunFrame(*warrior, 100);
        EXPECT_EQ(skill->GetReason(), row.reason) << static_cast<int>(row.change);
        EXPECT_EQ(skill->GetRangeProfile(), row.reach) << static_cast<int>(row.change);
    }
}

TEST_F(SkillManagerFrame, EachFrameWalksTheActiveListAsItIsThen) {
    LoadSkills();
    Skill* cleave = Get(kCleave);  // installed
    Skill* bolt = Get(kBolt);      // level 0: not installed
    for (Skill* skill : {cleave, bolt})
        skill->ReplaceCooldownTime(10000.0f);
    enum class Change { None, AddBolt, RemoveCleave, AddCleave };
    struct Step {
        Change change;
        int cleaveLeft;
        int boltLeft;
    };
    const Step steps[] = {
        {Change::None, 9900, 10000},        {Change::None, 9800, 10000},
        {Change::AddBolt, 9700, 9900},      {Change::None, 9600, 9800},
        {Change::RemoveCleave, 9600, 9700}, {Change::AddCleave, 9500, 9600},
    };
    for (const Step& step : steps) {
        if (step.change == Change::AddBolt)
            manager().AddToActiveList(bolt);
        else if (step.change == Change::RemoveCleave)
            manager().RemoveFromActiveList(cleave);
        else if (step.change == Change::AddCleave)
            manager().AddToActiveList(cleave);
        RunFrame(*warrior, 100);
        EXPECT_EQ(cleave->GetCooldownRemaining(), step.cleaveLeft);
        EXPECT_EQ(bolt->GetCooldownRemaining(), step.boltLeft);
    }
}

// The walk keeps each skill beside its id: one destroyed while listed is looked up again by
// that id and passed over, and the other still walks (ASan sees a kept pointer read late).
TEST_F(SkillManagerFrame, ASkillDestroyedWhileListedIsPassedOverAndTheOtherWalks) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const bool destroyFirst : {true, false}) {
        Character* self = MakeCharacter(kWarrior);
        ASSERT_NE(self, nullptr);
        SkillManager& skills = self->GetSkillManager();
        skills.LoadSkills(objects.GetLoadTable(kWarrior), SkillManager::kMaxSkillEntries);
        Skill* cleave = objects.GetObject<Skill>(skills.FindSkillId(kCleave));  // installed
        Skill* bolt = objects.GetObject<Skill>(skills.FindSkillId(kBolt));
        ASSERT_TRUE(cleave && bolt);
        skills.AddToActiveList(bolt);
        for (Skill* skill : {cleave, bolt})
            skill->ReplaceCooldownTime(10000.0f);
        RunFrame(*self, 100);
        ASSERT_EQ(cleave->GetCooldownRemaining(), 9900);
        ASSERT_EQ(bolt->GetCooldownRemaining(), 9900);
        Skill* gone = destroyFirst ? cleave : bolt;
        Skill* left = destroyFirst ? bolt : cleave;
        const std::uint32_t goneId = gone->GetObjectId();
        objects.DestroyObject(gone);
        RunFrame(*self, 100);
        RunFrame(*self, 100);
        EXPECT_EQ(left->GetCooldownRemaining(), 9700) << destroyFirst;
        EXPECT_EQ(objects.GetObject(goneId), nullptr);
    }
}

TEST_F(SkillManagerFrame, SkillsWeighTheirManaCostAgainstTheParentsManaClampedAtZero) {
    auto& records = Singleton<RecordDatabase>::Get();
    ASSERT_TRUE(
        records.AddRecordText("Records/SkillManager/Costly.dbr",
                              R"({"Class": "Skill", "skillMaxLevel": 1, "skillManaCost": [10]})"));
    ASSERT_TRUE(records.AddRecordText(
        "Records/SkillManager/CostlyOwner.dbr",
        R"({"Class": "Character", "skillName1": "Records/SkillManager/Costly.dbr",
            "skillLevel1": [1, 1, 1]})"));
    manager().LoadSkills("Records/SkillManager/CostlyOwner.dbr", 1);
    Skill* costly = Get("Records/SkillManager/Costly.dbr");
    ASSERT_NE(costly, nullptr);
    RunFrame(*warrior, 100);
    ASSERT_FLOAT_EQ(warrior->GetManaLimit(), 100.0f);
    const struct {
        float set;
        float mana;  // as the parent and its manager read it
        bool shortOfMana;
    } rows[] = {{100.0f, 100.0f, false},
                {10.0f, 10.0f, false},
                {9.5f, 9.5f, true},
                {-5.0f, 0.0f, true},
                {250.0f, 100.0f, false}};
    for (const auto& row : rows) {
        warrior->SetCurrentMana(row.set);
        EXPECT_FLOAT_EQ(warrior->GetCurrentMana(), row.mana) << row.set;
        EXPECT_FLOAT_EQ(manager().GetCurrentMana(), row.mana) << row.set;
        EXPECT_EQ(costly->SetAvailability(false, false), !row.shortOfMana) << row.set;
        EXPECT_EQ(costly->IsNotEnoughMana(), row.shortOfMana) << row.set;
    }
    SkillManager orphan;
    EXPECT_FLOAT_EQ(orphan.GetCurrentMana(), 0.0f);
}

TEST_F(SkillManagerFrame, BareHandsDealTheCharactersHandDamageAndAWeaponItsOwn) {
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
        "Records/SkillManager/Brawler.dbr",
        R"({"Class": "Character", "handHitDamageMin": 7, "handHitDamageMax": 7})"));
    Character* brawler = MakeCharacter("Records/SkillManager/Brawler.dbr");
    ASSERT_NE(brawler, nullptr);
    auto physical = [](const CombatAttributeAccumulator& accumulator) {
        float total = 0.0f;
        for (const auto& payload : accumulator.GetDamagePayloads()) {
            float absolute = 0.0f, duration = 0.0f;
            payload->GetTotalDamage(absolute, duration);
            total += absolute;
        }
        return total;
    };
    RandomUniform random;
    random.Seed(5);
    ParametersCombat bare(random);
    brawler->GetSkillManager().CollectAvailableOffensiveDamageAttributes(0, bare.accumulator);
    EXPECT_FLOAT_EQ(physical(bare.accumulator), 7.0f);
    // A weapon id that names no weapon brings nothing, not the hands.
    ParametersCombat armed(random);
    brawler->GetSkillManager().CollectAvailableOffensiveDamageAttributes(brawler->GetObjectId(),
                                                                         armed.accumulator);
    EXPECT_TRUE(armed.accumulator.GetDamagePayloads().empty());
    // Without hand damage the hands bring nothing.
    ParametersCombat weak(random);
    manager().CollectAvailableOffensiveDamageAttributes(0, weak.accumulator);
    EXPECT_TRUE(weak.accumulator.GetDamagePayloads().empty());
}

TEST_F(SkillManagerFrame, DyingStopsSkillsAndActivatesOnDeathSkillsOnce) {
    LoadSkills();
    manager().SetAsControllingManager();
    manager().SetSpeedUpdateNeeded();
    EXPECT_TRUE(warrior->IsSkillSpeedUpdateNeeded());
    EXPECT_FALSE(warrior->IsSkillSpeedUpdateNeeded());
    // Its spawn names no record, so each activation leaves one failure line.
    Get("Records/SkillManager/LastBreath.dbr")->SetSkillLevel(1);
    warrior->ImDying();
    EXPECT_EQ(tm.CountLog("Failed to spawn object (Records/SkillManager/Ghost.dbr)"), 1);
    // The skills stay with the character until it is destroyed.
    EXPECT_EQ(manager().GetSkillList().size(), 9u);
}

class SkillManagerPoints : public SkillManagerFixture {};

TEST_F(SkillManagerPoints, PointsLeaveOutDefaultsAndMasteriesCountWhenBought) {
    LoadSkills();
    manager().LoadDefaultSkills();
    // Warfare 1 (normal difficulty), Cleave 2.
    EXPECT_EQ(manager().GetNumMasteryPoints(), 1u);
    EXPECT_EQ(manager().GetNumRegularSkillPoints(), 2u);
    EXPECT_EQ(manager().GetNumOfNonMasterySkillsWithPoints(), 1u);
    std::vector<std::uint32_t> masteries;
    manager().GetSkillMasteries(masteries);
    EXPECT_EQ(masteries, Ids{7});

    manager().IncrementSkill(Id(kStorm), 1);
    manager().IncrementSkill(Id(kBolt), 3);
    manager().IncrementSkill(Id(kCleave), 50);  // held at its maximum, 10
    EXPECT_EQ(manager().GetSkillMasteriesActive(), 2u);
    masteries.clear();
    manager().GetSkillMasteries(masteries);
    EXPECT_EQ(masteries, (Ids{7, 4}));
    // Storm has no mastery above it, so it counts with the mastery points.
    EXPECT_EQ(manager().GetNumMasteryPoints(), 2u);
    EXPECT_EQ(manager().GetNumRegularSkillPoints(), 13u);
    EXPECT_EQ(manager().GetNumOfNonMasterySkillsWithPoints(), 2u);
}

TEST_F(SkillManagerPoints, MasteriesUnlockOneAtATimeUntilAZeroThreshold) {
    EXPECT_EQ(manager().GetSkillMasteriesAllowed(), 0u);
    manager().UpdateMasteriesAllowed(1);
    EXPECT_EQ(manager().GetSkillMasteriesAllowed(), 0u);
    manager().UpdateMasteriesAllowed(9);  // passes 2 and 8, unlocks one
    EXPECT_EQ(manager().GetSkillMasteriesAllowed(), 1u);
    manager().UpdateMasteriesAllowed(9);
    EXPECT_EQ(manager().GetSkillMasteriesAllowed(), 2u);
    manager().UpdateMasteriesAllowed(50);  // the 0 entry stops further masteries
    EXPECT_EQ(manager().GetSkillMasteriesAllowed(), 2u);
    manager().DebugIncrementMasteriesAllowed();
    manager().UpdateMasteriesAllowed(50);  // past the 0: the 20 entry
    EXPECT_EQ(manager().GetSkillMasteriesAllowed(), 4u);
    manager().UpdateMasteriesAllowed(50);  // every entry used
    EXPECT_EQ(manager().GetSkillMasteriesAllowed(), 4u);
    manager().AddMasteryAllowedIncrementLevel(0);
    manager().AddMasteryAllowedIncrementLevel(30);
    manager().UpdateMasteriesAllowed(30);
    EXPECT_EQ(manager().GetSkillMasteriesAllowed(), 5u);
}

TEST_F(SkillManagerPoints, ReclamationIsPricedPerTierBothWays) {
    warrior->AddMoney(1000);
    EXPECT_EQ(manager().GetCurrentSkillReclamationCost(), 100u);
    test::SkillManagerTestAccess::SetReclamationPointsUsed(manager(), 9);
    EXPECT_EQ(manager().GetCurrentSkillReclamationCost(), 100u);
    EXPECT_TRUE(manager().UseReclamationPoints(2));  // 100 at 9, 200 at 10
    EXPECT_EQ(warrior->GetMoney(), 700u);
    EXPECT_EQ(manager().GetReclamationPointsUsed(), 11u);
    EXPECT_EQ(manager().GetCurrentSkillReclamationCost(), 200u);

    EXPECT_TRUE(manager().UseReclamationPoints(-2));  // 200 at 10, 100 at 9
    EXPECT_EQ(warrior->GetMoney(), 1000u);
    EXPECT_EQ(manager().GetReclamationPointsUsed(), 9u);

    test::SkillManagerTestAccess::SetReclamationPointsUsed(manager(), 19);
    // 200 + 400 * 2 = 1000 is affordable; one point more is not and changes nothing.
    EXPECT_FALSE(manager().UseReclamationPoints(4));
    EXPECT_EQ(manager().GetReclamationPointsUsed(), 19u);
    EXPECT_EQ(warrior->GetMoney(), 1000u);
    EXPECT_TRUE(manager().UseReclamationPoints(3));
    EXPECT_EQ(warrior->GetMoney(), 0u);
    EXPECT_EQ(manager().GetCurrentSkillReclamationCost(), 400u);
    EXPECT_TRUE(manager().UseReclamationPoints(0));
    EXPECT_EQ(warrior->GetMoney(), 0u);
}

TEST_F(SkillManagerPoints, GivingBackNeverGoesBelowNoneAndShortCostListsAreSafe) {
    test::SkillManagerTestAccess::SetReclamationPointsUsed(manager(), 1);
    EXPECT_TRUE(manager().UseReclamationPoints(-3));
    EXPECT_EQ(manager().GetReclamationPointsUsed(), 0u);
    EXPECT_EQ(warrior->GetMoney(), 100u);  // only the one point bought back is refunded

    SkillManager bare;
    bare.Initialize(nullptr, warrior);
    EXPECT_EQ(bare.GetCurrentSkillReclamationCost(), 0u);
    EXPECT_TRUE(bare.UseReclamationPoints(2));
    EXPECT_EQ(warrior->GetMoney(), 100u);
    // Without a character a free reclamation is still taken.
    SkillManager orphan;
    EXPECT_TRUE(orphan.UseReclamationPoints(2));
    EXPECT_EQ(orphan.GetReclamationPointsUsed(), 2u);

    // More tiers than costs: the tiers past the list take the last cost.
    SkillManager shortList;
    shortList.Initialize(nullptr, warrior);
    LoadTable record =
        Singleton<ObjectManager>::Get().GetLoadTable("Records/SkillManager/ShortCosts.dbr");
    shortList.Load(record);
    test::SkillManagerTestAccess::SetReclamationPointsUsed(shortList, 25);
    EXPECT_EQ(shortList.GetCurrentSkillReclamationCost(), 150u);
    test::SkillManagerTestAccess::SetReclamationPointsUsed(shortList, 3);
    EXPECT_EQ(shortList.GetCurrentSkillReclamationCost(), 50u);
}

TEST_F(SkillManagerPoints, AugmentsRaiseTheNamedSkillsOnly) {
    LoadSkills();
    manager().LoadDefaultSkills();
    Skill* cleave = Get(kCleave);
    Skill* echo = Get(kEcho);
    Skill* defaultAttack =
        Singleton<ObjectManager>::Get().GetObject<Skill>(manager().GetDefaultSkillId());
    manager().SetAllSkillAugment(2, "");
    EXPECT_EQ(cleave->GetCurrentLevel(), 4u);
    EXPECT_EQ(defaultAttack->GetCurrentLevel(), 1u);  // held at its ultimate level, 1
    EXPECT_TRUE(defaultAttack->IsAugmented());
    EXPECT_FALSE(Get(kWarfare)->IsAugmented());  // a mastery is never augmented
    manager().RemoveAllSkillAugment(2, kCleave);
    EXPECT_EQ(cleave->GetCurrentLevel(), 4u);
    EXPECT_FALSE(defaultAttack->IsAugmented());

    manager().SetMasteryAugment(kWarfare, 5);
    EXPECT_EQ(cleave->GetCurrentLevel(), 9u);
    manager().IncrementSkill(Id(kEcho), 1);
    EXPECT_EQ(echo->GetCurrentLevel(), 5u);  // 1 + 5, held at its maximum 5
    EXPECT_FALSE(Get(kStorm)->IsAugmented());
    manager().RemoveMasteryAugment(kWarfare, 5);
    manager().RemoveAllSkillAugment(2, "");  // takes what is left
    EXPECT_EQ(cleave->GetCurrentLevel(), 2u);

    manager().SetSkillLevelAugment("records/skillmanager/cleave.dbr", 1);
    EXPECT_EQ(cleave->GetCurrentLevel(), 3u);
    manager().RemoveSkillLevelAugment(kCleave, 1);
    EXPECT_EQ(cleave->GetCurrentLevel(), 2u);
}

TEST_F(SkillManagerPoints, CharacterLevelsUnlockMasteriesThroughTheManager) {
    EXPECT_EQ(warrior->GetCharLevel(), 1u);
    test::SetCharLevel(*warrior, 1);
    manager().UpdateMasteriesAllowed(warrior->GetCharLevel());
    EXPECT_EQ(manager().GetSkillMasteriesAllowed(), 0u);
    warrior->IncrementCharLevel();
    EXPECT_EQ(manager().GetSkillMasteriesAllowed(), 1u);
}

constexpr const char* kQuiet = "Records/SkillManager/QuietFrame.dbr";
constexpr const char* kQuietSecond = "Records/SkillManager/QuietFrameSecond.dbr";
constexpr const char* kQuietOwner = "Records/SkillManager/QuietFrameOwner.dbr";
constexpr const char* kSword = "Records/Items/EpicSword.dbr";

// A frame that would change nothing is skipped; these check the test that says so against each
// thing the frame reads, and that the frame skipped owes the root exactly the walk's draws.
class SkillManagerQuietFrame : public SkillManagerFixture {
protected:
    void SetUp() override {
        SkillManagerFixture::SetUp();
        auto& records = Singleton<RecordDatabase>::Get();
        for (const char* name : {kQuiet, kQuietSecond})
            ASSERT_TRUE(records.AddRecordText(name, R"({"Class": "Skill_AttackWeapon",
                "skillMaxLevel": 1, "skillManaCost": [10]})"));
        // The second is made without a level: not installed until a row adds it.
        ASSERT_TRUE(records.AddRecordText(kQuietOwner, R"({"Class": "Character",
            "skillName1": "Records/SkillManager/QuietFrame.dbr", "skillLevel1": [1, 1, 1],
            "skillName2": "Records/SkillManager/QuietFrameSecond.dbr"})"));
        manager().LoadSkills(kQuietOwner, 2);
        manager().SetAsControllingManager();
        warrior->SubtractMana(0.0f);  // the vitals keep a mana set from now on
        warrior->SetCurrentMana(100.0f);
    }
    // Two frames: the first walks and marks the walk quiet, the second keeps it.
    void Settle() {
        manager().Update(100);
        manager().Update(100);
    }
    std::uint32_t RootState() { return gGameEngine->GetRandomGen().GetState(); }
    // Whether the cooldown had `left` ms to run; ended either way.
    static bool EndCooldownAt(Skill& skill, int left) {
        const bool at = skill.GetCooldownRemaining() == left;
        skill.EndCooldown();
        return at;
    }
};

TEST_F(SkillManagerQuietFrame, EachChangeTheFrameReadsEndsTheQuietFrame) {
    Skill* quiet = Get(kQuiet);
    ASSERT_NE(quiet, nullptr);
    ItemReplicaInfo swordRecord;
    swordRecord.baseName = kSword;
    Item* sword = Item::CreateItem(swordRecord);
    ASSERT_NE(sword, nullptr);
    const auto* weapon = dynamic_cast<const Weapon*>(sword);
    ASSERT_NE(weapon, nullptr);
    const Weapon_Type swordType = weapon->GetWeaponType();
    ASSERT_NE(swordType, SkillManager::kGenericWeapon);
    const auto rightWeapon = [&] {
        Weapon_Type right{};
        Weapon_Type left{};
        manager().GetWeaponTypes(right, left);
        return right;
    };
    std::uint32_t stamp = 0;

    // In this order: each row's change stays, and an item skill ends every quiet frame after it.
    const struct {
        const char* change;
        std::function<void()> apply;
        std::function<bool()> seen;  // after the next frame
    } rows[] = {
        {"the attribute inputs", [&] { warrior->CharAttributeInputsChanged(); },
         [&] { return manager().GetSkillAttributesStamp() != stamp; }},
        {"the balance level", [&] { gGameEngine->SetGameBalanceLevel(1); },
         [&] { return manager().GetSkillAttributesStamp() != stamp; }},
        {"a sword in the right hand",
         [&] { warrior->AttachItemAction(sword->GetObjectId(), EquipLocation_RightHand); },
         [&] { return rightWeapon() == swordType; }},
        {"a bow in the hands", [&] { test::SetHandState(*warrior, 3); },
         [&] { return manager().IsRangedWeapon(); }},
        {"the mana", [&] { warrior->SetCurrentMana(5.0f); },
         [&] { return quiet->GetReason() == SkillReason::NotEnoughMana; }},
        // A running cooldown keeps the walk busy: each such row ends it once it was seen.
        {"a cooldown", [&] { quiet->ReplaceCooldownTime(1000.0f); },
         [&] { return EndCooldownAt(*quiet, 900); }},
        {"another active skill",
         [&] {
             Get(kQuietSecond)->ReplaceCooldownTime(1000.0f);
             manager().AddToActiveList(Get(kQuietSecond));
         },
         [&] { return EndCooldownAt(*Get(kQuietSecond), 900); }},
        {"an item skill", [&] { manager().AddItemSkill(quiet->GetObjectId(), 1); },
         [&] { return !manager().QuietFrameHolds(gGameEngine); }},
    };
    for (const auto& row : rows) {
        Settle();
        ASSERT_TRUE(manager().QuietFrameHolds(gGameEngine)) << row.change;
        stamp = manager().GetSkillAttributesStamp();
        row.apply();
        EXPECT_FALSE(manager().QuietFrameHolds(gGameEngine)) << row.change;
        // Debug builds also abort where a frame called quiet changed anything.
        manager().Update(100);
        EXPECT_TRUE(row.seen()) << row.change;
    }
}

TEST_F(SkillManagerQuietFrame, AQuietFrameDrawsOncePerWalkedSkill) {
    manager().AddToActiveList(Get(kQuietSecond));
    Settle();
    ASSERT_TRUE(manager().QuietFrameHolds(gGameEngine));
    const std::size_t walked = manager().GetActiveList().size();
    ASSERT_GE(walked, 2u);
    for (int frame = 0; frame < 3; ++frame) {
        std::uint32_t expected = RootState();
        for (std::size_t i = 0; i < walked; ++i)
            expected = RandomUniform::NextState(expected);
        const std::uint32_t stamp = manager().GetSkillAttributesStamp();
        manager().Update(100);
        EXPECT_EQ(RootState(), expected) << frame;
        EXPECT_EQ(manager().GetSkillAttributesStamp(), stamp) << frame;
    }
}

}  // namespace
}  // namespace GAME::test
