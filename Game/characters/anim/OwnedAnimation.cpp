#include "Game/characters/anim/OwnedAnimation.h"

#include "Engine/media/graphics/GraphicsEngine.h"

namespace GAME {

OwnedAnimation::~OwnedAnimation() {
    if (!mPlayback.IsEmpty())
        GraphicsEngine::Get().UnloadAnimation(mPlayback.animation);
}

bool OwnedAnimation::Play(Actor& actor, const Name&, float speed, bool loop, unsigned count) {
    return mPlayback.Play(actor, speed, loop, count);
}

bool OwnedAnimation::HandleAnimationCallback(Actor&, const Name& event) {
    return mPlayback.HandleAnimationCallback(event);
}

void OwnedAnimation::AddAnimation(const std::string& fileName, float speed, float weight,
                                  const std::string&) {
    if (fileName.empty() || !mPlayback.IsEmpty())
        return;
    if (GraphicsAnim* anim = GraphicsEngine::Get().LoadAnimation(fileName)) {
        mPlayback.animation = anim;
        mPlayback.speed = speed;
        mPlayback.weight = weight;
    }
}

void OwnedAnimation::PreLoad(ResourcePriority priority) {
    if (!mPlayback.IsEmpty())
        ResourceLoader::Get().EnqueueResource(mPlayback.animation, priority, true);
}

}  // namespace GAME
