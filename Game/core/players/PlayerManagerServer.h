#pragma once
// The authoritative player list: admits and removes players, broadcasts heartbeats and the full
// list on a fixed cadence, and shares experience and gold among party members.
#include <cstdint>
#include <memory>
#include <vector>

#include "Game/core/players/PlayerNetInfo.h"
#include "Game/rules/formulas/EquationInterface.h"

namespace GAME {

class GameEngineServerServicesModule;
class GameEngineNetworkInterface;
template <class T>
class DesignerEquation;
class Bonus;

class PlayerManagerServer : public EquationInterface<float> {
public:
    static constexpr float kBonusRadius = 25.0f;

    PlayerManagerServer();
    ~PlayerManagerServer() override;

    void SetServerServicesModule(GameEngineServerServicesModule* module) { mModule = module; }
    GameEngineServerServicesModule* GetServerServicesModule() const { return mModule; }

    void Update(int elapsedMs);
    void Clear();

    int GetNumberOfPlayers() const { return static_cast<int>(mPlayers.size()); }
    const std::vector<std::uint32_t>& GetPlayers() const { return mPlayers; }
    const std::vector<PlayerNetBasicInfo>& GetPlayerRecords() const { return mRecords; }
    WorldVec3 GetPlayerLocation(std::uint32_t id) const;
    // The recorded party of a listed player (its last record); false when it is not listed.
    bool GetPlayerParty(std::uint32_t id, std::uint32_t& party) const;
    // The listed record of the player, or null.
    const PlayerNetBasicInfo* FindRecord(std::uint32_t id) const;

    bool GetDesignerVariable(const char* name, float& value) override;
    int ResolveDesignerVariable(const char* name) override;
    bool GetDesignerVariableAt(int slot, float& value) override;
    float GetExperienceMultiplier(std::uint32_t player, std::uint32_t source) const;

    void HandleNewPlayer(const PlayerNetBasicInfo& info);
    void HandleRemovePlayer(std::uint32_t id);
    void RemovePlayerFromGame(int host);
    void HandlePlayerHeartbeatInbound(const PlayerNetHeartbeatInfo& heartbeat);
    // A client's heartbeat of its listed player: stored within bounds (PlayerReport.h), its
    // party kept as the server has it. True when a value had to be capped.
    bool HandleClientHeartbeat(const PlayerNetHeartbeatInfo& heartbeat);
    void AddPlayerToParty(std::uint32_t id, int party);
    void HandleBonus(const Bonus& bonus, const WorldVec3& where, std::uint32_t receiver);
    // A bonus for one player alone, unshared (a quest's reward): every machine applies it.
    void GrantBonus(const Bonus& bonus, std::uint32_t player) {
        HandleBonusToClient(bonus, player);
    }

    void HandlePlayerUpdateOutbound();
    void HandlePlayerHeartbeatOutbound();

private:
    void LoadEquations();
    // The interface current in the owning module (or the root's), null when there is none.
    GameEngineNetworkInterface* CurrentInterface() const;
    // Sends through the current interface, and on a networked server to this machine as well.
    template <class Send>
    void ToClients(Send send) const;
    void HandleBonusToClient(const Bonus& bonus, std::uint32_t player);
    std::uint32_t Evaluate(const std::unique_ptr<DesignerEquation<float>>& formula, int slot,
                           std::uint32_t fallback);

    GameEngineServerServicesModule* mModule = nullptr;
    std::vector<std::uint32_t> mPlayers;
    std::vector<PlayerNetBasicInfo> mRecords;
    int mHeartbeatTimer = 0;
    int mBroadcastCounter = 0;
    std::unique_ptr<DesignerEquation<float>> mActiveExperience;
    std::unique_ptr<DesignerEquation<float>> mPassiveExperience;
    std::unique_ptr<DesignerEquation<float>> mActiveGold;
    std::unique_ptr<DesignerEquation<float>> mPassiveGold;
    float mAmountOfGold = 0.0f;
    float mAmountOfExperience = 0.0f;
    float mEvaluatingPartyMemberCount = 0.0f;
    bool mReportedMissing[4] = {false, false, false, false};
};

}  // namespace GAME
