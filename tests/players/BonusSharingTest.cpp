#include <gtest/gtest.h>

#include "Game/core/players/PartyManager.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/PlayerManagerServer.h"
#include "PlayersTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kMonster = 0x4000;

Bonus Reward(std::uint32_t experience, std::uint32_t gold) {
    Bonus bonus;
    bonus.experience = experience;
    bonus.gold = gold;
    bonus.skillPoints = 1;
    bonus.sourceId = kMonster;
    return bonus;
}

// A single-player game (the sharing runs on this machine and the shares come back to its
// players) whose lists also hold players of other hosts.
class BonusSharingTest : public ::testing::Test {
protected:
    explicit BonusSharingTest(const char* records = "Sharing") : tm(PlayersDir(records)) {}

    void SetUpPlayers() {
        gGameEngine->GetPlayerManagerClient()->SetMainPlayer(killer->GetObjectId());
        for (Player* player : {near, far, stranger})
            gGameEngine->GetPlayerManagerServer()->HandleNewPlayer(InfoOf(*player));
        // killer leads a party with near and far; stranger is in none.
        for (Player* player : {killer, near, far})
            gGameEngine->AddPlayerToParty(player->GetObjectId(),
                                          static_cast<int>(killer->GetObjectId()));
    }
    void Share(const Bonus& bonus) {
        gGameEngine->GetPlayerManagerServer()->HandleBonus(bonus, WorldVec3(nullptr, {}),
                                                           killer->GetObjectId());
    }

    TestMachine tm;
    RunningGame game;
    Player* killer = MakePlayer(PlayerId(0, 0x30), L"Killer", 10, {0, 0, 0});
    Player* near = MakePlayer(PlayerId(1, 1), L"Near", 10, {24.9f, 0, 0});
    Player* far = MakePlayer(PlayerId(2, 1), L"Far", 10, {0, 0, 25.0f});
    Player* stranger = MakePlayer(PlayerId(3, 1), L"Stranger", 10, {0, 10, 0});
};

TEST_F(BonusSharingTest, PartyMembersInsideTheRadiusShareAndOthersDoNot) {
    SetUpPlayers();
    gGameEngine->RegisterDamage(kMonster, killer->GetObjectId(), 60.0f);
    gGameEngine->RegisterDamage(kMonster, near->GetObjectId(), 30.0f);
    gGameEngine->RegisterDamage(kMonster, stranger->GetObjectId(), 10.0f);

    Share(Reward(1000, 90));

    // Far, exactly 25 away, still counts among the members near the kill (not above the
    // radius) but takes no share (not below it): active 1000/3 = 333, passive 333*0.5 = 166,
    // each times the 90% of the damage the party dealt. The stranger shares by his own 10% in
    // a party of one.
    EXPECT_EQ(killer->GetExperiencePoints(), 299u);
    EXPECT_EQ(killer->GetMoney(), 90u);
    EXPECT_EQ(near->GetExperiencePoints(), 149u);
    EXPECT_EQ(near->GetMoney(), 0u);
    EXPECT_EQ(far->GetExperiencePoints(), 0u);
    EXPECT_EQ(far->GetSkillPoints(), 0u);
    EXPECT_EQ(stranger->GetExperiencePoints(), 50u);
    // Other fields travel unchanged to everyone inside the radius.
    EXPECT_EQ(near->GetSkillPoints(), 1u);
    EXPECT_EQ(stranger->GetSkillPoints(), 1u);
}

TEST_F(BonusSharingTest, OnePlayerGetsTheDamageShareOnly) {
    gGameEngine->GetPlayerManagerClient()->SetMainPlayer(killer->GetObjectId());
    Share(Reward(1000, 90));
    // No damage from him: no experience, but the gold and the rest.
    EXPECT_EQ(killer->GetExperiencePoints(), 0u);
    EXPECT_EQ(killer->GetMoney(), 90u);
    EXPECT_EQ(killer->GetSkillPoints(), 1u);

    gGameEngine->RegisterDamage(kMonster, killer->GetObjectId(), 30.0f);
    gGameEngine->RegisterDamage(kMonster, 0x4001, 70.0f);
    Share(Reward(1000, 0));
    EXPECT_EQ(killer->GetExperiencePoints(), 300u);
}

TEST_F(BonusSharingTest, OnePlayerWhoIsNotLocalGetsNothing) {
    gGameEngine->GetPlayerManagerServer()->HandleNewPlayer(InfoOf(*near));
    gGameEngine->RegisterDamage(kMonster, near->GetObjectId(), 30.0f);
    gGameEngine->GetPlayerManagerServer()->HandleBonus(Reward(100, 5), WorldVec3(),
                                                       near->GetObjectId());
    EXPECT_EQ(near->GetExperiencePoints(), 0u);
    EXPECT_EQ(near->GetMoney(), 0u);
}

class BrokenBonusSharingTest : public BonusSharingTest {
protected:
    BrokenBonusSharingTest() : BonusSharingTest("BrokenSharing") {}
};

// The active formulas failed to load and the passive experience one is absent: the earner keeps
// the unshared amounts, the others get none of the missing ones, and nothing is evaluated.
TEST_F(BrokenBonusSharingTest, MissingFormulasAreNotEvaluated) {
    SetUpPlayers();
    gGameEngine->RegisterDamage(kMonster, killer->GetObjectId(), 100.0f);
    Share(Reward(1000, 90));
    EXPECT_EQ(killer->GetExperiencePoints(), 1000u);
    EXPECT_EQ(killer->GetMoney(), 90u);
    EXPECT_EQ(near->GetExperiencePoints(), 0u);
    EXPECT_EQ(near->GetMoney(), 90u);  // its passive gold formula loaded: amountOfGold*1
    EXPECT_EQ(tm.CountLog("no usable ActiveExperience formula"), 1);
    EXPECT_EQ(tm.CountLog("no usable PassiveExperience formula"), 1);
    Share(Reward(1000, 90));
    EXPECT_EQ(tm.CountLog("no usable ActiveExperience formula"), 1);  // said once
}

class HugeBonusSharingTest : public BonusSharingTest {
protected:
    HugeBonusSharingTest() : BonusSharingTest("HugeSharing") {}
};

// Shares beyond the range of the amounts are capped, negative ones give nothing.
TEST_F(HugeBonusSharingTest, SharesOutsideTheRangeAreCapped) {
    SetUpPlayers();
    gGameEngine->RegisterDamage(kMonster, killer->GetObjectId(), 100.0f);
    Share(Reward(4000000, 90));
    EXPECT_EQ(killer->GetExperiencePoints(), 0xFFFFFFFFu);
    EXPECT_EQ(killer->GetMoney(), Character::kMaxMoney);
    EXPECT_EQ(near->GetExperiencePoints(), 0u);
    EXPECT_EQ(near->GetMoney(), 90u);
    EXPECT_EQ(tm.CountLog("Equation Load Failure"), 0);
}

}  // namespace
}  // namespace GAME::test
