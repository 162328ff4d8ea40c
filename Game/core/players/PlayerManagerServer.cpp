#include "Game/core/players/PlayerManagerServer.h"

#include <limits>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/net/GameEngineServicesModules.h"
#include "Game/core/players/Bonus.h"
#include "Game/core/players/PartyManager.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/PlayerReport.h"
#include "Game/rules/formulas/DesignerEquation_Algebra.h"
#include "Game/rules/formulas/DesignerVariableNames.h"

namespace GAME {

namespace {

constexpr const char* kBonusSharingRecord = "Records/Game/BonusSharing.dbr";

std::uint32_t Truncate(float value) {
    // Results outside the range of the amounts are capped rather than wrapped around.
    if (!(value > 0.0f))
        return 0u;
    if (value >= 4294967296.0f)
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(value);
}

std::wstring PlayerName(std::uint32_t id) {
    PlayerManagerClient* client = gGameEngine ? gGameEngine->GetPlayerManagerClient() : nullptr;
    return client ? client->GetPlayerName(id) : std::wstring(L"ErrorName");
}

}  // namespace

GameEngineNetworkInterface* PlayerManagerServer::CurrentInterface() const {
    if (mModule)
        return mModule->GetNetworkInterface();
    return gGameEngine ? gGameEngine->GetNetworkInterface() : nullptr;
}

PlayerManagerServer::PlayerManagerServer() {
    LoadEquations();
}

PlayerManagerServer::~PlayerManagerServer() = default;

void PlayerManagerServer::LoadEquations() {
    const LoadTable table = Singleton<ObjectManager>::Get().GetLoadTable(kBonusSharingRecord);
    const struct {
        const char* key;
        std::unique_ptr<DesignerEquation<float>>* slot;
        const char* failure;
    } kFormulas[] = {
        {"ActiveExperience", &mActiveExperience,
         "-=- Equation Load Failure: activeExperienceEquation"},
        {"PassiveExperience", &mPassiveExperience,
         "-=- Equation Load Failure: passiveExperienceEquation"},
        {"ActiveGold", &mActiveGold, "-=- Equation Load Failure: activeGoldEquation"},
        {"PassiveGold", &mPassiveGold, "-=- Equation Load Failure: passiveGoldEquation"},
    };
    for (const auto& formula : kFormulas) {
        const std::string text = table.GetString(formula.key, std::string());
        if (text.empty())
            continue;
        auto equation = std::make_unique<DesignerEquation_Algebra>();
        const std::string source = table.GetRecordName() + " " + formula.key;
        if (!equation->ParseEquation(text.c_str(), this, source.c_str())) {
            gEngine->Log(1, "%s", formula.failure);
            continue;
        }
        *formula.slot = std::move(equation);
    }
}

void PlayerManagerServer::Clear() {
    mPlayers.clear();
    mRecords.clear();
}

void PlayerManagerServer::Update(int elapsedMs) {
    mHeartbeatTimer += elapsedMs;
    if (mHeartbeatTimer <= kServerBroadcastIntervalMs)
        return;
    if (mBroadcastCounter > 3) {
        HandlePlayerUpdateOutbound();
        mBroadcastCounter = 0;
    } else {
        HandlePlayerHeartbeatOutbound();
    }
    ++mBroadcastCounter;
    mHeartbeatTimer = 0;
}

template <class Send>
void PlayerManagerServer::ToClients(Send send) const {
    GameEngineNetworkInterface* net = CurrentInterface();
    if (!net)
        return;
    send(*net);
    // A server is a client of its own game too, and what it sends reaches only the others.
    GameEngineInboundInterface* local =
        gGameEngine ? gGameEngine->GetInboundNetworkInterface() : nullptr;
    if (!local || net == local || !gEngine->IsServer())
        return;
    // The server's own word, also while it runs a request that a client sent.
    const int source = local->GetSourceHost();
    local->SetSourceHost(-1);
    send(*local);
    local->SetSourceHost(source);
}

void PlayerManagerServer::HandlePlayerUpdateOutbound() {
    // The records may change while the local copy runs; send what they are now.
    const std::vector<PlayerNetBasicInfo> records = mRecords;
    ToClients([&](GameEngineNetworkInterface& net) { net.StoC_AllPlayersUpdate(records); });
}

void PlayerManagerServer::HandlePlayerHeartbeatOutbound() {
    const std::vector<PlayerNetHeartbeatInfo> heartbeats(mRecords.begin(), mRecords.end());
    ToClients([&](GameEngineNetworkInterface& net) { net.StoC_AllPlayersHeartbeat(heartbeats); });
}

WorldVec3 PlayerManagerServer::GetPlayerLocation(std::uint32_t id) const {
    for (const auto& record : mRecords)
        if (record.playerId == id)
            return record.position;
    return WorldVec3();
}

namespace {
constexpr DesignerVariableNames<3> kServerFormulaNames{
    {"amountOfGold", "amountOfExperience", "evaluatingPartyMemberCount"}};
}  // namespace

bool PlayerManagerServer::GetDesignerVariable(const char* name, float& value) {
    return GetDesignerVariableAt(kServerFormulaNames.Find(name), value);
}

int PlayerManagerServer::ResolveDesignerVariable(const char* name) {
    const int index = kServerFormulaNames.Find(name);
    return index == kServerFormulaNames.kNotFound ? kNoSlot : index;
}

// In the order of the names.
bool PlayerManagerServer::GetDesignerVariableAt(int slot, float& value) {
    switch (slot) {
        case 0:
            value = mAmountOfGold;
            return true;
        case 1:
            value = mAmountOfExperience;
            return true;
        case 2:
            value = mEvaluatingPartyMemberCount;
            return true;
        default:
            return false;
    }
}

float PlayerManagerServer::GetExperienceMultiplier(std::uint32_t player,
                                                   std::uint32_t source) const {
    if (!gGameEngine)
        return 0.0f;
    const float damage = gGameEngine->GetDamageByAttacker(player, source);
    if (damage > 0.0f)
        return damage / gGameEngine->GetTotalDamageDone(source);
    return 0.0f;
}

void PlayerManagerServer::HandleNewPlayer(const PlayerNetBasicInfo& info) {
    for (std::uint32_t id : mPlayers)
        if (id == info.playerId)
            return;
    mPlayers.push_back(info.playerId);
    mRecords.push_back(info);
    HandlePlayerUpdateOutbound();
    if (!gGameEngine)
        return;
    gGameEngine->SendFixedItemTeleports(info.playerId);
    for (std::uint32_t id : std::vector<std::uint32_t>(mPlayers))
        if (id != info.playerId)
            gGameEngine->DisplayMessageRemote(id, info.playerId, true, "tagMessageGameJoin");
}

void PlayerManagerServer::HandleRemovePlayer(std::uint32_t id) {
    if (gGameEngine) {
        const std::wstring text =
            LocalizationManager::Instance().Format("tagMessageLeave", PlayerName(id));
        for (std::uint32_t other : std::vector<std::uint32_t>(mPlayers))
            if (other != id)
                gGameEngine->DisplayWMessageRemote(other, true, text);
    }
    for (std::size_t i = 0; i < mPlayers.size(); ++i) {
        if (mPlayers[i] != id)
            continue;
        mPlayers.erase(mPlayers.begin() + static_cast<std::ptrdiff_t>(i));
        if (i < mRecords.size())
            mRecords.erase(mRecords.begin() + static_cast<std::ptrdiff_t>(i));
        break;
    }
}

void PlayerManagerServer::RemovePlayerFromGame(int host) {
    std::uint32_t leaving = 0;
    for (std::uint32_t id : mPlayers)
        if (HostOfPlayer(id) == host)
            leaving = id;

    if (gGameEngine) {
        const std::wstring text =
            LocalizationManager::Instance().Format("tagMessageGameLeave", PlayerName(leaving));
        for (std::uint32_t other : std::vector<std::uint32_t>(mPlayers))
            if (other != leaving)
                gGameEngine->DisplayWMessageRemote(other, true, text);
    }

    for (std::size_t i = 0; i < mPlayers.size();) {
        if (HostOfPlayer(mPlayers[i]) != host) {
            ++i;
            continue;
        }
        mPlayers.erase(mPlayers.begin() + static_cast<std::ptrdiff_t>(i));
        if (i < mRecords.size())
            mRecords.erase(mRecords.begin() + static_cast<std::ptrdiff_t>(i));
    }

    if (leaving != 0 && gGameEngine && gGameEngine->GetPartyManager())
        gGameEngine->GetPartyManager()->CleanUpForPlayerLeave(leaving);
}

void PlayerManagerServer::HandlePlayerHeartbeatInbound(const PlayerNetHeartbeatInfo& heartbeat) {
    for (auto& record : mRecords)
        if (record.playerId == heartbeat.playerId)
            record = heartbeat;
}

const PlayerNetBasicInfo* PlayerManagerServer::FindRecord(std::uint32_t id) const {
    for (const auto& record : mRecords)
        if (record.playerId == id)
            return &record;
    return nullptr;
}

bool PlayerManagerServer::HandleClientHeartbeat(const PlayerNetHeartbeatInfo& heartbeat) {
    for (auto& record : mRecords) {
        if (record.playerId != heartbeat.playerId)
            continue;
        const PlayerVitals before = VitalsOf(record);
        const int party = record.partyId;
        // Assigned in place, so the record's strings keep their storage.
        record = heartbeat;
        record.partyId = party;
        return CheckPlayerReport(record, before);
    }
    return false;
}

bool PlayerManagerServer::GetPlayerParty(std::uint32_t id, std::uint32_t& party) const {
    bool listed = false;
    for (const auto& record : mRecords)
        if (record.playerId == id) {
            party = static_cast<std::uint32_t>(record.partyId);
            listed = true;
        }
    return listed;
}

void PlayerManagerServer::AddPlayerToParty(std::uint32_t id, int party) {
    for (auto& record : mRecords)
        if (record.playerId == id)
            record.partyId = party;
}

void PlayerManagerServer::HandleBonusToClient(const Bonus& bonus, std::uint32_t player) {
    ToClients([&](GameEngineNetworkInterface& net) { net.HandleBonusToClient(bonus, player); });
}

std::uint32_t PlayerManagerServer::Evaluate(const std::unique_ptr<DesignerEquation<float>>& formula,
                                            int slot, std::uint32_t fallback) {
    if (formula)
        return Truncate((*formula)());
    // Without its formula the earner keeps the whole amount and the others get none of it.
    static const char* const kNames[] = {"ActiveExperience", "PassiveExperience", "ActiveGold",
                                         "PassiveGold"};
    if (!mReportedMissing[slot]) {
        mReportedMissing[slot] = true;
        gEngine->Log(1, "PlayerManagerServer: no usable %s formula in %s, sharing %u instead",
                     kNames[slot], kBonusSharingRecord, fallback);
    }
    return fallback;
}

void PlayerManagerServer::HandleBonus(const Bonus& bonus, const WorldVec3& where,
                                      std::uint32_t receiver) {
    if (!CurrentInterface() || !gGameEngine)
        return;

    if (mPlayers.size() == 1) {
        if (receiver != gGameEngine->GetPlayerId())
            return;
        const float multiplier = GetExperienceMultiplier(receiver, bonus.sourceId);
        Bonus copy(bonus);
        copy.experience = Truncate(static_cast<float>(bonus.experience) * multiplier);
        copy.id = receiver;
        HandleBonusToClient(copy, receiver);
        return;
    }

    PartyManager* parties = gGameEngine->GetPartyManager();
    for (std::size_t i = 0; i < mPlayers.size() && i < mRecords.size(); ++i) {
        const std::uint32_t player = mPlayers[i];
        const PlayerNetBasicInfo& record = mRecords[i];
        if (!(record.position.DistanceTo(where) < kBonusRadius))
            continue;

        mAmountOfGold = static_cast<float>(bonus.gold);
        mAmountOfExperience = static_cast<float>(bonus.experience);
        mEvaluatingPartyMemberCount =
            parties ? static_cast<float>(parties->GetNumPlayersInPartyNear(
                          static_cast<std::uint32_t>(record.partyId), where, kBonusRadius))
                    : 1.0f;

        Bonus share(bonus);
        if (player == receiver) {
            share.experience = Evaluate(mActiveExperience, 0, bonus.experience);
            share.gold = Evaluate(mActiveGold, 2, bonus.gold);
        } else {
            share.experience = Evaluate(mPassiveExperience, 1, 0);
            share.gold = Evaluate(mPassiveGold, 3, 0);
        }

        const float multiplier =
            parties ? parties->GetPartyExperienceMultiplier(player, bonus.sourceId) : 0.0f;
        share.experience = Truncate(static_cast<float>(share.experience) * multiplier);
        share.id = player;
        HandleBonusToClient(share, player);
    }
}

}  // namespace GAME
