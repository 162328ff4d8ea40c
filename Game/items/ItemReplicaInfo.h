#pragma once
// One item instance: its records, seed and relic level. Any machine, or a saved game, rebuilds
// the same item from it. Three serial forms: named properties (character saves), binary (placed
// objects' state) and the packet form (every network message that carries an item).
#include <cstdint>
#include <string>

#include "Engine/net/fields/NetPacketBuffer.h"

namespace GAME {

class IOStream;
class BinaryWriter;
class BinaryReader;

// The longest record name a stored or received item record may carry.
inline constexpr std::uint32_t kMaxItemRecordString = 0x100000;

// Reads a 32-bit length and that many bytes. A length above kMaxItemRecordString or past the
// end is refused: false, the string unchanged, only the length consumed.
bool ReadLengthPrefixedString(BinaryReader& reader, std::string& text);

struct ItemReplicaInfo : NetItemRecord {
    ItemReplicaInfo() = default;
    ItemReplicaInfo(const NetItemRecord& record) : NetItemRecord(record) {}

    // Equal names (case and slash direction aside), seed and relic level; the id takes no part.
    bool operator==(const ItemReplicaInfo& other) const;

    void StreamProperties(IOStream& stream);
    // The block, then the equipment entry's "itemAttached" outside it.
    void StreamPropertiesWithAttached(IOStream& stream, bool& attached);

    // Binary form: id, prefix, suffix, relic and relic-bonus names, seed, relic level. The base
    // name is the object's own record name and is not written.
    void SaveState(BinaryWriter& writer) const;
    // All or nothing: a field that cannot be read (a refused string among them) fails the read
    // and leaves the record as it was.
    bool RestoreState(BinaryReader& reader);

    // Packet form: id, a flags byte, then only the fields whose flag is set. The base name
    // travels beside the record, or not at all for replication.
    void WriteToPacket(NetPacketOutBuffer& out) const;
    // All or nothing, as RestoreState; the base name is left as it is.
    bool ReadFromPacket(NetPacketInBuffer& in);
};

}  // namespace GAME
