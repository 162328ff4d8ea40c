#include "Engine/net/NetPacketRegistry.h"

#include <climits>
#include <cstring>

#include "Engine/Engine.h"
#include "Engine/net/ActorConfigCommand.h"
#include "Engine/net/FrameStrikes.h"
#include "Engine/net/NetFaultLog.h"
#include "Engine/net/NetPacket.h"

namespace GAME {

NetPacketRegistry& NetPacketRegistry::Global() {
    static NetPacketRegistry registry;
    return registry;
}

bool NetPacketRegistry::CheckTable(PACKET_TYPE type, const char* name) const {
    if (!name || !*name) {
        gEngine->Log(1, "NetPacketRegistry: packet type %u registered without a name",
                     unsigned(type));
        return false;
    }
    if (type == 0) {
        gEngine->Log(1, "NetPacketRegistry: %s has type id 0", name);
        return false;
    }
    const PACKET_TYPE tableType = FindGamePacketType(name);
    if (tableType != 0 && tableType != type) {
        gEngine->Log(1, "NetPacketRegistry: %s registered with type %u, its type is %u", name,
                     unsigned(type), unsigned(tableType));
        return false;
    }
    const char* tableName = GetGamePacketKindName(type);
    if (tableName && std::strcmp(tableName, name) != 0) {
        gEngine->Log(1, "NetPacketRegistry: type %u belongs to %s, not %s", unsigned(type),
                     tableName, name);
        return false;
    }
    if (const NetPacketKind* existing = Find(type)) {
        gEngine->Log(1, "NetPacketRegistry: type %u of %s is already taken by %s", unsigned(type),
                     name, existing->name.c_str());
        return false;
    }
    return true;
}

bool NetPacketRegistry::Register(PACKET_TYPE type, const char* name, NetPacketFactory factory,
                                 NetPacketHandler handler) {
    if (!factory || !CheckTable(type, name))
        return false;
    NetPacketKind kind;
    kind.type = type;
    kind.name = name;
    kind.factory = factory;
    kind.handler = std::move(handler);
    mKinds.emplace(type, std::move(kind));
    return true;
}

bool NetPacketRegistry::RegisterCommand(PACKET_TYPE type, const char* packetName,
                                        NetPacketFactory factory, const char* commandName,
                                        NetCommandFactory command) {
    if (!factory || !command || !commandName)
        return false;
    const char* tablePacket = GetConfigCommandPacketName(commandName);
    if (tablePacket && (std::strcmp(tablePacket, packetName ? packetName : "") != 0 ||
                        GetConfigCommandPacketType(commandName) != type)) {
        gEngine->Log(1, "NetPacketRegistry: command %s travels as %s (type %u), not %s (type %u)",
                     commandName, tablePacket, unsigned(GetConfigCommandPacketType(commandName)),
                     packetName ? packetName : "", unsigned(type));
        return false;
    }
    if (!CheckTable(type, packetName))
        return false;
    NetPacketKind kind;
    kind.type = type;
    kind.name = packetName;
    kind.factory = factory;
    kind.command = command;
    kind.commandName = commandName;
    mKinds.emplace(type, std::move(kind));
    return true;
}

const NetPacketKind* NetPacketRegistry::Find(PACKET_TYPE type) const {
    auto it = mKinds.find(type);
    return it == mKinds.end() ? nullptr : &it->second;
}

std::unique_ptr<NetPacket> NetPacketRegistry::Create(PACKET_TYPE type) const {
    const NetPacketKind* kind = Find(type);
    return kind ? std::unique_ptr<NetPacket>(kind->factory()) : nullptr;
}

NetReceiveResult NetPacketRegistry::Receive(PACKET_TYPE type, const unsigned char* body,
                                            std::size_t size, int sourceHost,
                                            const NetPacketHandler* handler,
                                            const std::function<void(NetPacket&)>& received) const {
    const NetPacketKind* kind = Find(type);
    if (!kind) {
        NetFaultLog::Get().Report(1, sourceHost, NetFault::UnknownType, 0,
                                  "Net: dropped packet of unknown type %u (%zu bytes) from host %d",
                                  unsigned(type), size, sourceHost);
        return NetReceiveResult::UnknownType;
    }
    std::unique_ptr<NetPacket> packet(kind->factory());
    if (!packet)
        return NetReceiveResult::UnknownType;
    if (size > static_cast<std::size_t>(INT_MAX)) {
        NetFaultLog::Get().Report(1, sourceHost, NetFault::BadBody, type,
                                  "Net: dropped bad %s (type %u, %zu bytes) from host %d",
                                  kind->name.c_str(), unsigned(type), size, sourceHost);
        return NetReceiveResult::BadBody;
    }
    // A reader that never opens an in-buffer must not pass off an unread body as well formed.
    packet->GetHeader().BeginInbound(static_cast<std::uint32_t>(size));
    packet->CopyInbound(body, static_cast<int>(size));
    packet->GetHeader().sourceHost = sourceHost;
    if (!packet->IsInboundValid()) {
        NetFaultLog::Get().Report(1, sourceHost, NetFault::BadBody, type,
                                  "Net: dropped bad %s (type %u, %zu bytes) from host %d",
                                  kind->name.c_str(), unsigned(type), size, sourceHost);
        return NetReceiveResult::BadBody;
    }
    if (!packet->CheckObjects(0)) {
        NetFaultLog::Get().Report(
            0, sourceHost, NetFault::ObjectsMissing, type,
            "Net: dropped %s (type %u, %zu bytes) from host %d: objects it names are not here",
            kind->name.c_str(), unsigned(type), size, sourceHost);
        packet->FinishObjectProcessing();
        return NetReceiveResult::ObjectsMissing;
    }
    if (received)
        received(*packet);
    NetReceiveResult result = NetReceiveResult::Executed;
    if (handler && *handler) {
        (*handler)(*packet);
    } else if (kind->command) {
        std::unique_ptr<ActorConfigCommand> command(kind->command(*packet));
        if (command && FrameStrikes::Holds(*command))
            FrameStrikes::Get().Hold(std::move(command));
        else if (command)
            command->RunExecute();
    } else if (kind->handler) {
        kind->handler(*packet);
    } else {
        NetFaultLog::Get().Report(1, sourceHost, NetFault::NoHandler, type,
                                  "Net: no handler for %s (type %u) on this machine",
                                  kind->name.c_str(), unsigned(type));
        result = NetReceiveResult::NoHandler;
    }
    packet->FinishObjectProcessing();
    return result;
}

}  // namespace GAME
