// Builds the game root as a server with two client hosts and feeds it sequences of frames from
// both, so the game-wide handlers (players, parties, bonuses, chat, markets, commands) run on
// whatever a hostile client can send. An input is a list of frames:
//   [host bit and flags: 1 byte][body length: 1 byte][type: 2 bytes][body]...
// Game time moves on between inputs, so the rate bound never shuts a host out for good.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/net/NetPacketRegistry.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/net/transport/LoopbackTransport.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/core/players/PlayerManagerServer.h"
#include "tests/support/CharacterSetUp.h"

namespace GAME {
namespace {

constexpr std::uint32_t PlayerOf(int host) {
    return (static_cast<std::uint32_t>(host) << 28) | 0x100u;
}

std::shared_ptr<LoopbackNetwork> gNetwork;
std::vector<std::unique_ptr<NetTransport>> gClients;
std::vector<PACKET_TYPE> gTypes;

void Join(int host) {
    auto* player = Singleton<ObjectManager>::Get().CreateObject<Player>(PlayerOf(host));
    if (!player)
        return;
    player->SetPlayerName(L"Player" + std::to_wstring(host));
    test::SetCharLevel(*player, 3);
    PlayerNetBasicInfo info;
    player->GetPlayerNetBasicInfo(info);
    gGameEngine->GetPlayerManagerServer()->HandleNewPlayer(info);
}

// What the server sent to the clients is read and thrown away, so the queues stay short.
void DrainClients() {
    std::vector<NetFrame> frames;
    for (auto& client : gClients)
        if (client)
            client->Poll(frames, 0);
}

}  // namespace
}  // namespace GAME

using namespace GAME;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    gEngine->SetLogSink([](int, const char*, const std::string&) {});
    Singleton<RecordDatabase>::Get().SetDataRoot(GAME_FUZZ_DATA_DIR);
    for (const auto& [type, kind] : NetPacketRegistry::Global().Kinds())
        gTypes.push_back(type);
    gNetwork = LoopbackNetwork::Create();
    gEngine->GetNetworkConnectionManager()->SetTransport(gNetwork->CreateServer());
    gClients.push_back(gNetwork->CreateClient());
    gClients.push_back(gNetwork->CreateClient());
    InitializeObjects();
    gGameEngine->SetAsNetworkServer();
    for (int host = 0; host <= 2; ++host)
        Join(host);
    // A merchant-looking entity and a pickup for the market and bonus requests to name.
    Singleton<ObjectManager>::Get().CreateObject<Entity>(0x40);
    Singleton<ObjectManager>::Get().CreateObjectFromFile<Entity>("Records/Players/Potion.dbr",
                                                                 0x41);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (gTypes.empty() || !gGameEngine)
        return 0;
    NetworkConnectionManager* connections = gEngine->GetNetworkConnectionManager();
    std::vector<std::uint8_t> frame;
    std::size_t at = 0;
    while (at + 4 <= size) {
        const int host = 1 + (data[at] & 1);
        const std::size_t length = data[at + 1];
        const PACKET_TYPE type = gTypes[(data[at + 2] | (data[at + 3] << 8)) % gTypes.size()];
        at += 4;
        const std::size_t body = length < size - at ? length : size - at;
        frame.assign(
            {static_cast<std::uint8_t>(type & 0xFF), static_cast<std::uint8_t>(type >> 8)});
        frame.insert(frame.end(), data + at, data + at + body);
        at += body;
        connections->HandleFrame(host, frame.data(), frame.size());
    }
    gEngine->AdvanceGameTime(NetworkConnectionManager::kRateWindowMs);
    gGameEngine->Update(static_cast<int>(NetworkConnectionManager::kRateWindowMs));
    std::vector<GameEngine::ChatMessage> chat;
    gGameEngine->RemovePendingMessages(chat);
    DrainClients();
    return 0;
}
