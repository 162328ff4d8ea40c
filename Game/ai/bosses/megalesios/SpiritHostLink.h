#pragma once
// What the spirit-spawning skill asks of a statue's controller.
namespace GAME {

class Monster;

// The monster's controller is a spirit host's.
bool IsSpiritHost(const Monster& monster);
// Brings the statue to life (its controller's "Animate"); nothing for any other monster.
void AnimateSpiritHost(Monster& monster);

}  // namespace GAME
