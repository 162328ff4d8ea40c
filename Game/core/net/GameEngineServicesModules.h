#pragma once
// The per-role halves of a running game beside the root: the client module (client player
// manager, market clients) and the server modules (the empty base used on a client, and the full
// one with the server player manager, server markets and the game balance level).
#include <cstdint>
#include <map>
#include <memory>

namespace GAME {

class GameEngineNetworkInterface;
class MarketClient;
class MarketServer;
class PlayerManagerClient;
class PlayerManagerServer;

class GameEngineClientServicesModule {
public:
    GameEngineClientServicesModule();
    virtual ~GameEngineClientServicesModule();
    GameEngineClientServicesModule(const GameEngineClientServicesModule&) = delete;
    GameEngineClientServicesModule& operator=(const GameEngineClientServicesModule&) = delete;

    virtual void SetNetworkInterfaceSlot(GameEngineNetworkInterface** slot) { mSlot = slot; }
    virtual void Update(int elapsedMs);
    virtual PlayerManagerClient* GetPlayerManagerClient() { return mPlayerManager.get(); }

    GameEngineNetworkInterface* GetNetworkInterface() const { return mSlot ? *mSlot : nullptr; }
    MarketClient* FindMarketClient(std::uint32_t merchant) const;
    void CreateMarketClient(std::uint32_t merchant);
    void DestroyMarketClient(std::uint32_t merchant);

private:
    GameEngineNetworkInterface** mSlot = nullptr;
    std::map<std::uint32_t, std::unique_ptr<MarketClient>> mMarkets;
    std::unique_ptr<PlayerManagerClient> mPlayerManager;
};

class GameEngineServerServicesModuleBase {
public:
    GameEngineServerServicesModuleBase();
    virtual ~GameEngineServerServicesModuleBase();
    GameEngineServerServicesModuleBase(const GameEngineServerServicesModuleBase&) = delete;
    GameEngineServerServicesModuleBase& operator=(const GameEngineServerServicesModuleBase&) =
        delete;

    virtual void SetNetworkInterfaceSlot(GameEngineNetworkInterface** slot) { mSlot = slot; }
    virtual void Update(int) {}
    virtual PlayerManagerServer* GetPlayerManagerServer() { return mPlayerManager.get(); }
    virtual MarketServer* GetMarketServer(std::uint32_t) { return nullptr; }
    virtual void ForceMarketRefresh(std::uint32_t) {}

    GameEngineNetworkInterface* GetNetworkInterface() const { return mSlot ? *mSlot : nullptr; }

protected:
    std::unique_ptr<PlayerManagerServer> mPlayerManager;  // null in the base

private:
    GameEngineNetworkInterface** mSlot = nullptr;
};

class GameEngineServerServicesModule : public GameEngineServerServicesModuleBase {
public:
    GameEngineServerServicesModule();
    ~GameEngineServerServicesModule() override;

    void Update(int elapsedMs) override;
    MarketServer* GetMarketServer(std::uint32_t merchant) override;
    void ForceMarketRefresh(std::uint32_t merchant) override;

    int GetLastGameBalanceLevel() const { return mLastBalanceLevel; }
    std::size_t GetMarketCount() const { return mMarkets.size(); }

private:
    std::map<std::uint32_t, std::unique_ptr<MarketServer>> mMarkets;
    int mLastBalanceLevel = 0;
};

}  // namespace GAME
