#pragma once
// One attribute's roll at one level as plain data: the chance gate, what is drawn and the
// payloads made from it. A store turns its members' rolls into one flat batch per pass and runs
// it with the generator's state in a local variable (DamageAttributeStore.cpp); the attribute's
// own call does the same draws in the same order.
#include <array>
#include <cstdint>

#include "Game/rules/combat/CombatAttributeType.h"
#include "Game/rules/combat/CombatPayloadKind.h"

namespace GAME {

struct DamageRoll {
    enum class Draws : std::uint8_t {
        None,               // the numbers are fixed (modifiers)
        Amount,             // FGenerate(amountMin, amountMax)
        AmountAndDuration,  // then FGenerate(durationMin, durationMax)
    };
    static constexpr std::size_t kMostPayloads = 3;
    // The share of a spread amount on each of its three payloads.
    static constexpr float kThird = 0.33333334f;

    // False: no gate at all. Else one percent draw unless the chance is 0 or the member belongs
    // to a global group.
    bool gated = true;
    float chance = 0.0f;
    Draws draws = Draws::None;
    // The drawn amount is spread as a third over the payloads.
    bool third = false;
    std::uint8_t payloadCount = 0;
    std::array<CombatPayloadKind, kMostPayloads> kinds{};
    std::array<CombatAttributeType, kMostPayloads> types{};
    float amountMin = 0.0f;
    float amountMax = 0.0f;
    float durationMin = 0.0f;
    float durationMax = 0.0f;
    // The payload's numbers where nothing is drawn for them: the percent and duration percent
    // of a modifier, the ratio of mana burn, the pierce ratio of physical damage.
    float first = 0.0f;
    float second = 0.0f;

    void AddPayload(CombatPayloadKind kind, CombatAttributeType type) {
        kinds[payloadCount] = kind;
        types[payloadCount] = type;
        ++payloadCount;
    }
};

}  // namespace GAME
