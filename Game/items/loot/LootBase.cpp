#include "Game/items/loot/LootBase.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/LogRecorder.h"
#include "Game/items/loot/LootItemTableRandomizer.h"
#include "Game/items/loot/LootRecordCache.h"

namespace GAME {

RTTI_IMPLEMENT(LootBase, Object)

std::unique_ptr<LootBase> LootBase::Create(const std::string& recordName) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (recordName.empty() || !objects.LoadTableFile(recordName))
        return nullptr;
    const LoadTable record = objects.GetLoadTable(recordName);
    const std::string className = record.GetString("Class");
    void* raw = className.empty() ? nullptr : classInfo.CreateByName(className.c_str());
    if (!raw)
        return nullptr;
    std::unique_ptr<LootBase> table(static_cast<LootBase*>(static_cast<Object*>(raw)));
    table->SetObjectName(recordName);
    table->Load(record);
    return table;
}

LootBase::Lent LootBase::Borrow(const std::string& recordName) {
    bool isTable = false;
    std::unique_ptr<LootBase> table = LootRecordCache::Get().TakeTable(recordName, isTable);
    if (!isTable)
        return Lent();
    if (!table) {
        // What its load logs was logged again as the record's kept table was asked for.
        LogRecorder quiet(false);
        return Lent(Create(recordName));
    }
    table->ResetDrawState();
    return Lent(std::move(table));
}

LootBase::Lent::~Lent() {
    if (mTable)
        LootRecordCache::Get().GiveBackTable(std::move(mTable));
}

void LootBase::ResetDrawState() {
    noBrokenItems = false;
    weightModifiers = {};
}

void LootBase::DrawRandomizerNames(std::string& prefix, std::string& suffix, RandomUniform& random,
                                   bool overrideTest) const {
    LootItemTableRandomizer randomizer;
    randomizer.LoadFromDatabase(GetObjectName());
    if (overrideTest) {
        randomizer.OverrideWeightsAndChance();
    } else {
        randomizer.SetWeightModifiers(weightModifiers);
        if (noBrokenItems)
            randomizer.SetNoBrokenItems();
    }
    randomizer.GetRandomizerNames(prefix, suffix, random);
}

}  // namespace GAME
