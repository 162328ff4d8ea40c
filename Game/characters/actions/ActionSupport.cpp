#include "Game/characters/actions/ActionSupport.h"

#include <cmath>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/characters/Character.h"
#include "Game/characters/anim/AnimationSet.h"

namespace GAME::action_support {

bool PlayAnimation(Character& character, AnimationSet_Type type, const Name& name, float speed,
                   bool loop, unsigned int last) {
    AnimationSet* set = character.GetAnimationSet();
    return set && set->PlayAnimation(character, type, name, speed, loop, last);
}

bool PlayAnimationIfAvailable(Character& character, AnimationSet_Type type, bool loop) {
    AnimationSet* set = character.GetAnimationSet();
    return set && set->PlayAnimationIfAvailable(character, type, Name(), 1.0f, loop, 0);
}

void FaceTowards(Character& character, const WorldVec3& target) {
    WorldCoords coords = character.GetCoords();
    const Vec3 from = coords.coords.origin;
    Vec3 to = from + coords.GetPosition().VectorTo(target);
    to.y = from.y;
    const Vec3 flat = to - from;
    // Standing on the point: no direction to face.
    if (flat.x == 0.0f && flat.z == 0.0f)
        return;
    coords.coords = Coords::LookAt(from, to, Vec3(0.0f, 1.0f, 0.0f));
    World::Get().SetCoords(&character, coords);
}

void ControllerSetTarget(const Character& character, std::uint32_t target) {
    if (auto* controller = FindController<ControllerBaseCharacter>(character))
        controller->SetTarget(target);
}

void ControllerEndOfPathReached(const Character& character) {
    if (auto* controller = FindController<ControllerBaseCharacter>(character))
        controller->EndOfPathReached();
}

const Name& EndEvent() {
    static const Name end = Name::Create("End");
    return end;
}

}  // namespace GAME::action_support
