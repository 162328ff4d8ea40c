// The load order of every attribute store is its display order and the order of its jitter
// draws, so it is pinned here key by key from records that name every kind.
#include <gtest/gtest.h>

#include <typeindex>

#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/Machine.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/rules/CharAttributeStore.h"
#include "Game/rules/DefenseAttributeStore.h"
#include "Game/rules/SkillAttribute.h"
#include "Game/rules/damage/RetaliationAttribute.h"
#include "Game/rules/damage/RetaliationAttributeStore.h"
#include "support/TestMachine.h"
#include "support/TypeOf.h"

namespace GAME {
namespace {

using test::TestMachine;
using Keys = std::vector<std::string>;

// A record that gives every key the single value 100.
LoadTable RecordWith(const Keys& keys, const std::string& extra = {}) {
    static int counter = 0;
    std::string json = "{";
    for (const auto& key : keys)
        json += "\"" + key + "\": [100], ";
    json += extra.empty() ? std::string("\"Class\": \"Test\"") : extra;
    json += "}";
    const std::string name = "Records/Attributes/Order" + std::to_string(++counter) + ".dbr";
    Singleton<RecordDatabase>::Get().AddRecordText(name, json);
    return Singleton<RecordDatabase>::Get().Get(name);
}

Keys Concat(std::initializer_list<Keys> parts) {
    Keys all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// ---- character attributes ----

struct CharKey {
    const char* key;
    int jitter;
};

const std::vector<CharKey> kCharHead = {
    {"characterStrength", 20},     {"characterStrengthModifier", 20},
    {"characterIntelligence", 20}, {"characterIntelligenceModifier", 20},
    {"characterDexterity", 20},    {"characterDexterityModifier", 20},
    {"characterLife", 0},          {"characterLifeModifier", 20},
    {"characterLifeRegen", 0},     {"characterLifeRegenModifier", 20},
    {"characterMana", 20},         {"characterManaModifier", 20},
    {"characterManaRegen", 0},     {"characterManaRegenModifier", 20},
};
const std::vector<CharKey> kCharReserve = {
    {"characterManaLimitReserve", 20},
    {"characterManaLimitReserveModifier", 20},
};
const std::vector<CharKey> kCharAbilities = {
    {"characterManaLimitReserveReduction", 20}, {"characterManaLimitReserveReductionModifier", 20},
    {"characterOffensiveAbility", 20},          {"characterOffensiveAbilityModifier", 20},
    {"characterDefensiveAbility", 20},          {"characterDefensiveAbilityModifier", 20},
    {"characterTotalSpeedModifier", 20},
};
const std::vector<CharKey> kCharCastSpeeds = {
    {"characterAttackSpeed", 0},
    {"characterAttackSpeedModifier", 20},
    {"characterSpellCastSpeed", 0},
    {"characterSpellCastSpeedModifier", 20},
};
const std::vector<CharKey> kCharRunSpeed = {
    {"characterRunSpeed", 0},
    {"characterRunSpeedModifier", 20},
};
const std::vector<CharKey> kCharTail = {
    {"characterDefensiveBlockRecoveryReduction", 20},
    {"characterEnergyAbsorptionPercent", 20},
    {"characterDodgePercent", 20},
    {"characterDeflectProjectile", 20},
    {"characterGlobalReqReduction", 0},
    {"characterWeaponStrengthReqReduction", 0},
    {"characterWeaponDexterityReqReduction", 0},
    {"characterWeaponIntelligenceReqReduction", 0},
    {"characterMeleeStrengthReqReduction", 0},
    {"characterMeleeDexterityReqReduction", 0},
    {"characterMeleeIntelligenceReqReduction", 0},
    {"characterArmorStrengthReqReduction", 0},
    {"characterArmorDexterityReqReduction", 0},
    {"characterArmorIntelligenceReqReduction", 0},
    {"characterJewelryStrengthReqReduction", 0},
    {"characterJewelryDexterityReqReduction", 0},
    {"characterJewelryIntelligenceReqReduction", 0},
    {"characterShieldStrengthReqReduction", 0},
    {"characterShieldDexterityReqReduction", 0},
    {"characterShieldIntelligenceReqReduction", 0},
    {"characterHuntingStrengthReqReduction", 0},
    {"characterHuntingDexterityReqReduction", 0},
    {"characterHuntingIntelligenceReqReduction", 0},
    {"characterStaffStrengthReqReduction", 0},
    {"characterStaffDexterityReqReduction", 0},
    {"characterStaffIntelligenceReqReduction", 0},
    {"characterLevelReqReduction", 0},
    {"characterIncreasedExperience", 0},
};

std::vector<CharKey> CharOrder(std::initializer_list<std::vector<CharKey>> parts) {
    std::vector<CharKey> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Keys KeysOf(const std::vector<CharKey>& order) {
    Keys keys;
    for (const auto& entry : order)
        keys.push_back(entry.key);
    return keys;
}

Keys KeysOf(const CharAttributeStore& store) {
    Keys keys;
    for (const auto& attribute : store.GetAttributes())
        keys.push_back(attribute->GetRecordKey());
    return keys;
}

TEST(AttributeLoadOrder, CharacterEquipmentOrderAndJitterPerKind) {
    TestMachine tm;
    const auto order = CharOrder(
        {kCharHead, kCharReserve, kCharAbilities, kCharCastSpeeds, kCharRunSpeed, kCharTail});
    ASSERT_EQ(order.size(), 57u);
    const LoadTable record = RecordWith(KeysOf(order));
    RandomUniform random, replay;
    random.Seed(606);
    replay.Seed(606);
    CharAttributeStore_Equipment store;
    store.SetRandomGen(&random);
    store.Load(record, nullptr, nullptr, false);

    Keys expected = {"characterBaseAttackSpeed"};
    for (const auto& entry : order)
        expected.push_back(entry.key);
    ASSERT_EQ(KeysOf(store), expected);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const float want = order[i].jitter > 0 ? 100.0f + replay.IGenerate(-20, 20) : 100.0f;
        EXPECT_EQ(store.GetAttributes()[i + 1]->GetValue(1), want) << order[i].key;
    }
    EXPECT_EQ(random.GetState(), replay.GetState());

    store.Load(record, nullptr, nullptr, true);  // no base attack speed
    EXPECT_EQ(KeysOf(store), KeysOf(order));
}

TEST(AttributeLoadOrder, CharacterSkillPenaltyAndBioOrders) {
    TestMachine tm;
    const auto all = CharOrder(
        {kCharHead, kCharReserve, kCharAbilities, kCharCastSpeeds, kCharRunSpeed, kCharTail});
    const LoadTable record = RecordWith(KeysOf(all));

    CharAttributeStore_Skill skill;
    skill.Load(record);
    EXPECT_EQ(
        KeysOf(skill),
        KeysOf(CharOrder({kCharHead, kCharAbilities, kCharRunSpeed, kCharCastSpeeds, kCharTail})));

    CharAttributeStore_SkillPenalty penalty;
    penalty.Load(record);
    EXPECT_EQ(KeysOf(penalty), KeysOf(kCharReserve));

    CharAttributeStore_Bio bio;
    bio.Load(record);
    EXPECT_EQ(KeysOf(bio),
              (Keys{"characterStrength", "characterIntelligence", "characterDexterity",
                    "characterLife", "characterLifeRegen", "characterMana", "characterManaRegen",
                    "characterAttackSpeed", "characterSpellCastSpeed", "characterRunSpeed",
                    "characterOffensiveAbility", "characterDefensiveAbility"}));
}

// ---- defense attributes ----

Keys DefenseGroup(const std::string& stem, bool dur, bool absMod, bool durMod) {
    const std::string field = "defensive" + stem;
    Keys keys = {field};
    if (dur)
        keys.push_back(field + "Duration");
    if (absMod)
        keys.push_back(field + "Modifier");
    if (durMod)
        keys.push_back(field + "DurationModifier");
    return keys;
}

Keys DefenseElements() {
    return Concat({{"defensiveBleeding", "defensiveBleedingDuration", "defensiveBleedingModifier",
                    "defensiveBleedingDurationModifier", "defensiveElementalResistance"},
                   DefenseGroup("Fire", true, true, true),
                   DefenseGroup("Cold", true, true, true),
                   DefenseGroup("Lightning", true, true, true),
                   DefenseGroup("Poison", true, true, true),
                   DefenseGroup("Life", true, true, true),
                   DefenseGroup("SlowLifeLeach", true, true, true),
                   DefenseGroup("SlowManaLeach", true, true, true),
                   {"defensiveStun", "defensiveStunModifier", "defensiveTrap", "defensiveFreeze",
                    "defensivePetrify", "defensiveDisruption", "defensiveTaunt", "defensiveFear",
                    "defensiveConfusion"}});
}

const Keys kDefenseEquipment =
    Concat({{"defensiveProtectionModifier", "defensiveAbsorptionModifier", "defensivePhysical",
             "defensivePhysicalModifier", "defensivePhysicalDuration",
             "defensivePhysicalDurationModifier", "defensivePierce", "defensivePierceModifier"},
            DefenseElements(),
            {"defensiveBlockModifier", "defensiveReflect"}});

const Keys kDefenseSkill =
    Concat({{"defensiveProtectionModifier", "defensiveAbsorptionModifier", "defensivePhysical",
             "defensivePhysicalDuration", "defensivePhysicalModifier",
             "defensivePhysicalDurationModifier", "defensivePierce", "defensivePierceModifier"},
            DefenseElements(),
            {"defensiveConvert", "defensiveBlockModifier", "defensiveReflect",
             "defensiveManaBurnRatio", "defensivePercentCurrentLife"}});

// The value field of every typical attribute; the protection kinds show as "protection".
Keys KeysOf(const DefenseAttributeStore& store) {
    Keys keys;
    for (const auto& attribute : store.GetAttributes()) {
        if (auto* typical = dynamic_cast<const DefenseAttribute_Typical*>(attribute.get()))
            keys.push_back(typical->GetValueField());
        else
            keys.push_back("protection");
    }
    return keys;
}

TEST(AttributeLoadOrder, DefenseEquipmentOrderJittersEveryKindByTwenty) {
    TestMachine tm;
    ASSERT_EQ(kDefenseEquipment.size(), 52u);
    const LoadTable record = RecordWith(Concat({{"defensiveProtection"}, kDefenseSkill}));
    RandomUniform random, replay;
    random.Seed(31);
    replay.Seed(31);
    DefenseAttributeStore_Equipment store;
    store.SetRandomGen(&random);
    store.Load(record, nullptr, nullptr, true, CombatAttributeRegion::Torso);
    ASSERT_EQ(KeysOf(store), Concat({{"protection"}, kDefenseEquipment}));
    for (std::size_t i = 1; i < store.GetAttributes().size(); ++i) {
        const auto& typical =
            dynamic_cast<const DefenseAttribute_Typical&>(*store.GetAttributes()[i]);
        EXPECT_EQ(typical.GetValueAt(1), 100.0f + replay.IGenerate(-20, 20))
            << typical.GetValueField();
    }
    EXPECT_EQ(random.GetState(), replay.GetState());
}

TEST(AttributeLoadOrder, DefenseSkillAndCharacterOrders) {
    TestMachine tm;
    ASSERT_EQ(kDefenseSkill.size(), 55u);
    const LoadTable record = RecordWith(Concat({{"defensiveProtection"}, kDefenseSkill}));
    DefenseAttributeStore_Skill skill;
    skill.Load(record);
    EXPECT_EQ(KeysOf(skill), Concat({{"protection"}, kDefenseSkill}));
    EXPECT_NE(dynamic_cast<const DefenseAttribute_SkillProtectionAbsorption*>(
                  skill.GetAttributes()[0].get()),
              nullptr);

    DefenseAttributeStore_Character character;
    character.Load(record);
    EXPECT_EQ(KeysOf(character),
              (Keys{"defensivePhysical", "defensivePierce", "defensiveBleeding", "defensiveFire",
                    "defensiveCold", "defensiveLightning", "defensivePoison", "defensiveLife",
                    "defensiveStun", "defensiveTrap", "defensiveFreeze", "defensivePetrify"}));
}

// ---- retaliation attributes ----

std::vector<std::type_index> Types(const DamageAttributeStore& store) {
    std::vector<std::type_index> types;
    for (const auto& attribute : store.GetAttributes())
        types.emplace_back(test::TypeOf(attribute));
    return types;
}

#define GAME_TYPE(Kind) std::type_index(typeid(RetaliationAttribute##Kind))
#define GAME_ELEMENT(S) \
    GAME_TYPE(Abs_##S), GAME_TYPE(Dur_##S), GAME_TYPE(AbsMod_##S), GAME_TYPE(DurMod_##S)

const std::vector<std::type_index> kRetaliationHead = {
    GAME_TYPE(Abs_Physical),       GAME_TYPE(Dur_Physical),       GAME_TYPE(AbsMod_Physical),
    GAME_TYPE(DurMod_Physical),    GAME_TYPE(AbsMod_PierceRatio), GAME_TYPE(Abs_Pierce),
    GAME_TYPE(AbsMod_Pierce),      GAME_TYPE(Dur_Bleeding),       GAME_TYPE(DurMod_Bleeding),
    GAME_TYPE(Abs_ElementalDamage)};
const std::vector<std::type_index> kRetaliationTail = {GAME_TYPE(Abs_PercentCurrentLife),
                                                       GAME_TYPE(Abs_Life),
                                                       GAME_TYPE(Dur_Life),
                                                       GAME_TYPE(AbsMod_Life),
                                                       GAME_TYPE(DurMod_Life),
                                                       GAME_TYPE(Dur_LifeLeach),
                                                       GAME_TYPE(DurMod_LifeLeach),
                                                       GAME_TYPE(Dur_ManaLeach),
                                                       GAME_TYPE(DurMod_ManaLeach),
                                                       GAME_TYPE(Dur_OffensiveAbility),
                                                       GAME_TYPE(DurMod_OffensiveAbility),
                                                       GAME_TYPE(Dur_DefensiveAbility),
                                                       GAME_TYPE(DurMod_DefensiveAbility),
                                                       GAME_TYPE(Dur_OffensiveReduction),
                                                       GAME_TYPE(DurMod_OffensiveReduction),
                                                       GAME_TYPE(Reflex_Stun),
                                                       GAME_TYPE(AbsMod_Stun),
                                                       GAME_TYPE(Dur_AttackSpeed),
                                                       GAME_TYPE(DurMod_AttackSpeed),
                                                       GAME_TYPE(Dur_SpellCastSpeed),
                                                       GAME_TYPE(DurMod_SpellCastSpeed),
                                                       GAME_TYPE(Dur_RunSpeed),
                                                       GAME_TYPE(DurMod_RunSpeed)};

std::vector<std::type_index> RetaliationOrder(std::vector<std::type_index> elements) {
    std::vector<std::type_index> all = kRetaliationHead;
    all.insert(all.end(), elements.begin(), elements.end());
    all.insert(all.end(), kRetaliationTail.begin(), kRetaliationTail.end());
    return all;
}

Keys RetaliationKeys() {
    Keys keys;
    for (const char* stem : {"Physical", "Pierce", "Cold", "Fire", "Poison", "Lightning", "Life",
                             "PercentCurrentLife", "Elemental", "Stun"})
        keys.push_back(std::string("retaliation") + stem + "Min");
    for (const char* stem : {"Physical", "PierceRatio", "Pierce", "Cold", "Fire", "Poison",
                             "Lightning", "Life", "Stun"})
        keys.push_back(std::string("retaliation") + stem + "Modifier");
    for (const char* stem : {"Physical", "Bleeding", "Cold", "Fire", "Poison", "Lightning", "Life",
                             "AttackSpeed", "SpellCastSpeed", "RunSpeed", "LifeLeach", "ManaLeach",
                             "OffensiveAbility", "DefensiveAbility", "OffensiveReduction"}) {
        const std::string field = std::string("retaliationSlow") + stem;
        keys.push_back(field + "Min");
        keys.push_back(field + "DurationMin");
        keys.push_back(field + "Modifier");
        keys.push_back(field + "DurationModifier");
    }
    return keys;
}

TEST(AttributeLoadOrder, RetaliationEquipmentAndSkillOrders) {
    TestMachine tm;
    const LoadTable record = RecordWith(RetaliationKeys());
    RetaliationAttributeStore_Equipment equipment;
    equipment.Load(record, nullptr, nullptr, false);
    const auto equipmentOrder = RetaliationOrder(
        {GAME_ELEMENT(Cold), GAME_ELEMENT(Poison), GAME_ELEMENT(Lightning), GAME_ELEMENT(Fire)});
    ASSERT_EQ(equipmentOrder.size(), 49u);
    EXPECT_TRUE(Types(equipment) == equipmentOrder);

    RetaliationAttributeStore_Skill skill;
    skill.Load(record);
    EXPECT_TRUE(Types(skill) == RetaliationOrder({GAME_ELEMENT(Fire), GAME_ELEMENT(Cold),
                                                  GAME_ELEMENT(Lightning), GAME_ELEMENT(Poison)}));
}

#undef GAME_ELEMENT
#undef GAME_TYPE

// ---- skill attributes ----

TEST(AttributeLoadOrder, SkillAttributeOrder) {
    TestMachine tm;
    const LoadTable record = RecordWith(
        {"skillManaCostReductionModifier", "skillCooldownReductionModifier",
         "skillProjectileSpeedModifier", "skillManaCostReduction", "skillCooldownReduction"});
    SkillAttributeStore_Skill store;
    store.Load(record);
    std::vector<std::type_index> types;
    for (const auto& attribute : store.GetAttributes())
        types.emplace_back(test::TypeOf(attribute));
    EXPECT_TRUE(types ==
                (std::vector<std::type_index>{typeid(SkillAttributeVal_CooldownReduction),
                                              typeid(SkillAttributeVal_ManaCostReduction),
                                              typeid(SkillAttributeVal_ProjectileSpeedModifier),
                                              typeid(SkillAttributeMod_CooldownReduction),
                                              typeid(SkillAttributeMod_ManaCostReduction)}));
}

}  // namespace
}  // namespace GAME
