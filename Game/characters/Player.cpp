#include "Game/characters/Player.h"

#include "Engine/text/LocalizationManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PartyManager.h"
#include "Game/core/players/PlayerNetInfo.h"

namespace GAME {

RTTI_IMPLEMENT(Player, Character)

Player::Player() {
    SetTeam(TeamManager::DefaultPlayerTeam());
}

Player::~Player() = default;

std::string Player::GetPlayerNameInChar() const {
    return LocalizationManager::ToChar(mName);
}

int Player::GetPartyId() const {
    PartyManager* parties = gGameEngine ? gGameEngine->GetPartyManager() : nullptr;
    return parties ? static_cast<int>(parties->GetParty(GetObjectId())) : 0;
}

Team Player::GetTeam() const {
    Team team = Character::GetTeam();
    if (IsInvisible() || !team.IsInitialized() || team.GetTeamMajor() != Team::Human)
        return team;
    PartyManager* parties = gGameEngine ? gGameEngine->GetPartyManager() : nullptr;
    team.Set(Team::Human, parties ? parties->GetPlayerFaction(GetObjectId()) : GetObjectId());
    return team;
}

void Player::GetPlayerNetHeartbeatInfo(PlayerNetHeartbeatInfo& info) const {
    info.playerId = GetObjectId();
    info.life = GetCurrentLife();
    info.maxLife = GetLifeLimit();
    info.mana = GetCurrentMana();
    info.maxMana = GetManaLimit();
    info.partyId = GetPartyId();
    info.level = static_cast<int>(GetCharLevel());
    info.classTag = GetClassTag();
    info.position = GetPosition();
    info.statusSkills.clear();
    GetActiveStatusSkills(info.statusSkills);
}

void Player::GetPlayerNetBasicInfo(PlayerNetBasicInfo& info) const {
    GetPlayerNetHeartbeatInfo(info);
    info.playerName = mName;
    info.isMale = GetGender() == 1;
    info.playerId = GetObjectId();
}

}  // namespace GAME
