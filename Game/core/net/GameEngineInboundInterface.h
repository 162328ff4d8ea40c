#pragma once
// Carries each game-wide operation out on this machine: a packet received from another machine
// comes here (ReceivePacket), and in single player every call does. Requests that would let a
// client act for another player are refused on a server; the party requests of the game's own
// flows (joining on an invitation, the inviter taking the lead, the leader's kick) are let
// through and passed on to the clients they concern.
#include <map>
#include <set>

#include "Engine/net/PacketTypes.h"
#include "Game/core/net/GameEngineNetworkInterface.h"

namespace GAME {

class NetPacket;
class RemoteMessagePacket;
class RemoteWMessagePacket;

class GameEngineInboundInterface : public GameEngineNetworkInterface {
public:
    GAME_NETWORK_OPERATIONS(GAME_NETOP_DECLARE_OVERRIDE)

    // The machine a received packet came from while its operation runs (-1: this machine).
    void SetSourceHost(int host) { sourceHost = host; }
    // The kind of the received packet being run (0: none), for the refusal log.
    void SetSourceType(PACKET_TYPE type) { sourceType = type; }
    PACKET_TYPE GetSourceType() const { return sourceType; }
    int GetSourceHost() const { return sourceHost; }

    // The receive path: runs a decoded packet on this machine's root; false when the packet
    // is not one of the interface's kinds or no root exists.
    static bool ReceivePacket(NetPacket& packet);
    // Installs ReceivePacket as this machine's handler of every kind the interface carries.
    static void InstallPacketHandlers();
    // Whether a server runs and relays a client's configuration command about the object.
    static bool ClientMayCommand(int host, PACKET_TYPE type, std::uint32_t object);
    // On a server: a client's player used up a gold pile here; the client's bonus for it is
    // paid with this amount, the server's copy of the pile, once.
    void NoteGoldOwed(std::uint32_t pile, std::uint32_t player, std::uint32_t amount) {
        owedGold[pile] = {player, amount};
    }

private:
    // A server's request that came from one of its clients.
    bool FromRemoteClient() const;
    // Whether the player id belongs to the machine the request came from.
    bool SourceOwnsPlayer(std::uint32_t player) const;
    // Whether the player is the source's and on the server's list.
    bool SourceOwnsListedPlayer(std::uint32_t player) const;
    // Logs the refusal (rate-limited per host and kind) and returns true.
    bool Refuse(const char* operation, std::uint32_t object = 0) const;
    // Refuses (true, logged) a server's client's market request naming no merchant.
    bool RefusedUnlessMerchant(std::uint32_t market, const char* operation) const;
    // Logs (rate-limited) that a client's report was brought within bounds.
    void Capped(const char* operation, std::uint32_t player) const;
    // The name a client's text goes out under: its listed player's, else the given one unless a
    // listed player of another machine bears it (false).
    bool SenderName(std::wstring& name) const;
    // On a server: makes a client's notice to another machine show its sender; false when it
    // may not be sent.
    bool VouchForSender(RemoteMessagePacket& packet) const;
    bool VouchForSender(RemoteWMessagePacket& packet) const;
    // Refuses (true, logged) what a server's client may not ask at all.
    bool RefusedFromClient(const char* operation) const;
    // Refuses (true, logged) a server's client's request naming a player of another machine.
    bool RefusedUnlessOwner(std::uint32_t player, const char* operation) const;
    // Whether the request's source may move that player to that party (always, unless it is a
    // server's request from a client).
    bool MayChangeParty(std::uint32_t player, int party) const;
    // Whether the request's source may invite for that party (the inviter's id).
    bool MayInvite(int party) const;
    // On a server: passes a client's message on to its receiver's machine (true), unless the
    // receiver is this machine's.
    bool PassOnToReceiver(std::uint32_t receiver, NetPacket& packet) const;
    // On a server: books a client's trade step (TradeBook); true, logged, when refused.
    bool RefusedTradeStep(NetPacket& packet) const;
    // Runs a received packet's operation (run) the way its route says: here, or passed on.
    template <OperationRoute route, class Kind, class Run>
    void RunReceived(Kind& packet, Run run);

    // Counts a client's quest message against its host's share; false past the share.
    bool TakeQuestMessageBudget();
    // Counts a client's request for a quest's item against its host's share; false past it.
    bool TakeQuestItemBudget();
    // On a server: makes the item a quest of a client's player gives it (see the .cpp).
    void CreateQuestItemForClient(std::uint32_t character, const ItemReplicaInfo& item);

    int sourceHost = -1;
    PACKET_TYPE sourceType = 0;
    std::set<std::uint32_t> claimedBonusSources;  // objects whose bonus a client has had
    struct OwedGold {
        std::uint32_t player = 0;
        std::uint32_t amount = 0;
    };
    std::map<std::uint32_t, OwedGold> owedGold;  // by pile
    struct QuestBudget {
        std::uint64_t second = 0;
        int used = 0;
    };
    std::map<int, QuestBudget> questBudgets;      // by host
    std::map<int, QuestBudget> questItemBudgets;  // by host
};

}  // namespace GAME
