#pragma once
// Packet type ids of every packet kind and the configuration-command table. Both tables are the
// single source of the ids: kinds register against them (NetPacketRegistry checks the pairing).
#include <cstdint>

namespace GAME {

// X(id, kind, base) for every game packet kind.
#define GAME_PACKET_KINDS(X)                                                  \
    X(17, QuestMessagePacket, NetPacket)                                      \
    X(20, FrustumUpdatePacket, NetPacket)                                     \
    X(21, AllPlayersHeartbeatPacket, NetPacket)                               \
    X(22, SinglePlayerHeartbeatPacket, NetPacket)                             \
    X(23, AllPlayersBasicInfoPacket, NetPacket)                               \
    X(24, SinglePlayerBasicInfoPacket, NetPacket)                             \
    X(25, WorldInitPacket, NetPacket)                                         \
    X(26, RemoteMessagePacket, NetPacket)                                     \
    X(27, RemoteWMessagePacket, NetPacket)                                    \
    X(28, PlayerPositionUpdatePacket, NetPacket)                              \
    X(29, PartyRequestResponsePacket, NetPacket)                              \
    X(30, SpawnPlayerPacket, ObjectContainerPacket)                           \
    X(32, CreateItemPacket, NetPacket)                                        \
    X(33, CreateEntityPacket, NetPacket)                                      \
    X(34, ServerSpawnCompletePacket, NetPacket)                               \
    X(35, AckEntityPacket, NetPacket)                                         \
    X(36, NackEntityPacket, NetPacket)                                        \
    X(37, WarpEntityPacket, NetPacket)                                        \
    X(38, TradeInitiatePacket, NetPacket)                                     \
    X(39, TradeCancelPacket, NetPacket)                                       \
    X(40, TradeSetGoldPacket, NetPacket)                                      \
    X(41, TradeAddItemPacket, NetPacket)                                      \
    X(42, TradeRemoveItemPacket, NetPacket)                                   \
    X(43, TradeFinalizePacket, NetPacket)                                     \
    X(44, CreateItemTeleportPacket, NetPacket)                                \
    X(45, DestroyItemTeleportPacket, NetPacket)                               \
    X(46, StartTeleportPacket, NetPacket)                                     \
    X(47, NRLoaderStatePacket, NetPacket)                                     \
    X(48, StartServerRespawnPacket, NetPacket)                                \
    X(49, MarketC2SUpdateRequestPacket, NetPacket)                            \
    X(50, MarketC2SSellBackPacket, NetPacket)                                 \
    X(51, MarketC2SPurchaseRequestPacket, NetPacket)                          \
    X(52, MarketS2CStatusUpdatePacket, NetPacket)                             \
    X(53, MarketS2CPurchaseDeniedPacket, NetPacket)                           \
    X(54, MarketS2CPurchaseConfirmationPacket, NetPacket)                     \
    X(55, MarketS2CUpdatePacket, NetPacket)                                   \
    X(56, QuestCommandMovePacket, NetPacket)                                  \
    X(57, QuestCommandWalkPacket, NetPacket)                                  \
    X(58, QuestCommandPlayAnimationPacket, NetPacket)                         \
    X(59, QuestCommandUseSkillPacket, NetPacket)                              \
    X(60, QuestCommandLockFixedItemPacket, NetPacket)                         \
    X(61, GameBalanceUpdatePacket, NetPacket)                                 \
    X(63, IdleActionPacket, CharacterActionPacket)                            \
    X(64, LongIdleActionPacket, CharacterActionPacket)                        \
    X(65, MoveToPacket, CharacterActionPacket)                                \
    X(66, WalkPacket, CharacterActionPacket)                                  \
    X(67, PickUpItemPacket, CharacterActionPacket)                            \
    X(68, UseItemPacket, CharacterActionPacket)                               \
    X(69, AttackPacket, CharacterActionPacket)                                \
    X(70, TakeStunPacket, CharacterActionPacket)                              \
    X(71, ImmobilizePacket, CharacterActionPacket)                            \
    X(72, TakeTrapPacket, CharacterActionPacket)                              \
    X(73, DiePacket, CharacterActionPacket)                                   \
    X(74, ChatActionPacket, CharacterActionPacket)                            \
    X(75, PlayAnimationActionPacket, CharacterActionPacket)                   \
    X(76, EngageNpcPacket, CharacterActionPacket)                             \
    X(77, SpawnActionPacket, CharacterActionPacket)                           \
    X(78, RespawnPacket, CharacterActionPacket)                               \
    X(79, AttachItemConfigCmdPacket, ObjectInteractionPacket)                 \
    X(80, DetachItemConfigCmdPacket, ObjectInteractionPacket)                 \
    X(81, ReleasePetConfigCmdPacket, ObjectInteractionPacket)                 \
    X(82, DropItemConfigCmdPacket, ObjectInteractionPacket)                   \
    X(83, DropItemFromEquipLocConfigCmdPacket, ObjectInteractionPacket)       \
    X(84, UseItemConfigCmdPacket, ObjectInteractionPacket)                    \
    X(85, UseRelicConfigCmdPacket, ObjectInteractionPacket)                   \
    X(86, PickupItemConfigCmdPacket, ObjectInteractionPacket)                 \
    X(87, CreateRemoveSkillBuffConfigCmdPacket, ObjectInteractionPacket)      \
    X(88, SkillTargetResultConfigCmdPacket, ObjectInteractionPacket)          \
    X(89, IncBaseStrengthConfigCmdPacket, ObjectInteractionPacket)            \
    X(90, IncBaseDexterityConfigCmdPacket, ObjectInteractionPacket)           \
    X(91, IncBaseIntelligenceConfigCmdPacket, ObjectInteractionPacket)        \
    X(92, IncBaseLifeConfigCmdPacket, ObjectInteractionPacket)                \
    X(93, IncBaseManaConfigCmdPacket, ObjectInteractionPacket)                \
    X(94, ReleaseTrapConfigCmdPacket, ObjectInteractionPacket)                \
    X(95, ReleaseStunConfigCmdPacket, ObjectInteractionPacket)                \
    X(96, ReleaseImmobilizeConfigCmdPacket, ObjectInteractionPacket)          \
    X(97, CreateProjectileConfigCmdPacket, ObjectInteractionPacket)           \
    X(98, SpawnObjectConfigCmdPacket, ObjectInteractionPacket)                \
    X(99, SkillStateUpdateConfigCmdPacket, ObjectInteractionPacket)           \
    X(100, SkillActiveStateUpdateConfigCmdPacket, ObjectInteractionPacket)    \
    X(101, RemoveInventoryItemConfigCmdPacket, ObjectInteractionPacket)       \
    X(102, FixedItemStateChangeConfigCmdPacket, ObjectInteractionPacket)      \
    X(103, FixedItemTargetConfigCmdPacket, ObjectInteractionPacket)           \
    X(104, FixedItemSkillTargetConfigCmdPacket, ObjectInteractionPacket)      \
    X(105, StrategicMovementTargetConfigCmdPacket, ObjectInteractionPacket)   \
    X(106, UpdatePositionPacket, NetPacket)                                   \
    X(107, JoinPartyConfigCmdPacket, NetPacket)                               \
    X(108, InvitePartyConfigCmdPacket, NetPacket)                             \
    X(112, GiveGoldPacket, NetPacket)                                         \
    X(113, BonusToClientPacket, NetPacket)                                    \
    X(114, BonusToServerPacket, NetPacket)                                    \
    X(115, PlaySoundConfigCmdPacket, ObjectInteractionPacket)                 \
    X(116, RequestAllyAttackConfigCmdPacket, ObjectInteractionPacket)         \
    X(117, RequestAllyMoveConfigCmdPacket, ObjectInteractionPacket)           \
    X(118, ShowCharacterConfigCmdPacket, ObjectInteractionPacket)             \
    X(119, StartStopDamageEffectConfigCmdPacket, ObjectInteractionPacket)     \
    X(120, ActivateSkillConfigCmdPacket, ObjectInteractionPacket)             \
    X(121, QuestMoveCompletedConfigCmdPacket, ObjectInteractionPacket)        \
    X(122, QuestAnimationCompletedConfigCmdPacket, ObjectInteractionPacket)   \
    X(123, DisableTyphonSkillEffectsConfigCmdPacket, ObjectInteractionPacket) \
    X(124, SetCausesAngerConfigCmdPacket, ObjectInteractionPacket)            \
    X(125, SetInvincibleConfigCmdPacket, ObjectInteractionPacket)             \
    X(126, SetTeamConfigCmdPacket, ObjectInteractionPacket)

// X(command, packet, id) for every configuration command.
#define GAME_CONFIG_COMMANDS(X)                                                          \
    X(DropItemConfigCmd, DropItemConfigCmdPacket, 82)                                    \
    X(DropItemFromEquipLocationConfigCmd, DropItemFromEquipLocConfigCmdPacket, 83)       \
    X(UseItemConfigCmd, UseItemConfigCmdPacket, 84)                                      \
    X(UseRelicConfigCmd, UseRelicConfigCmdPacket, 85)                                    \
    X(AttachItemConfigCmd, AttachItemConfigCmdPacket, 79)                                \
    X(DetachItemConfigCmd, DetachItemConfigCmdPacket, 80)                                \
    X(RemoveInventoryItemConfigCmd, RemoveInventoryItemConfigCmdPacket, 101)             \
    X(CharPickUpConfigCmd, PickupItemConfigCmdPacket, 86)                                \
    X(ReleasePetConfigCmd, ReleasePetConfigCmdPacket, 81)                                \
    X(IncrementBaseStrengthConfigCmd, IncBaseStrengthConfigCmdPacket, 89)                \
    X(IncrementBaseDexterityConfigCmd, IncBaseDexterityConfigCmdPacket, 90)              \
    X(IncrementBaseIntelligenceConfigCmd, IncBaseIntelligenceConfigCmdPacket, 91)        \
    X(IncrementBaseLifeConfigCmd, IncBaseLifeConfigCmdPacket, 92)                        \
    X(IncrementBaseManaConfigCmd, IncBaseManaConfigCmdPacket, 93)                        \
    X(ReleaseTrapConfigCmd, ReleaseTrapConfigCmdPacket, 94)                              \
    X(ReleaseStunConfigCmd, ReleaseStunConfigCmdPacket, 95)                              \
    X(ReleaseImmobilizeConfigCmd, ReleaseImmobilizeConfigCmdPacket, 96)                  \
    X(PlaySoundConfigCmd, PlaySoundConfigCmdPacket, 115)                                 \
    X(ShowCharacterConfigCmd, ShowCharacterConfigCmdPacket, 118)                         \
    X(StartStopDamageEffectConfigCmd, StartStopDamageEffectConfigCmdPacket, 119)         \
    X(SetCausesAngerConfigCmd, SetCausesAngerConfigCmdPacket, 124)                       \
    X(SetInvincibleConfigCmd, SetInvincibleConfigCmdPacket, 125)                         \
    X(SetTeamConfigCmd, SetTeamConfigCmdPacket, 126)                                     \
    X(RequestAllyAttackConfigCmd, RequestAllyAttackConfigCmdPacket, 116)                 \
    X(RequestAllyMoveConfigCmd, RequestAllyMoveConfigCmdPacket, 117)                     \
    X(QuestMoveCompletedConfigCmd, QuestMoveCompletedConfigCmdPacket, 121)               \
    X(QuestAnimationCompletedConfigCmd, QuestAnimationCompletedConfigCmdPacket, 122)     \
    X(DisableTyphonSkillEffectsConfigCmd, DisableTyphonSkillEffectsConfigCmdPacket, 123) \
    X(ActivateSkillConfigCmd, ActivateSkillConfigCmdPacket, 120)                         \
    X(SkillStateUpdateConfigCmd, SkillStateUpdateConfigCmdPacket, 99)                    \
    X(SkillActiveStateUpdateConfigCmd, SkillActiveStateUpdateConfigCmdPacket, 100)       \
    X(SkillTargetResultConfigCmd, SkillTargetResultConfigCmdPacket, 88)                  \
    X(CreateProjectileConfigCmd, CreateProjectileConfigCmdPacket, 97)                    \
    X(SpawnObjectConfigCmd, SpawnObjectConfigCmdPacket, 98)                              \
    X(CreateRemoveSkillBuffConfigCmd, CreateRemoveSkillBuffConfigCmdPacket, 87)          \
    X(FixedItemStateChangeConfigCmd, FixedItemStateChangeConfigCmdPacket, 102)           \
    X(FixedItemTargetConfigCmd, FixedItemTargetConfigCmdPacket, 103)                     \
    X(FixedItemSkillTargetConfigCmd, FixedItemSkillTargetConfigCmdPacket, 104)           \
    X(StrategicMovementTargetConfigCmd, StrategicMovementTargetConfigCmdPacket, 105)

// A packet kind's type id. The game's kinds use 17..126; the engine's own kinds sit below 17.
using PACKET_TYPE = std::uint16_t;

namespace PacketType {
#define GAME_PACKET_TYPE_CONSTANT(id, kind, base) inline constexpr PACKET_TYPE kind = id;
GAME_PACKET_KINDS(GAME_PACKET_TYPE_CONSTANT)
#undef GAME_PACKET_TYPE_CONSTANT
// Engine kinds.
inline constexpr PACKET_TYPE ChatPacket = 2;
}  // namespace PacketType

inline constexpr int kGamePacketKindCount = 103;
inline constexpr int kConfigCommandKindCount = 39;

// The table's kind name and base name for an id; null when the id is not in the game's table.
const char* GetGamePacketKindName(PACKET_TYPE type);
const char* GetGamePacketBaseName(PACKET_TYPE type);
// The table id of a kind name; 0 when the name is not in the table.
PACKET_TYPE FindGamePacketType(const char* kindName);
// The packet kind and id of a configuration command; null/0 when the command is not in the table.
const char* GetConfigCommandPacketName(const char* commandName);
PACKET_TYPE GetConfigCommandPacketType(const char* commandName);

}  // namespace GAME
