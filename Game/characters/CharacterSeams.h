#pragma once
// The operations a character calls in subsystems that are not built yet. Each logs one level-1
// line per machine the first time it is skipped ("Character: <operation> is not available yet").
#include <cstddef>

namespace GAME {

// clang-format off
#define GAME_CHARACTER_SEAMS(X) \
    X(ControllerAITeamChanged, "ControllerAI::TeamChanged") \
    X(ControllerBaseCharacterUpdate, "ControllerBaseCharacter::Update") \
    X(ControllerCombatAllyAttacked, "ControllerCombat::AllyAttacked") \
    X(ControllerCombatBeginImmobilize, "ControllerCombat::BeginImmobilize") \
    X(ControllerCombatBeginStun, "ControllerCombat::BeginStun") \
    X(ControllerCombatBeginTrap, "ControllerCombat::BeginTrap") \
    X(ControllerCombatCharacterIsDead, "ControllerCombat::CharacterIsDead") \
    X(ControllerCombatCharacterIsDying, "ControllerCombat::CharacterIsDying") \
    X(ControllerCombatEndImmobilize, "ControllerCombat::EndImmobilize") \
    X(ControllerCombatEndStun, "ControllerCombat::EndStun") \
    X(ControllerCombatEndTrap, "ControllerCombat::EndTrap") \
    X(ControllerCombatNeedsDeathUpdate, "ControllerCombat::NeedsDeathUpdate") \
    X(ControllerCombatScareMe, "ControllerCombat::ScareMe") \
    X(ControllerCombatTauntMe, "ControllerCombat::TauntMe") \
    X(ControllerCombatUnderAttack, "ControllerCombat::UnderAttack") \
    X(ControllerBaseCharacterHandleEvent, "ControllerBaseCharacter::HandleEvent") \
    X(ControllerAIQuestCommandPlayAnimation, "ControllerAI::QuestCommandPlayAnimation") \
    X(SkillManagerHandleSkillAnimationCallback, "SkillManager::HandleSkillAnimationCallback") \
    X(EquipManagerCharacterAttributes, "EquipManager character attributes") \
    X(EquipManagerDefenseAttributes, "EquipManager defense attributes") \
    X(EquipManagerRacialDefense, "EquipManager racial bonus defense") \
    X(EquipManagerRacialDamage, "EquipManager racial bonus damage") \
    X(EquipManagerBodyArmorImpactSound, "EquipManager::GetBodyArmor impact sound") \
    X(InventoryItemSetAttributes, "Inventory item set attributes") \
    X(InventoryItemSetDefenseAttributes, "Inventory item set defense attributes") \
    X(InventorySetOwner, "Inventory::SetOwner") \
    X(SkillManagerApplyCooldownDamage, "SkillManager::ApplyCooldownDamage") \
    X(CharacterRagDollPhysics, "the character rag doll (physics type)") \
    X(MonsterLobotomize, "Monster::Lobotomize") \
    X(MonsterBrainTransplant, "Monster::BrainTransplant") \
    X(AnimationSetPlayMovement, "AnimationSet::PlayAnimation without a stance set (run and walk)") \
    X(ControllerBaseCharacterLostSlot, "ControllerBaseCharacter::LostSlot") \
    X(ControllerCharacterTeleport, "ControllerCharacter::Teleport") \
    X(ControllerAIGoToIdleState, "ControllerAI::GoToIdleState") \
    X(ControllerAIRequests, "ControllerAI::RequestAttack and RequestMove") \
    X(ControllerAIQuestCommands, "ControllerAI quest commands") \
    X(ControllerBaseCharacterSetTarget, "ControllerBaseCharacter::SetTarget") \
    X(ControllerBaseCharacterEndOfPathReached, "ControllerBaseCharacter::EndOfPathReached") \
    X(ControllerCharacterPickupItem, "ControllerCharacter::PickupItem") \
    X(NpcOnConversationEnd, "Npc::OnConversationEnd") \
    X(NpcOnPlayerInteract, "Npc::OnPlayerInteract") \
    X(FixedItemRequestToUse, "FixedItem::RequestToUse") \
    X(StrategicMovementRequestToUse, "StrategicMovementBase::RequestToUse") \
    X(SkillManagerStartSkill, "SkillManager::StartSkill") \
    X(SkillManagerSkillWarmUp, "SkillManager::SkillWarmUp") \
    X(SkillManagerCancelSkillAction, "SkillManager::CancelSkillAction")
// clang-format on

enum class CharacterSeam : std::size_t {
#define GAME_CHARACTER_SEAM_ID(Id, Text) Id,
    GAME_CHARACTER_SEAMS(GAME_CHARACTER_SEAM_ID)
#undef GAME_CHARACTER_SEAM_ID
        Count
};

void ReportCharacterSeam(CharacterSeam seam);

}  // namespace GAME
