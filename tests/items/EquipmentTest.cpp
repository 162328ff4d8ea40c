// Equipment on characters, and the kinds' numbers from their table.
#include <gtest/gtest.h>

#include "Engine/records/RecordDatabase.h"
#include "Game/characters/Character.h"
#include "Game/items/ItemRelic.h"
#include "Game/items/kinds/EquipmentKindTable.h"
#include "Game/items/kinds/Weapon.h"
#include "Game/rules/RacialBonus.h"
#include "ItemTestSupport.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class EquipmentTest : public ::testing::Test {
protected:
    TestMachine machine;
    ScopedServices scoped;
    RecordingServices& services = *scoped.services;
    Character* character = Singleton<ObjectManager>::Get().CreateObject<Character>();

    template <class T = ItemEquipment>
    T* Make(const char* name, const char* prefix = "", const char* suffix = "") {
        return dynamic_cast<T*>(Item::CreateItem(Record(name, 9, prefix, suffix)));
    }
};

TEST_F(EquipmentTest, KindsTakeTheirNumbersFromTheTableAndInheritTheRest) {
    struct Expected {
        const char* name;
        Item_Type type;
        Market_TypeEnum market;
        EquipmentHandTypes right, left;
        CharAttributeType kindStrength, groupStrength;
        const char* costKey;
        const char* levelKey;
    };
    using CA = CharAttributeType;
    const Expected expected[] = {
        {"ArmorJewelry_Ring", Item_Type::Ring, Market_TypeEnum::Miscellaneous,
         EquipmentHandTypes::None, EquipmentHandTypes::None, CA::JewelryStrengthReqReduction, CA{},
         "jewelryCostEquation", "ringLevelEquation"},
        {"ArmorMisc_Clothing", Item_Type::Clothing, Market_TypeEnum::Armor,
         EquipmentHandTypes::None, EquipmentHandTypes::None, CA::ArmorStrengthReqReduction, CA{},
         "armorCostEquation", ""},
        {"ArmorProtective_Forearm", Item_Type::Forearm, Market_TypeEnum::Armor,
         EquipmentHandTypes::None, EquipmentHandTypes::None, CA::ArmorStrengthReqReduction, CA{},
         "armorCostEquation", "forearmLevelEquation"},
        {"WeaponArmor_Shield", Item_Type::Shield, Market_TypeEnum::Armor, EquipmentHandTypes::None,
         EquipmentHandTypes::Shield, CA::ShieldStrengthReqReduction, CA::WeaponStrengthReqReduction,
         "shieldCostEquation", "shieldLevelEquation"},
        {"WeaponHunting_Spear", Item_Type::Weapon, Market_TypeEnum::Weapons,
         EquipmentHandTypes::Spear, EquipmentHandTypes::None, CA::HuntingStrengthReqReduction,
         CA::WeaponStrengthReqReduction, "weaponCostEquation", "spearLevelEquation"},
        {"WeaponMelee_Axe", Item_Type::Weapon, Market_TypeEnum{2}, EquipmentHandTypes::TwoHanded,
         EquipmentHandTypes::OneHanded, CA::MeleeStrengthReqReduction,
         CA::WeaponStrengthReqReduction, "weaponCostEquation", "axeLevelEquation"},
        {"WeaponMagical_Staff", Item_Type::Weapon, Market_TypeEnum::Weapons,
         EquipmentHandTypes::None, EquipmentHandTypes::Staff, CA::StaffStrengthReqReduction,
         CA::WeaponStrengthReqReduction, "weaponRangedCostEquation", "staffLevelEquation"},
    };
    auto& objects = Singleton<ObjectManager>::Get();
    for (const Expected& e : expected) {
        auto* item = dynamic_cast<ItemEquipment*>(objects.CreateObject(e.name));
        ASSERT_NE(item, nullptr) << e.name;
        EXPECT_EQ(item->GetItemType(), e.type) << e.name;
        EXPECT_EQ(item->GetItemMarketType(), e.market) << e.name;
        EXPECT_EQ(item->GetRightHandType(), e.right) << e.name;
        EXPECT_EQ(item->GetLeftHandType(), e.left) << e.name;
        EXPECT_EQ(item->GetKindReductions()[0], e.kindStrength) << e.name;
        EXPECT_EQ(item->GetGroupReductions()[0], e.groupStrength) << e.name;
        EXPECT_EQ(item->GetFormulaKey(ItemEquipment::kCostFormula), e.costKey) << e.name;
        EXPECT_EQ(item->GetFormulaKey(ItemEquipment::kLevelFormula), e.levelKey) << e.name;
    }
    // Every row names a registered class under the parent it says.
    EXPECT_EQ(std::size(kEquipmentKindRows), 25u);
    for (const EquipmentKindRow* row : kEquipmentKindRows) {
        Object* object = objects.CreateObject(row->className);
        ASSERT_NE(object, nullptr) << row->className;
        EXPECT_TRUE(object->IsA<ItemEquipment>()) << row->className;
        EXPECT_EQ(object->IsA<Armor>(), dynamic_cast<ItemEquipment*>(object)->GetArmorFlag());
    }
    auto* bow = objects.CreateObject<WeaponHunting_Bow>();
    EXPECT_EQ(bow->GetEnchantmentSoundKind(), 2);
    EXPECT_EQ(bow->GetWeaponType(), Weapon_Type::Bow);
    EXPECT_EQ(objects.CreateObject<WeaponArmor_Shield>()->GetEnchantmentSoundKind(), 0);
    EXPECT_EQ(objects.CreateObject<WeaponHunting_Spear>()->GetEnchantmentSoundKind(), 1);
    EXPECT_EQ(objects.CreateObject<ArmorProtective_Forearm>()->GetArmorPieceCode(),
              CombatAttributeRegion::Arms);
}

TEST_F(EquipmentTest, DetachingRemovesExactlyWhatAttachingInstalled) {
    auto* sword = Make("Records/Items/HiddenPrefixSword.dbr", "Records/Items/Prefix.dbr",
                       "Records/Items/Suffix.dbr");
    ASSERT_NE(sword, nullptr);
    // Level 0 or an empty name adds nothing and does not count.
    EXPECT_EQ(sword->GetSkillAugments().GetAugmentCount(), 2);  // one skill, all-skills
    EXPECT_EQ(sword->GetSkillAugments().GetAugmentLevelSum(), 3);
    EXPECT_TRUE(sword->GetPrefixDisplayName().empty());  // hidePrefixName
    EXPECT_EQ(sword->GetPrefixCost(), 30);               // the prefix still counts
    EXPECT_EQ(sword->GetSuffixDisplayName(), "tagSuffix");

    sword->AttachItem(character, "RightHand");
    EXPECT_EQ(sword->GetCharacter(), character);
    const std::vector<std::string> installed = services.calls;
    EXPECT_EQ(
        installed,
        (std::vector<std::string>{
            "+skill records\\skills\\a\\slash.dbr 2", "+all 1",
            "+itemskill " + std::to_string(sword->GetSkillAugments().GetGrantedSkills()[0].skillId),
            "+set Records/Items/Set.dbr " + sword->GetObjectName()}));
    services.calls.clear();
    sword->DetachItem(character);
    EXPECT_EQ(sword->GetCharacter(), nullptr);
    ASSERT_EQ(services.calls.size(), installed.size());
    for (std::size_t i = 0; i < installed.size(); ++i)
        EXPECT_EQ(services.calls[i].substr(1, 4), installed[i].substr(1, 4));
    EXPECT_EQ(services.calls[0][0], '-');
}

TEST_F(EquipmentTest, RequirementReductionsAddKindGroupAndPositiveGlobal) {
    auto* sword = Make("Records/Items/HalfSword.dbr");  // strength 7, dexterity 3, level 5
    test::SetCharLevel(*character, 5);
    services.attributes[CharAttributeType::Strength] = 5;
    services.attributes[CharAttributeType::Dexterity] = 3;
    EXPECT_FALSE(sword->AreRequirementsMet(character));
    // 7 reduced by 30 %: 7 - 2.1 + 0.5 = 5.4 -> 5.
    services.attributes[CharAttributeType::MeleeStrengthReqReduction] = 10;
    services.attributes[CharAttributeType::WeaponStrengthReqReduction] = 10;
    services.attributes[CharAttributeType::GlobalReqReduction] = -50;  // ignored below 0
    EXPECT_FALSE(sword->AreRequirementsMet(character));
    services.attributes[CharAttributeType::GlobalReqReduction] = 10;
    EXPECT_TRUE(sword->AreRequirementsMet(character));
    test::SetCharLevel(*character, 4);
    EXPECT_FALSE(sword->AreRequirementsMet(character));

    // Level 10 reduced by 25 %: a level-8 character meets it, level 7 does not.
    EXPECT_TRUE(Item::MeetsRequirements(8, 10, 25));
    EXPECT_FALSE(Item::MeetsRequirements(7, 10, 25));
    EXPECT_TRUE(Item::MeetsRequirements(0, 0, -400));
}

TEST_F(EquipmentTest, RequirementLinesChooseTheirTagByValueAndReduction) {
    std::vector<GameTextLine> lines;
    Item::GenerateRequirementText(12, 10, 0, "Strength", lines);
    Item::GenerateRequirementText(8, 10, 25, "Strength", lines);
    Item::GenerateRequirementText(7, 10, 25, "Strength", lines);
    Item::GenerateRequirementText(7, 10, 0, "Strength", lines);
    Item::GenerateRequirementText(7, 0, 0, "Strength", lines);
    ASSERT_EQ(lines.size(), 4u);
    const wchar_t* tags[] = {L"MeetsRequirement", L"MeetsRequirementWithReduction",
                             L"FailsRequirementWithReduction", L"FailsRequirement"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(lines[i].text, tags[i]);
        EXPECT_EQ(lines[i].textClass, GameTextClass_ItemRequirements);
    }
}

TEST_F(EquipmentTest, RelicRequirementRaisesTheItemsAndRelicClassificationShows) {
    ItemReplicaInfo record = Record("Records/Items/HalfSword.dbr", 3);
    record.relicName = "Records/Items/Relic.dbr";
    record.relicLevel = 2;
    auto* sword = dynamic_cast<ItemEquipment*>(Item::CreateItem(record));
    ASSERT_NE(sword, nullptr);
    ASSERT_TRUE(sword->HasRelic());
    EXPECT_EQ(sword->GetStrengthRequirement(), 40u);
    EXPECT_EQ(sword->GetRelic()->GetRelicLevel(), 2u);
    EXPECT_EQ(sword->GetItemClassification(), ItemClassification::Relic);
    // The sword's formula gives 0; the relic adds its two-shard cost, 20 + 50 %.
    EXPECT_EQ(sword->GetItemCost(), 30);
    EXPECT_EQ(sword->GetReplicaInfo().relicName, "Records/Items/Relic.dbr");
}

TEST_F(EquipmentTest, ArmorShowsTheBodyFormOfTheWearerAndRestoresItsOwnMesh) {
    auto* robe = Make<ArmorProtective_UpperBody>("Records/Items/Robe.dbr");
    ASSERT_NE(robe, nullptr);
    character->SetGender(3);  // native
    robe->AttachItem(character, "Chest");
    EXPECT_EQ(robe->GetShownMesh(), "native.msh");
    EXPECT_EQ(robe->GetShownBaseTexture(), "native_base.tex");
    EXPECT_EQ(robe->GetShownBumpTexture(), "native_bump.tex");
    EXPECT_EQ(services.calls.front(), "breast 1");
    robe->DetachItem(character);
    EXPECT_EQ(robe->GetShownMesh(), "");
    EXPECT_EQ(robe->GetShownBaseTexture(), "");
    EXPECT_EQ(services.calls.back(), "breast 0");
    character->SetGender(5);  // a form without a mesh shows the item's own
    robe->AttachItem(character, "Chest");
    EXPECT_EQ(robe->GetShownMesh(), "");

    robe->SetGender(2);
    EXPECT_EQ(robe->GetBitmap(), "robe_f.tex");
    robe->SetGender(1);
    EXPECT_EQ(robe->GetBitmap(), "robe.tex");
    auto* ring = Make("Records/Items/PlainRing.dbr");
    ring->SetGender(2);
    EXPECT_EQ(ring->GetBitmap(), "ring.tex");
}

TEST_F(EquipmentTest, WeaponScaleFallsBackToBaseScaleThenOne) {
    auto* sword = Make<Weapon>("Records/Items/HalfSword.dbr");
    services.weaponScale = 0.0f;
    sword->AttachItem(character, "RightHand");
    EXPECT_FLOAT_EQ(sword->GetScale(), 1.0f);
    sword->DetachItem(character);
    services.weaponScale = 1.5f;
    sword->AttachItem(character, "RightHand");
    EXPECT_FLOAT_EQ(sword->GetScale(), 1.5f);
    sword->DetachItem(character);
    EXPECT_FLOAT_EQ(sword->GetScale(), 1.0f);
}

TEST_F(EquipmentTest, ShieldBlockChanceFollowsPrefixModifierAndStaysOnReinitialization) {
    auto* shield = Make<WeaponArmor_Shield>("Records/Items/Shield.dbr", "Records/Items/Prefix.dbr");
    ASSERT_NE(shield, nullptr);
    EXPECT_FLOAT_EQ(shield->GetShieldBlockChance(), 22.0f);
    EXPECT_FLOAT_EQ(shield->GetShieldDefense(), 40.0f);
    EXPECT_EQ(shield->GetShieldRecoveryTime(), 1234);
    shield->InitializeItem();
    EXPECT_FLOAT_EQ(shield->GetShieldBlockChance(), 22.0f);
    std::vector<GameTextLine> lines;
    shield->CreateUIAttributeText(lines);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().text, L"tagShieldBlockInfo");
}

}  // namespace
}  // namespace GAME::test

namespace GAME::test {
namespace {

TEST_F(EquipmentTest, TheWeaponOfAnAttackAddsItsRacialDamageForItsRacesOnly) {
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
        "Records/Items/BeastSword.dbr",
        R"({"Class": "WeaponMelee_Sword", "racialBonusRace": ["Beast"],
            "racialBonusPercentDamage": [15], "racialBonusAbsoluteDamage": [4]})"));
    auto* sword = Make<Weapon>("Records/Items/BeastSword.dbr");
    ASSERT_NE(sword, nullptr);
    RacialBonus_Damage beast;
    character->ContributeRacialBonusDamage({"Beast"}, sword->GetObjectId(), beast);
    EXPECT_FLOAT_EQ(beast.percent, 15.0f);
    EXPECT_FLOAT_EQ(beast.absolute, 4.0f);
    // Another race, or an attack without that weapon, gains nothing from it.
    RacialBonus_Damage undead, unarmed;
    character->ContributeRacialBonusDamage({"Undead"}, sword->GetObjectId(), undead);
    character->ContributeRacialBonusDamage({"Beast"}, 0, unarmed);
    EXPECT_FLOAT_EQ(undead.percent + undead.absolute, 0.0f);
    EXPECT_FLOAT_EQ(unarmed.percent + unarmed.absolute, 0.0f);
}

}  // namespace
}  // namespace GAME::test
