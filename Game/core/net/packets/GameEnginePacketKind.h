#pragma once
// The operations every game packet kind declares: default construction with its type id,
// member-wise copies, its writer, reader and description. A kind lists its fields once in a
// member `template <class V> void VisitFields(V& v)` (see Engine/net/fields/NetPacketFields.h); its
// source defines the operations from that list with the _DEFINITIONS macro of its family.
#include <string>

#define GAME_PACKET_KIND_LIFETIME(Kind) \
public:                                 \
    Kind();                             \
    ~Kind() override;                   \
    Kind(const Kind&) = default;        \
    Kind& operator=(const Kind&) = default;

#define GAME_PACKET_KIND_OPERATIONS(Kind)                           \
    GAME_PACKET_KIND_LIFETIME(Kind)                                 \
    unsigned int PrepareOutBuffer() override;                       \
    void CopyInbound(const unsigned char* data, int size) override; \
    std::string GetPacketDescription(bool flag) override;

#define GAME_ACTION_PACKET_KIND_OPERATIONS(Kind)      \
    GAME_PACKET_KIND_LIFETIME(Kind)                   \
    void Serialize(NetPacketOutBuffer& out) override; \
    void Deserialize(NetPacketInBuffer& in) override; \
    std::string GetPacketDescription(bool flag) override;

// Kinds of one layout share a class template whose parameter is their type id, named `Type`; each
// kind is then an empty class deriving from the template with its id. The header of a layout
// includes Engine/net/fields/NetPacketFields.h: its operations are defined here, from its field
// list.
#define GAME_PACKET_LAYOUT_OPERATIONS(Layout, Base)                  \
public:                                                              \
    Layout() : Base(Type) {}                                         \
    unsigned int PrepareOutBuffer() override {                       \
        return ::GAME::WritePacketFields(*this);                     \
    }                                                                \
    void CopyInbound(const unsigned char* data, int size) override { \
        ::GAME::ReadPacketFields(*this, data, size);                 \
    }                                                                \
    std::string GetPacketDescription(bool flag) override {           \
        return ::GAME::DescribePacketFields(*this, flag);            \
    }

#define GAME_ACTION_PACKET_LAYOUT_OPERATIONS(Layout)       \
public:                                                    \
    Layout() : CharacterActionPacketBase(Type) {}          \
    void Serialize(NetPacketOutBuffer& out) override {     \
        ::GAME::WriteFields(*this, out);                   \
    }                                                      \
    void Deserialize(NetPacketInBuffer& in) override {     \
        ::GAME::ReadFields(*this, in);                     \
    }                                                      \
    std::string GetPacketDescription(bool flag) override { \
        return ::GAME::DescribePacketFields(*this, flag);  \
    }

// In the kind's source file (which includes Engine/net/fields/NetPacketFields.h).
#define GAME_PACKET_KIND_DEFINITIONS(Kind, Base) \
    Kind::Kind() : Base(PacketType::Kind) {}     \
    Kind::~Kind() = default;                     \
    NET_PACKET_FIELD_OPERATIONS(Kind)

#define GAME_ACTION_PACKET_KIND_DEFINITIONS(Kind)                 \
    Kind::Kind() : CharacterActionPacketBase(PacketType::Kind) {} \
    Kind::~Kind() = default;                                      \
    void Kind::Serialize(NetPacketOutBuffer& out) {               \
        ::GAME::WriteFields(*this, out);                          \
    }                                                             \
    void Kind::Deserialize(NetPacketInBuffer& in) {               \
        ::GAME::ReadFields(*this, in);                            \
    }                                                             \
    std::string Kind::GetPacketDescription(bool flag) {           \
        return ::GAME::DescribePacketFields(*this, flag);         \
    }
