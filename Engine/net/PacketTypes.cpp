#include "Engine/net/PacketTypes.h"

#include <cstring>

namespace GAME {

namespace {

struct KindRow {
    PACKET_TYPE id;
    const char* kind;
    const char* base;
};
constexpr KindRow kKinds[] = {
#define GAME_PACKET_ROW(id, kind, base) {id, #kind, #base},
    GAME_PACKET_KINDS(GAME_PACKET_ROW)
#undef GAME_PACKET_ROW
};
static_assert(sizeof kKinds / sizeof kKinds[0] == kGamePacketKindCount);

struct CommandRow {
    const char* command;
    const char* packet;
    PACKET_TYPE id;
};
constexpr CommandRow kCommands[] = {
#define GAME_COMMAND_ROW(command, packet, id) {#command, #packet, id},
    GAME_CONFIG_COMMANDS(GAME_COMMAND_ROW)
#undef GAME_COMMAND_ROW
};
static_assert(sizeof kCommands / sizeof kCommands[0] == kConfigCommandKindCount);

const KindRow* FindRow(PACKET_TYPE type) {
    for (const KindRow& row : kKinds)
        if (row.id == type)
            return &row;
    return nullptr;
}

const CommandRow* FindCommand(const char* name) {
    if (!name)
        return nullptr;
    for (const CommandRow& row : kCommands)
        if (std::strcmp(row.command, name) == 0)
            return &row;
    return nullptr;
}

}  // namespace

const char* GetGamePacketKindName(PACKET_TYPE type) {
    const KindRow* row = FindRow(type);
    return row ? row->kind : nullptr;
}

const char* GetGamePacketBaseName(PACKET_TYPE type) {
    const KindRow* row = FindRow(type);
    return row ? row->base : nullptr;
}

PACKET_TYPE FindGamePacketType(const char* kindName) {
    if (!kindName)
        return 0;
    for (const KindRow& row : kKinds)
        if (std::strcmp(row.kind, kindName) == 0)
            return row.id;
    return 0;
}

const char* GetConfigCommandPacketName(const char* commandName) {
    const CommandRow* row = FindCommand(commandName);
    return row ? row->packet : nullptr;
}

PACKET_TYPE GetConfigCommandPacketType(const char* commandName) {
    const CommandRow* row = FindCommand(commandName);
    return row ? row->id : 0;
}

}  // namespace GAME
