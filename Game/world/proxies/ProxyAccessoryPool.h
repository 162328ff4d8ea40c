#pragma once
// A spawn proxy's extra object: with a chance, one object (a chest, say) chosen by weight from
// up to ten records, placed beside the proxy's monsters.
#include <cstdint>
#include <string>
#include <vector>

#include "Game/world/proxies/Proxy.h"

namespace GAME {

class ProxyAccessoryPool {
public:
    static constexpr int kSelectionCount = 10;

    ProxyAccessoryPool() = default;
    virtual ~ProxyAccessoryPool();
    ProxyAccessoryPool(const ProxyAccessoryPool&) = delete;
    ProxyAccessoryPool& operator=(const ProxyAccessoryPool&) = delete;

    void SetParent(Proxy* parent) { mParent = parent; }
    std::vector<std::uint32_t>& GetObjects() { return mObjects; }
    void LoadFromFile(const std::string& name);
    void RunPool(int level);
    void PreLoad(bool now);

protected:
    void LoadFixedItemSelections(const LoadTable& record);
    void GetFixedItemSelection(std::string& out);
    bool CreateAddToOtherList(const std::string& name);
    void RemoveObjectsNotPlaced();

private:
    Proxy* mParent = nullptr;
    std::string mFileName;
    std::vector<std::uint32_t> mObjects;
    int mFixedItemChance = 0;
    std::vector<Proxy::ProxySelection> mSelections;
    int mProxyLevel = 0;
};

}  // namespace GAME
