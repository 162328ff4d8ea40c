#include "Game/skills/manager/SkillSpawnIds.h"

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"

namespace GAME {

namespace {

// Below the server's bands (ServerObjectIds.h, from 0x0D000000); 16 hosts of 2^20 ids each.
constexpr std::uint32_t kBandBase = 0x0C000000;
constexpr std::uint32_t kHostShare = 0x00100000;
constexpr int kHosts = 16;

struct SpawnIds {
    std::uint32_t next = 0;
};

int LocalHost() {
    NetworkConnectionManager* connections =
        gEngine && gEngine->IsNetworkEnabled() ? gEngine->GetNetworkConnectionManager() : nullptr;
    return connections ? connections->GetLocalHostId() : 0;
}

}  // namespace

std::uint32_t CreateSkillSpawnId() {
    const int host = LocalHost();
    if (host < 0 || host >= kHosts)
        return 0;
    const std::uint32_t base = kBandBase + static_cast<std::uint32_t>(host) * kHostShare;
    std::uint32_t& next = Singleton<SpawnIds>::Get().next;
    if (next < base || next >= base + kHostShare)
        next = base;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t tries = 0; tries < kHostShare; ++tries) {
        const std::uint32_t id = next;
        next = next + 1 < base + kHostShare ? next + 1 : base;
        if (!objects.GetObject(id))
            return id;
    }
    return 0;
}

bool IsSkillSpawnIdOfHost(std::uint32_t id, int host) {
    if (host < 0 || host >= kHosts)
        return false;
    const std::uint32_t base = kBandBase + static_cast<std::uint32_t>(host) * kHostShare;
    return id >= base && id < base + kHostShare;
}

bool IsSkillSpawnId(std::uint32_t id) {
    return id >= kBandBase && id < kBandBase + kHosts * kHostShare;
}

}  // namespace GAME
