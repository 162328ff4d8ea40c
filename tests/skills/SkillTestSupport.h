#pragma once
// A recording skill manager and skill services for the skill tests, and a fixture that makes
// skills from the test records with a root and a manager.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/items/ItemClassification.h"
#include "Game/rules/SkillAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/skills/Skill.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/manager/SkillState.h"
#include "support/TestMachine.h"

namespace GAME::test {

inline constexpr const char* kFireBolt = "Records/Skills/FireBolt.dbr";  // max 4, ultimate 6

class RecordingSkillServices : public SkillServicesBase {
public:
    void SetParent(Entity*) override {}
    void Dead() override {}
    void SendTargetResult(std::uint32_t, const std::vector<std::uint32_t>&, const WorldCoords&,
                          std::uint32_t, std::uint32_t, bool) override {}
    void SendSkillStateUpdate(std::uint32_t skillId, const SkillState& state) override {
        states.emplace_back(skillId, state);
    }
    void SendSkillActiveUpdate(std::uint32_t, const SkillActiveState&) override {}
    void SendCreateProjectile(std::uint32_t, const WorldCoords&, std::uint32_t, const WorldVec3&,
                              std::uint32_t, std::uint32_t) override {}
    void SendSpawnObject(std::uint32_t, const WorldCoords&, std::uint32_t,
                         const std::vector<WorldCoords>&, const std::vector<std::uint32_t>&,
                         std::uint32_t) override {}
    void CreateUpdateSkillBuff(const SkillBuffTransfer&, const std::vector<Weapon_Type>&,
                               bool) override {}
    void RemoveSkillBuff(const std::string&) override {}

    std::vector<std::pair<std::uint32_t, SkillState>> states;
};

// Answers from its public fields and records what skills ask of it, in order.
class RecordingSkillManager : public SkillManagerBase {
public:
    RecordingSkillManager() { ControlWith(services); }
    using SkillManagerBase::SetParent;
    // Off: as on a machine that doesn't control the character.
    void SetControlling(bool on) { SetSkillServices(on ? mControlling : nullptr); }
    bool IsMonsterSkill() override { return monster; }
    int GetHandState() override { return handState; }
    void GetWeaponTypes(Weapon_Type& r, Weapon_Type& l) override {
        r = right;
        l = left;
    }
    void SubtractMana(float amount) override { mana -= amount; }
    void SubtractLife(float, const PlayStatsDamageType&) override {}
    float GetCurrentMana() override { return mana; }
    std::uint32_t GetRightHandWeapon() const override { return 0; }
    std::uint32_t GetLeftHandWeapon() const override { return 0; }
    float GetTotalSkillAttribute(SkillAttributeType type) override {
        return type == SkillAttributeType::CooldownReduction   ? cooldownReduction
               : type == SkillAttributeType::ManaCostReduction ? manaCostReduction
                                                               : 0.0f;
    }
    void CollectAvailableOffensiveDamageAttributes(std::uint32_t item,
                                                   CombatAttributeAccumulator& a) override {
        calls.push_back("item damage " + std::to_string(item) + (a.IsEmpty() ? " empty" : ""));
    }
    void CollectAvailableOffensiveModifierAttributes(CombatAttributeAccumulator& a) override {
        calls.push_back(std::string("modifiers") + (a.IsEmpty() ? " empty" : ""));
    }
    float CalculateOffensiveAbility(float value) override {
        calls.push_back("offensive ability " + std::to_string(static_cast<int>(value)));
        return 42.0f;
    }
    void ForceSpeedUpdate() override {}
    void SetSpeedUpdateNeeded() override {}
    void RefreshCooldown() override {}
    float GetAttackSpeed() override { return 1.0f; }
    float GetSpellCastSpeed() override { return 1.0f; }
    void AddToActiveList(Skill* skill) override {
        calls.push_back("active+ " + std::to_string(skill->GetSkillLevel()));
    }
    void RemoveFromActiveList(Skill* skill) override {
        calls.push_back("active- " + std::to_string(skill->GetSkillLevel()));
    }
    std::uint32_t SelectWeaponPoolSkill(RandomUniform&) override { return 0; }
    std::uint32_t GetDefaultWPSkillId() override { return 0; }
    void PushPetInitialize(Character*) override { calls.push_back("push pet"); }
    void PopPetInitialize(Character*) override { calls.push_back("pop pet"); }
    void AddWeaponEnchantment(std::uint32_t, const std::string& name) override {
        calls.push_back("enchant " + name);
    }
    void RemoveWeaponEnchantment(std::uint32_t) override { calls.push_back("unenchant"); }
    void AddCharFxPak(std::uint32_t, const std::vector<std::string>& names) override {
        std::string text = "fx";
        for (const auto& name : names)
            text += " " + name;
        calls.push_back(text);
    }
    void RemoveCharFxPak(std::uint32_t) override { calls.push_back("unfx"); }
    // As the manager's gathering does, a change moves the stamp that skills keep totals by.
    void SetCooldownReduction(float value) {
        cooldownReduction = value;
        SkillAttributesChanged();
    }
    // What the manager's update reads from the hands.
    void SetReach(bool ranged, Skill_RangeProfile profile) { SetWeaponReach(ranged, profile); }
    void SetManaCostReduction(float value) {
        manaCostReduction = value;
        SkillAttributesChanged();
    }
    // As the character's own manager does: the parent's totals follow the skills' shares.
    void CharAttributesChanged() override {
        if (Character* parent = GetParent())
            parent->CharAttributeInputsChanged();
    }

    RecordingSkillServices services;
    bool monster = false;
    int handState = 0;
    Weapon_Type right = Weapon_Type::Sword;
    Weapon_Type left = Weapon_Type::None;
    float mana = 100.0f;
    std::vector<std::string> calls;

protected:
    // The services a fake of its own kind records with while it controls.
    void ControlWith(SkillServicesBase& controlling) {
        mControlling = &controlling;
        SetSkillServices(&controlling);
    }

private:
    SkillServicesBase* mControlling = nullptr;
    float cooldownReduction = 0.0f;
    float manaCostReduction = 0.0f;
};

class SkillFixture : public ::testing::Test {
protected:
    SkillFixture() { InitializeObjects(); }
    ~SkillFixture() override { ShutdownObjects(); }

    Skill& Make(const std::string& record) {
        auto& objects = Singleton<ObjectManager>::Get();
        auto* skill = objects.CreateObjectFromFile<Skill>(record, 0, false);
        EXPECT_NE(skill, nullptr) << record;
        skill->SetManager(&manager);
        objects.LoadTableFile(record);
        skill->Load(objects.GetLoadTable(record));
        return *skill;
    }

    TestMachine tm;
    RecordingSkillManager manager;
};

}  // namespace GAME::test
