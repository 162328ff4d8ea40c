#pragma once
// The action classes with their kind, text and packet kind. The kind (CharacterActionType, kept
// with the root's player action matrix, which it indexes) is 0 for "no action".
#include "Game/core/settings/GameTables.h"

namespace GAME {

// clang-format off
//  class                 kind (GameTables.h)                text                    packet kind
#define GAME_CHARACTER_ACTIONS(X) \
    X(IdleAction,          CharacterActionType_Idle,          "IdleAction",          IdleActionPacket) \
    X(LongIdleAction,      CharacterActionType_LongIdle,      "LongIdleAction",      LongIdleActionPacket) \
    X(MoveToAction,        CharacterActionType_MoveTo,        "MoveToAction",        MoveToPacket) \
    X(WalkAction,          CharacterActionType_Walk,          "WalkAction",          WalkPacket) \
    X(PickUpAction,        CharacterActionType_PickUp,        "PickUpAction",        PickUpItemPacket) \
    X(UseAction,           CharacterActionType_Use,           "UseAction",           UseItemPacket) \
    X(AttackAction,        CharacterActionType_Attack,        "AttackAction",        AttackPacket) \
    X(TakeStunAction,      CharacterActionType_TakeStun,      "TakeStunAction",      TakeStunPacket) \
    X(ImmobilizeAction,    CharacterActionType_Immobilize,    "ImobilizeAction",     ImmobilizePacket) \
    X(TakeTrapAction,      CharacterActionType_TakeTrap,      "TakeTrapAction",      TakeTrapPacket) \
    X(DieAction,           CharacterActionType_Die,           "DieAction",           DiePacket) \
    X(ChatAction,          CharacterActionType_Chat,          "ChatAction",          ChatActionPacket) \
    X(PlayAnimationAction, CharacterActionType_PlayAnimation, "PlayAnimationAction", PlayAnimationActionPacket) \
    X(SpawnAction,         CharacterActionType_Spawn,         "SpawnAction",         SpawnActionPacket) \
    X(RespawnAction,       CharacterActionType_Respawn,       "RespawnAction",       RespawnPacket) \
    X(EngageNpcAction,     CharacterActionType_EngageNpc,     "EngageNpcAction",     EngageNpcPacket)
// clang-format on

// The class's text; "(unset value)" for a kind no class has.
const char* GetCharacterActionText(CharacterActionType type);

}  // namespace GAME
