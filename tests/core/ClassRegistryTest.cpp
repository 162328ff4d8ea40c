// Checks every registered game class against the class tree the game defines: its parent and its
// place among its siblings. Classes not built yet are listed, not failed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Engine/object/Object.h"
#include "Engine/triggers/TriggerFactory.h"

namespace GAME {
namespace {

// clang-format off
// parent: children in order of attachment
const std::vector<std::pair<std::string, std::vector<std::string>>> kTree = {
    {"Object", {"Controller", "FixedItemSkill", "LootBase", "LootRandomizerTable", "LootTable", "Skill"}},
    {"Actor", {"AreaOfInterest", "BoundingVolume", "Character", "BandariTeleportPoint", "OrmenosDropZone", "TyphonChains", "Decoration", "FixedItem", "HallOfFameCamera", "HallOfFameStand", "Item", "NpcWanderPoint", "PatrolPoint", "PlayerSpawnPoint", "ProjectileBase", "Prop", "Proxy", "Puppet", "QuestLocation", "ScriptPoint", "LightOfRaMarker", "SoundObject"}},
    {"Entity", {"BoundingVolumeMultiple", "Fx", "FxPak"}},
    {"Light", {"LightAnchor", "LightTorch"}},
    {"LineEffect", {"Lightning"}},
    {"ChaosBeam", {"ChainLaserBeam", "SkillGodBeam"}},
    {"Tile", {"StrategicMovementBase"}},
    {"Character", {"AmbientCharacter", "Monster", "Npc", "Player"}},
    {"AmbientCharacter", {"DynamicBarrier"}},
    {"Monster", {"Megalesios", "MegalesiosConduit", "Ormenos", "SpiritHost", "Typhon", "TyphonStatue", "TyphonChained", "Guard"}},
    {"Npc", {"NpcMerchant", "NpcSkillReallocator"}},
    {"Decoration", {"Apparatus", "RadiusMagic"}},
    {"Item", {"ItemEquipment", "ItemRelic", "OneShot", "QuestItem"}},
    {"ItemEquipment", {"Armor", "Weapon"}},
    {"ItemRelic", {"ItemCharm"}},
    {"Armor", {"ArmorJewelry", "ArmorMisc", "ArmorProtective"}},
    {"ArmorJewelry", {"ArmorJewelry_Ring", "ArmorJewelry_Bracelet", "ArmorJewelry_Amulet"}},
    {"ArmorMisc", {"ArmorMisc_Vestment", "ArmorMisc_Clothing"}},
    {"ArmorProtective", {"ArmorProtective_Head", "ArmorProtective_UpperBody", "ArmorProtective_LowerBody", "ArmorProtective_Forearm"}},
    {"Weapon", {"WeaponArmor", "WeaponHunting", "WeaponMagical", "WeaponMelee"}},
    {"WeaponArmor", {"WeaponArmor_Shield"}},
    {"WeaponHunting", {"WeaponHunting_Bow", "WeaponHunting_Spear"}},
    {"WeaponMagical", {"WeaponMagical_Staff"}},
    {"WeaponMelee", {"WeaponMelee_Sword", "WeaponMelee_Axe", "WeaponMelee_Mace"}},
    {"OneShot", {"OneShot_Potion", "OneShot_Gold", "OneShot_Sack", "OneShot_Dye", "OneShot_InstantReward"}},
    {"OneShot_Potion", {"OneShot_PotionHealth", "OneShot_PotionMana"}},
    {"BoundingVolume", {"BoundingVolumeLerpDaylight", "BoundingVolumeChangePlaylist", "BoundingVolumeSoundFxOneShot", "BoundingVolumeWind", "NpcTrafficNode"}},
    {"BoundingVolumeMultiple", {"BoundingVolumeMusicEvent", "BoundingVolumeBossMonster"}},
    {"Fx", {"FxMesh"}},
    {"FixedItem", {"FixedItemContainer", "FixedItemDoorBase", "FixedItemQuestObject", "FixedItemShrine", "FixedItemTeleport", "FixedItemTyphonPortal", "FixedItemWell"}},
    {"FixedItemDoorBase", {"FixedItemDoor", "FixedItemDoorSwapping"}},
    {"FixedItemSkill", {"FixedItemSkill_Buff", "FixedItemSkill_SpawnMonster"}},
    {"ProjectileBase", {"ProjectileAreaEffect", "ProjectileArrowLike", "ProjectileExploding", "ProjectileFireballLike", "ProjectileGrenade", "ProjectileTelekinesis"}},
    {"ProjectileFireballLike", {"ProjectileTerrainFollowing"}},
    {"Proxy", {"ProxyAmbush"}},
    {"StrategicMovementBase", {"StrategicMovementMarker", "StrategicMovementRespawnShrine", "StrategicMovementTeleportShrine"}},
    {"LootBase", {"LootItemTable_DynWeight", "LootItemTable_FixedWeight", "LootMasterTable"}},
    {"Controller", {"ControllerBaseCharacter"}},
    {"ControllerBaseCharacter", {"ControllerCharacter"}},
    {"ControllerCharacter", {"ControllerCombat"}},
    {"ControllerCombat", {"ControllerAI", "ControllerStooge"}},
    {"ControllerAI", {"ControllerMonster", "ControllerNpc2", "ControllerNpcHerdAnimal", "ControllerNpcHerder", "ControllerPlayer"}},
    {"ControllerMonster", {"ControllerAktaios", "ControllerAlly", "ControllerBandari", "ControllerCyclops", "ControllerMegalesios", "ControllerMegalesiosConduit", "ControllerMonsterHidden", "ControllerOrmenos", "ControllerPet", "ControllerSpirit", "ControllerSpiritHost", "ControllerStationaryMonster", "ControllerTelkine", "ControllerTerracotta", "ControllerTyphon", "ControllerTyphonChained"}},
    {"Skill", {"Skill_Modifier", "Skill_MonsterGenerator", "Skill_Passive", "Skill_PassiveOnHitBuffSelf", "Skill_PassiveOnLifeBuffSelf", "SkillActivated", "SkillBuff", "SkillOnDeath", "SkillSecondary"}},
    {"SkillActivated", {"Skill_AktaiosLightOfRa", "Skill_AttackBuff", "Skill_AttackInherent", "Skill_AttackProjectile", "Skill_AttackProjectileAreaEffect", "Skill_AttackProjectileBurst", "Skill_AttackProjectileRing", "Skill_AttackRadius", "Skill_AttackRadiusLightning", "Skill_AttackSpell", "Skill_AttackSpellChaos", "Skill_AttackTelekinesis", "Skill_AttackWeapon", "Skill_BuffAttackRadiusToggled", "Skill_BuffOther", "Skill_BuffRadius", "Skill_BuffSelfToggled", "Skill_DefensiveWall", "Skill_DispelMagic", "Skill_E3FauxAttack", "Skill_GiveBonus", "Skill_OnHitAttackRadius", "Skill_OnHitBuffSelf", "Skill_OrmenosChainLaser", "Skill_PlayAttackAnimation", "Skill_RefreshCooldown", "Skill_SpawnPet", "Skill_Teleport", "Skill_TyphonSkillTransfer", "Skill_WPAttack", "SkillActivatedWeaponPool"}},
    {"Skill_AttackBuff", {"Skill_AttackBuffRadius"}},
    {"Skill_AttackProjectile", {"Skill_AttackProjectileDebuf", "Skill_AttackProjectileSpawnPet"}},
    {"Skill_AttackProjectileAreaEffect", {"Skill_DropProjectileTelekinesis"}},
    {"Skill_AttackProjectileRing", {"Skill_AttackProjectileFan"}},
    {"Skill_AttackSpell", {"Skill_AttackSpellTeleport", "Skill_AttackSpellTeleportSelf"}},
    {"Skill_AttackWeapon", {"Skill_AttackWeaponCharge"}},
    {"Skill_BuffAttackRadiusToggled", {"Skill_BuffAttackRadiusDuration"}},
    {"Skill_BuffRadius", {"Skill_BuffRadiusToggled"}},
    {"Skill_BuffSelfToggled", {"Skill_BuffSelfDuration", "Skill_BuffSelfShield"}},
    {"Skill_BuffSelfDuration", {"Skill_BuffSelfColossus", "Skill_BuffSelfImmobilize", "Skill_BuffSelfInvulnerable"}},
    {"Skill_DefensiveWall", {"Skill_DefensiveGround"}},
    {"Skill_E3FauxAttack", {"Skill_SpawnMegalesiosSpirit"}},
    {"Skill_SpawnPet", {"Skill_AktaiosMirage", "Skill_SpawnPetMonster"}},
    {"Skill_WPAttack", {"Skill_WPAttack_BasicAttack"}},
    {"SkillActivatedWeaponPool", {"Skill_WeaponPool_BasicAttack", "Skill_WeaponPool_ChargedFinale", "Skill_WeaponPool_ChargedLinear", "Skill_WeaponPool_Default"}},
    {"Skill_Modifier", {"Skill_MeleeModifier", "Skill_ProjectileModifier"}},
    {"Skill_MeleeModifier", {"Skill_MeleeModifierRadius"}},
    {"Skill_Passive", {"Skill_Mastery", "Skill_PassiveDualWieldWeapon", "Skill_PassiveShield"}},
    {"SkillOnDeath", {"Skill_OnDeathSpawnActor"}},
    {"SkillBuff", {"SkillBuff_Debuf", "SkillBuff_Passive"}},
    {"SkillBuff_Debuf", {"SkillBuff_Contageous", "SkillBuff_DebufTrap"}},
    {"SkillBuff_DebufTrap", {"SkillBuff_DebufFreeze"}},
    {"SkillBuff_Passive", {"SkillBuff_BuffImmobilize", "SkillBuff_PassiveShield"}},
    {"SkillSecondary", {"SkillSecondary_Bonus", "SkillSecondary_BuffRadius", "SkillSecondary_ChainBonus", "SkillSecondary_ChainLightning", "SkillSecondary_ForkLightning", "SkillSecondary_PetModifier", "SkillSecondary_PetSpawn"}},
};
const std::vector<std::string> kActionProducers = {"Action_GiveMoney", "Action_GiveItem", "Action_DispenseItemFromNpc", "Action_DropItemFromNpc", "Action_DispenseItemFromChest", "Action_TaskCreatureToLocation", "Action_SpawnEntityAtLocation", "Action_BoatDialog", "Action_OpenDoor", "Action_CloseDoor", "Action_LockFixedItem", "Action_UnlockFixedItem", "Action_GiveAttributePoints", "Action_GiveSkillPoints", "Action_KillCreature", "Action_GiveExp", "Action_BestowTriggerToken", "Action_RemoveTriggerToken", "Action_RemoveItemFromInventory", "Action_UpdateNPCDialog", "Action_TalkNPC", "Action_ClearNPCDialog", "Action_LoadAmbientPlaylist", "Action_LoadMusicPlaylist", "Action_FadeInMusic", "Action_FadeOutMusic", "Action_LoadEventMusic", "Action_PlaySoundEffect", "Action_SetCharacterInvincible", "Action_NpcPlayAnimation", "Action_IlluminateNpc", "Action_HideNpc", "Action_ShowNpc", "Action_DisableProxy", "Action_ScreenFade", "Action_TeleportPlayer", "Action_SetTimeOfDay", "Action_FadeOutEventMusic", "Action_DebugText", "Action_UpdateMapMarker", "Action_ClearMapMarker", "Action_UpdateDialogTab", "Action_UpdateJournalEntry", "Action_BestowQuest", "Action_CompleteQuestNow", "Action_SendTutorialEvent", "Action_ScreenShake", "Action_FireSkill"};
const std::vector<std::string> kConditionProducers = {"Condition_EnterVolume", "Condition_ExitVolume", "Condition_KillCreature", "Condition_KillAllCreaturesFromProxy", "Condition_UseFixedItem", "Condition_PickupItem", "Condition_KillCreatureHerd", "Condition_ConversationStart", "Condition_OwnsTriggerToken", "Condition_GotToken", "Condition_CharacterHasItem", "Condition_OnLevelLoad", "Condition_OnQuestComplete", "Condition_MoveCompleted", "Condition_AnimationCompleted"};
// clang-format on
const std::set<std::string> kEngineClasses = {"Object",       "Entity",     "Actor", "Light",
                                              "LineEffect",   "ChaosBeam",  "Tile",  "SoundPak",
                                              "EffectEntity", "WeaponTrail"};

void Collect(const RTTI_ClassInfo& info, std::map<std::string, const RTTI_ClassInfo*>& out) {
    out[info.GetClassName()] = &info;
    for (int i = 0; i < info.GetNumChildren(); ++i)
        Collect(*info.GetChild(i), out);
}

TEST(ClassRegistry, RegisteredClassesSitWhereTheTreeSays) {
    std::map<std::string, const RTTI_ClassInfo*> registered;
    Collect(Object::classInfo, registered);
    std::map<std::string, std::string> expectedParent;
    for (const auto& [parent, children] : kTree)
        for (const auto& child : children)
            expectedParent[child] = parent;

    std::vector<std::string> missing;
    for (const auto& [name, parent] : expectedParent) {
        auto it = registered.find(name);
        if (it == registered.end()) {
            missing.push_back(name);
            continue;
        }
        ASSERT_NE(it->second->GetParent(), nullptr) << name;
        EXPECT_STREQ(it->second->GetParent()->GetClassName(), parent.c_str()) << name;
    }
    // Nothing registered that the tree does not know.
    for (const auto& [name, info] : registered) {
        if (!kEngineClasses.contains(name)) {
            EXPECT_TRUE(expectedParent.contains(name)) << "unexpected class " << name;
        }
    }

    // Siblings that exist keep the tree's order.
    for (const auto& [parent, children] : kTree) {
        auto it = registered.find(parent);
        if (it == registered.end())
            continue;
        std::vector<std::string> actual;
        for (int i = 0; i < it->second->GetNumChildren(); ++i) {
            const std::string name = it->second->GetChild(i)->GetClassName();
            if (!kEngineClasses.contains(name))
                actual.push_back(name);
        }
        std::vector<std::string> expected;
        for (const auto& child : children)
            if (registered.contains(child))
                expected.push_back(child);
        EXPECT_EQ(actual, expected) << "children of " << parent;
    }

    std::string list;
    for (const auto& name : missing)
        list += " " + name;
    std::printf("[registry] %zu of %zu game classes registered; not yet built:%s\n",
                expectedParent.size() - missing.size(), expectedParent.size(), list.c_str());
    RecordProperty("classes_registered", static_cast<int>(expectedParent.size() - missing.size()));
}

TEST(ClassRegistry, EveryRegisteredClassIsMadeByItsBareName) {
    std::map<std::string, const RTTI_ClassInfo*> registered;
    Collect(Object::classInfo, registered);
    for (const auto& [name, info] : registered) {
        void* made = Object::classInfo.CreateByName(name.c_str());
        if (!made)
            continue;  // abstract classes make nothing
        auto* object = static_cast<Object*>(made);
        EXPECT_EQ(&object->GetClassInfo(), info) << name;
        delete object;
    }
}

TEST(ClassRegistry, TriggerProducersAreKnownByName) {
    std::vector<std::string> missing;
    for (const auto& name : kActionProducers)
        if (!TriggerActionFactory::Get().Find(name))
            missing.push_back(name);
    for (const auto& name : kConditionProducers)
        if (!TriggerConditionFactory::Get().Find(name))
            missing.push_back(name);
    for (const auto& [name, producer] : TriggerActionFactory::Get().GetProducers())
        EXPECT_NE(std::find(kActionProducers.begin(), kActionProducers.end(), name),
                  kActionProducers.end())
            << name;
    for (const auto& [name, producer] : TriggerConditionFactory::Get().GetProducers())
        EXPECT_NE(std::find(kConditionProducers.begin(), kConditionProducers.end(), name),
                  kConditionProducers.end())
            << name;
    std::printf("[registry] %zu of %zu trigger producers registered\n",
                kActionProducers.size() + kConditionProducers.size() - missing.size(),
                kActionProducers.size() + kConditionProducers.size());
}

}  // namespace
}  // namespace GAME
