// What a skill shows and plays: effect handles, buff effect packs, rag-doll data, pet templates,
// attach points of animation events and the interface texts with their tags.
#include <utility>

#include "Engine/anim/AnimationLibrary.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/characters/anim/AnimationSetType.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/world/props/Prop.h"
#include "SkillTestSupport.h"

namespace GAME::test {
namespace {

class SkillPresentation : public SkillFixture {
protected:
    SkillPresentation() : owner(*Singleton<ObjectManager>::Get().CreateObject<Character>()) {
        manager.SetParent(&owner);
    }
    static std::vector<std::wstring> Texts(const std::vector<GameTextLine>& lines) {
        std::vector<std::wstring> out;
        for (const auto& line : lines)
            out.push_back(line.text);
        return out;
    }
    Character& owner;
};

TEST_F(SkillPresentation, AParticleEffectIsAttachedOnceAndRestartedAfterwards) {
    Skill& skill = Make(kFireBolt);
    skill.ParticleEffect2(owner, true);  // the record names no second effect
    EXPECT_EQ(skill.GetEffectHandle(1), 0u);
    skill.ParticleEffect1(owner, true);
    const std::uint32_t handle = skill.GetEffectHandle(0);
    ASSERT_NE(handle, 0u);
    const auto& slots = owner.GetFxManager().GetParticleSlots();
    EXPECT_EQ(slots.at(handle).attachPoint, "R Hand");
    EXPECT_TRUE(slots.at(handle).emitting);
    skill.ParticleEffect1(owner, false);
    EXPECT_FALSE(slots.at(handle).emitting);
    EXPECT_EQ(skill.GetEffectHandle(0), handle);  // kept for reuse
    skill.ParticleEffect1(owner, true);
    EXPECT_EQ(skill.GetEffectHandle(0), handle);
    EXPECT_EQ(slots.size(), 1u);
    EXPECT_TRUE(slots.at(handle).emitting);
}

TEST_F(SkillPresentation, BuffEffectsGoToTheManagerInOrder) {
    Skill& skill = Make("Records/Skills/Buff.dbr");
    skill.IncrementSkillLevel(2);
    manager.calls.clear();
    skill.ApplyBuffSelfEffects(owner, true);
    skill.ApplyBuffSelfEffects(owner, false);
    skill.ApplyBuffOtherEffects(owner, true);
    EXPECT_EQ(skill.GetEndBuffOtherFxPakName(), "Records/Skills/Fx/EndOther2.dbr");
    EXPECT_EQ(manager.calls,
              (std::vector<std::string>{"fx Records/Skills/Fx/Self2.dbr", "unenchant",
                                        "enchant Records/Skills/Enchant2.dbr", "unenchant", "unfx",
                                        "fx Records/Skills/Fx/Other.dbr", "unenchant",
                                        "enchant Records/Skills/Enchant2.dbr"}));
    // Ending the buff on another consumes the held end effect.
    skill.ApplyBuffOtherEffects(owner, false);
    EXPECT_EQ(skill.GetEndBuffOtherFxPakName(), "");

    // The cast aura is attached once and removed when the cast ends.
    skill.ApplyCastVisualEffects(owner, true);
    skill.ApplyCastVisualEffects(owner, true);
    const auto& slots = owner.GetFxManager().GetParticleSlots();
    ASSERT_EQ(slots.size(), 1u);
    skill.ApplyCastVisualEffects(owner, false);
    EXPECT_TRUE(slots.begin()->second.removed);
}

TEST_F(SkillPresentation, CastsSwitchTheCastersBuffPackAndBareHandsSwipeWithItsOwnSound) {
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
        "Records/Skills/Caster.dbr",
        R"({"Class": "Character", "swipeSound": "Records/Test/Sound/Pak.dbr"})"));
    auto* caster = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(
        "Records/Skills/Caster.dbr");
    ASSERT_NE(caster, nullptr);
    caster->InitialUpdate();
    manager.SetParent(caster);
    const CharFxPak& fire = caster->GetEffectPack(Character::kDamageFxCount);  // the fire buff
    const CharFxPak& poison = caster->GetEffectPack(Character::kDamageFxCount + 1);
    ASSERT_EQ(fire.GetParent(), caster->GetObjectId());

    Skill& bolt = Make(kFireBolt);  // a fire buff effect
    bolt.ApplyCastVisualEffects(*caster, true);
    EXPECT_TRUE(fire.IsStarted());
    EXPECT_FALSE(poison.IsStarted());
    bolt.ApplyCastVisualEffects(*caster, false);
    EXPECT_FALSE(fire.IsStarted());
    bolt.ApplyActivatedVisualEffects(*caster, true);
    EXPECT_TRUE(fire.IsStarted());
    bolt.ApplyActivatedVisualEffects(*caster, false);
    EXPECT_FALSE(fire.IsStarted());

    // No weapon in either hand: the caster's own swipe, for swipe events only.
    SoundPak* swipe = caster->GetSoundPak(Character::SwipeSound);
    ASSERT_NE(swipe, nullptr);
    bolt.PlayWeaponSwipeSound(*caster, Name::Create("Hit"));
    EXPECT_TRUE(swipe->GetPlayCount() == 0);
    bolt.PlayWeaponSwipeSound(*caster, Name::Create("SwipeLeft"));
    bolt.PlayWeaponSwipeSound(*caster, Name::Create("SwipeRight"));
    EXPECT_EQ(swipe->GetPlayCount(), 2u);
}

TEST_F(SkillPresentation, RagDollDataTakesTheProfileEffectAndLevelAmplification) {
    Skill& skill = Make(kFireBolt);
    skill.IncrementSkillLevel(3);
    CharacterRagDoll::EffectData data;
    skill.InitRagDollData(data, WorldVec3(), WorldVec3());
    EXPECT_EQ(data.effect, CharacterRagDoll::TakeHit);
    EXPECT_FLOAT_EQ(data.amplification, 1.5f);
    EXPECT_FLOAT_EQ(data.direction.Length(), 0.0f);  // no direction words: no push
}

TEST_F(SkillPresentation, AnAnimationsTakeHitRagDollTextsJoinTheSkillsAfterItPlays) {
    // Each attack clip says how a body it strikes falls; only a "TakeHit" clip adds its
    // direction, push and elevation to the skill's own (none for the fire bolt), and a clip that
    // says nothing clears what the last one said.
    ASSERT_TRUE(Singleton<AnimationLibrary>::Get().AddTableText("rag clips", R"({"clips": {
        "Test/Uppercut.anm": {"length": 500, "ragDoll": {"effect": "TakeHit",
                                                         "elevation": "Upward"}},
        "Test/Slump.anm": {"length": 500, "ragDoll": {"effect": "Crumple",
                                                      "elevation": "Upward"}},
        "Test/Plain.anm": {"length": 500},
        "Test/Broken.anm": {"length": 500, "ragDoll": ["TakeHit"]}}})"));
    EXPECT_EQ(tm.CountLog("clip Test/Broken.anm: \"ragDoll\" must be an object"), 1);
    Skill& skill = Make(kFireBolt);
    const std::pair<const char*, float> steps[] = {{"Test/Uppercut.anm", 1.0f},
                                                   {"Test/Plain.anm", 0.0f},
                                                   {"Test/Uppercut.anm", 1.0f},
                                                   {"Test/Slump.anm", 0.0f},
                                                   {"Test/Broken.anm", 0.0f}};
    for (const auto& [clip, up] : steps) {
        const std::string record = std::string("Records/") + clip + ".dbr";
        Singleton<RecordDatabase>::Get().AddRecordText(
            record,
            std::string(R"({"Class": "Character", "unarmedAttackAnim1": ")") + clip + "\"}");
        auto* striker = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(record);
        ASSERT_NE(striker, nullptr);
        ASSERT_TRUE(skill.StartNormalAnimation(
            *striker, static_cast<int>(AnimationSet_Type::Attack), Name(), 1.0f, 0, 0));
        CharacterRagDoll::EffectData data;
        skill.InitRagDollData(data, WorldVec3(), WorldVec3());
        EXPECT_EQ(data.effect, CharacterRagDoll::TakeHit) << clip;
        EXPECT_FLOAT_EQ(data.direction.y, up) << clip;
    }
}

TEST_F(SkillPresentation, PetTemplatesFollowTheLevelAndSkipARepeatedRecord) {
    Skill& skill = Make(kFireBolt);
    EXPECT_FLOAT_EQ(skill.GetPetExtents(), 2.0f);
    skill.IncrementSkillLevel(1);
    manager.calls.clear();
    skill.PreLoadPet();  // levels 1 and 2 name the same record: one template
    ASSERT_NE(skill.GetPetTemplate(), nullptr);
    EXPECT_EQ(skill.GetNextPetTemplate(), nullptr);
    EXPECT_FLOAT_EQ(skill.GetPetExtents(), 2.5f);
    skill.IncrementSkillLevel(1);
    skill.PreLoadPet();
    ASSERT_NE(skill.GetNextPetTemplate(), nullptr);
    EXPECT_EQ(skill.GetNextPetTemplate()->GetObjectName(), "Records/Skills/GreaterImp.dbr");
    EXPECT_EQ(manager.calls, (std::vector<std::string>{"push pet", "active+ 2", "pop pet",
                                                       "push pet", "push pet"}));
}

TEST_F(SkillPresentation, HitEventsMapToAttachPointsAndOthersToTheCharacter) {
    Skill& skill = Make(kFireBolt);
    World::Get().AddEntity(&owner, WorldCoords(), true);
    const WorldCoords hand = skill.GetCoordsFromCallback(owner, Name::Create("RightHandHit"));
    EXPECT_EQ(hand.GetPosition(), owner.GetAttachedCoords("R Hand").GetPosition());
    const WorldCoords other = skill.GetCoordsFromCallback(owner, Name::Create("Hit"));
    EXPECT_EQ(other.GetPosition(), owner.GetPosition());
}

class SkillTexts : public SkillPresentation {
protected:
    SkillTexts() {
        auto& texts = LocalizationManager::Instance();
        texts.SetText("SimpleStringFormat", L"%s");
        texts.SetText("tagFireBolt", L"Fire Bolt");
        texts.SetText("tagItemSkillShort", L" (item)");
        texts.SetText("tagItemSkill", L" [item skill]");
        texts.SetText("SkillIntFormat", L"%d %s");
        texts.SetText("SkillChanceWeight", L"weight %d");
        texts.SetText("SkillEnhancement", L"all skills +%.0f");
        texts.SetText("SkillNumProjectilesFormat", L"%d projectiles");
        texts.SetText("SkillPetLimit", L"%d pets");
        texts.SetText("SkillDamageAbsorption", L"absorbs %.0f");
        texts.SetText("formatQualifyingDamage", L"- %s");
    }
};

TEST_F(SkillTexts, NameHeadingAndParameterTitle) {
    Skill& skill = Make(kFireBolt);
    std::wstring name;
    skill.CreateUISkillName(name);
    EXPECT_EQ(name, L"Fire Bolt");
    skill.SetAsItemSkill(true);
    skill.CreateUISkillName(name);
    EXPECT_EQ(name, L"Fire Bolt (item)");

    std::vector<GameTextLine> lines;
    skill.CreateUIParameterText(lines);
    EXPECT_TRUE(lines.empty());  // nothing at level 0
    skill.CreateUISkillHeading(lines);
    EXPECT_EQ(Texts(lines),
              (std::vector<std::wstring>{L"Fire Bolt [item skill]", L"tagFireBoltDescription"}));
    lines.clear();
    skill.IncrementSkillLevel(1);
    skill.CreateUIParameterText(lines);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].text, L"tagCurrentLevel");
    EXPECT_EQ(lines[0].textClass, GameTextClass_SkillLevelTitles);
}

TEST_F(SkillTexts, SpecializedLinesInOrderAndUnderTheirConditions) {
    Skill& skill = Make(kFireBolt);
    std::vector<GameTextLine> lines;
    skill.CreateUISpecializedText(lines);
    EXPECT_TRUE(lines.empty());
    skill.IncrementSkillLevel(2);
    skill.CreateUISpecializedText(lines);
    // One projectile and one pet allowed: neither line shows.
    EXPECT_EQ(Texts(lines), (std::vector<std::wstring>{L"weight 5", L"all skills +2"}));

    Skill& buff = Make("Records/Skills/Buff.dbr");
    buff.IncrementSkillLevel(1);
    lines.clear();
    buff.CreateUISpecializedText(lines);
    EXPECT_EQ(Texts(lines),
              (std::vector<std::wstring>{L"3 SkillChargeMax", L"2 projectiles", L"absorbs 30",
                                         L"tagDamageAbsorptionTitle", L"- tagQualifyingDamageCold",
                                         L"- tagQualifyingDamagePoison", L"3 pets"}));
    lines.clear();
    buff.CreateUINextSpecializedText(lines);
    EXPECT_EQ(Texts(lines),
              (std::vector<std::wstring>{L"4 SkillChargeMaxMod", L"absorbs 35",
                                         L"tagDamageAbsorptionTitle", L"- tagQualifyingDamageCold",
                                         L"- tagQualifyingDamagePoison", L"3 pets"}));
    EXPECT_EQ(lines[0].textClass, GameTextClass_SkillStatsNext);
}

}  // namespace
}  // namespace GAME::test

namespace GAME::test {
namespace {

using SkillLinks = SkillFixture;

TEST_F(SkillLinks, MasteryBaseSkillsAndModifiersAreFoundByIdAndMissingOnesSkipped) {
    Skill& skill = Make("Records/Skills/FireBolt.dbr");
    Skill& mastery = Make("Records/Skills/Buff.dbr");
    Skill& base = Make("Records/Skills/Elemental.dbr");
    skill.AddMastery(0);
    EXPECT_TRUE(skill.IsSkillTheMasterySkill());
    skill.AddMastery(mastery.GetObjectId());
    mastery.IncrementSkillLevel(2);
    EXPECT_EQ(skill.GetMasteryLevel(), 2u);

    EXPECT_TRUE(skill.IsBaseSkillEnabled());
    skill.AddBaseSkill(987654u);  // gone: skipped
    skill.AddBaseSkill(base.GetObjectId());
    EXPECT_FALSE(skill.IsBaseSkillEnabled());
    base.IncrementSkillLevel(1);
    EXPECT_TRUE(skill.IsBaseSkillEnabled());
    EXPECT_EQ(skill.GetBaseNameText(), "");  // the first base no longer exists

    LocalizationManager::Instance().SetText("SkillBaseNamesFormat", L"<%s>");
    Skill& other = Make("Records/Skills/Buff.dbr");
    other.AddBaseSkill(mastery.GetObjectId());
    other.AddBaseSkill(skill.GetObjectId());
    EXPECT_EQ(other.GetBaseNameText(), "tagBuff");
    EXPECT_EQ(other.GetBaseNamesText(), L"<tagBuff><tagFireBolt>");

    skill.AddModifier(0);
    EXPECT_TRUE(skill.GetModifiers().empty());
    std::string name;
    std::uint32_t level = 7;
    EXPECT_FALSE(skill.GetModifierInfo(0, name, level));
    EXPECT_EQ(level, 7u);
}

TEST_F(SkillLinks, SoundsPlayAtThePointAndPropsGoWithTheSkill) {
    Skill& skill = Make("Records/Skills/Buff.dbr");
    auto& objects = Singleton<ObjectManager>::Get();
    SoundPak* swipe = nullptr;
    for (std::uint32_t id : objects.GetObjectIds())
        if (auto* pak = objects.GetObject<SoundPak>(id))
            swipe = pak;
    ASSERT_NE(swipe, nullptr);
    skill.PlayHitSound(WorldVec3());  // no hit sound: nothing
    skill.PlaySwipeSound(WorldVec3());
    EXPECT_EQ(swipe->GetPlayCount(), 1u);

    EXPECT_EQ(skill.GetProp1(), nullptr);
    Prop* prop = skill.GetProp2();
    ASSERT_NE(prop, nullptr);
    const std::uint32_t propId = prop->GetObjectId();
    skill.OnDestroy();
    EXPECT_EQ(skill.GetProp2(), nullptr);
    EXPECT_EQ(objects.GetObject(propId), nullptr);
}

}  // namespace
}  // namespace GAME::test
