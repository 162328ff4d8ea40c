#pragma once
// The record keys that fill one stance's animation set: each row names a type and the keys,
// after the stance prefix, of its file, speed and weight or reference. Numbered rows read the
// keys with 1, 2, ... appended. The keys are exact, irregularities included ("IdleTransAnim"
// with "IdleTranAnimSpeed", "BuffSelfSpeed" without "Anim").
#include <cstddef>

#include "Game/characters/anim/AnimationSetType.h"

namespace GAME {

class AnimationSet;
class LoadTable;

inline constexpr std::size_t kStanceCount = 6;

// The record key prefix of a stance (hand state 0..5), "" for any other.
const char* GetStancePrefix(int handState);

// Fills `set` from `record` with the keys of the stance prefix, in row order. `specialCount`:
// how many numbered "Special" entries the record holds (10 or 15).
void LoadStanceAnimations(const LoadTable& record, AnimationSet& set, const char* prefix,
                          int specialCount);

}  // namespace GAME
