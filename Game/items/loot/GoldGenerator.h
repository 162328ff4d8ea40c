#pragma once
// How much gold a slain monster or an opened container drops, and in how many piles: one item
// record per pile, naming a gold pickup record and carrying the pile's amount in its relic
// level. It draws from the root's drop generator, so piles are decided on the machine that runs
// it and travel as item records.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Game/core/players/PlayerInfo.h"
#include "Game/rules/formulas/EquationInterface.h"

namespace GAME {

template <class T>
class DesignerEquation;
struct ItemReplicaInfo;
class RandomUniform;

class GoldGenerator : public EquationInterface<float> {
public:
    GoldGenerator();
    ~GoldGenerator() override;
    GoldGenerator(const GoldGenerator&) = delete;
    GoldGenerator& operator=(const GoldGenerator&) = delete;

    bool GetDesignerVariable(const char* name, float& value) override;

    // False (logged with the record and key, nothing kept) for a record with a negative bound or
    // a minimum above its maximum: such a generator produces no gold.
    bool LoadFromDatabase(const std::string& recordName);
    void SetChance(float percent) { chance = percent; }
    void SetPlayerLevel(float level) { currentPlayerLevel = static_cast<int>(level); }
    void SetGeneratorLevel(float level) { generatorLevel = static_cast<int>(level); }
    void SetMonsterExperience(float experience) {
        monsterExperience = static_cast<int>(experience);
    }
    // Appends one record per pile.
    void RunGenerator(std::vector<ItemReplicaInfo>& piles);
    // Back to the state the load left: no chance, levels or players of an earlier run.
    void ResetRun();

    // Splits a total into at most the drawn number of piles (exposed for tests).
    void SplitGold(int total, std::vector<int>& amounts, RandomUniform& random) const;

private:
    // The empty name when the record names no gold actor.
    const std::string& GetGoldActor(RandomUniform& random) const;

    float chance = 100.0f;
    PlayerInfo playerInfo;
    int currentPlayerLevel = 0;
    int generatorLevel = 0;
    int monsterExperience = 0;
    std::unique_ptr<DesignerEquation<float>> goldAmountEquation;
    std::unique_ptr<DesignerEquation<float>> goldAmountEquation2;
    int goldValueMin = 0;
    int goldValueMax = 0;
    int goldSplitMin = 0;
    int goldSplitMax = 0;
    int goldSplitSizeMin = 0;
    std::vector<std::string> goldActors;
    bool loaded = false;
    std::vector<int> amounts;  // a run's piles, kept for the next run
};

}  // namespace GAME
