// How a character's combat manager settles one attack on its character. Every random decision
// comes from the attack's stored seeds, so each machine that resolves it reaches the same end.
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Bonus.h"
#include "Game/items/kinds/Armor.h"
#include "Game/items/kinds/Weapon.h"
#include "Game/rules/combat/CombatEvents.h"
#include "Game/rules/combat/CombatFilter.h"
#include "Game/rules/combat/CombatManager.h"
#include "Game/rules/combat/CombatRandom.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/manager/SkillManager.h"

namespace GAME {

namespace {

const char* RegionName(CombatAttributeRegion region) {
    switch (region) {
        case CombatAttributeRegion::FullyProtected:
            return "FullyProtected";
        case CombatAttributeRegion::Unprotected:
            return "Unprotected";
        case CombatAttributeRegion::Head:
            return "Head";
        case CombatAttributeRegion::Torso:
            return "Torso";
        case CombatAttributeRegion::Arms:
            return "Arms";
        case CombatAttributeRegion::Legs:
            return "Legs";
    }
    return "Unknown Region";
}

constexpr int kLastTalliedType = 46;

}  // namespace

bool CombatManager::TakeAttack(ParametersCombat& params) {
    Character* const character = mCharacter;
    if (!character || !character->IsAlive())
        return false;
    character->ResetAbsEffects();
    const float lifeBefore = character->GetCurrentLife();
    mLifeLeechPercent = 0.0f;

    CombatRandom attackGen;
    attackGen.Seed(params.attackRandoms.GetValue(ParametersCombat::kDefenderRollSeed));
    // What the attack carried before any defense acted: the source of a reflection. Building it
    // draws only from a scratch generator, never from the attack's.
    CombatRandom scratch;
    ParametersCombat copy(scratch);
    copy = params;

    mRacialDefense = RacialBonus_Defense{};
    CombatAttributeAccumulator& attack = params.accumulator;
    attack.SetRegion(PickRegion(attack.GetRandomGen()));

    mState = CombatManager_State::InCombat;
    mInCombatLeft = mInCombatDuration;
    // Damage over time added by this attack's payloads is credited to its attacker and merged
    // once the attack is over.
    mDurationDamage.SetAttacker(params.attackerId);
    mLastAttacker = params.attackerId;

    Trace("combat\n");
    Trace("[\n");
    Character* const attacker = FindCharacter(params.attackerId);
    if (attacker) {
        character->ContributeRacialBonusDefense(attacker->GetRace(), mRacialDefense);
        Trace("    attackerName = %s\n", attacker->GetObjectName().c_str());
    }
    Trace("    attackerID = %d\n", static_cast<int>(params.attackerId));
    Trace("    defenderName = %s\n", character->GetObjectName().c_str());
    Trace("    defenderID = %d\n", static_cast<int>(character->GetObjectId()));

    float multiplier = 1.0f;
    float pth = 0.0f;
    switch (params.combatStyle) {
        case ParametersCombatStyle::Probability: {
            Trace("    combatType = Probability Attack\n");
            const bool dodged = CanIDodgeAttack(attackGen);
            if (dodged)
                multiplier = 0.0f;
            bool fumbled = false;
            if (params.fumbleChance > 0.0f) {
                const float x = attackGen.FGenerate(0.0f, 100.0f);
                if (x < params.fumbleChance) {
                    multiplier = 0.0f;
                    fumbled = true;
                    Trace("    ^yFumble Chance (%f) caused a miss\n",
                          static_cast<double>(params.fumbleChance));
                } else {
                    Trace("    ^yFumble Chance (%f) not met (%f)\n",
                          static_cast<double>(params.fumbleChance), static_cast<double>(x));
                }
            }
            if (!fumbled && !dodged) {
                const float da = DesignerCalculateDefensiveAbility(0.0f);
                pth = DesignerCalculateProbabilityToHit(params.offensiveAbility, da);
                const float roll = attackGen.FGenerate(0.0f, 1.0f);
                multiplier = CalculateDamageModifier(pth, roll);
            }
            break;
        }
        case ParametersCombatStyle::Projectile:
            Trace("    combatType = Projectile Attack\n");
            if (CanIDeflectProjectile(attackGen))
                multiplier = 0.0f;
            break;
        default:
            Trace("    combatType = Direct Attack\n");
            break;
    }

    bool invulnerable = false;
    if (multiplier > 0.0f) {
        static const std::vector<std::string> kNoRaces;
        const std::vector<std::string>& races = attacker ? attacker->GetRace() : kNoRaces;
        for (CombatFilter* filter : mFilters) {
            if (filter->ProvidesInvulnerability(races)) {
                invulnerable = true;
                Trace("    ^ySkill provided Invulerability\n");
                break;
            }
        }
    }

    character->GetAllDefenseAttributes(attack);
    const float reflectPercent = attack.GetTotalDefenseType(CombatAttributeType::Reflect);

    bool hit = false;
    if (invulnerable) {
        Trace("    ^bInvulnerable Shield in place\n");
    } else if (multiplier <= 0.0f) {
        Trace("    Miss occured\n");
        if (attacker)
            attacker->GetPlayStats().IMissed();
        character->GetPlayStats().IWasMissed();
    } else {
        const float blunt = attack.ProcessBluntDamageModifier(multiplier);
        attack.ProcessDefense(*character, 0.0f, ContributeDefensiveReduction(),
                              ContributeTotalResistanceReductionPercent(),
                              ContributeTotalResistanceReductionAbsolute());
        TryShieldBlock(params, attack, pth, attackGen);
        if (mRacialDefense.percent > 0.0f) {
            attack.ReduceDamage(mRacialDefense.percent);
            Trace("    ^yRacial Bonus Percent Defense = %f\n",
                  static_cast<double>(mRacialDefense.percent));
        }
        attack.ExecuteDefense();
        float absolute = 0.0f;
        float overTime = 0.0f;
        attack.GetTotalDamage(absolute, overTime);
        Trace("    Total Damage:  Absolute (%f), Over Time (%f)", static_cast<double>(absolute),
              static_cast<double>(overTime));
        // A character without a life limit gets no push rather than an infinite one.
        const float lifeLimit = character->GetLifeLimit();
        params.ragDollData.amplification = lifeLimit > 0.0f ? absolute * 3.0f / lifeLimit : 0.0f;
        character->SetRagdollData(params.ragDollData, false);
        attack.ExecuteDamage(*character);
        Trace("    ^bRacial Bonus Damage:  (%f)", static_cast<double>(params.racialBonusDamage));
        ApplyDamage(params.racialBonusDamage,
                    {PlayStatsDamageType::RacialBonus, CombatAttributeType::BasePhysical},
                    CombatAttributeType::BasePhysical);
        // A counter-attack's damage is tallied once, by the retaliation or reflection itself.
        auto* player = dynamic_cast<Player*>(attacker);
        if (player && params.combatStyle != ParametersCombatStyle::Retaliation) {
            PlayStats& stats = player->GetPlayStats();
            for (int t = 0; t <= kLastTalliedType; ++t) {
                const auto type = static_cast<CombatAttributeType>(t);
                float typeAbsolute = 0.0f;
                float typeOverTime = 0.0f;
                attack.GetTotalDamageType(typeAbsolute, typeOverTime, type);
                if (typeAbsolute != 0.0f)
                    stats.TallyDamageInflicted(typeAbsolute, {PlayStatsDamageType::Attack, type});
                if (typeOverTime != 0.0f)
                    stats.TallyDamageInflicted(typeOverTime, {PlayStatsDamageType::Attack, type});
            }
            if (params.racialBonusDamage != 0.0f)
                stats.TallyDamageInflicted(
                    params.racialBonusDamage,
                    {PlayStatsDamageType::RacialBonus, CombatAttributeType::BasePhysical});
        }
        if (attacker && multiplier > 1.0f) {
            attacker->GetPlayStats().InflictCriticalHit();
            character->GetPlayStats().ReceiveCriticalHit();
        }
        Trace("    criticalStrike = %f\n", static_cast<double>(multiplier));
        Trace("    regionHit = %s\n", RegionName(attack.GetRegion()));
        HitFeedback(params, attacker, multiplier, blunt);
        attack.Clear();
        Trace("\n");
        hit = true;
    }

    const float absorption =
        character->GetTotalCharAttribute(CharAttributeType::EnergyAbsorptionPercent);
    if (absorption > 0.0f) {
        const float mana = absorption * 0.01f * params.manaCost;
        if (mana > 0.0f)
            character->AddManaSlow(mana);
    }

    if (params.combatStyle != ParametersCombatStyle::Retaliation) {
        if (params.combatStyle == ParametersCombatStyle::Probability)
            Retaliation(params);
        character->UnderAttack(params.attackerId);
        character->GetSkillManager().UnderAttack(params);
        // The copy holds the damage as the attack carried it, so a missed swing or a shielded
        // defender still returns its share.
        if (reflectPercent > 0.0f) {
            Trace("    ^b%f%% Damage Reflected\n", static_cast<double>(reflectPercent));
            copy.accumulator.FilterReflectDamage();
            copy.accumulator.ScaleDamage(reflectPercent);
            ReflectCombatDamage(copy, params.attackerId);
        }
    }

    if (mLifeLeechPercent > 0.0f && attacker) {
        const float lost = lifeBefore - character->GetCurrentLife();
        const float heal = mLifeLeechPercent * 0.01f * lost;
        if (lost > 0.0f && heal > 0.0f) {
            Trace("    ^b%f%% Life Leech return %f Life\n", static_cast<double>(mLifeLeechPercent),
                  static_cast<double>(heal));
            Bonus bonus;
            bonus.lifePoints = heal;
            attacker->TakeBonus(bonus, false, 0);
        }
    }

    Trace("]\n");
    mDurationDamage.EndAttack();
    character->DisarmAbsEffects();
    return hit;
}

void CombatManager::TryShieldBlock(const ParametersCombat& params,
                                   CombatAttributeAccumulator& attack, float pth,
                                   RandomUniform& attackGen) {
    Character* const character = mCharacter;
    if (mBlockRecoveryLeft > 0)
        return;
    auto* shield = Singleton<ObjectManager>::Get().GetObject<WeaponArmor_Shield>(
        mEquipManager.GetWeaponIdLeft());
    if (!shield)
        return;
    const float chance = shield->GetShieldBlockChance();
    const float modifier = attack.GetTotalDefenseType(CombatAttributeType::BlockModifier);
    bool blocked = false;
    if (params.combatStyle == ParametersCombatStyle::Probability)
        blocked = DesignerCalculateMeleeBlockChance(chance, modifier, pth, attackGen);
    else if (params.combatStyle == ParametersCombatStyle::Projectile)
        blocked = DesignerCalculateProjectileBlockChance(chance, modifier, pth, attackGen);
    if (!blocked)
        return;
    attack.DamageReductionByShield(*character, shield->GetShieldDefense(),
                                   shield->GetShieldAbsorption());
    shield->PlayBlockSound(character->GetPosition());
    const float t = static_cast<float>(shield->GetShieldRecoveryTime());
    const float reduction =
        character->GetTotalCharAttribute(CharAttributeType::DefensiveBlockRecoveryReduction);
    mBlockRecoveryLeft = static_cast<int>(t - t * 0.01f * reduction);
}

void CombatManager::HitFeedback(const ParametersCombat& params, Character* attacker,
                                float multiplier, float blunt) {
    Character* const character = mCharacter;
    if (params.combatStyle == ParametersCombatStyle::Probability) {
        character->PlayImpactSound();
        if (auto* armor =
                Singleton<ObjectManager>::Get().GetObject<Armor>(mEquipManager.GetBodyArmor()))
            armor->PlayImpactSound(character->GetPosition());
    }
    if (multiplier <= 1.0f)
        return;
    if (SoundPak* sound = character->GetCriticalHitSound())
        sound->Play(character->GetPosition(), false);
    if (blunt <= 0.0f || !IsCriticalHitTextEnabled() || !gGameEngine)
        return;
    const Player* mainPlayer = gGameEngine->GetMainPlayer();
    const char* styleKey = nullptr;
    if (mainPlayer && mainPlayer == character)
        styleKey = "CriticalHitOnPlayerStyle";
    else if (mainPlayer && mainPlayer == attacker)
        styleKey = "CriticalHitOnMonsterStyle";
    if (!styleKey)
        return;
    GameEvent_FloatingText text;
    text.text = LocalizationManager::Instance().Format("CriticalHitFormat", blunt, multiplier);
    text.style = gGameEngine->GetDatabase().GetString(styleKey);
    text.position = character->GetPosition();
    text.objectId = character->GetObjectId();
    SendGameEvent(text, "FloatingText");
}

}  // namespace GAME
