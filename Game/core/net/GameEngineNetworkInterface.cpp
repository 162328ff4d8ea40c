#include "Game/core/net/GameEngineNetworkInterface.h"

#include "Game/core/net/GameEngineNetworkInterfacePackets.h"

namespace GAME {

GameEngineNetworkInterface::GameEngineNetworkInterface()
    : packets(std::make_unique<NetworkInterfacePackets>()) {}

GameEngineNetworkInterface::~GameEngineNetworkInterface() = default;

GameEngineNetworkInterface::GameEngineNetworkInterface(const GameEngineNetworkInterface& other)
    : packets(std::make_unique<NetworkInterfacePackets>(*other.packets)) {}

GameEngineNetworkInterface& GameEngineNetworkInterface::operator=(
    const GameEngineNetworkInterface& other) {
    if (this != &other)
        *packets = *other.packets;
    return *this;
}

}  // namespace GAME
