#pragma once
// What the action classes share: animation play through the character's set, turning to face
// something, the controller's calls and the event names they compare against.
#include <cstdint>

#include "Engine/text/Name.h"
#include "Game/characters/anim/AnimationSetType.h"

namespace GAME {

class Character;
struct WorldVec3;

namespace action_support {

// AnimationSet::PlayAnimation on the character's current set; false without a set.
bool PlayAnimation(Character& character, AnimationSet_Type type, const Name& name = Name(),
                   float speed = 1.0f, bool loop = false, unsigned int last = 0);
// The same when the set has the type; false (nothing played) otherwise.
bool PlayAnimationIfAvailable(Character& character, AnimationSet_Type type, bool loop = false);
// Turns the character about the vertical to face the point, without leaning.
void FaceTowards(Character& character, const WorldVec3& target);
// The controller's SetTarget and EndOfPathReached, when the character has a controller.
void ControllerSetTarget(const Character& character, std::uint32_t targetId);
void ControllerEndOfPathReached(const Character& character);

const Name& EndEvent();

}  // namespace action_support
}  // namespace GAME
