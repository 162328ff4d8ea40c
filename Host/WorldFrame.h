#pragma once
// The entities' part of a frame: the engine layer steps clips and bodies, and the host then lets
// every entity standing in the world update itself (its InitialUpdate first, once), characters
// in two passes (UpdateSelf for all, then PreAnimationUpdate for all), in object-id order so that
// every machine holding the same objects updates them in the same order.

namespace GAME {

// One pass over the world's entities with the frame's step (milliseconds of game time).
void UpdateWorldEntities(int step);
// The same in two halves: every entity's UpdateSelf, then the PreAnimationUpdate of the
// characters the first half took (those still in the world).
void UpdateWorldEntitiesSelf(int step);
void UpdateWorldCharactersPreAnimation(int step);

}  // namespace GAME
