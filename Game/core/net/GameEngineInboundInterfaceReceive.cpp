// The receive path: a packet decoded by the connection manager runs as the matching operation
// of the receiving machine's inbound interface.
#include <type_traits>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/core/net/GameEngineNetworkInterfacePackets.h"
#include "Game/core/net/packets/FixedItemPackets.h"

namespace GAME {

namespace {
// Keeps the source host of the packet being run, restoring the previous one afterwards.
class SourceHostScope {
public:
    SourceHostScope(GameEngineInboundInterface& inbound, int host, PACKET_TYPE type)
        : mInbound(inbound),
          mPrevious(inbound.GetSourceHost()),
          mPreviousType(inbound.GetSourceType()) {
        mInbound.SetSourceHost(host);
        mInbound.SetSourceType(type);
    }
    ~SourceHostScope() {
        mInbound.SetSourceHost(mPrevious);
        mInbound.SetSourceType(mPreviousType);
    }

private:
    GameEngineInboundInterface& mInbound;
    int mPrevious;
    PACKET_TYPE mPreviousType;
};

// A packet field as the operation's argument; a parameter that is not sent gets its default.
template <class Parameter, class Field>
Field& Load(Field& field) {
    return field;
}

template <class Parameter>
std::remove_cvref_t<Parameter> Load() {
    return {};
}

#define GAME_NETOP_KIND(Operation, Kind, ...) PacketType::Kind,
constexpr PACKET_TYPE kInboundKinds[] = {GAME_NETWORK_OPERATIONS(GAME_NETOP_KIND)};
#undef GAME_NETOP_KIND
}  // namespace

bool GameEngineInboundInterface::PassOnToReceiver(std::uint32_t receiver, NetPacket& packet) const {
    // A client's message for a player of another machine is that machine's to show.
    const int host = HostOfPlayer(receiver);
    if (!FromRemoteClient() || host == kServerHostId)
        return false;
    gEngine->GetNetworkConnectionManager()->SendToHost(host, &packet);
    return true;
}

template <OperationRoute route, class Kind, class Run>
void GameEngineInboundInterface::RunReceived(Kind& packet, Run run) {
    if constexpr (RunsOnArrival(route)) {
        run();
    } else if constexpr (route == OperationRoute::Message) {
        if (!VouchForSender(packet)) {
            Refuse(packet.GetType() == PacketType::RemoteMessagePacket ? "DisplayMessageRemote"
                                                                       : "DisplayWMessageRemote",
                   packet.receiver);
            return;
        }
        if (!PassOnToReceiver(packet.receiver, packet))
            run();
    } else if constexpr (route == OperationRoute::Trade) {
        // The server books a client's step before it goes on (TradeBook); what it refuses
        // reaches no one.
        if (FromRemoteClient() && RefusedTradeStep(packet))
            return;
        if (!PassOnToReceiver(packet.receiver, packet))
            run();
    } else if constexpr (route == OperationRoute::Invitation) {
        const bool passOn = FromRemoteClient() && MayInvite(packet.party);
        run();
        // The invitation is for the invitee's machine, which opens the dialog.
        const int invitee = HostOfPlayer(packet.playerId);
        if (passOn && invitee != kServerHostId)
            gEngine->GetNetworkConnectionManager()->SendToHost(invitee, &packet);
    } else if constexpr (route == OperationRoute::PartyChange) {
        const bool passOn = FromRemoteClient() && MayChangeParty(packet.playerId, packet.party);
        run();
        // Every machine keeps the parties: the other clients take the change as well.
        if (passOn)
            gEngine->GetNetworkConnectionManager()->SendToAllClientsExcept(
                packet.GetHeader().sourceHost, &packet);
    }
}

bool GameEngineInboundInterface::ReceivePacket(NetPacket& packet) {
    GameEngine* root = gGameEngine;
    if (!root)
        return false;
    GameEngineInboundInterface& in = *root->GetInboundNetworkInterface();
    SourceHostScope scope(in, packet.GetHeader().sourceHost, packet.GetType());
#define GAME_NETOP_LOAD(type, name, ...) Load<type>(__VA_OPT__(p.__VA_ARGS__))
#define GAME_NETOP_RECEIVE(Operation, Kind, member, Route, ...)                       \
    case PacketType::Kind: {                                                          \
        auto& p = static_cast<Kind&>(packet);                                         \
        in.RunReceived<OperationRoute::Route>(                                        \
            p, [&] { in.Operation(GAME_NETOP_LIST(GAME_NETOP_LOAD, __VA_ARGS__)); }); \
        return true;                                                                  \
    }
    switch (packet.GetType()) {
        GAME_NETWORK_OPERATIONS(GAME_NETOP_RECEIVE)
        default:
            return false;
    }
#undef GAME_NETOP_RECEIVE
#undef GAME_NETOP_LOAD
}

bool GameEngineInboundInterface::ClientMayCommand(int host, PACKET_TYPE type,
                                                  std::uint32_t object) {
    const Object* target = Singleton<ObjectManager>::Get().GetObject(object);
    switch (type) {
        // A fixed item's state is the server's to decide: a client's state change about one
        // passes the gate only to become the server's use request for the sender's player
        // (FixedItemStateChangeConfigCmd::AcceptFromClient); never about a player.
        case PacketType::FixedItemStateChangeConfigCmdPacket:
            return dynamic_cast<const FixedItemCommandTarget*>(target) != nullptr;
        // What a use or a skill gives, and the ids of monsters a trapped chest releases, are
        // found by the deciding machine alone.
        // Whom a respawn shrine heals is found there too.
        case PacketType::FixedItemTargetConfigCmdPacket:
        case PacketType::FixedItemSkillTargetConfigCmdPacket:
        case PacketType::StrategicMovementTargetConfigCmdPacket:
            return false;
        // Who may be hurt and which side a character fights on are the server's decisions.
        case PacketType::SetInvincibleConfigCmdPacket:
        case PacketType::SetTeamConfigCmdPacket:
            return false;
        default:
            break;
    }
    // Everything else acts for a player of the sender, or for a pet of one.
    for (int depth = 0; object != 0 && depth < 4; ++depth) {
        if (HostOfPlayer(object) == host)
            return true;
        const auto* character =
            dynamic_cast<const Character*>(Singleton<ObjectManager>::Get().GetObject(object));
        object = character ? character->GetMasterId() : 0;
    }
    return false;
}

void GameEngineInboundInterface::InstallPacketHandlers() {
    NetworkConnectionManager* connections = gEngine->GetNetworkConnectionManager();
    if (!connections)
        return;
    connections->SetCommandGate(&ClientMayCommand);
    connections->SetGameKindsClosed(false);
    // A host dropped for flooding is gone: its players leave the game like any leaver.
    connections->SetHostDroppedHandler([](int host) {
        if (gGameEngine)
            gGameEngine->RemovePlayerFromGame(host);
    });
    for (PACKET_TYPE type : kInboundKinds)
        connections->SetPacketHandler(type, [](NetPacket& packet) {
            if (!ReceivePacket(packet))
                gEngine->Log(1, "GameEngineInboundInterface: no game root to run packet %u",
                             static_cast<unsigned>(packet.GetType()));
        });
}

}  // namespace GAME
