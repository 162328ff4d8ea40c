#include "Game/world/fixeditems/FixedItemController.h"

#include <cstring>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/core/net/packets/FixedItemPackets.h"
#include "Game/rules/formulas/DesignerEquation_Algebra.h"
#include "Game/world/fixeditems/FixedItem.h"
#include "Game/world/fixeditems/FixedItemSkill.h"

namespace GAME {

FixedItemController::FixedItemController() = default;
FixedItemController::~FixedItemController() = default;

bool FixedItemController::GetDesignerVariable(const char* name, float& value) {
    struct Variable {
        const char* name;
        std::uint32_t value;
    };
    const Variable variables[] = {
        {"averagePlayerLevel", mPlayerInfo.averageLevel},
        {"minPlayerLevel", mPlayerInfo.minLevel},
        {"maxPlayerLevel", mPlayerInfo.maxLevel},
        {"numberOfPlayers", mPlayerInfo.numPlayers},
        {"gameDifficulty", mPlayerInfo.gameDifficulty},
        {"proxyLevel", mParent ? mParent->GetProxyLevel() : 0u},
    };
    for (const Variable& variable : variables)
        if (std::strcmp(name, variable.name) == 0) {
            value = static_cast<float>(variable.value);
            return true;
        }
    return false;
}

FixedItemController::Formula FixedItemController::ParseFormula(const std::string& text,
                                                               const char* failure) {
    if (text.empty())
        return nullptr;
    auto formula = std::make_unique<DesignerEquation_Algebra>();
    if (formula->ParseEquation(text.c_str(), this, failure))
        return formula;
    gEngine->Log(1, "-=- Fixed Item Controller Equation load failure : %s (%s)", failure,
                 mRecordName.c_str());
    return nullptr;
}

void FixedItemController::LoadFromDatabase(const std::string& record) {
    mRecordName = record;
    // The formulas are parsed here, once; a drop only evaluates them.
    mLevelFormula.reset();
    mCountFormulas.clear();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const LoadTable table = objects.GetLoadTable(record);
    if (!table.IsValid())
        return;
    if (const std::string file = table.GetString("levelEquationFile"); !file.empty()) {
        const LoadTable levelRecord = objects.GetLoadTable(file);
        if (levelRecord.IsValid())
            mLevelFormula = ParseFormula(levelRecord.GetString("levelEquation"), "levelEquation");
    }
    std::vector<std::string> tables;
    table.GetStringArray("tables", tables);
    for (const std::string& name : tables) {
        if (FindCountFormulas(name))
            continue;
        const LoadTable loot = objects.GetLoadTable(name);
        CountFormulas& entry = mCountFormulas.emplace_back();
        entry.record = name;
        if (!loot.IsValid())
            continue;
        const std::string min = loot.GetString("numSpawnMinEquation");
        const std::string max = loot.GetString("numSpawnMaxEquation");
        entry.hasFormula = !min.empty() || !max.empty();
        entry.min = ParseFormula(min, "minEquation");
        entry.max = ParseFormula(max, "maxEquation");
    }
}

const FixedItemController::CountFormulas* FixedItemController::FindCountFormulas(
    const std::string& record) const {
    for (const CountFormulas& entry : mCountFormulas)
        if (entry.record == record)
            return &entry;
    return nullptr;
}

void FixedItemController::HasBeenTouchedByActor(unsigned int user) {
    mToucherId = user;
    TouchedByActor();
}

void FixedItemController::RunSkill() {
    if (mParent && mParent->GetSkill())
        mSkillTimer = mParent->GetSkillDelay();
}

void FixedItemController::Update(int ms) {
    if (mSkillTimer <= 0 || !mParent)
        return;
    mSkillTimer -= ms;
    if (mSkillTimer >= 1)
        return;
    mSkillTimer = 0;
    // The targets are found here alone; every machine then runs the skill's result with them.
    mTargets.clear();
    if (FixedItemSkill* skill = mParent->GetSkill())
        skill->GetTargets(mToucherId, mTargets);
    mParent->Enqueue(std::make_unique<FixedItemSkillTargetConfigCmd>(mParent->GetObjectId(),
                                                                     mToucherId, mTargets));
}

void FixedItemController::CalculateFixedItemLevel() {
    mFixedItemLevel = 0;
    if (!mLevelFormula)
        return;
    const float value = (*mLevelFormula)();
    mFixedItemLevel = value > 0.0f ? static_cast<unsigned int>(value) : 0u;
}

std::string FixedItemController::PickLootRecord(const std::vector<std::string>& tables,
                                                unsigned int level) {
    if (tables.empty())
        return {};
    return tables[std::min<std::size_t>(level, tables.size() - 1)];
}

unsigned int FixedItemController::WeightedCount(const std::vector<int>& weights, int roll) {
    long long sum = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        sum += weights[i];
        if (sum >= roll)
            return static_cast<unsigned int>(i);
    }
    return 0;
}

}  // namespace GAME
