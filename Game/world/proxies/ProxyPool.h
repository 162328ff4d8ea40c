#pragma once
// The monster half of a spawn proxy: a pool record lists up to 30 ordinary and 30 champion
// monster records with weights, prices and limits; given the proxy's budget the pool decides how
// many of which to make, makes them (outside the world) and keeps their ids until the proxy
// places them. Ids never placed are destroyed with the pool.
#include <cstdint>
#include <string>
#include <vector>

namespace GAME {

class LoadTable;
class Proxy;

class ProxyPool {
public:
    struct ProxyPoolEntry {
        std::string name;
        std::uint32_t weight = 0;
        std::int32_t difficulty = 0;
        std::int32_t difficultyCutoff = 0;
        std::int32_t limit = 0;
        bool alwaysSpawn = false;
        bool heroOrBoss = false;
    };
    // The keys of one entry position.
    struct ProxySelectionNameSet {
        std::string name, weight, difficulty, difficultyCutoff, limit, alwaysSpawn;
    };
    static constexpr unsigned int kEntryCount = 30;

    ProxyPool() = default;
    virtual ~ProxyPool();
    ProxyPool(const ProxyPool&) = delete;
    ProxyPool& operator=(const ProxyPool&) = delete;

    void SetParent(Proxy* parent) { mParent = parent; }
    std::vector<std::uint32_t>& GetObjects() { return mObjects; }
    void LoadFromFile(const std::string& name);
    void RunPool(int budget);
    void PreLoad(bool now);

    const std::vector<ProxyPoolEntry>& GetEntries() const { return mEntries; }
    const std::vector<ProxyPoolEntry>& GetChampionEntries() const { return mChampionEntries; }
    int GetSpawnMin() const { return mSpawnMin; }
    int GetSpawnMax() const { return mSpawnMax; }

protected:
    void LoadSelection(std::vector<ProxyPoolEntry>& entries, const LoadTable& record,
                       const ProxySelectionNameSet* names, unsigned int count,
                       unsigned int defaultLimit);
    bool IsAvailable(const int& budget, const ProxyPoolEntry& entry) const;
    bool IsMustSpawn(const ProxyPoolEntry& entry) const;
    bool PickSelection(std::vector<ProxyPoolEntry>& entries, int& budget, ProxyPoolEntry& out);
    bool GetMustPickSelection(std::vector<ProxyPoolEntry>& entries, int& budget,
                              ProxyPoolEntry& out);
    void GetLeastDifficultSelection(std::vector<ProxyPoolEntry>& entries, ProxyPoolEntry& out);
    bool CreateAddToSpawnList(const ProxyPoolEntry& entry);
    void RemoveObjectsNotPlaced();

private:
    // A count of the record, refused (logged, 0) when negative.
    int ReadCount(const LoadTable& record, const char* key) const;
    // A count adjusted by the root's record for the game difficulty and by the pool's formula.
    int AdjustCount(int count, const char* addKey, const char* modifierKey,
                    const std::string& formula) const;

    Proxy* mParent = nullptr;
    std::string mFileName;
    int mSpawnMin = 0, mSpawnMax = 0, mChampionMin = 0, mChampionMax = 0;
    float mChampionChance = 0;
    std::string mSpawnMinEquation, mSpawnMaxEquation, mChampionMinEquation, mChampionMaxEquation;
    std::vector<ProxyPoolEntry> mEntries;
    std::vector<ProxyPoolEntry> mChampionEntries;
    std::vector<std::uint32_t> mObjects;
    int mBudget = 0;
};

}  // namespace GAME
