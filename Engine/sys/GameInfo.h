#pragma once
// What the engine knows of the running game: its players' names and count, and whether players
// may fight each other. One per machine (Singleton<GameInfo>).
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

private:
    bool mPvP = false;
    std::vector<std::wstring> mPlayers;
    int mNumPlayers = 0;
};

}  // namespace GAME
