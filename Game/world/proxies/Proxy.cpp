// A spawn proxy's record, formulas and pools (what Load does on the loader thread).
#include "Game/world/proxies/Proxy.h"

#include <cstring>

#include "Engine/Engine.h"
#include "Engine/media/EditorFilter.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/formulas/DesignerEquation_Algebra.h"
#include "Game/world/proxies/ProxyAccessoryPool.h"
#include "Game/world/proxies/ProxyPool.h"

namespace GAME {

RTTI_IMPLEMENT(Proxy, Actor)

namespace {

int Truncate(float value) {
    return static_cast<int>(value);
}

}  // namespace

LoadTable LoadProxyRecord(const std::string& name) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(name);
    return objects.GetLoadTable(name);
}

Proxy::Proxy() = default;

Proxy::~Proxy() {
    if (gEngine->IsEditor())
        EditorFilter::Get().RemoveFilterObject(GetObjectId());
}

std::unique_ptr<DesignerEquation<float>> Proxy::ParseFormula(const std::string& text,
                                                             const char* key) {
    if (text.empty())
        return nullptr;
    auto formula = std::make_unique<DesignerEquation_Algebra>();
    if (!formula->ParseEquation(text.c_str(), this, key)) {
        gEngine->Log(1, "-=- Proxy Equation load failure : %s ", key);
        return nullptr;
    }
    return formula;
}

void Proxy::Load(const LoadTable& record) {
    CriticalSectionLock lock(mLock);
    Actor::Load(record);
    if (gEngine->IsEditor() || !gGameEngine)
        return;
    gGameEngine->GetPlayerInfo(mPlayerInfo);
    mPlacementExtents = record.GetFloat("placementExtents", 2.5f);
    mChanceToRun = record.GetFloat("chanceToRun", 0.0f);
    // An empty name would only ask the records for a table of defaults (and log it).
    if (const std::string file = record.GetString("difficultyEquationFile"); !file.empty()) {
        const LoadTable formulas = LoadProxyRecord(file);
        mDifficultyEquation =
            ParseFormula(formulas.GetString("difficultyEquation"), "difficultyEquation");
        mCharacterDifficultyEquation = ParseFormula(
            formulas.GetString("characterDifficultyEquation"), "characterDifficultyEquation");
        mChampionDifficultyEquation = ParseFormula(formulas.GetString("championDifficultyEquation"),
                                                   "championDifficultyEquation");
    }
    mLimitsFile = record.GetString("difficultyLimitsFile");
    SetDesignerLimits();
    // A proxy whose saved state came first has run already: it makes nothing to throw away.
    if (!mRestored)
        InitializePools(record);
}

void Proxy::SetDesignerLimits() {
    unsigned int minimum = 0, maximum = 0;
    // The limit formulas read "averagePlayerLevel": the players' own, before the limits.
    mLimitedAverageLevel = mPlayerInfo.averageLevel;
    if (mLimitsFile.empty()) {
        gEngine->Log(2, "Proxy: No Limits equation file specified (%s)", GetObjectName().c_str());
    } else {
        const LoadTable limits = LoadProxyRecord(mLimitsFile);
        const char* minKey = "minPlayerLevelEquationNormal";
        const char* maxKey = "maxPlayerLevelEquationNormal";
        if (mPlayerInfo.gameDifficulty == 2) {
            minKey = "minPlayerLevelEquationLegendary";
            maxKey = "maxPlayerLevelEquationLegendary";
        } else if (mPlayerInfo.gameDifficulty == 1) {
            minKey = "minPlayerLevelEquationEpic";
            maxKey = "maxPlayerLevelEquationEpic";
        }
        const struct {
            const char* key;
            const char* label;
            unsigned int& out;
        } sides[] = {{minKey, "minPlayerLevel", minimum}, {maxKey, "maxPlayerLevel", maximum}};
        for (const auto& side : sides) {
            const std::string text = limits.GetString(side.key);
            if (text.empty()) {
                gEngine->Log(2, "-=- Proxy Warning: missing equation for %s (%s) ", side.label,
                             text.c_str());
                continue;
            }
            DesignerEquation_Algebra formula;
            if (!formula.ParseEquation(text.c_str(), this, side.key)) {
                gEngine->Log(1, "-=- Proxy Limit Equation load failure : %s (%s) ", side.label,
                             text.c_str());
                continue;
            }
            const int value = Truncate(formula());
            side.out = value < 0 ? 0u : static_cast<unsigned int>(value);
        }
    }
    if (minimum != 0 && mLimitedAverageLevel < minimum)
        mLimitedAverageLevel = minimum;
    else if (maximum != 0 && mLimitedAverageLevel > maximum)
        mLimitedAverageLevel = maximum;
}

void Proxy::LoadPoolSelection(const LoadTable& record, const char* poolKey, const char* weightKey,
                              std::vector<ProxySelection>& out) const {
    for (int i = 1; i <= 6; ++i) {
        const std::string number = std::to_string(i);
        ProxySelection selection;
        selection.name = record.GetString((poolKey + number).c_str());
        if (selection.name.empty())
            continue;
        const int weight = record.GetInt((weightKey + number).c_str(), 0);
        if (weight < 0)
            gEngine->Log(1, "Proxy %s: \"%s%s\" is below 0; taken as 0", GetObjectName().c_str(),
                         weightKey, number.c_str());
        selection.weight = weight < 0 ? 0u : static_cast<std::uint32_t>(weight);
        out.push_back(std::move(selection));
    }
}

unsigned int Proxy::SelectPool(const std::vector<ProxySelection>* list) const {
    if (!list || list->empty())
        return 0;
    std::uint32_t total = 0;
    for (const ProxySelection& selection : *list)
        total += selection.weight;
    const auto r = static_cast<std::uint32_t>(
        gGameEngine->GetRandomGen().IGenerate(0, static_cast<int>(total)));
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < list->size(); ++i) {
        sum += (*list)[i].weight;
        if (sum >= r)
            return static_cast<unsigned int>(i);
    }
    return 0;
}

std::string Proxy::GetPoolName(const std::vector<ProxySelection>* list, unsigned int index) const {
    return list && index < list->size() ? (*list)[index].name : std::string();
}

void Proxy::InitializePools(const LoadTable& record) {
    const ProxyType type = gGameEngine->GetProxyType(this);
    if (type == ProxyType_Unique && !gGameEngine->IsUniqueProxySelected(this))
        return;
    const std::uint32_t difficulty = mPlayerInfo.gameDifficulty;
    std::vector<ProxySelection> list;
    if (difficulty == 2)
        LoadPoolSelection(record, "poolLegendary", "weightLegendary", list);
    if (difficulty != 2 || list.empty()) {
        if (difficulty == 1 || difficulty == 2)
            LoadPoolSelection(record, "poolEpic", "weightEpic", list);
        if (list.empty())
            LoadPoolSelection(record, "pool", "weight", list);
    }
    std::string accessory;
    if (difficulty == 2)
        accessory = record.GetString("accessoryLegendary1");
    if (accessory.empty() && (difficulty == 1 || difficulty == 2))
        accessory = record.GetString("accessoryEpic1");
    if (accessory.empty())
        accessory = record.GetString("accessory1");

    int budget = 0;
    if (mDifficultyEquation) {
        float value = (*mDifficultyEquation)();
        const float modifier =
            gGameEngine->GetDatabase().GetArrayFloat("difficultyModifier", difficulty, 0.0f);
        if (modifier > 0)
            value = modifier * 0.01f * value;
        budget = Truncate(value + 0.5f);
    }

    unsigned int index = 0;
    if (type != ProxyType_Unified) {
        index = SelectPool(&list);
    } else if (!gGameEngine->GetUnifiedProxyPool(this, index)) {
        index = SelectPool(&list);
        gGameEngine->SetUnifiedProxyPool(this, index);
    }
    const std::string poolName = GetPoolName(&list, index);

    if (!accessory.empty()) {
        mAccessoryPool = std::make_unique<ProxyAccessoryPool>();
        mAccessoryPool->SetParent(this);
        mAccessoryPool->LoadFromFile(accessory);
        mAccessoryPool->RunPool(budget);
    }
    if (!poolName.empty()) {
        mMainPool = std::make_unique<ProxyPool>();
        mMainPool->SetParent(this);
        mMainPool->LoadFromFile(poolName);
        mMainPool->RunPool(budget);
    }
}

void Proxy::PreLoad(bool now) {
    Actor::PreLoad(now);
    if (mMainPool)
        mMainPool->PreLoad(now);
    if (mAccessoryPool)
        mAccessoryPool->PreLoad(now);
}

void Proxy::GetPrimaryObjects(std::vector<std::uint32_t>& out) {
    if (mMainPool)
        out = mMainPool->GetObjects();
}

void Proxy::GetAccessoryObjects(std::vector<std::uint32_t>& out) {
    if (mAccessoryPool)
        out = mAccessoryPool->GetObjects();
}

int Proxy::RunEquation(const std::string& formula, int value) {
    mPoolValue = value;
    if (formula.empty()) {
        gEngine->Log(2, "-=- Proxy RunEquation: missing equation for poolValue ");
        return value;
    }
    DesignerEquation_Algebra equation;
    if (!equation.ParseEquation(formula.c_str(), this, "poolValue")) {
        gEngine->Log(1, "-=- Proxy RunEquation load failure : poolValue (%s) ", formula.c_str());
        return value;
    }
    return Truncate(equation());
}

int Proxy::CalculateCharacterDifficulty(const LoadTable& monsterRecord,
                                        unsigned int entryDifficulty) const {
    const int level = monsterRecord.GetArrayInt("charLevel", mPlayerInfo.gameDifficulty, 0);
    mCharacterLevel = level < 0 ? 0u : static_cast<unsigned int>(level);
    mEntryDifficulty = entryDifficulty;
    const int own = static_cast<int>(entryDifficulty);
    if (!mCharacterDifficultyEquation)
        return own;
    const int priced = Truncate((*mCharacterDifficultyEquation)() + 0.5f);
    return priced > own ? priced : own;
}

int Proxy::CalculateChampionDifficulty(unsigned int available) const {
    mAvailableChampionDifficulty = available;
    if (!mChampionDifficultyEquation)
        return static_cast<int>(available);
    float value = (*mChampionDifficultyEquation)();
    const float modifier = gGameEngine->GetDatabase().GetArrayFloat(
        "championDifficultyModifier", mPlayerInfo.gameDifficulty, 0.0f);
    if (modifier > 0)
        value = modifier * 0.01f * value;
    const int share = Truncate(value + 0.5f);
    if (share < 0)
        return 0;
    return static_cast<unsigned int>(share) > available ? static_cast<int>(available) : share;
}

bool Proxy::GetDesignerVariable(const char* name, float& value) {
    const struct {
        const char* name;
        float value;
    } variables[] = {
        {"averagePlayerLevel", static_cast<float>(mLimitedAverageLevel)},
        {"minPlayerLevel", static_cast<float>(mPlayerInfo.minLevel)},
        {"maxPlayerLevel", static_cast<float>(mPlayerInfo.maxLevel)},
        {"numberOfPlayers", static_cast<float>(mPlayerInfo.numPlayers)},
        {"gameDifficulty", static_cast<float>(mPlayerInfo.gameDifficulty)},
        {"characterLevel", static_cast<float>(mCharacterLevel)},
        {"entryDifficulty", static_cast<float>(mEntryDifficulty)},
        {"poolValue", static_cast<float>(mPoolValue)},
        {"availableChampionDifficulty", static_cast<float>(mAvailableChampionDifficulty)},
    };
    for (const auto& variable : variables)
        if (std::strcmp(name, variable.name) == 0) {
            value = variable.value;
            return true;
        }
    value = 0;
    return false;
}

}  // namespace GAME
