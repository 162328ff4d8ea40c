#pragma once
// What a player remembers of non-player characters, each record keyed by its first field.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace GAME {

struct BoatMasterData {
    std::string key;
    std::string destination;
    std::array<std::uint32_t, 3> values{};

    bool operator==(const BoatMasterData&) const = default;
};

struct NpcDialogData {
    std::string key;
    std::uint32_t value = 0;

    bool operator==(const NpcDialogData&) const = default;
};

struct NpcIlluminationData {
    std::string key;
    std::uint32_t value = 0;

    bool operator==(const NpcIlluminationData&) const = default;
};

// At most one record per key: adding replaces the record of that key.
template <class Record>
class KeyedRecords {
public:
    void Add(const Record& record) {
        Remove(record.key);
        mRecords.push_back(record);
    }
    bool Has(const std::string& key) const { return Find(key) != mRecords.end(); }
    void Get(const std::string& key, Record& out) const {
        if (auto it = Find(key); it != mRecords.end())
            out = *it;
    }
    void Remove(const std::string& key) {
        if (auto it = Find(key); it != mRecords.end())
            mRecords.erase(it);
    }
    std::size_t size() const { return mRecords.size(); }

private:
    typename std::vector<Record>::const_iterator Find(const std::string& key) const {
        return std::find_if(mRecords.begin(), mRecords.end(),
                            [&key](const Record& record) { return record.key == key; });
    }
    std::vector<Record> mRecords;
};

}  // namespace GAME
