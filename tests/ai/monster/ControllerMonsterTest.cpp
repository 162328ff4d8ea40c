// The monster controller: its behaviour record with the quirks designers rely on, the skill
// choice (one draw per candidate special attack, strict range bands, the distance test), the
// special attacks' first-use and reuse waits, random anger and the lifetime.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/DistressCall.h"
#include "Game/skills/Skill.h"
#include "ai/monster/MonsterControllerTestSupport.h"

namespace GAME::test {
namespace {

class MonsterController : public MonsterControllerTest {
protected:
    std::uint32_t MakeSkill(bool enabled = true) {
        auto* skill = Singleton<ObjectManager>::Get().CreateObject<Skill>();
        skill->ReceiveStateUpdate(SkillState(enabled ? 1 : 0, enabled), true);
        return skill->GetObjectId();
    }
};

TEST_F(MonsterController, TheBehaviourRecordKeepsItsQuirks) {
    MakeController(R"({"Class": "ControllerMonster", "FleeBehavior": "RunAway",
        "BuffSelfBehavior": "Sometimes", "DistressResponseBehavior": "Whoever",
        "LeaderBehavior": "LeadOnDamage", "RoamBehavior": "Roam", "ViewDistance": 12})");
    EXPECT_EQ(controller->GetFleeBehavior(), ControllerMonster::NeverFlee);
    EXPECT_EQ(controller->GetBuffSelfBehavior(), ControllerMonster::WhenEnemyIsSeen);
    EXPECT_EQ(controller->GetBuffAllyBehavior(), ControllerMonster::NeverUseSkill);
    EXPECT_EQ(controller->GetDebuffEnemyBehavior(), ControllerMonster::NeverUseSkill);
    EXPECT_EQ(controller->GetDistressResponseBehavior(), ControllerMonster::RespondToAll);
    EXPECT_EQ(controller->GetLeaderBehavior(), ControllerMonster::LeadOnDamage);
    EXPECT_EQ(controller->GetRoamBehavior(), ControllerMonster::Roam);
    EXPECT_EQ(controller->GetMaxFleeCount(), 3);
    // Record defaults that differ from the constructor's.
    EXPECT_FLOAT_EQ(controller->GetInnerSightAngerRate(), 20.0f);
    EXPECT_FLOAT_EQ(controller->GetLeaderDistance(), 5.0f);
    EXPECT_FLOAT_EQ(controller->GetTeleportToLeaderDistance(), 20.0f);
    EXPECT_FLOAT_EQ(controller->GetMaxPursuitDistance(), 0.0f);
    EXPECT_FLOAT_EQ(controller->GetEnemyTooCloseDistance(), 5.0f);
    EXPECT_FLOAT_EQ(controller->GetViewDistance(), 12.0f);

    MakeController(R"({"Class": "ControllerMonster", "maxFleeCount": 7,
        "FleeBehavior": "FleeWhenEnemyClose", "FleeTarget": "TowardsHome",
        "DebuffEnemyBehavior": "WhenIdle", "DistressResponseBehavior": "RespondToSameGroup",
        "BuffAllyTargeting": "BuffWeakest", "DodgeChance": 35})");
    EXPECT_EQ(controller->GetMaxFleeCount(), 7);
    EXPECT_EQ(controller->GetFleeBehavior(), ControllerMonster::FleeWhenEnemyClose);
    EXPECT_EQ(controller->GetFleeTarget(), ControllerMonster::TowardsHome);
    EXPECT_EQ(controller->GetDebuffEnemyBehavior(), ControllerMonster::WhenIdle);
    EXPECT_EQ(controller->GetDistressResponseBehavior(), ControllerMonster::RespondToSameGroup);
    EXPECT_EQ(controller->GetBuffAllyTargeting(), ControllerMonster::BuffWeakest);
    EXPECT_FLOAT_EQ(controller->GetDodgeChance(), 35.0f);
}

TEST_F(MonsterController, SkillChoiceDrawsOncePerCandidateAndTestsRangeThenDistance) {
    MakeController(R"({"Class": "ControllerMonster"})");
    Character* enemy = Place("Records/AI/Foe.dbr", Team::Human, 16);  // a gap of 5: medium
    const std::uint32_t id = enemy->GetObjectId();
    const std::uint32_t shortOne = MakeSkill(), never = MakeSkill(), coin = MakeSkill();
    const std::uint32_t later = MakeSkill(), normal = MakeSkill(), fallback = MakeSkill();
    controller->SetSpecialAttackSkill(shortOne, 0, 0, 100, SkillUseRange::ShortRange);
    controller->SetSpecialAttack2Skill(never, 0, 0, 0, SkillUseRange::MediumRange);
    controller->SetSpecialAttack3Skill(coin, 0, 100000, 50, SkillUseRange::MediumRange);
    controller->SetSpecialAttack4Skill(later, 5000, 0, 100, SkillUseRange::Any);
    controller->SetNormalAttackSkill(normal);
    controller->SetDefaultAttackSkill(fallback);

    // Blocks 1 to 3 draw; block 4 waits for its first use and draws nothing.
    int coinWins = 0;
    for (unsigned seed = 1; seed <= 24; ++seed) {
        crt_srand(seed);
        crt_rand();
        crt_rand();
        const bool heads = crt_rand() % 100 < 50;
        const int next = crt_rand();
        crt_srand(seed);
        EXPECT_EQ(controller->ChooseBestSkill(id, false), heads ? coin : normal) << seed;
        EXPECT_EQ(crt_rand(), next) << seed;
        coinWins += heads;
    }
    EXPECT_GT(coinWins, 0);
    EXPECT_LT(coinWins, 24);

    // Used: it rests for its delay. Block 4's wait starts with the first enemy found.
    controller->StartSpecialAttackReuse(2);
    controller->Update(6000);
    EXPECT_EQ(controller->ChooseBestSkill(id, false), normal);
    controller->TauntMe(50.0f, id);
    controller->FindEnemy();
    controller->Update(4999);
    EXPECT_EQ(controller->ChooseBestSkill(id, false), normal);
    controller->Update(1);
    EXPECT_EQ(controller->ChooseBestSkill(id, false), later);

    // With the distance test: the first skill close enough, the default one last.
    Idle().closeEnoughFor = {fallback};
    EXPECT_EQ(controller->ChooseBestSkill(id, true), fallback);
    Idle().closeEnoughFor = {};
    tm.ClearLog();
    EXPECT_EQ(controller->ChooseBestSkill(id, true), 0u);
    EXPECT_EQ(tm.CountLog("picked an invalid skill"), 0);
}

// Whichever one special attack is set, its countdowns run; those never set stay at 0.
TEST_F(MonsterController, OnlyTheSpecialAttackSetCountsDown) {
    constexpr std::size_t kCount = ControllerMonster::kSpecialAttackCount;
    for (std::size_t set = 0; set < kCount; ++set) {
        MakeController(R"({"Class": "ControllerMonster"})");
        controller->SetSpecialAttack(set, MakeSkill(), 500, 300, 100, SkillUseRange::Any);
        for (std::size_t i = 0; i < kCount; ++i)
            controller->StartSpecialAttackReuse(i);
        controller->Update(100);
        for (std::size_t i = 0; i < kCount; ++i) {
            const ControllerMonster::SpecialAttack& block = controller->GetSpecialAttack(i);
            EXPECT_EQ(block.reuseCountdown, i == set ? 200 : 0) << set << " " << i;
            // No enemy seen yet: the first use still waits its whole timeout.
            EXPECT_EQ(block.firstUseCountdown, i == set ? 500 : 0) << set << " " << i;
        }
    }
}

TEST_F(MonsterController, ADisabledOrMissingSkillIsNeverChosenAndNothingIsLogged) {
    MakeController(R"({"Class": "ControllerMonster"})");
    Character* enemy = Place("Records/AI/Foe.dbr", Team::Human, 16);
    const std::uint32_t off = MakeSkill(false);
    controller->SetSpecialAttackSkill(off, 0, 0, 100, SkillUseRange::Any);
    controller->SetNormalAttackSkill(off);
    crt_srand(3);
    crt_rand();
    const int second = crt_rand();
    crt_srand(3);
    tm.ClearLog();
    EXPECT_EQ(controller->ChooseBestSkill(enemy->GetObjectId(), false), 0u);
    EXPECT_EQ(crt_rand(), second);  // the disabled special still drew
    EXPECT_EQ(tm.CountLog("ControllerMonster::ChooseBestSkill picked an invalid skill for"), 1);
}

TEST_F(MonsterController, RangeBandsAreStrictAtBothEnds) {
    MakeController(R"({"Class": "ControllerMonster"})");
    // Both bodies are 0.5 m in radius: 5 m apart leaves a gap of exactly 4.
    Character* atFour = Place("Records/AI/Foe.dbr", Team::Human, 15);
    Character* beyond = Place("Records/AI/Foe.dbr", Team::Human, 15.5f);
    const std::uint32_t four = atFour->GetObjectId();
    EXPECT_FALSE(controller->IsSkillInProperRange(four, SkillUseRange::ShortRange));
    EXPECT_FALSE(controller->IsSkillInProperRange(four, SkillUseRange::MediumRange));
    EXPECT_TRUE(
        controller->IsSkillInProperRange(beyond->GetObjectId(), SkillUseRange::MediumRange));
    EXPECT_TRUE(controller->IsSkillInProperRange(9999, SkillUseRange::Any));
    EXPECT_FALSE(controller->IsSkillInProperRange(9999, SkillUseRange::ShortRange));
    controller->SetSkillRanges(0, 5, 5, 9, 9, 30);
    EXPECT_TRUE(controller->IsSkillInProperRange(four, SkillUseRange::ShortRange));
    EXPECT_EQ(ControllerMonster::GetSkillRangeFromString("LongRange"), SkillUseRange::LongRange);
    EXPECT_EQ(ControllerMonster::GetSkillRangeFromString("longrange"), SkillUseRange::Any);
}

TEST_F(MonsterController, RandomAngerFiresOnceAndTheLifetimeEndsTheMonster) {
    MakeController(R"({"Class": "ControllerMonster", "RandomAngerChance": 100,
        "RandomAngerEvaluationTime": 500, "SightAngerRate": 0, "InnerSightAngerRate": 0,
        "ForgiveRate": 0, "AngerTolerance": 1000})");
    Character* foe = Place("Records/AI/Foe.dbr", Team::Human, 20);
    controller->Update(3000);  // the first evaluation waits 3 s
    EXPECT_EQ(AngerOf(foe), 0.0f);
    controller->Update(1);
    EXPECT_FLOAT_EQ(AngerOf(foe), AngerManager::GetMaxAnger());
    controller->ClearAnger();
    for (int i = 0; i < 4; ++i)
        controller->Update(600);
    EXPECT_EQ(AngerOf(foe), 0.0f);

    // A lifetime used up exactly ends the monster too (0 would mean unlimited).
    controller->SetLifetime(300);
    controller->Update(299);
    EXPECT_TRUE(me->IsAlive());
    controller->Update(1);
    EXPECT_FALSE(me->IsAlive());
}

TEST_F(MonsterController, DistressCallsAreAnsweredByKindAndFearOnlyGrows) {
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
        "Records/AI/Beast.dbr", R"({"Class": "Character", "characterRacialProfile": ["Beast"]})"));
    MakeController(R"({"Class": "ControllerMonster", "DistressResponseBehavior":
        "RespondToSameGroup", "AllyAttackedAnger": 40, "ForgiveRate": 0})");
    Character* beast = Place("Records/AI/Beast.dbr", Team::Monster, 12);
    Character* attacker = Place("Records/AI/Foe.dbr", Team::Human, 20);
    // No race in common: the call is ignored.
    controller->AllyAttacked(beast->GetObjectId(), attacker->GetObjectId());
    EXPECT_EQ(AngerOf(attacker), 0.0f);
    EXPECT_TRUE(Idle().allyAttacks.empty());

    MakeController(R"({"Class": "ControllerMonster", "AllyAttackedAnger": 40})");
    controller->AllyAttacked(beast->GetObjectId(), attacker->GetObjectId());
    EXPECT_FLOAT_EQ(AngerOf(attacker), 40.0f);
    ASSERT_EQ(Idle().allyAttacks.size(), 1u);
    EXPECT_EQ(Idle().allyAttacks[0].second, attacker->GetObjectId());
    // An id that names neither a character nor a fixed item calls in vain.
    EXPECT_FALSE(controller->ShouldCareAboutDistressCall(9999));

    // A scare replaces the state only when it lasts longer than the one running.
    controller->ScareMe(attacker->GetObjectId(), 2000.0f);
    EXPECT_STREQ(controller->GetExecutingStateName(), "Scared");
    EXPECT_EQ(controller->GetCurrentEnemy(), attacker->GetObjectId());
    EXPECT_TRUE(controller->StillScared());
    controller->SetState("Idle", ControllerAIStateData());
    controller->ScareMe(attacker->GetObjectId(), 1500.0f);
    EXPECT_STREQ(controller->GetExecutingStateName(), "Idle");
    controller->Update(2000);
    EXPECT_FALSE(controller->StillScared());
}

TEST_F(MonsterController, AnAllyIsAnsweredByTheResponseBehaviourInACallAndById) {
    RecordDatabase& records = Singleton<RecordDatabase>::Get();
    ASSERT_TRUE(records.AddRecordText("Records/AI/Wolf.dbr",
                                      R"({"Class": "Character", "characterRacialProfile":
                                          ["Canine", "Beast"]})"));
    ASSERT_TRUE(records.AddRecordText(
        "Records/AI/Bear.dbr", R"({"Class": "Character", "characterRacialProfile": ["Beast"]})"));
    me = Place("Records/AI/Wolf.dbr", Team::Monster, 10);
    Character* kin = Place("Records/AI/Bear.dbr", Team::Monster, 12);
    Character* stranger = Place("Records/AI/Foe.dbr", Team::Monster, 14);
    Character* attacker = Place("Records/AI/Foe.dbr", Team::Human, 20);
    ObjectManager::Kept<Character> kept;
    Singleton<ObjectManager>::Get().GetObject(attacker->GetObjectId(), kept);
    struct Case {
        const char* behaviour;
        Character* ally;
        bool answered;
    };
    // No record sets a distress call group: the same type means both empty.
    const Case cases[] = {
        {"RespondToAll", stranger, true},        {"Whoever", kin, true},
        {"RespondToSameType", stranger, true},   {"RespondToSameGroup", kin, true},
        {"RespondToSameGroup", stranger, false},
    };
    for (const Case& c : cases) {
        for (const bool inCall : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.behaviour << (c.ally == kin ? " kin" : " stranger")
                                            << (inCall ? " in call" : " by id"));
            MakeController(std::string(R"({"Class": "ControllerMonster", "AllyAttackedAnger": 40,
                "DistressResponseBehavior": ")") +
                           c.behaviour + "\"}");
            const DistressCall call{
                c.ally->GetObjectId(), c.ally, attacker->GetObjectId(), attacker, 0, kept};
            {
                std::optional<DistressCall::Scope> scope;
                if (inCall)
                    scope.emplace(call);
                controller->AllyAttacked(call.allyId, call.attackerId);
            }
            EXPECT_EQ(AngerOf(attacker), c.answered ? 40.0f : 0.0f);
            ASSERT_EQ(Idle().allyAttacks.size(), c.answered ? 1u : 0u);
            if (c.answered) {
                EXPECT_EQ(Idle().allyAttacks[0].first, c.ally->GetObjectId());
            }
        }
    }
    // A controller whose character is gone answers no one, whatever it answers.
    MakeController(R"({"Class": "ControllerMonster", "AllyAttackedAnger": 40})");
    controller->AttachParent(0);
    controller->AllyAttacked(kin->GetObjectId(), attacker->GetObjectId());
    EXPECT_TRUE(Idle().allyAttacks.empty());
}

}  // namespace
}  // namespace GAME::test
