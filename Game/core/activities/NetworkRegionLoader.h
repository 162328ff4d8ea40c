#pragma once
// Loads the regions around one player's far destination and tracks the peer machine's progress
// with it: the machine that owns the player and the server each load, report their state to the
// other, and the move goes on once both are done. Loaders are registered with the root object
// under the player's id, which routes the peer's reports to them.
#include <cstdint>
#include <memory>
#include <vector>

#include "Engine/world/Region.h"

namespace GAME {

class RegionLoader;

// The progress carried between the machines.
enum NRLoaderState : int {
    NRLoaderState_NotStarted = 0,
    NRLoaderState_Loading = 1,
    NRLoaderState_Done = 2,
};
constexpr bool IsValidNRLoaderState(int state) {
    return state >= NRLoaderState_NotStarted && state <= NRLoaderState_Done;
}

// Alone, the passive mark of a remote loader: it only records the states reported to it.
class NetworkRegionLoaderBase {
public:
    NetworkRegionLoaderBase() = default;
    virtual ~NetworkRegionLoaderBase();
    NetworkRegionLoaderBase(const NetworkRegionLoaderBase&) = delete;
    NetworkRegionLoaderBase& operator=(const NetworkRegionLoaderBase&) = delete;

    virtual void Update() {}
    // Both states at once.
    virtual void SetState(std::uint32_t state);
    virtual bool IsDone() const;
    // A state the peer reported.
    virtual void SetRemoteState(std::uint32_t state) { SetState(state); }

    // Registers with the root object under `id`, replacing an earlier registration.
    void Register(const WorldVec3& position, std::uint32_t id);
    // Leaves the root's registry: later reports under the id go to the next loader of it.
    void Unregister();
    bool IsRegistered() const { return registeredId != 0; }
    std::uint32_t GetRegisteredId() const { return registeredId; }
    const WorldVec3& GetPosition() const { return position; }
    std::uint32_t GetLocalState() const { return localState; }
    std::uint32_t GetRemoteState() const { return remoteState; }

protected:
    std::uint32_t localState = NRLoaderState_NotStarted;
    std::uint32_t remoteState = NRLoaderState_NotStarted;
    WorldVec3 position;
    std::uint32_t registeredId = 0;
};

// The owner's side on a client: reports to the server.
class NetworkLoader : public NetworkRegionLoaderBase {
public:
    NetworkLoader();
    ~NetworkLoader() override;

    void Update() override;
    void SetRemoteState(std::uint32_t state) override { remoteState = state; }
    bool IsDone() const override;
    virtual void SetLocalState(std::uint32_t state) { localState = state; }
    virtual void ReportState(std::uint32_t id, std::uint32_t state);
    virtual void StartLoading();

    const RegionLoader* GetRegionLoader() const { return regionLoader.get(); }

protected:
    // Whether this machine's loading is over; a destination in no region has nothing to load.
    bool RegionsLoaded() const;
    // Steps 1 and 2 of every frame: the region loader's work and the start of loading.
    void UpdateStart();

    std::unique_ptr<RegionLoader> regionLoader;
};

// The server's side for the server's own player: done as soon as the server has loaded.
class LocalNetworkLoader : public NetworkLoader {
public:
    bool IsDone() const override;
    void ReportState(std::uint32_t id, std::uint32_t state) override;
};

class TeleportLoader;

class TeleportLoaderListener {
public:
    virtual ~TeleportLoaderListener() = default;
    // Both machines have loaded; called once.
    virtual void OnRegionsLoaded(TeleportLoader& loader) = 0;
};

// The server's side for another machine's player: it waits for that machine's report too, and
// tells its listeners before it reports done; a hold keeps it from reporting.
class TeleportLoader : public NetworkLoader {
public:
    void Update() override;
    void ReportState(std::uint32_t id, std::uint32_t state) override;

    // Not owned; a listener outlives the loader or is never added.
    void AddListener(TeleportLoaderListener* listener) { listeners.push_back(listener); }
    void Hold() { held = 1; }
    void Release() { held = 0; }
    bool IsHeld() const { return held != 0; }
    bool WereListenersNotified() const { return notified != 0; }

private:
    std::uint8_t held = 0;
    std::uint8_t notified = 0;
    std::vector<TeleportLoaderListener*> listeners;
};

}  // namespace GAME
