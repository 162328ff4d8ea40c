#include "Game/world/proxies/ProxyPool.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/core/GameEngine.h"
#include "Game/world/proxies/Proxy.h"

namespace GAME {

namespace {

using NameSets = std::vector<ProxyPool::ProxySelectionNameSet>;

NameSets MakeNameSets(const char* suffix) {
    NameSets sets(ProxyPool::kEntryCount);
    for (unsigned int i = 0; i < ProxyPool::kEntryCount; ++i) {
        const std::string tail = suffix + std::to_string(i + 1);
        sets[i] = {"name" + tail,       "weight" + tail,
                   "difficulty" + tail, "difficultyCutoff" + tail,
                   "limit" + tail,      "alwaysSpawn" + tail};
    }
    return sets;
}

// Filled on first use (from whichever thread loads first) and never changed.
const NameSets& OrdinaryNames() {
    static const NameSets sets = MakeNameSets("");
    return sets;
}

const NameSets& ChampionNames() {
    static const NameSets sets = MakeNameSets("Champion");
    return sets;
}

}  // namespace

ProxyPool::~ProxyPool() {
    RemoveObjectsNotPlaced();
}

int ProxyPool::ReadCount(const LoadTable& record, const char* key) const {
    const int value = record.GetInt(key, 0);
    if (value >= 0)
        return value;
    gEngine->Log(1, "Proxy Pool (%s): \"%s\" is %d, below 0; taken as 0", mFileName.c_str(), key,
                 value);
    return 0;
}

void ProxyPool::LoadFromFile(const std::string& name) {
    OrdinaryNames();
    ChampionNames();
    mFileName = name;
    if (name.empty())
        return;
    const LoadTable record = LoadProxyRecord(name);
    mSpawnMin = ReadCount(record, "spawnMin");
    mSpawnMax = ReadCount(record, "spawnMax");
    mChampionMin = ReadCount(record, "championMin");
    mChampionMax = ReadCount(record, "championMax");
    mChampionChance = record.GetFloat("championChance", 0.0f);
    LoadSelection(mEntries, record, OrdinaryNames().data(), kEntryCount,
                  static_cast<unsigned int>(mSpawnMax));
    LoadSelection(mChampionEntries, record, ChampionNames().data(), kEntryCount,
                  static_cast<unsigned int>(mChampionMax));
    if (const std::string formulas = record.GetString("proxyPoolEquation"); !formulas.empty()) {
        const LoadTable equations = LoadProxyRecord(formulas);
        mSpawnMinEquation = equations.GetString("spawnMinEquation");
        mSpawnMaxEquation = equations.GetString("spawnMaxEquation");
        mChampionMinEquation = equations.GetString("championMinEquation");
        mChampionMaxEquation = equations.GetString("championMaxEquation");
    }
}

void ProxyPool::LoadSelection(std::vector<ProxyPoolEntry>& entries, const LoadTable& record,
                              const ProxySelectionNameSet* names, unsigned int count,
                              unsigned int defaultLimit) {
    for (unsigned int i = 0; i < count; ++i) {
        const ProxySelectionNameSet& keys = names[i];
        ProxyPoolEntry entry;
        entry.name = record.GetString(keys.name.c_str());
        if (entry.name.empty())
            continue;
        const int difficulty = ReadCount(record, keys.difficulty.c_str());
        entry.difficultyCutoff = record.GetInt(keys.difficultyCutoff.c_str(), 0);
        entry.weight = static_cast<std::uint32_t>(ReadCount(record, keys.weight.c_str()));
        entry.alwaysSpawn = record.GetBool(keys.alwaysSpawn.c_str(), false);
        entry.limit = record.GetInt(keys.limit.c_str(), 0);
        if (entry.limit == 0)
            entry.limit = static_cast<std::int32_t>(defaultLimit);
        const LoadTable monster = LoadProxyRecord(entry.name);
        entry.difficulty = mParent ? mParent->CalculateCharacterDifficulty(
                                         monster, static_cast<unsigned int>(difficulty))
                                   : difficulty;
        const MonsterClassification kind = GameEngine::ResolveMonsterClassificationEnum(
            monster.GetString("monsterClassification"));
        if (kind == MonsterClassification_Hero || kind == MonsterClassification_Boss) {
            if (gGameEngine && gGameEngine->IsProxyHeroBossInGame(entry.name))
                entry.limit = 0;
            else
                entry.heroOrBoss = true;
        }
        entries.push_back(std::move(entry));
    }
}

bool ProxyPool::IsAvailable(const int& budget, const ProxyPoolEntry& entry) const {
    return entry.limit > 0 && entry.difficulty <= budget &&
           (entry.difficultyCutoff == 0 || entry.difficultyCutoff >= budget);
}

bool ProxyPool::IsMustSpawn(const ProxyPoolEntry& entry) const {
    return entry.limit > 0 && entry.alwaysSpawn;
}

bool ProxyPool::PickSelection(std::vector<ProxyPoolEntry>& entries, int& budget,
                              ProxyPoolEntry& out) {
    std::uint32_t total = 0;
    for (const ProxyPoolEntry& entry : entries)
        if (IsAvailable(budget, entry))
            total += entry.weight;
    const auto r = static_cast<std::uint32_t>(
        gGameEngine->GetRandomGen().IGenerate(0, static_cast<int>(total)));
    std::uint32_t sum = 0;
    for (ProxyPoolEntry& entry : entries) {
        if (!IsAvailable(budget, entry))
            continue;
        sum += entry.weight;
        if (sum >= r) {
            out = entry;
            --entry.limit;
            budget -= entry.difficulty;
            return true;
        }
    }
    return false;
}

bool ProxyPool::GetMustPickSelection(std::vector<ProxyPoolEntry>& entries, int& budget,
                                     ProxyPoolEntry& out) {
    for (ProxyPoolEntry& entry : entries)
        if (IsMustSpawn(entry)) {
            out = entry;
            --entry.limit;
            budget -= entry.difficulty;
            return true;
        }
    return false;
}

void ProxyPool::GetLeastDifficultSelection(std::vector<ProxyPoolEntry>& entries,
                                           ProxyPoolEntry& out) {
    ProxyPoolEntry* least = nullptr;
    for (ProxyPoolEntry& entry : entries)
        if (entry.limit > 0 && (!least || static_cast<std::uint32_t>(entry.difficulty) <
                                              static_cast<std::uint32_t>(least->difficulty)))
            least = &entry;
    if (!least)
        return;
    out = *least;
    --least->limit;
}

bool ProxyPool::CreateAddToSpawnList(const ProxyPoolEntry& entry) {
    if (entry.name.empty())
        return false;
    Entity* object = Singleton<ObjectManager>::Get().CreateObjectFromFile<Entity>(entry.name);
    if (!object) {
        gEngine->Log(1, "Proxy Pool (%s) could not create object (%s)", mFileName.c_str(),
                     entry.name.c_str());
        return false;
    }
    mObjects.push_back(object->GetObjectId());
    if (entry.heroOrBoss && gGameEngine)
        gGameEngine->RegisterProxyHeroBoss(entry.name);
    return true;
}

int ProxyPool::AdjustCount(int count, const char* addKey, const char* modifierKey,
                           const std::string& formula) const {
    const int difficulty = gGameEngine->GetGameDifficulty();
    const LoadTable root = gGameEngine->GetDatabase();
    const float add = root.GetArrayFloat(addKey, static_cast<std::size_t>(difficulty), 0.0f);
    const float modifier =
        root.GetArrayFloat(modifierKey, static_cast<std::size_t>(difficulty), 0.0f);
    int value = static_cast<int>(static_cast<float>(static_cast<unsigned int>(count)) + add);
    if (modifier > 0)
        value = static_cast<int>(modifier * 0.01f * static_cast<float>(value));
    if (!formula.empty() && mParent)
        value = mParent->RunEquation(formula, value);
    return value;
}

void ProxyPool::RunPool(int budget) {
    mBudget = budget;
    if (!gGameEngine)
        return;
    mSpawnMin = AdjustCount(mSpawnMin, "spawnMin", "spawnMinModifier", mSpawnMinEquation);
    mSpawnMax = AdjustCount(mSpawnMax, "spawnMax", "spawnMaxModifier", mSpawnMaxEquation);
    mChampionMin =
        AdjustCount(mChampionMin, "championMin", "championMinModifier", mChampionMinEquation);
    mChampionMax =
        AdjustCount(mChampionMax, "championMax", "championMaxModifier", mChampionMaxEquation);
    const auto count = [this] { return static_cast<int>(mObjects.size()); };

    if (!(mChampionChance > 0 &&
          gGameEngine->GetRandomGen().FGenerate(0.0f, 100.0f) > mChampionChance)) {
        int share = mParent
                        ? mParent->CalculateChampionDifficulty(static_cast<unsigned int>(budget))
                        : budget;
        budget -= share;
        ProxyPoolEntry picked;
        while (GetMustPickSelection(mChampionEntries, share, picked))
            CreateAddToSpawnList(picked);
        for (int i = 0, n = std::max(mChampionMin, mChampionMax); i < n; ++i) {
            ProxyPoolEntry entry;
            if (PickSelection(mChampionEntries, share, entry))
                CreateAddToSpawnList(entry);
        }
        if (mChampionMin != 0 && count() < mChampionMin) {
            for (int i = 0, n = mChampionMin - count(); i < n; ++i) {
                ProxyPoolEntry entry;
                GetLeastDifficultSelection(mChampionEntries, entry);
                CreateAddToSpawnList(entry);
            }
            share = 0;
        }
        budget += share;
    }

    ProxyPoolEntry picked;
    while (GetMustPickSelection(mEntries, budget, picked))
        CreateAddToSpawnList(picked);
    for (int i = 0, n = std::max(mSpawnMin, mSpawnMax) - count(); i < n; ++i) {
        ProxyPoolEntry entry;
        if (PickSelection(mEntries, budget, entry))
            CreateAddToSpawnList(entry);
    }
    if (count() < mSpawnMin)
        for (int i = 0, n = mSpawnMin - count(); i < n; ++i) {
            ProxyPoolEntry entry;
            GetLeastDifficultSelection(mEntries, entry);
            CreateAddToSpawnList(entry);
        }
}

void ProxyPool::PreLoad(bool now) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : mObjects)
        if (Entity* entity = objects.GetObject<Entity>(id))
            entity->PreLoad(now);
}

void ProxyPool::RemoveObjectsNotPlaced() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : mObjects)
        if (Object* object = objects.GetObject(id)) {
            if (gGameEngine)
                gGameEngine->UnregisterProxyHeroBoss(object->GetObjectName());
            objects.DestroyObjectEx(object, "Game/ProxyPool", __LINE__);
        }
    mObjects.clear();
}

}  // namespace GAME
