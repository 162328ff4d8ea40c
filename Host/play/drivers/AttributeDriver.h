#pragma once
// The scripted player's hand on its attribute points, as a fighter of the Warden's kind spends
// them: of every three points one goes to Strength, one to Life and one to Dexterity (the points
// left decide which, so a replay of the run spends the same). It asks through the player's
// controller, as a click in the character sheet would; the play log says what rose
// ("you raise Strength to 52"), however the rise came.
#include <array>

namespace GAME {

class Player;
class PlayEventLog;

class AttributeDriver {
public:
    explicit AttributeDriver(PlayEventLog& log) : mLog(log) {}
    // Once a frame before it runs, for this machine's player: one point a frame.
    void Step(Player& player);

private:
    void NoteChanges(Player& player);

    PlayEventLog& mLog;
    bool mSeenAny = false;
    std::array<float, 5> mSeen{};  // the base attributes last seen, in kAttributes' order
};

}  // namespace GAME
