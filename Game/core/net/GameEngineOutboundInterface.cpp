#include "Game/core/net/GameEngineOutboundInterface.h"

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/net/PacketTypes.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/core/net/GameEngineNetworkInterfacePackets.h"
#include "Game/core/players/PartyManager.h"
#include "Game/items/market/TradeManager.h"

namespace GAME {

namespace {
// A call's argument into its packet field; parameters without a field are not sent.
template <class Value>
void Store(const Value&) {}

template <class Value, class Field>
void Store(const Value& value, Field& field) {
    field = value;
}

// Every value but the effect name, which the receiver finds for itself.
void Store(const Bonus& value, Bonus& field) {
    field.CopyValues(value);
}
}  // namespace

bool GameEngineOutboundInterface::VetOwnTradeStep(NetPacket& packet) {
    TradeManager* trades = gGameEngine ? gGameEngine->GetTradeManager() : nullptr;
    const char* refusal = trades ? trades->GetBook().Vet(packet, kServerHostId) : "no game";
    if (refusal)
        gEngine->Log(1, "GameEngineOutboundInterface: the server's own %s refused: %s",
                     GetGamePacketKindName(packet.GetType()), refusal);
    return refusal == nullptr;
}

void GameEngineOutboundInterface::Send(NetPacket& packet) {
    if (NetworkConnectionManager* connections = gEngine->GetNetworkConnectionManager())
        connections->SendPacket(&packet);
}

bool GameEngineOutboundInterface::SendToReceiver(std::uint32_t receiver, NetPacket& packet) {
    NetworkConnectionManager* connections = gEngine->GetNetworkConnectionManager();
    if (!connections)
        return true;
    // A client's message goes by way of the server, which passes it on.
    if (!gEngine->IsServer()) {
        connections->SendPacket(&packet);
        return true;
    }
    // No receiver (id 0 names no object): every client gets it, as any other request.
    if (receiver == 0) {
        connections->SendPacket(&packet);
        return true;
    }
    const int host = HostOfPlayer(receiver);
    if (host == connections->GetLocalHostId())
        return false;
    connections->SendToHost(host, &packet);
    return true;
}

template <class RunHere>
void GameEngineOutboundInterface::RunOnThisMachine(RunHere runHere) {
    GameEngineInboundInterface* local =
        gGameEngine ? gGameEngine->GetInboundNetworkInterface() : nullptr;
    if (!local)
        return;
    // This machine's own word, also while it carries out a request that a client sent.
    const int source = local->GetSourceHost();
    local->SetSourceHost(-1);
    runHere(*local);
    local->SetSourceHost(source);
}

template <OperationRoute route, class Kind, class RunHere>
void GameEngineOutboundInterface::Deliver(Kind& packet, RunHere runHere) {
    if constexpr (route == OperationRoute::ToServer) {
        // The server's own request: asking the clients would reach nobody who serves it.
        if (gEngine->IsServer()) {
            RunOnThisMachine(runHere);
            return;
        }
    } else if constexpr (route == OperationRoute::FromServer) {
        Send(packet);
        // The server's own player is a client of its game as well.
        if (gEngine->IsServer())
            RunOnThisMachine(runHere);
        return;
    } else if constexpr (route == OperationRoute::Message) {
        // A message is for the receiver's machine only; the server's own player reads it here.
        if (!SendToReceiver(packet.receiver, packet))
            RunOnThisMachine(runHere);
        return;
    } else if constexpr (route == OperationRoute::Trade) {
        // A server's own trade step is booked as a client's would be; a refused one goes nowhere.
        if (gEngine->IsServer() && !VetOwnTradeStep(packet))
            return;
        if (!SendToReceiver(packet.receiver, packet))
            RunOnThisMachine(runHere);
        return;
    } else if constexpr (route == OperationRoute::Invitation) {
        // A server's own invitation is one its clients may take up.
        PartyManager* parties = gGameEngine ? gGameEngine->GetPartyManager() : nullptr;
        if (parties && gEngine->IsServer())
            parties->NoteInvitation(packet.playerId, static_cast<std::uint32_t>(packet.party));
    }
    Send(packet);
}

#define GAME_NETOP_STORE(type, name, ...) Store(name __VA_OPT__(, packet.__VA_ARGS__));
#define GAME_NETOP_DEFINE_OUTBOUND(Operation, Kind, member, Route, ...)                 \
    void GameEngineOutboundInterface::Operation(                                        \
        GAME_NETOP_LIST(GAME_NETOP_PARAMETER, __VA_ARGS__)) {                           \
        auto& packet = packets->member;                                                 \
        GAME_NETOP_EACH(GAME_NETOP_STORE, __VA_ARGS__)                                  \
        Deliver<OperationRoute::Route>(packet, [&](GameEngineInboundInterface& local) { \
            local.Operation(GAME_NETOP_LIST(GAME_NETOP_ARGUMENT, __VA_ARGS__));         \
        });                                                                             \
    }
GAME_NETWORK_OPERATIONS(GAME_NETOP_DEFINE_OUTBOUND)
#undef GAME_NETOP_DEFINE_OUTBOUND
#undef GAME_NETOP_STORE

}  // namespace GAME
