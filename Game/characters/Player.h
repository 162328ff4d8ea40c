#pragma once
// The player character, as far as the game core needs it so far: its name, class tag, party and
// the records the player managers keep of it.
#include <string>

#include "Game/characters/Character.h"

namespace GAME {

struct PlayerNetHeartbeatInfo;
struct PlayerNetBasicInfo;

class Player : public Character {
    RTTI_DECLARE(Player)
public:
    Player();
    ~Player() override;

    const std::wstring& GetPlayerName() const { return mName; }
    std::string GetPlayerNameInChar() const;
    void SetPlayerName(const std::wstring& name) { mName = name; }
    const std::string& GetClassTag() const { return mClassTag; }
    void SetClassTag(const std::string& tag) { mClassTag = tag; }
    // The party the player is in (0: none), as the party manager knows it.
    int GetPartyId() const;
    // A human player's minor team is its party faction: its party, or itself when in none.
    Team GetTeam() const override;
    bool AllocateAllAnimSets() const override { return true; }

    void GetPlayerNetHeartbeatInfo(PlayerNetHeartbeatInfo& info) const;
    void GetPlayerNetBasicInfo(PlayerNetBasicInfo& info) const;

private:
    std::wstring mName;
    std::string mClassTag;
};

}  // namespace GAME
