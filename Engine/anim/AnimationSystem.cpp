#include "Engine/anim/AnimationSystem.h"

#include "Engine/anim/ActorAnimation.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"

namespace GAME {

AnimationSystem& AnimationSystem::Get() {
    return Singleton<AnimationSystem>::Get();
}

void AnimationSystem::Register(Actor& actor) {
    ActorAnimation& animation = actor.GetAnimationState();
    if (animation.IsRegistered() || actor.GetObjectId() == 0)
        return;
    animation.SetRegistered(true);
    mActors.push_back(actor.GetObjectId());
}

void AnimationSystem::Update(int elapsedMs) {
    if (mUpdating)
        return;  // a callback asked for a frame inside the frame
    mUpdating = true;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    // Actors that start playing during the frame are appended and wait for the next frame.
    const std::size_t count = mActors.size();
    for (std::size_t i = 0; i < count; ++i)
        if (Actor* actor = objects.GetObject<Actor>(mActors[i]))
            actor->GetAnimationState().Advance(*actor, elapsedMs);
    // Looked up again: a callback may have destroyed actors listed before it.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < mActors.size(); ++i) {
        Actor* actor = objects.GetObject<Actor>(mActors[i]);
        if (actor && actor->GetAnimationState().IsAnyPlaying()) {
            mActors[kept++] = mActors[i];
            continue;
        }
        if (actor)
            actor->GetAnimationState().SetRegistered(false);
    }
    mActors.resize(kept);
    mUpdating = false;
}

}  // namespace GAME
