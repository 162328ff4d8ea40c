#include "Game/characters/actions/LifeActions.h"

#include "Game/characters/Character.h"
#include "Game/characters/actions/ActionSupport.h"
#include "Game/core/net/packets/CharacterActionPackets.h"
#include "Game/rules/death/DeathManager.h"

namespace GAME {

using namespace action_support;

DieAction::DieAction(std::uint32_t parentId, std::vector<std::uint32_t> objectIds)
    : CharacterActionBase(parentId, CharacterActionType_Die), mObjectIds(std::move(objectIds)) {}

void DieAction::Execute() {
    Character* character = GetCharacter();
    if (!character)
        return;
    character->SetLifeState(Character_LifeState::Dying);
    character->SetActionState(Character_ActionState::Dying);
    if (DeathManager* deaths = character->GetDeathManager()) {
        deaths->SetObjectIds(mObjectIds);
        deaths->Execute();
    }
    character->GetPlayStats().IncrementDeaths();
}

void DieAction::AnimationCallback(const Name& event) {
    if (!IsActive())
        return;
    Character* character = GetCharacter();
    if (DeathManager* deaths = character ? character->GetDeathManager() : nullptr)
        deaths->AnimationCallback(event);
}

void DieAction::OnFinish() {
    if (Character* character = GetCharacter())
        character->SetLifeState(Character_LifeState::Dead);
}

std::unique_ptr<CharacterActionPacketBase> DieAction::GetNetPacket() const {
    auto packet = std::make_unique<DiePacket>();
    SetPacketCharacter(*packet);
    packet->deathHandlerIds = mObjectIds;
    LoadPreMoveData(*packet);
    return packet;
}

SpawnAction::SpawnAction(std::uint32_t parentId)
    : CharacterActionBase(parentId, CharacterActionType_Spawn) {}

void SpawnAction::Execute() {
    GetCharacterOrFinish();
}

void SpawnAction::AnimationCallback(const Name& event) {
    if (event == EndEvent() && GetCharacter())
        Finish();
}

std::unique_ptr<CharacterActionPacketBase> SpawnAction::GetNetPacket() const {
    auto packet = std::make_unique<SpawnActionPacket>();
    SetPacketCharacter(*packet);
    LoadPreMoveData(*packet);
    return packet;
}

RespawnAction::RespawnAction(std::uint32_t parentId, const WorldCoords& coords)
    : CharacterActionBase(parentId, CharacterActionType_Respawn), mCoords(coords) {}

void RespawnAction::Execute() {
    Character* character = GetCharacter();
    if (!character || character->IsAlive()) {
        Finish();
        return;
    }
    character->StartRespawn(mCoords);
    if (!PlayAnimation(*character, AnimationSet_Type::Respawn))
        Finish();
}

void RespawnAction::AnimationCallback(const Name& event) {
    if (event == EndEvent() && GetCharacter())
        Finish();
}

void RespawnAction::OnFinish() {
    if (Character* character = GetCharacter())
        character->StopRespawn();
}

std::unique_ptr<CharacterActionPacketBase> RespawnAction::GetNetPacket() const {
    auto packet = std::make_unique<RespawnPacket>();
    SetPacketCharacter(*packet);
    packet->respawnCoords = mCoords;
    LoadPreMoveData(*packet);
    return packet;
}

}  // namespace GAME
