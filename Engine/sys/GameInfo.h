#pragma once
// What the engine knows of the running game: its players' names and count, whether players may
// fight each other, and the level and mod being played. One per machine (Singleton<GameInfo>).
#include <string>
#include <vector>

namespace GAME {

class GameInfo {
public:
    bool GetPvP() const { return mPvP; }
    void SetPvP(bool pvp) { mPvP = pvp; }

    void ClearPlayerList() { mPlayers.clear(); }
    void AddPlayer(const std::wstring& name) { mPlayers.push_back(name); }
    const std::vector<std::wstring>& GetPlayerList() const { return mPlayers; }
    int GetNumPlayers() const { return mNumPlayers; }
    void SetNumPlayers(int count) { mNumPlayers = count; }

    // The main player's level, for the engine's level-scaled services.
    int GetPlayerLevel() const { return mPlayerLevel; }
    void SetPlayerLevel(int level) { mPlayerLevel = level; }

    // The loaded level's file and the mod it belongs to (empty: the game's own world).
    const std::string& GetModName() const { return mModName; }
    void SetModName(const std::string& name) { mModName = name; }
    const std::string& GetLevelName() const { return mLevelName; }
    void SetLevelName(const std::string& name) { mLevelName = name; }

private:
    bool mPvP = false;
    std::vector<std::wstring> mPlayers;
    int mNumPlayers = 0;
    int mPlayerLevel = 0;
    std::string mModName;
    std::string mLevelName;
};

}  // namespace GAME
