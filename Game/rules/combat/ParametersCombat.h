#pragma once
// One attack on one target: who attacks, in which style, with which random seeds, and the
// accumulator holding every payload of the attack. Copies are made by constructing one and
// assigning the attack to it, so that payloads are cloned and never shared.
#include <cstdint>
#include <string>

#include "Game/characters/CharacterRagDoll.h"
#include "Game/rules/combat/AttackRandoms.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"

namespace GAME {

enum class ParametersCombatStyle : std::int32_t {
    // Any value other than the three below: always hits, no block.
    Direct = 0,
    // Melee: dodge, fumble, probability to hit, melee block, retaliation.
    Probability = 1,
    // Deflection and projectile block.
    Projectile = 2,
    // Retaliation or reflection: always hits, causes no further retaliation or reflection.
    Retaliation = 3,
};

class ParametersCombat {
public:
    // Which attack random serves which decision.
    static constexpr std::size_t kAccumulatorSeed = 0;
    static constexpr std::size_t kDefenderRollSeed = 2;
    static constexpr std::size_t kRetaliationSeed = 3;

    // Draws the seven attack randoms from the attacker's generator and seeds the accumulator
    // with the first of them. Inline, so that the draws run with the default range as constants.
    explicit ParametersCombat(RandomUniform& random) {
        attackRandoms.Fill(random);
        accumulator.SetSeed(attackRandoms.GetValue(kAccumulatorSeed));
    }
    ParametersCombat(const ParametersCombat&) = delete;
    // Copies every field; the payloads are cloned and appended.
    ParametersCombat& operator=(const ParametersCombat& other);
    // Inline, so that an attack drops its payloads without a call.
    ~ParametersCombat() = default;

    std::uint32_t attackerId = 0;
    ParametersCombatStyle combatStyle = ParametersCombatStyle::Direct;
    float offensiveAbility = 0.0f;
    AttackRandoms attackRandoms{0, AttackRandoms::kDefaultMaximum};
    std::uint32_t unused = 0;
    std::string auraName;
    std::int32_t auraLevel = 0;
    CombatAttributeAccumulator accumulator;
    CharacterRagDoll::EffectData ragDollData;
    float racialBonusDamage = 0.0f;
    float fumbleChance = 0.0f;
    float manaCost = 0.0f;
};

}  // namespace GAME
