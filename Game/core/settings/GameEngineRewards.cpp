// The damage register and the experience a death is worth: who hurt which creature how much,
// the reward shared out when it dies, and the experience a player loses on dying.
#include <algorithm>
#include <cstdint>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Bonus.h"
#include "Game/core/players/PlayerInfo.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/rules/formulas/DesignerEquation.h"

namespace GAME {

namespace {

// A formula's value raised to at least 0 and rounded to the nearest whole number. A value past
// the unsigned range (or not a number) stays inside the range instead of wrapping.
unsigned int RoundedReward(float value) {
    if (!(value > 0.0f))
        return 0;
    const float rounded = value + 0.5f;
    constexpr float kLimit = 4294967296.0f;
    if (rounded >= kLimit)
        return UINT32_MAX;
    return static_cast<unsigned int>(rounded);
}
}  // namespace

void GameEngine::OnCreatureDeath(const GameEvent_CreatureDeath& event) {
    if (!IsServerOrSingle())
        return;
    if (Character* creature = FindCharacter(event.objectId)) {
        Bonus bonus;
        bonus.sourceId = creature->GetObjectId();
        bonus.experience = creature->GetExperienceReward();
        const std::uint32_t receiver = GetMasterAttacker(event.attackerId);
        HandleBonusToServerInbound(bonus, creature->GetCoords().GetPosition(), receiver);
    }
    // The sharing above reads the register, so the entry goes only now.
    RemoveDamageEntry(event.objectId);
}

std::uint32_t GameEngine::GetMasterAttacker(std::uint32_t attacker) const {
    const Character* character = FindCharacter(attacker);
    if (character && character->GetMasterId() != 0)
        return character->GetMasterId();
    return attacker;
}

void GameEngine::RegisterDamage(std::uint32_t victim, std::uint32_t attacker, float damage) {
    if (!IsServerOrSingle())
        return;
    if (Object* object = Singleton<ObjectManager>::Get().GetObject(victim);
        object && object->IsA(Player::classInfo))
        return;
    damageRegister.Add(victim, GetMasterAttacker(attacker), damage);
}

float GameEngine::GetTotalDamageDone(std::uint32_t victim) const {
    return damageRegister.Total(victim);
}

float GameEngine::GetDamageByAttacker(std::uint32_t attacker, std::uint32_t victim) const {
    return damageRegister.ByAttacker(victim, attacker);
}

float GameEngine::GetPlayerDamagePercent(std::uint32_t attacker, std::uint32_t victim) const {
    if (!damageRegister.Has(victim))
        return 0.0f;
    const float total = GetTotalDamageDone(victim);
    // A victim whose entries add up to nothing gives no share rather than a division by zero.
    return total != 0.0f ? GetDamageByAttacker(attacker, victim) / total : 0.0f;
}

void GameEngine::RemoveDamageEntry(std::uint32_t victim) {
    if (!IsServerOrSingle())
        return;
    damageRegister.Remove(victim);
}

void GameEngine::GetPlayerInfo(PlayerInfo& out) {
    out.Clear();
    if (PlayerManagerClient* client = GetPlayerManagerClient())
        client->GetPlayerInfo(out);
    out.gameDifficulty = static_cast<std::uint32_t>(GetGameDifficulty());
    formulaVariables.averagePlayerLevel = out.averageLevel;
    formulaVariables.minPlayerLevel = out.minLevel;
    formulaVariables.maxPlayerLevel = out.maxLevel;
    formulaVariables.numberOfPlayers = out.numPlayers;
    formulaVariables.gameDifficulty = out.gameDifficulty;
}

unsigned int GameEngine::CalculateExperienceReward(unsigned int monsterLevel,
                                                   unsigned int monsterExperience) {
    formulaVariables.monsterLevel = monsterLevel;
    formulaVariables.monsterExperience = monsterExperience;
    PlayerInfo info;
    GetPlayerInfo(info);
    if (!experienceEquation)
        return monsterExperience;
    return RoundedReward((*experienceEquation)());
}

unsigned int GameEngine::GetPlayerDeathExperiencePenalty(Player* player, std::uint32_t killer) {
    formulaVariables.monsterLevel = 0;
    formulaVariables.monsterExperience = 0;
    if (const Character* character = FindCharacter(killer)) {
        formulaVariables.monsterLevel = character->GetCharLevel();
        formulaVariables.monsterExperience = character->GetExperiencePoints();
    }
    formulaVariables.currentPlayerLevel = player ? player->GetCharLevel() : 0;
    PlayerInfo info;
    GetPlayerInfo(info);
    const std::int64_t penalty =
        deathPenaltyEquation ? RoundedReward((*deathPenaltyEquation)()) : 0;
    // Raised to the minimum, then lowered to the maximum (which wins when the two cross), in a
    // range wide enough for both; a bound below zero cannot make the unsigned penalty wrap.
    std::int64_t clamped = std::max<std::int64_t>(penalty, deathPenaltyMin);
    clamped = std::min<std::int64_t>(clamped, deathPenaltyMax);
    return clamped < 0 ? 0u : static_cast<unsigned int>(clamped);
}

}  // namespace GAME
