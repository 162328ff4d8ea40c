// What the game settings add to a player and how far they let its speeds and defenses go.
#include <algorithm>

#include "Engine/records/LoadTable.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/AttributePak.h"

namespace GAME {

namespace {

constexpr std::size_t kDifficulties = 3;

struct SpeedCapKeys {
    const char* low;
    const char* high;
};
// In the order of Player::Caps' speed indices.
constexpr SpeedCapKeys kSpeedCapKeys[] = {
    {"playerRunSpeedCapMin", "playerRunSpeedCapMax"},
    {"playerAttackSpeedCapMin", "playerAttackSpeedCapMax"},
    {"playerSpellCastSpeedCapMin", "playerSpellCastSpeedCapMax"},
};

std::size_t CurrentDifficulty() {
    const int difficulty = gGameEngine ? gGameEngine->GetGameDifficulty() : 0;
    return static_cast<std::size_t>(difficulty);
}

template <class Accumulator, class Getter>
void AddPlayerPak(Accumulator& accumulator, Getter getter) {
    if (GameEngine* game = gGameEngine)
        (game->GetPlayerAttributePak().*getter)(accumulator, game->GetBalanceDifficulty());
}

}  // namespace

// Read once: the caps are asked for on every attack and every speed evaluation.
const Player::Caps& Player::GetCaps() const {
    static const Caps kNone{};
    if (mCaps)
        return *mCaps;
    if (!gGameEngine)
        return kNone;
    Caps& caps = mCaps.emplace();
    const LoadTable database = gGameEngine->GetDatabase();
    for (std::size_t difficulty = 0; difficulty < kDifficulties; ++difficulty) {
        caps.defense[difficulty] = database.GetArrayFloat("playerDefenseCap", difficulty, 0.0f);
        for (std::size_t speed = 0; speed < std::size(kSpeedCapKeys); ++speed) {
            caps.low[speed][difficulty] =
                database.GetArrayFloat(kSpeedCapKeys[speed].low, difficulty, 0.0f);
            caps.high[speed][difficulty] =
                database.GetArrayFloat(kSpeedCapKeys[speed].high, difficulty, 0.0f);
        }
    }
    return caps;
}

float Player::GetDefenseAttributeCap() const {
    const std::size_t difficulty = CurrentDifficulty();
    return difficulty < kDifficulties ? GetCaps().defense[difficulty] : 0.0f;
}

float Player::CapSpeed(float speed, std::size_t cap, CharAttributeType base) const {
    const std::size_t difficulty = CurrentDifficulty();
    if (difficulty >= kDifficulties)
        return speed;
    return CapSpeedToBase(speed, GetCaps().low[cap][difficulty], GetCaps().high[cap][difficulty],
                          base);
}

float Player::CapRunSpeed(float speed) const {
    return CapSpeed(speed, Caps::kRunSpeed, CharAttributeType::RunSpeed);
}

float Player::CapAttackSpeed(float speed) const {
    return CapSpeed(speed, Caps::kAttackSpeed, CharAttributeType::AttackSpeed);
}

float Player::CapSpellCastSpeed(float speed) const {
    return CapSpeed(speed, Caps::kSpellCastSpeed, CharAttributeType::SpellCastSpeed);
}

void Player::ContributeGameBalanceCharAttributes(CharAttributeAccumulator& accumulator) {
    AddPlayerPak(accumulator, &AttributePak::GetCharAttributes);
}

void Player::ContributeGameBalanceSkillAttributes(SkillAttributeAccumulator& accumulator) {
    AddPlayerPak(accumulator, &AttributePak::GetSkillAttributes);
}

void Player::ContributeGameBalanceDefenseAttributes(CombatAttributeAccumulator& accumulator) {
    AddPlayerPak(accumulator, &AttributePak::GetDefenseAttributes);
}

void Player::ContributeGameBalanceOffensiveDamageAttributes(
    CombatAttributeAccumulator& accumulator) {
    AddPlayerPak(accumulator, &AttributePak::GetOffensiveDamageAttributes);
}

void Player::ContributeGameBalanceOffensiveModifierAttributes(
    CombatAttributeAccumulator& accumulator) {
    AddPlayerPak(accumulator, &AttributePak::GetOffensiveModifierAttributes);
}

void Player::ContributeGameBalanceRetaliationAttributes(CombatAttributeAccumulator& accumulator) {
    AddPlayerPak(accumulator, &AttributePak::GetRetaliationAttributes);
}

}  // namespace GAME
