#pragma once
// Names that travel as numbers. Each machine fills its table from what it loads alike with every
// other machine (the level's placed records, in file order), so an index names the same record
// on all of them. Names match like record names (either case, either slash).
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Engine/sys/CriticalSection.h"

namespace GAME {

class NetworkIndexTable {
public:
    static constexpr std::uint32_t kNoIndex = 0xFFFFFFFFu;

    static NetworkIndexTable& Get();

    // The name's index, added at the end when it is new.
    std::uint32_t Add(std::string_view name);
    // kNoIndex for a name the table does not hold.
    std::uint32_t StringToNetworkIndex(std::string_view name) const;
    // The name as first added; empty for an index the table does not hold.
    std::string NetworkIndexToString(std::uint32_t index) const;
    std::size_t Size() const;
    void Clear();

private:
    std::vector<std::string> mNames;
    std::unordered_map<std::string, std::uint32_t> mIndexByKey;
    // The level loader's thread fills it while the game thread may look names up.
    mutable CriticalSection mLock;
};

}  // namespace GAME
