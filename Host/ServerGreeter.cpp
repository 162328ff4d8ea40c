#include "Host/ServerGreeter.h"

#include <algorithm>
#include <string>

#include "Engine/Engine.h"
#include "Engine/net/NetPacket.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Host/PrintableText.h"

namespace GAME {

void ServerGreeter::Install() {
    NetworkConnectionManager* net = gEngine->GetNetworkConnectionManager();
    // The root's handler carries the request out; the greeter only watches what it records.
    net->SetPacketHandler(
        PacketType::ChatPacket,
        [this, rootHandler = net->GetPacketHandler(PacketType::ChatPacket)](NetPacket& packet) {
            const std::size_t before = gGameEngine ? gGameEngine->GetChatMessages().size() : 0;
            if (rootHandler)
                rootHandler(packet);
            else
                GameEngineInboundInterface::ReceivePacket(packet);
            const std::size_t after = gGameEngine ? gGameEngine->GetChatMessages().size() : 0;
            if (after > before) {
                mSenders.resize(before, -1);
                mSenders.resize(after, packet.GetHeader().sourceHost);
            }
        });
}

int ServerGreeter::AnswerNewGreetings(std::FILE* out) {
    if (!gGameEngine)
        return mClientsGreeted;
    const auto& messages = gGameEngine->GetChatMessages();
    for (; mAnswered < messages.size(); ++mAnswered) {
        const int host = mAnswered < mSenders.size() ? mSenders[mAnswered] : -1;
        const auto& message = messages[mAnswered];
        std::fprintf(out, "gamehost: host %d as \"%s\" says \"%s\"\n", host,
                     PrintableText(message.from).c_str(), PrintableText(message.text).c_str());
        if (host < 1 || host > kMaxClientHosts)
            continue;  // not a client's: nobody to answer
        if (mConnectedGreeted.insert(host).second)
            ++mClientsGreeted;
        // A player id names its host in the top four bits: this one reaches that host alone.
        const std::uint32_t receiver = static_cast<std::uint32_t>(host) << 28;
        gGameEngine->GetNetworkInterface()->DisplayWMessageRemote(
            receiver, true, L"welcome, host " + std::to_wstring(host));
    }
    // A host that left is a new client when its id comes back.
    const std::vector<int> connected = gEngine->GetNetworkConnectionManager()->GetClientHosts();
    std::erase_if(mConnectedGreeted, [&connected](int host) {
        return std::find(connected.begin(), connected.end(), host) == connected.end();
    });
    return mClientsGreeted;
}

}  // namespace GAME
