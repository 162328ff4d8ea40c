#pragma once
// The scripted player's hand on the hot-slot bar: when its life runs low it presses the health
// potion slot, as a player would, and the play log says what it drank.
#include <cstdint>

namespace GAME {

class Player;
class PlayEventLog;

class PotionDriver {
public:
    // Below this share of its life limit the player reaches for a potion.
    static constexpr float kLowLifeShare = 0.3f;

    explicit PotionDriver(PlayEventLog& log) : mLog(log) {}
    // Once a frame, before it runs.
    void DrinkIfLow(Player& player);

private:
    PlayEventLog& mLog;
};

}  // namespace GAME
