#pragma once
// What the monster states share beyond their base: uniform draws of the C-runtime generator and
// the random destination picker.
namespace GAME {

class Character;
struct WorldVec3;

// min + (max - min) * crt_rand() / 32767: both ends can come out.
float MonsterRandomFloat(float min, float max);
// min + crt_rand() mod (max - min + 1); min when the range is empty.
int MonsterRandomInt(int min, int max);

// Up to five tries (radius, then angle) of a point around the centre on the floor that the
// character can reach, farther than `minDistance` from it and, when `maxHeight` is not 0, less
// than `maxHeight` above or below it.
bool PickRandomPointInVicinity(WorldVec3& out, Character& character, const WorldVec3& center,
                               float minRadius, float maxRadius, float minDistance,
                               float maxHeight);

}  // namespace GAME
