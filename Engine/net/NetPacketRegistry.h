#pragma once
// Packet kinds by type id: how to make an empty packet of a kind, and what running a received
// one means (a handler, or rebuilding and executing a configuration command). The registry of
// the process (Global) is filled by static registration before main and only read afterwards;
// tests may build registries of their own.
//
// Receiving (Receive): the packet is made by its id, read with CopyInbound, checked (a bad body,
// bytes left over or objects missing drop it with a log line naming the type id and size), and
// only then executed; an unknown id is logged and dropped.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "Engine/net/PacketTypes.h"

namespace GAME {

class NetPacket;
class ActorConfigCommand;

using NetPacketFactory = NetPacket* (*)();
// Runs a received, checked packet on the current machine.
using NetPacketHandler = std::function<void(NetPacket& packet)>;
// Rebuilds the configuration command a received packet carries (null: nothing to run).
using NetCommandFactory = ActorConfigCommand* (*)(NetPacket& packet);

struct NetPacketKind {
    PACKET_TYPE type = 0;
    std::string name;
    NetPacketFactory factory = nullptr;
    NetPacketHandler handler;             // may be empty: a machine installs its own
    NetCommandFactory command = nullptr;  // set for configuration-command packets
    std::string commandName;
};

// What became of one received body.
enum class NetReceiveResult { Executed, UnknownType, BadBody, ObjectsMissing, NoHandler };

class NetPacketRegistry {
public:
    static NetPacketRegistry& Global();

    // Adds a kind; false (and a log line) when the id is taken, or when the id and the name
    // disagree with the packet-kind table.
    bool Register(PACKET_TYPE type, const char* name, NetPacketFactory factory,
                  NetPacketHandler handler = {});
    // Adds a configuration-command packet kind; its command is rebuilt from received packets
    // and executed. The command and packet names must match the command table.
    bool RegisterCommand(PACKET_TYPE type, const char* packetName, NetPacketFactory factory,
                         const char* commandName, NetCommandFactory command);

    template <class Packet>
    bool Register(const char* name, NetPacketHandler handler = {}) {
        return Register(
            Packet().GetType(), name, [] { return static_cast<NetPacket*>(new Packet()); },
            std::move(handler));
    }
    // Command must be constructible from a const Packet&.
    template <class Command, class Packet>
    bool RegisterCommand(const char* commandName, const char* packetName) {
        return RegisterCommand(
            Packet().GetType(), packetName, [] { return static_cast<NetPacket*>(new Packet()); },
            commandName,
            [](NetPacket& packet) -> ActorConfigCommand* {
                return new Command(static_cast<const Packet&>(packet));
            });
    }

    const NetPacketKind* Find(PACKET_TYPE type) const;
    // A new empty packet of the kind; null for an unknown id.
    std::unique_ptr<NetPacket> Create(PACKET_TYPE type) const;
    std::size_t Size() const { return mKinds.size(); }
    const std::map<PACKET_TYPE, NetPacketKind>& Kinds() const { return mKinds; }

    // Turns a received body into a packet of its kind and runs it; `handler` (when set) takes
    // the place of the kind's own handler. `received` (when set) gets the read packet before it
    // runs, for relaying.
    NetReceiveResult Receive(PACKET_TYPE type, const unsigned char* body, std::size_t size,
                             int sourceHost, const NetPacketHandler* handler = nullptr,
                             const std::function<void(NetPacket&)>& received = {}) const;

private:
    bool CheckTable(PACKET_TYPE type, const char* name) const;
    std::map<PACKET_TYPE, NetPacketKind> mKinds;
};

#define GAME_NET_CONCAT2(a, b) a##b
#define GAME_NET_CONCAT(a, b) GAME_NET_CONCAT2(a, b)
// Registers a packet kind in the process registry (at file scope of the kind's source file).
#define REGISTER_NET_PACKET(Kind, ...)                                       \
    [[maybe_unused]] static const bool GAME_NET_CONCAT(gRegistered_, Kind) = \
        ::GAME::NetPacketRegistry::Global().Register<Kind>(#Kind __VA_OPT__(, ) __VA_ARGS__)
// Registers a configuration command and its packet kind in the process registry.
#define REGISTER_CONFIG_COMMAND(Command, Packet)                                \
    [[maybe_unused]] static const bool GAME_NET_CONCAT(gRegistered_, Command) = \
        ::GAME::NetPacketRegistry::Global().RegisterCommand<Command, Packet>(#Command, #Packet)

}  // namespace GAME
