// The game's own formula owners answer by slot exactly what they answer by name, and a formula
// compiled against them (which then asks by slot) gives its tree's value.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/PlayerManagerServer.h"
#include "Game/rules/formulas/DesignerEquation_Algebra.h"
#include "PlayersTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

std::uint32_t Bits(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Every name resolves to a slot of its own that reads the by-name value; near misses and
// slots out of range are refused and leave the value alone.
void ExpectSlotsMatchNames(EquationInterface<float>& owner, const std::vector<std::string>& names) {
    std::set<int> slots;
    for (const std::string& name : names) {
        const int slot = owner.ResolveDesignerVariable(name.c_str());
        ASSERT_GE(slot, 0) << name;
        EXPECT_TRUE(slots.insert(slot).second) << name << " shares slot " << slot;
        float byName = -1.0f;
        float bySlot = -2.0f;
        EXPECT_TRUE(owner.GetDesignerVariable(name.c_str(), byName)) << name;
        EXPECT_TRUE(owner.GetDesignerVariableAt(slot, bySlot)) << name;
        EXPECT_EQ(Bits(byName), Bits(bySlot)) << name;
        EXPECT_EQ(owner.ResolveDesignerVariable((name + "x").c_str()),
                  EquationInterface<float>::kNoSlot);
        EXPECT_EQ(owner.ResolveDesignerVariable(name.substr(0, name.size() - 1).c_str()),
                  EquationInterface<float>::kNoSlot);
    }
    EXPECT_EQ(owner.ResolveDesignerVariable(""), EquationInterface<float>::kNoSlot);
    for (const int bad : {-1, static_cast<int>(names.size()), 1000}) {
        float value = 7.0f;
        EXPECT_FALSE(owner.GetDesignerVariableAt(bad, value)) << bad;
        EXPECT_EQ(value, 7.0f);
    }
}

// A formula over the names (the top level takes no brackets): its program asks by slot, its
// tree by name.
void ExpectFormulaMatchesTree(EquationInterface<float>& owner, const std::string& text) {
    DesignerEquation_Algebra formula;
    ASSERT_TRUE(formula.ParseEquation(text.c_str(), &owner)) << text;
    ASSERT_TRUE(formula.GetProgram().IsCompiled()) << text;
    const float tree = formula.EvaluateTree();
    EXPECT_NE(tree, 0.0f) << text;  // the values are set: a zero would hide a wrong slot
    EXPECT_EQ(Bits(formula()), Bits(tree)) << text;
}

TEST(FormulaOwnerSlots, TheRootsSettingsReadTheSameBySlotAsByName) {
    TestMachine tm;
    RunningGame game;
    GameEngine& root = *gGameEngine;
    GameEngine::FormulaVariables& v = root.GetFormulaVariables();
    // Distinct values, so that a slot reading the wrong field shows.
    v.averagePlayerLevel = 11;
    v.minPlayerLevel = 3;
    v.maxPlayerLevel = 29;
    v.numberOfPlayers = 4;
    v.gameDifficulty = 2;
    v.monsterLevel = 17;
    v.monsterExperience = 350;
    v.currentPlayerLevel = 13;
    ExpectSlotsMatchNames(
        root, {"averagePlayerLevel", "minPlayerLevel", "maxPlayerLevel", "numberOfPlayers",
               "gameDifficultyDV", "monsterLevel", "monsterExperience", "currentPlayerLevel"});
    ExpectFormulaMatchesTree(
        root,
        "(((averagePlayerLevel-minPlayerLevel)*maxPlayerLevel)/numberOfPlayers)+"
        "((gameDifficultyDV^monsterLevel)-(monsterExperience/currentPlayerLevel))");
    EXPECT_EQ(tm.CountLog("not found in parent"), 0);
}

TEST(FormulaOwnerSlots, TheBonusSharingVariablesReadTheSameBySlotAsByName) {
    TestMachine tm(TestMachine::TestDataDir() + "/Records/Players/Sharing");
    RunningGame game;
    Player* killer = MakePlayer(PlayerId(0, 0x30), L"Killer", 10, {0, 0, 0});
    Player* near = MakePlayer(PlayerId(1, 1), L"Near", 10, {5, 0, 0});
    gGameEngine->GetPlayerManagerClient()->SetMainPlayer(killer->GetObjectId());
    PlayerManagerServer& server = *gGameEngine->GetPlayerManagerServer();
    for (Player* player : {killer, near})
        server.HandleNewPlayer(InfoOf(*player));
    // The sharing leaves the last share's gold, experience and party count in the variables.
    Bonus bonus;
    bonus.experience = 1000;
    bonus.gold = 90;
    bonus.sourceId = 0x4000;
    server.HandleBonus(bonus, WorldVec3(nullptr, {}), killer->GetObjectId());
    ExpectSlotsMatchNames(server,
                          {"amountOfGold", "amountOfExperience", "evaluatingPartyMemberCount"});
    ExpectFormulaMatchesTree(server,
                             "(amountOfGold*amountOfExperience)/evaluatingPartyMemberCount");
}

}  // namespace
}  // namespace GAME::test
