// The root's bookkeeping of spawn proxies: the groups' shared pool indices, the one member of
// each unique group that spawns, and the heroes and bosses in the game.
#include "Engine/Engine.h"
#include "Engine/world/InstanceGroupManager.h"
#include "Game/core/GameEngine.h"
#include "Game/world/proxies/Proxy.h"

namespace GAME {

namespace {

// The name of the first group holding the id, or empty.
std::string FirstGroupOf(const UniqueId& id) {
    std::vector<std::string> names;
    GroupListLock lock;
    InstanceGroupManager::Get()->GetGroupsThatContain(id, names);
    return names.empty() ? std::string() : names.front();
}

}  // namespace

ProxyType GameEngine::GetProxyType(Proxy* proxy) {
    if (!proxy)
        return ProxyType_None;
    InstanceGroupManager& groups = *InstanceGroupManager::Get();
    GroupListLock lock;
    std::vector<std::string> names;
    groups.GetGroupsThatContain(proxy->GetUniqueId(), names);
    for (const std::string& name : names) {
        const InstanceGroup* group = groups.GetGroup(name);
        if (!group)
            continue;
        if (group->GetType() == unifiedProxiesGroup)
            return ProxyType_Unified;
        if (group->GetType() == uniqueProxiesGroup)
            return ProxyType_Unique;
    }
    return ProxyType_None;
}

bool GameEngine::GetUnifiedProxyPool(Proxy* proxy, unsigned int& pool) {
    const std::string name = proxy ? FirstGroupOf(proxy->GetUniqueId()) : std::string();
    return !name.empty() && GetUnifiedProxyPoolName(name, pool);
}

void GameEngine::SetUnifiedProxyPool(Proxy* proxy, unsigned int pool) {
    if (const std::string name = proxy ? FirstGroupOf(proxy->GetUniqueId()) : std::string();
        !name.empty())
        SetUnifiedProxyPoolName(name, pool);
}

bool GameEngine::GetUnifiedProxyPoolName(const std::string& group, unsigned int& pool) {
    CriticalSectionLock lock(proxyLock);
    const auto it = unifiedProxyPools.find(group);
    if (it == unifiedProxyPools.end())
        return false;
    pool = it->second;
    return true;
}

void GameEngine::SetUnifiedProxyPoolName(const std::string& group, unsigned int pool) {
    CriticalSectionLock lock(proxyLock);
    unifiedProxyPools[group] = pool;
}

bool GameEngine::IsUniqueProxySelected(Proxy* proxy) {
    if (!proxy)
        return false;
    const std::string name = FirstGroupOf(proxy->GetUniqueId());
    if (name.empty())
        return false;
    InstanceGroupManager& groups = *InstanceGroupManager::Get();
    GroupListLock groupLock;
    InstanceGroup* group = groups.GetGroup(name);
    if (!group)
        return false;
    // The group lock is taken before the proxy lock everywhere, so the two never cross.
    CriticalSectionLock lock(proxyLock);
    const auto it = uniqueProxySelections.find(name);
    const UniqueId selected =
        it != uniqueProxySelections.end() ? it->second : LoadAndSelectOneProxy(group);
    return selected == proxy->GetUniqueId();
}

UniqueId GameEngine::LoadAndSelectOneProxy(InstanceGroup* group) {
    if (!group)
        return UniqueId();
    std::vector<UniqueId> members;
    group->FillIdList(members);
    if (members.empty())
        return UniqueId();
    const int index = randomGen.IGenerate(0, static_cast<int>(members.size()) - 1);
    CriticalSectionLock lock(proxyLock);
    uniqueProxySelections.emplace(group->GetName(), members[static_cast<std::size_t>(index)]);
    return members[static_cast<std::size_t>(index)];
}

void GameEngine::RegisterProxyHeroBoss(const std::string& name) {
    CriticalSectionLock lock(proxyLock);
    heroBossRegistry.emplace(name, false);
}

void GameEngine::UnregisterProxyHeroBoss(const std::string& name) {
    CriticalSectionLock lock(proxyLock);
    heroBossRegistry.erase(name);
}

bool GameEngine::IsProxyHeroBossInGame(const std::string& name) {
    CriticalSectionLock lock(proxyLock);
    return heroBossRegistry.count(name) != 0;
}

void GameEngine::ClearProxyInfo() {
    CriticalSectionLock lock(proxyLock);
    uniqueProxySelections.clear();
    unifiedProxyPools.clear();
}

void GameEngine::DumpGroupProxyData() {
    InstanceGroupManager& groups = *InstanceGroupManager::Get();
    GroupListLock lock;
    for (std::size_t i = 0; i < groups.GetNumGroups(); ++i) {
        const InstanceGroup* group = groups.GetGroup(i);
        if (group->GetType() != unifiedProxiesGroup && group->GetType() != uniqueProxiesGroup)
            continue;
        gEngine->Log(0, "^gGroup Type (%s)  Name (%s)", group->GetType().c_str(),
                     group->GetName().c_str());
        std::vector<UniqueId> members;
        group->FillIdList(members);
        for (const UniqueId& id : members)
            gEngine->Log(0, "^b    ID (0x %x %x %x %x)", id.GetWord(0), id.GetWord(1),
                         id.GetWord(2), id.GetWord(3));
    }
}

}  // namespace GAME
