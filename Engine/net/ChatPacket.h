#pragma once
// The engine's chat message: sender name, text, channel and the intended recipients.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/net/NetPacket.h"

namespace GAME {

class ChatPacket : public NetPacket {
public:
    ChatPacket();
    ~ChatPacket() override;
    ChatPacket(const ChatPacket&) = default;
    ChatPacket& operator=(const ChatPacket&) = default;

    unsigned int PrepareOutBuffer() override;
    void CopyInbound(const unsigned char* data, int size) override;
    std::string GetPacketDescription(bool flag) override;

    std::wstring from;
    std::wstring text;
    std::uint8_t channel = 0;
    std::vector<std::uint32_t> recipients;

    template <class V>
    void VisitFields(V& v) {
        v.String(from, "From: ");
        v.String(text, "Text: ");
        v.Byte(channel, "Channel: ");
        v.Words(recipients, {.heading = "Recipients:",
                             .item = "Recipient ",
                             .indent = 1,
                             .numbered = true,
                             .replace = true});
    }
};

}  // namespace GAME
