#pragma once
// One field list per packet kind. A kind names its fields once, in wire order, in a member
//
//     template <class V> void VisitFields(V& v) {
//         v.Word(playerId, "Player Id: ");   // encoding, field, description label
//         v.Position(location);              // carried, not described
//     }
//
// and its writer, reader and description are the three visitors run over that list: the
// writer appends each field to a NetPacketOutBuffer, the reader takes it back from a
// NetPacketInBuffer (bounds-checked), the describer gives each labelled field a line. A visit may
// branch on V::kWrites, V::kReads or V::kDescribes where a layout depends on the direction
// (a flags byte computed from the fields, a count that is capped when sent).
#include <string>

#include "Engine/net/fields/NetFieldDescriber.h"
#include "Engine/net/fields/NetFieldReader.h"
#include "Engine/net/fields/NetFieldWriter.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/net/fields/NetPacketDescriber.h"

namespace GAME {

template <class Packet>
void WriteFields(Packet& packet, NetPacketOutBuffer& out) {
    NetFieldWriter writer(out);
    packet.VisitFields(writer);
}

template <class Packet>
void ReadFields(Packet& packet, NetPacketInBuffer& in) {
    NetFieldReader reader(in);
    packet.VisitFields(reader);
}

// PrepareOutBuffer of a kind.
template <class Packet>
unsigned int WritePacketFields(Packet& packet) {
    NetPacketOutBuffer out(&packet);
    WriteFields(packet, out);
    return out.Done();
}

// CopyInbound of a kind.
template <class Packet>
void ReadPacketFields(Packet& packet, const unsigned char* data, int size) {
    NetPacketInBuffer in(packet.GetHeader(), data, size);
    ReadFields(packet, in);
}

// GetPacketDescription of a kind.
template <class Packet>
std::string DescribePacketFields(Packet& packet, bool flag) {
    NetPacketDescriber describer(&packet, flag);
    NetFieldDescriber visitor(describer);
    packet.VisitFields(visitor);
    return describer.GetDescription();
}

}  // namespace GAME

// Defines a kind's PrepareOutBuffer, CopyInbound and GetPacketDescription from its field list.
#define NET_PACKET_FIELD_OPERATIONS(Kind)                         \
    unsigned int Kind::PrepareOutBuffer() {                       \
        return ::GAME::WritePacketFields(*this);                  \
    }                                                             \
    void Kind::CopyInbound(const unsigned char* data, int size) { \
        ::GAME::ReadPacketFields(*this, data, size);              \
    }                                                             \
    std::string Kind::GetPacketDescription(bool flag) {           \
        return ::GAME::DescribePacketFields(*this, flag);         \
    }
