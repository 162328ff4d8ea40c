// The order in which the game's class records attach to their parents: siblings keep this
// order whatever the order of static initialisation.
#include "Engine/object/RTTI.h"

namespace GAME {

namespace {
// clang-format off
constexpr const char* kAttachOrder[] = {
    // Object
    "Controller", "FixedItemSkill", "LootBase", "LootRandomizerTable", "LootTable", "Skill",
    // Actor
    "AreaOfInterest", "BoundingVolume", "Character", "BandariTeleportPoint", "OrmenosDropZone", "TyphonChains", "Decoration", "FixedItem", "HallOfFameCamera", "HallOfFameStand", "Item", "NpcWanderPoint", "PatrolPoint", "PlayerSpawnPoint", "ProjectileBase", "Prop", "Proxy", "Puppet", "QuestLocation", "ScriptPoint", "LightOfRaMarker", "SoundObject",
    // Entity
    "BoundingVolumeMultiple", "Fx", "FxPak",
    // Light
    "LightAnchor", "LightTorch",
    // LineEffect
    "Lightning",
    // ChaosBeam
    "ChainLaserBeam", "SkillGodBeam",
    // Tile
    "StrategicMovementBase",
    // Character
    "AmbientCharacter", "Monster", "Npc", "Player",
    // AmbientCharacter
    "DynamicBarrier",
    // Monster
    "Megalesios", "MegalesiosConduit", "Ormenos", "SpiritHost", "Typhon", "TyphonStatue", "TyphonChained", "Guard",
    // Npc
    "NpcMerchant", "NpcSkillReallocator",
    // Decoration
    "Apparatus", "RadiusMagic",
    // Item
    "ItemEquipment", "ItemRelic", "OneShot", "QuestItem",
    // ItemEquipment
    "Armor", "Weapon",
    // ItemRelic
    "ItemCharm",
    // Armor
    "ArmorJewelry", "ArmorMisc", "ArmorProtective",
    // ArmorJewelry
    "ArmorJewelry_Ring", "ArmorJewelry_Bracelet", "ArmorJewelry_Amulet",
    // ArmorMisc
    "ArmorMisc_Vestment", "ArmorMisc_Clothing",
    // ArmorProtective
    "ArmorProtective_Head", "ArmorProtective_UpperBody", "ArmorProtective_LowerBody", "ArmorProtective_Forearm",
    // Weapon
    "WeaponArmor", "WeaponHunting", "WeaponMagical", "WeaponMelee",
    // WeaponArmor
    "WeaponArmor_Shield",
    // WeaponHunting
    "WeaponHunting_Bow", "WeaponHunting_Spear",
    // WeaponMagical
    "WeaponMagical_Staff",
    // WeaponMelee
    "WeaponMelee_Sword", "WeaponMelee_Axe", "WeaponMelee_Mace",
    // OneShot
    "OneShot_Potion", "OneShot_Gold", "OneShot_Sack", "OneShot_Dye", "OneShot_InstantReward",
    // OneShot_Potion
    "OneShot_PotionHealth", "OneShot_PotionMana",
    // BoundingVolume
    "BoundingVolumeLerpDaylight", "BoundingVolumeChangePlaylist", "BoundingVolumeSoundFxOneShot", "BoundingVolumeWind", "NpcTrafficNode",
    // BoundingVolumeMultiple
    "BoundingVolumeMusicEvent", "BoundingVolumeBossMonster",
    // Fx
    "FxMesh",
    // FixedItem
    "FixedItemContainer", "FixedItemDoorBase", "FixedItemQuestObject", "FixedItemShrine", "FixedItemTeleport", "FixedItemTyphonPortal", "FixedItemWell",
    // FixedItemDoorBase
    "FixedItemDoor", "FixedItemDoorSwapping",
    // FixedItemSkill
    "FixedItemSkill_Buff", "FixedItemSkill_SpawnMonster",
    // ProjectileBase
    "ProjectileAreaEffect", "ProjectileArrowLike", "ProjectileExploding", "ProjectileFireballLike", "ProjectileGrenade", "ProjectileTelekinesis",
    // ProjectileFireballLike
    "ProjectileTerrainFollowing",
    // Proxy
    "ProxyAmbush",
    // StrategicMovementBase
    "StrategicMovementMarker", "StrategicMovementRespawnShrine", "StrategicMovementTeleportShrine",
    // LootBase
    "LootItemTable_DynWeight", "LootItemTable_FixedWeight", "LootMasterTable",
    // Controller
    "ControllerBaseCharacter",
    // ControllerBaseCharacter
    "ControllerCharacter",
    // ControllerCharacter
    "ControllerCombat",
    // ControllerCombat
    "ControllerAI", "ControllerStooge",
    // ControllerAI
    "ControllerMonster", "ControllerNpc2", "ControllerNpcHerdAnimal", "ControllerNpcHerder", "ControllerPlayer",
    // ControllerMonster
    "ControllerAktaios", "ControllerAlly", "ControllerBandari", "ControllerCyclops", "ControllerMegalesios", "ControllerMegalesiosConduit", "ControllerMonsterHidden", "ControllerOrmenos", "ControllerPet", "ControllerSpirit", "ControllerSpiritHost", "ControllerStationaryMonster", "ControllerTelkine", "ControllerTerracotta", "ControllerTyphon", "ControllerTyphonChained",
    // Skill
    "Skill_Modifier", "Skill_MonsterGenerator", "Skill_Passive", "Skill_PassiveOnHitBuffSelf", "Skill_PassiveOnLifeBuffSelf", "SkillActivated", "SkillBuff", "SkillOnDeath", "SkillSecondary",
    // SkillActivated
    "Skill_AktaiosLightOfRa", "Skill_AttackBuff", "Skill_AttackInherent", "Skill_AttackProjectile", "Skill_AttackProjectileAreaEffect", "Skill_AttackProjectileBurst", "Skill_AttackProjectileRing", "Skill_AttackRadius", "Skill_AttackRadiusLightning", "Skill_AttackSpell", "Skill_AttackSpellChaos", "Skill_AttackTelekinesis", "Skill_AttackWeapon", "Skill_BuffAttackRadiusToggled", "Skill_BuffOther", "Skill_BuffRadius", "Skill_BuffSelfToggled", "Skill_DefensiveWall", "Skill_DispelMagic", "Skill_E3FauxAttack", "Skill_GiveBonus", "Skill_OnHitAttackRadius", "Skill_OnHitBuffSelf", "Skill_OrmenosChainLaser", "Skill_PlayAttackAnimation", "Skill_RefreshCooldown", "Skill_SpawnPet", "Skill_Teleport", "Skill_TyphonSkillTransfer", "Skill_WPAttack", "SkillActivatedWeaponPool",
    // Skill_AttackBuff
    "Skill_AttackBuffRadius",
    // Skill_AttackProjectile
    "Skill_AttackProjectileDebuf", "Skill_AttackProjectileSpawnPet",
    // Skill_AttackProjectileAreaEffect
    "Skill_DropProjectileTelekinesis",
    // Skill_AttackProjectileRing
    "Skill_AttackProjectileFan",
    // Skill_AttackSpell
    "Skill_AttackSpellTeleport", "Skill_AttackSpellTeleportSelf",
    // Skill_AttackWeapon
    "Skill_AttackWeaponCharge",
    // Skill_BuffAttackRadiusToggled
    "Skill_BuffAttackRadiusDuration",
    // Skill_BuffRadius
    "Skill_BuffRadiusToggled",
    // Skill_BuffSelfToggled
    "Skill_BuffSelfDuration", "Skill_BuffSelfShield",
    // Skill_BuffSelfDuration
    "Skill_BuffSelfColossus", "Skill_BuffSelfImmobilize", "Skill_BuffSelfInvulnerable",
    // Skill_DefensiveWall
    "Skill_DefensiveGround",
    // Skill_E3FauxAttack
    "Skill_SpawnMegalesiosSpirit",
    // Skill_SpawnPet
    "Skill_AktaiosMirage", "Skill_SpawnPetMonster",
    // Skill_WPAttack
    "Skill_WPAttack_BasicAttack",
    // SkillActivatedWeaponPool
    "Skill_WeaponPool_BasicAttack", "Skill_WeaponPool_ChargedFinale", "Skill_WeaponPool_ChargedLinear", "Skill_WeaponPool_Default",
    // Skill_Modifier
    "Skill_MeleeModifier", "Skill_ProjectileModifier",
    // Skill_MeleeModifier
    "Skill_MeleeModifierRadius",
    // Skill_Passive
    "Skill_Mastery", "Skill_PassiveDualWieldWeapon", "Skill_PassiveShield",
    // SkillOnDeath
    "Skill_OnDeathSpawnActor",
    // SkillBuff
    "SkillBuff_Debuf", "SkillBuff_Passive",
    // SkillBuff_Debuf
    "SkillBuff_Contageous", "SkillBuff_DebufTrap",
    // SkillBuff_DebufTrap
    "SkillBuff_DebufFreeze",
    // SkillBuff_Passive
    "SkillBuff_BuffImmobilize", "SkillBuff_PassiveShield",
    // SkillSecondary
    "SkillSecondary_Bonus", "SkillSecondary_BuffRadius", "SkillSecondary_ChainBonus", "SkillSecondary_ChainLightning", "SkillSecondary_ForkLightning", "SkillSecondary_PetModifier", "SkillSecondary_PetSpawn",
};
// clang-format on

const bool kOrderSet = [] {
    RTTI_ClassInfo::SetAttachOrder(kAttachOrder,
                                   static_cast<int>(sizeof kAttachOrder / sizeof *kAttachOrder));
    return true;
}();
}  // namespace

}  // namespace GAME
