#include "Engine/net/ChatPacket.h"

#include "Engine/net/NetPacketBuffer.h"
#include "Engine/net/NetPacketDescriber.h"
#include "Engine/net/NetPacketRegistry.h"

namespace GAME {

ChatPacket::ChatPacket() : NetPacket(PacketType::ChatPacket) {}
ChatPacket::~ChatPacket() = default;

unsigned int ChatPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Add(from);
    out.Add(text);
    out.Write8(channel);
    out.AddIdList(recipients);
    return out.Done();
}

void ChatPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    std::vector<std::uint32_t> ids;
    in.Remove(&from);
    in.Remove(&text);
    in.Read8(channel);
    in.RemoveIdList(&ids);
    recipients = std::move(ids);
}

std::string ChatPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber describer(this, flag);
    describer.Describe("From: ", from, 0);
    describer.Describe("Text: ", text, 0);
    describer.Describe("Channel: ", static_cast<unsigned int>(channel), 0);
    describer.Heading("Recipients:", 0);
    for (std::size_t i = 0; i < recipients.size(); ++i)
        describer.Describe(("Recipient " + std::to_string(i) + ": ").c_str(), recipients[i], 1);
    return describer.GetDescription();
}

// The game installs what receiving a chat message means on its machines.
REGISTER_NET_PACKET(ChatPacket);

}  // namespace GAME
