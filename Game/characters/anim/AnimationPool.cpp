#include "Game/characters/anim/AnimationPool.h"

#include "Engine/Engine.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/sys/Machine.h"

namespace GAME {

AnimationPool::~AnimationPool() {
    for (const AnimationPlayback& entry : mEntries)
        if (!entry.IsEmpty())
            GraphicsEngine::Get().UnloadAnimation(entry.animation);
}

AnimationPlayback* AnimationPool::Chosen() {
    return mChosen < mEntries.size() ? &mEntries[mChosen] : nullptr;
}

std::size_t AnimationPool::Pick(float r) const {
    float sum = 0.0f;
    for (std::size_t i = 0; i < mEntries.size(); ++i) {
        sum += mEntries[i].weight;
        if (sum >= r)
            return i;
    }
    return 0;
}

bool AnimationPool::Play(Actor& actor, const Name&, float speed, bool loop, unsigned count) {
    const float r =
        static_cast<float>(crt_rand()) * (1.0f / static_cast<float>(CRT_RAND_MAX)) * mTotalWeight;
    mChosen = Pick(r);
    AnimationPlayback* entry = Chosen();
    return entry != nullptr && entry->Play(actor, speed, loop, count);
}

bool AnimationPool::SetLastPose(Actor& actor) {
    const AnimationPlayback* entry = Chosen();
    return entry != nullptr && entry->SetLastPose(actor);
}

bool AnimationPool::SetPose(Actor& actor, int frame) {
    const AnimationPlayback* entry = Chosen();
    return entry != nullptr && entry->SetPose(actor, frame);
}

bool AnimationPool::HandleAnimationCallback(Actor&, const Name& event) {
    AnimationPlayback* entry = Chosen();
    return entry != nullptr && entry->HandleAnimationCallback(event);
}

void AnimationPool::AddAnimation(const std::string& fileName, float speed, float weight,
                                 const std::string&) {
    if (fileName.empty())
        return;
    GraphicsAnim* anim = GraphicsEngine::Get().LoadAnimation(fileName);
    if (anim == nullptr) {
        gEngine->Log(1, "AnimationPool:: Unable to load animation (%s)", fileName.c_str());
        return;
    }
    mEntries.emplace_back(anim, speed, weight);
    mTotalWeight += weight;
}

void AnimationPool::AdjustAnimation(Actor& actor, float speedMultiplier) {
    if (const AnimationPlayback* entry = Chosen())
        entry->AdjustAnimation(actor, speedMultiplier);
}

void AnimationPool::PreLoad(ResourcePriority priority) {
    for (const AnimationPlayback& entry : mEntries)
        if (!entry.IsEmpty())
            ResourceLoader::Get().EnqueueResource(entry.animation, priority, true);
}

int AnimationPool::GetLength() {
    const AnimationPlayback* entry = Chosen();
    return entry != nullptr ? entry->GetLength() : 0;
}

int AnimationPool::GetFrameRate() {
    const AnimationPlayback* entry = Chosen();
    return entry != nullptr ? entry->GetFrameRate() : 0;
}

float AnimationPool::GetAnimSpeed() {
    if (mEntries.empty())
        return 0.0f;
    float sum = 0.0f;
    for (const AnimationPlayback& entry : mEntries)
        sum += entry.GetAnimSpeed();
    return sum / static_cast<float>(mEntries.size());
}

GraphicsAnim* AnimationPool::GetAnimation() {
    const AnimationPlayback* entry = Chosen();
    return entry != nullptr ? entry->animation : nullptr;
}

bool AnimationPool::IsEmpty() {
    for (const AnimationPlayback& entry : mEntries)
        if (!entry.IsEmpty())
            return false;
    return true;
}

}  // namespace GAME
