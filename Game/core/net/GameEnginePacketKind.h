#pragma once
// The operations every game packet kind declares: default construction with its type id,
// member-wise copies, its writer, reader and description. A kind lists its fields once in a
// member `template <class V> void VisitFields(V& v)` (see Engine/net/NetPacketFields.h); its
// source defines the operations from that list with the _DEFINITIONS macro of its family.
#include <string>

#define GAME_PACKET_KIND_OPERATIONS(Kind)                           \
public:                                                             \
    Kind();                                                         \
    ~Kind() override;                                               \
    Kind(const Kind&) = default;                                    \
    Kind& operator=(const Kind&) = default;                         \
    unsigned int PrepareOutBuffer() override;                       \
    void CopyInbound(const unsigned char* data, int size) override; \
    std::string GetPacketDescription(bool flag) override;

#define GAME_ACTION_PACKET_KIND_OPERATIONS(Kind)      \
public:                                               \
    Kind();                                           \
    ~Kind() override;                                 \
    Kind(const Kind&) = default;                      \
    Kind& operator=(const Kind&) = default;           \
    void Serialize(NetPacketOutBuffer& out) override; \
    void Deserialize(NetPacketInBuffer& in) override; \
    std::string GetPacketDescription(bool flag) override;

// Kinds of one layout share a class template whose parameter is their type id, named `Type`; each
// kind is then an empty class deriving from the template with its id.
#define GAME_PACKET_LAYOUT_OPERATIONS(Layout, Base)                 \
public:                                                             \
    Layout() : Base(Type) {}                                        \
    unsigned int PrepareOutBuffer() override;                       \
    void CopyInbound(const unsigned char* data, int size) override; \
    std::string GetPacketDescription(bool flag) override;

#define GAME_ACTION_PACKET_LAYOUT_OPERATIONS(Layout)  \
public:                                               \
    Layout() : CharacterActionPacketBase(Type) {}     \
    void Serialize(NetPacketOutBuffer& out) override; \
    void Deserialize(NetPacketInBuffer& in) override; \
    std::string GetPacketDescription(bool flag) override;

// In the kind's source file (which includes Engine/net/NetPacketFields.h).
#define GAME_PACKET_KIND_DEFINITIONS(Kind, Base) \
    Kind::Kind() : Base(PacketType::Kind) {}     \
    Kind::~Kind() = default;                     \
    NET_PACKET_FIELD_OPERATIONS(Kind)

#define GAME_ACTION_PACKET_FIELD_OPERATIONS_OF(Head, Kind)   \
    Head void Kind::Serialize(NetPacketOutBuffer& out) {     \
        ::GAME::WriteFields(*this, out);                     \
    }                                                        \
    Head void Kind::Deserialize(NetPacketInBuffer& in) {     \
        ::GAME::ReadFields(*this, in);                       \
    }                                                        \
    Head std::string Kind::GetPacketDescription(bool flag) { \
        return ::GAME::DescribePacketFields(*this, flag);    \
    }

#define GAME_ACTION_PACKET_KIND_DEFINITIONS(Kind)                 \
    Kind::Kind() : CharacterActionPacketBase(PacketType::Kind) {} \
    Kind::~Kind() = default;                                      \
    GAME_ACTION_PACKET_FIELD_OPERATIONS_OF(, Kind)

// The operations of a layout template, for the kinds instantiated explicitly after it.
#define GAME_PACKET_LAYOUT_DEFINITIONS(Layout) \
    NET_PACKET_FIELD_OPERATIONS_OF(template <PACKET_TYPE Type>, Layout<Type>)
#define GAME_ACTION_PACKET_LAYOUT_DEFINITIONS(Layout) \
    GAME_ACTION_PACKET_FIELD_OPERATIONS_OF(template <PACKET_TYPE Type>, Layout<Type>)
