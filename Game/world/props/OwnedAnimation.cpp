#include "Game/world/props/OwnedAnimation.h"

#include "Engine/media/GraphicsEngine.h"
#include "Engine/object/Object.h"

namespace GAME {

void OwnedAnimation::Load(const std::string& name, float speed) {
    Unload();
    mSpeed = speed;
    if (!name.empty())
        mAnim = GraphicsEngine::Get().LoadAnimation(name);
}

bool OwnedAnimation::Play(Actor& actor, bool loop) const {
    if (!mAnim)
        return false;
    actor.PlayAnimation(0, mAnim, loop, mSpeed, 0);
    return true;
}

void OwnedAnimation::Unload() {
    if (mAnim)
        GraphicsEngine::Get().UnloadAnimation(mAnim);
    mAnim = nullptr;
}

}  // namespace GAME
