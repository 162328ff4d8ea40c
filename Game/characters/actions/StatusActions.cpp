#include "Game/characters/actions/StatusActions.h"

#include "Game/characters/Character.h"
#include "Game/core/net/packets/CharacterActionPackets.h"

namespace GAME {

namespace {

// The status kinds carry the character alone, never a pre-move.
template <class Packet>
std::unique_ptr<CharacterActionPacketBase> StatusPacket(std::uint32_t parentId) {
    auto packet = std::make_unique<Packet>();
    packet->character = parentId;
    return packet;
}

}  // namespace

TakeStunAction::TakeStunAction(std::uint32_t parentId)
    : CharacterActionBase(parentId, CharacterActionType_TakeStun) {}

void TakeStunAction::Execute() {
    if (Character* character = GetLivingCharacterOrFinish()) {
        character->ExecuteStun();
        character->PlayStunSound();
    }
}

std::unique_ptr<CharacterActionPacketBase> TakeStunAction::GetNetPacket() const {
    return StatusPacket<TakeStunPacket>(GetParentId());
}

ImmobilizeAction::ImmobilizeAction(std::uint32_t parentId)
    : CharacterActionBase(parentId, CharacterActionType_Immobilize) {}

void ImmobilizeAction::Execute() {
    if (Character* character = GetLivingCharacterOrFinish())
        character->ExecuteImmobilize();
}

std::unique_ptr<CharacterActionPacketBase> ImmobilizeAction::GetNetPacket() const {
    return StatusPacket<ImmobilizePacket>(GetParentId());
}

TakeTrapAction::TakeTrapAction(std::uint32_t parentId)
    : CharacterActionBase(parentId, CharacterActionType_TakeTrap) {}

void TakeTrapAction::Execute() {
    Character* character = GetLivingCharacterOrFinish();
    if (!character)
        return;
    character->ExecuteTrap();
    Finish();
}

std::unique_ptr<CharacterActionPacketBase> TakeTrapAction::GetNetPacket() const {
    return StatusPacket<TakeTrapPacket>(GetParentId());
}

}  // namespace GAME
