#include "Game/items/loot/GoldGenerator.h"

#include <algorithm>
#include <cstring>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/core/GameEngine.h"
#include "Game/items/ItemReplicaInfo.h"
#include "Game/rules/formulas/DesignerEquation_Algebra.h"

namespace GAME {

GoldGenerator::GoldGenerator() = default;
GoldGenerator::~GoldGenerator() = default;

bool GoldGenerator::GetDesignerVariable(const char* name, float& value) {
    value = 0.0f;
    const struct {
        const char* name;
        float value;
    } variables[] = {
        {"averagePlayerLevel", static_cast<float>(playerInfo.averageLevel)},
        {"minPlayerLevel", static_cast<float>(playerInfo.minLevel)},
        {"maxPlayerLevel", static_cast<float>(playerInfo.maxLevel)},
        {"numberOfPlayers", static_cast<float>(playerInfo.numPlayers)},
        {"gameDifficulty", static_cast<float>(playerInfo.gameDifficulty)},
        {"currentPlayerLevel", static_cast<float>(currentPlayerLevel)},
        {"generatorLevel", static_cast<float>(generatorLevel)},
    };
    for (const auto& variable : variables)
        if (std::strcmp(name, variable.name) == 0) {
            value = variable.value;
            return true;
        }
    return false;
}

namespace {
std::unique_ptr<DesignerEquation<float>> LoadAmountEquation(const LoadTable& record,
                                                            const char* field,
                                                            EquationInterface<float>* owner) {
    const std::string text = record.GetString(field);
    if (text.empty())
        return nullptr;
    auto equation = std::make_unique<DesignerEquation_Algebra>();
    if (equation->ParseEquation(text.c_str(), owner, field))
        return equation;
    gEngine->Log(1, "-=- GoldGenerator Equation load failure : %s ", field);
    return nullptr;
}

bool Refuse(const std::string& record, const char* reason, const char* key, int value,
            int other = 0) {
    gEngine->Log(1, reason, record.c_str(), key, value, other);
    return false;
}
}  // namespace

bool GoldGenerator::LoadFromDatabase(const std::string& recordName) {
    loaded = false;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(recordName);
    const LoadTable record = objects.GetLoadTable(recordName);
    const int valueMin = record.GetInt("goldValueMin", 0);
    const int valueMax = record.GetInt("goldValueMax", 0);
    const int splitMin = record.GetInt("goldSplitMin", 0);
    const int splitMax = record.GetInt("goldSplitMax", 0);
    const int splitSizeMin = record.GetInt("goldSplitSizeMin", 0);
    const struct {
        const char* key;
        int value;
    } bounds[] = {{"goldValueMin", valueMin},
                  {"goldValueMax", valueMax},
                  {"goldSplitMin", splitMin},
                  {"goldSplitMax", splitMax},
                  {"goldSplitSizeMin", splitSizeMin}};
    for (const auto& bound : bounds)
        if (bound.value < 0)
            return Refuse(recordName, "GoldGenerator: %s refused: %s is negative (%d)", bound.key,
                          bound.value);
    if (valueMin > valueMax)
        return Refuse(recordName, "GoldGenerator: %s refused: %s (%d) is above goldValueMax (%d)",
                      "goldValueMin", valueMin, valueMax);
    if (splitMin > splitMax)
        return Refuse(recordName, "GoldGenerator: %s refused: %s (%d) is above goldSplitMax (%d)",
                      "goldSplitMin", splitMin, splitMax);
    goldAmountEquation = LoadAmountEquation(record, "goldAmountEquation", this);
    goldAmountEquation2 = LoadAmountEquation(record, "goldAmountEquation2", this);
    goldValueMin = valueMin;
    goldValueMax = valueMax;
    goldSplitMin = splitMin;
    goldSplitMax = splitMax;
    goldSplitSizeMin = splitSizeMin;
    record.GetStringArray("goldActors", goldActors);
    loaded = true;
    return true;
}

void GoldGenerator::RunGenerator(std::vector<ItemReplicaInfo>& piles) {
    if (!loaded || !gGameEngine)
        return;
    RandomUniform& random = gGameEngine->GetRandomGen();
    if (chance > 0.0f && random.FGenerate(0.0f, 100.0f) > chance)
        return;
    gGameEngine->GetPlayerInfo(playerInfo);
    const int first = goldAmountEquation ? static_cast<int>((*goldAmountEquation)() + 0.5f) : 0;
    const int second =
        goldAmountEquation2 ? static_cast<int>((*goldAmountEquation2)() + 0.5f) : first;
    const int a = std::clamp(first, goldValueMin, goldValueMax);
    const int b = std::clamp(second, goldValueMin, goldValueMax);
    const int total = random.IGenerate(std::min(a, b), std::max(a, b));
    amounts.clear();
    SplitGold(total, amounts, random);
    for (int amount : amounts) {
        const std::string& name = GetGoldActor(random);
        if (name.empty()) {
            gEngine->Log(1, "GoldGenerator:  Unable to resolve gold actor name");
            continue;
        }
        ItemReplicaInfo pile;
        pile.baseName = name;
        pile.relicLevel = static_cast<std::uint32_t>(amount);
        piles.push_back(std::move(pile));
    }
}

void GoldGenerator::SplitGold(int total, std::vector<int>& amounts, RandomUniform& random) const {
    const int pieces = random.IGenerate(goldSplitMin, goldSplitMax);
    int remaining = total;
    if (pieces - 1 < 1) {
        if (remaining >= 1)
            amounts.push_back(remaining);
        return;
    }
    for (int i = 0; i < pieces - 1 && remaining >= 1; ++i) {
        int piece = remaining;
        if (static_cast<std::uint32_t>(remaining) >
            2u * static_cast<std::uint32_t>(goldSplitSizeMin))
            piece = random.IGenerate(goldSplitSizeMin, remaining - goldSplitSizeMin);
        remaining -= piece;
        amounts.push_back(piece);
    }
    if (remaining >= 1)
        amounts.push_back(remaining);
}

void GoldGenerator::ResetRun() {
    chance = 100.0f;
    playerInfo = PlayerInfo();
    currentPlayerLevel = 0;
    generatorLevel = 0;
    monsterExperience = 0;
}

const std::string& GoldGenerator::GetGoldActor(RandomUniform& random) const {
    static const std::string none;
    if (goldActors.empty())
        return none;
    const int last = static_cast<int>(goldActors.size()) - 1;
    const int index = std::clamp(random.IGenerate(0, last), 0, last);
    return goldActors[static_cast<std::size_t>(index)];
}

}  // namespace GAME
