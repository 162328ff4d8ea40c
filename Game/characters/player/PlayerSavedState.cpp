// The player's state that the character file keeps: its class, the places it knows per game
// difficulty, its quest tokens and texture.
#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"

namespace GAME {

void Player::SetPlayerCharacterClass(const std::string& text) {
    static constexpr std::pair<const char*, PlayerCharacterClassType> kTexts[] = {
        {"Warrior", PlayerCharacterClassType::Warrior},
        {"Archer", PlayerCharacterClassType::Archer},
        {"Sorceress", PlayerCharacterClassType::Sorceress},
    };
    mCharacterClass = PlayerCharacterClassType::None;
    for (const auto& [name, type] : kTexts)
        if (text == name)
            mCharacterClass = type;
}

std::size_t Player::DifficultyIndex() const {
    const int difficulty = gGameEngine ? gGameEngine->GetGameDifficulty() : 0;
    // A difficulty outside the three lists falls back to the first rather than read past them.
    return difficulty >= 0 && difficulty < 3 ? static_cast<std::size_t>(difficulty) : 0;
}

const std::vector<UniqueId>& Player::GetTeleportUIDs() const {
    return mTeleportUIDs[DifficultyIndex()];
}

const std::vector<UniqueId>& Player::GetMarkerUIDs() const {
    return mMarkerUIDs[DifficultyIndex()];
}

const std::vector<UniqueId>& Player::GetRespawnUIDs() const {
    return mRespawnUIDs[DifficultyIndex()];
}

namespace {
bool Contains(const std::vector<UniqueId>& list, const UniqueId& id) {
    return std::find(list.begin(), list.end(), id) != list.end();
}
}  // namespace

bool Player::IsTeleportUIDKnown(const UniqueId& id) const {
    return Contains(GetTeleportUIDs(), id);
}

bool Player::IsMarkerUIDKnown(const UniqueId& id) const {
    return Contains(GetMarkerUIDs(), id);
}

bool Player::IsRespawnUIDKnown(const UniqueId& id) const {
    return Contains(GetRespawnUIDs(), id);
}

bool Player::AddUID(std::vector<UniqueId>& list, const UniqueId& id) {
    if (Contains(list, id))
        return false;
    list.push_back(id);
    return true;
}

void Player::AddTeleportUID(const UniqueId& id) {
    if (AddUID(mTeleportUIDs[DifficultyIndex()], id))
        mSaveRequested = true;
}

void Player::AddMarkerUID(const UniqueId& id) {
    if (AddUID(mMarkerUIDs[DifficultyIndex()], id))
        mSaveRequested = true;
}

void Player::AddRespawnUID(const UniqueId& id) {
    const std::size_t difficulty = DifficultyIndex();
    if (AddUID(mRespawnUIDs[difficulty], id))
        mSaveRequested = true;
    if (mCurrentRespawnPoint[difficulty] != id) {
        mCurrentRespawnPoint[difficulty] = id;
        mSaveRequested = true;
    }
}

bool Player::IsCurrentRespawnPoint(const UniqueId& id) const {
    return mCurrentRespawnPoint[DifficultyIndex()] == id;
}

const UniqueId& Player::GetCurrentRespawnPoint() const {
    return mCurrentRespawnPoint[DifficultyIndex()];
}

void Player::ClearRespawnLocation() {
    mCurrentRespawnPoint[DifficultyIndex()].Generate();
}

WorldCoords Player::GetClosestRespawnPoint() const {
    // The respawn shrine last bound, where the level placed it; else the spawn point.
    if (const Entity* shrine = World::Get().FindPlacedEntity(GetCurrentRespawnPoint());
        shrine && shrine->GetRegion())
        return shrine->GetCoords();
    return GetSpawnPoint();
}

void Player::ClearTeleportLocations() {
    mTeleportUIDs[DifficultyIndex()].clear();
}

bool Player::HasToken(const std::string& name) const {
    return std::find(mTokens.begin(), mTokens.end(), TriggerToken(name)) != mTokens.end();
}

void Player::RemoveToken(const TriggerToken& token) {
    auto it = std::find(mTokens.begin(), mTokens.end(), token);
    if (it != mTokens.end())
        mTokens.erase(it);
}

std::vector<std::string> Player::GetTriggerTokensAsString() const {
    std::vector<std::string> names;
    names.reserve(mTokens.size());
    for (const TriggerToken& token : mTokens)
        names.push_back(token.GetName());
    return names;
}

namespace {

const char* PlaceText(const UniqueId& id) {
    WorldVec3 position;
    return World::Get().GetInstanceWorldPosition(id, position) ? "eData Found" : "eData Not Found";
}

}  // namespace

void Player::DumpTeleportIds() const {
    gEngine->Log(0, "^bTeleport UIDs:");
    for (const UniqueId& id : GetTeleportUIDs())
        gEngine->Log(0, "^b   ID (%x:%x:%x:%x)  %s", id.GetWord(0), id.GetWord(1), id.GetWord(2),
                     id.GetWord(3), PlaceText(id));
}

void Player::DumpRespawnIds() const {
    const UniqueId& id = GetCurrentRespawnPoint();
    gEngine->Log(0, "^bRespawn UID (%x:%x:%x:%x)  %s", id.GetWord(0), id.GetWord(1), id.GetWord(2),
                 id.GetWord(3), PlaceText(id));
}

void Player::DumpExperienceLevels() {
    GetExperienceLevelControl().DumpLevelTable();
}

}  // namespace GAME
