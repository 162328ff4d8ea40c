#include "Game/characters/anim/AnimationCollection.h"

#include "Engine/Engine.h"
#include "Engine/media/graphics/GraphicsEngine.h"

namespace GAME {

AnimationCollection::~AnimationCollection() {
    for (const auto& [name, entry] : mEntries)
        if (!entry.IsEmpty())
            GraphicsEngine::Get().UnloadAnimation(entry.animation);
}

AnimationPlayback* AnimationCollection::Chosen() {
    const auto it = mEntries.find(mChosen);
    return it == mEntries.end() ? nullptr : &it->second;
}

bool AnimationCollection::Play(Actor& actor, const Name& name, float speed, bool loop,
                               unsigned count) {
    const auto it = mEntries.find(name);
    if (it == mEntries.end())
        return false;
    mChosen = name;
    return it->second.Play(actor, speed, loop, count);
}

bool AnimationCollection::SetLastPose(Actor& actor) {
    const AnimationPlayback* entry = Chosen();
    return entry != nullptr && entry->SetLastPose(actor);
}

bool AnimationCollection::SetPose(Actor& actor, int frame) {
    const AnimationPlayback* entry = Chosen();
    return entry != nullptr && entry->SetPose(actor, frame);
}

bool AnimationCollection::HandleAnimationCallback(Actor&, const Name& event) {
    AnimationPlayback* entry = Chosen();
    return entry != nullptr && entry->HandleAnimationCallback(event);
}

void AnimationCollection::AddAnimation(const std::string& fileName, float speed, float weight,
                                       const std::string& referenceName) {
    if (fileName.empty())
        return;
    if (referenceName.empty()) {
        gEngine->Log(1, "AnimationSelected: Invalid reference (%s) name for animation (%s)",
                     referenceName.c_str(), fileName.c_str());
        return;
    }
    const Name name = Name::Create(referenceName);
    if (mEntries.count(name) != 0)
        return;
    if (GraphicsAnim* anim = GraphicsEngine::Get().LoadAnimation(fileName))
        mEntries.emplace(name, AnimationPlayback(anim, speed, weight));
}

void AnimationCollection::AdjustAnimation(Actor& actor, float speedMultiplier) {
    if (const AnimationPlayback* entry = Chosen())
        entry->AdjustAnimation(actor, speedMultiplier);
}

void AnimationCollection::PreLoad(ResourcePriority priority) {
    for (const auto& [name, entry] : mEntries)
        if (!entry.IsEmpty())
            ResourceLoader::Get().EnqueueResource(entry.animation, priority, true);
}

int AnimationCollection::GetLength() {
    const AnimationPlayback* entry = Chosen();
    return entry != nullptr ? entry->GetLength() : 0;
}

int AnimationCollection::GetFrameRate() {
    const AnimationPlayback* entry = Chosen();
    return entry != nullptr ? entry->GetFrameRate() : 0;
}

float AnimationCollection::GetAnimSpeed() {
    const AnimationPlayback* entry = Chosen();
    return entry != nullptr ? entry->GetAnimSpeed() : 0.0f;
}

GraphicsAnim* AnimationCollection::GetAnimation() {
    const AnimationPlayback* entry = Chosen();
    return entry != nullptr ? entry->animation : nullptr;
}

bool AnimationCollection::IsEmpty() {
    for (const auto& [name, entry] : mEntries)
        if (!entry.IsEmpty())
            return false;
    return true;
}

}  // namespace GAME
