#include "Engine/net/NetworkIndexTable.h"

#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/Machine.h"

namespace GAME {

NetworkIndexTable& NetworkIndexTable::Get() {
    return Singleton<NetworkIndexTable>::Get();
}

std::uint32_t NetworkIndexTable::Add(std::string_view name) {
    std::string key = RecordDatabase::NormalizeName(name);
    CriticalSectionLock lock(mLock);
    const auto [it, added] =
        mIndexByKey.try_emplace(std::move(key), static_cast<std::uint32_t>(mNames.size()));
    if (added)
        mNames.emplace_back(name);
    return it->second;
}

std::uint32_t NetworkIndexTable::StringToNetworkIndex(std::string_view name) const {
    const std::string key = RecordDatabase::NormalizeName(name);
    CriticalSectionLock lock(mLock);
    const auto it = mIndexByKey.find(key);
    return it == mIndexByKey.end() ? kNoIndex : it->second;
}

std::string NetworkIndexTable::NetworkIndexToString(std::uint32_t index) const {
    CriticalSectionLock lock(mLock);
    return index < mNames.size() ? mNames[index] : std::string();
}

std::size_t NetworkIndexTable::Size() const {
    CriticalSectionLock lock(mLock);
    return mNames.size();
}

void NetworkIndexTable::Clear() {
    CriticalSectionLock lock(mLock);
    mNames.clear();
    mIndexByKey.clear();
}

}  // namespace GAME
