#pragma once
// The operations every game packet kind declares: default construction with its type id,
// member-wise copies, its writer, reader and description.
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
