#pragma once
// The random destinations of monsters (roaming, wandering, dodging, confusion) and the uniform
// draws the monster states make from the machine's C-runtime generator.
#include "Engine/world/Region.h"

namespace GAME {

class Character;

// min + (max - min) * rand() / 32767.
float MonsterRandomFloat(float min, float max);
// min + rand() mod (max - min + 1).
int MonsterRandomInt(int min, int max);

// Up to five tries of a point at a random radius (drawn first) and angle around the centre,
// dropped to the floor; a try fails off the ground or out of the loaded regions, at a height
// difference of `maxHeightDifference` or more from the character (0: any), within
// `minDistance` of it, or where it cannot move. Logs and answers false when all five fail.
bool PickRandomPointInVicinity(WorldVec3& out, Character& character, const WorldVec3& center,
                               float minRadius, float maxRadius, float minDistance,
                               float maxHeightDifference);

}  // namespace GAME
