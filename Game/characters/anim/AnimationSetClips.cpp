#include "Game/characters/anim/AnimationSetClips.h"

#include <utility>

#include "Engine/Engine.h"
#include "Engine/anim/GraphicsAnim.h"
#include "Engine/media/graphics/GraphicsEngine.h"

namespace GAME {

namespace {

constexpr AnimationHolderKind kKinds[kAnimationSetTypeCount] = {
#define GAME_ANIMATION_SET_TYPE_KIND(Id, Text, Kind, Priority) AnimationHolderKind::Kind,
    GAME_ANIMATION_SET_TYPES(GAME_ANIMATION_SET_TYPE_KIND)
#undef GAME_ANIMATION_SET_TYPE_KIND
};

// Dead entries are swept when this many were added since the last sweep.
constexpr std::size_t kSweepEvery = 64;

}  // namespace

AnimationSetClips::AnimationSetClips() {
    Add(AnimationSet_Type::None, GraphicsAnim::GetDefaultName(), 1.0f, 0.0f, std::string());
    mTypes[static_cast<std::size_t>(AnimationSet_Type::Spawn)].blendTime = 0.0f;
}

AnimationSetClips::AnimationSetClips(const AnimationSetClips& other) : mTypes(other.mTypes) {
    GraphicsEngine& graphics = GraphicsEngine::Get();
    for (const Type& type : mTypes)
        for (const AnimationClip& clip : type.clips)
            graphics.RetainAnimation(clip.animation);
}

AnimationSetClips::~AnimationSetClips() {
    GraphicsEngine& graphics = GraphicsEngine::Get();
    for (const Type& type : mTypes)
        for (const AnimationClip& clip : type.clips)
            graphics.UnloadAnimation(clip.animation);
}

AnimationHolderKind AnimationSetClips::KindOf(std::size_t index) {
    return kKinds[index < kAnimationSetTypeCount ? index : 0];
}

void AnimationSetClips::Log(std::string line) {
    gEngine->Log(1, "%s", line.c_str());
    mLoadLog.push_back(std::move(line));
}

void AnimationSetClips::Add(AnimationSet_Type type, const std::string& fileName, float speed,
                            float weight, const std::string& referenceName) {
    const std::size_t index = AnimationSetServingIndex(type);
    Type& entry = mTypes[index];
    if (fileName.empty() || entry.clips.size() >= kMaxClipsPerType)
        return;
    GraphicsEngine& graphics = GraphicsEngine::Get();
    switch (KindOf(index)) {
        case AnimationHolderKind::Single:
            if (!entry.clips.empty())
                return;
            if (GraphicsAnim* anim = graphics.LoadAnimation(fileName))
                entry.clips.push_back({anim, speed, weight, Name()});
            return;
        case AnimationHolderKind::Pool:
            if (GraphicsAnim* anim = graphics.LoadAnimation(fileName)) {
                entry.clips.push_back({anim, speed, weight, Name()});
                entry.totalWeight += weight;
            } else {
                Log("AnimationPool:: Unable to load animation (" + fileName + ")");
            }
            return;
        case AnimationHolderKind::Collection: {
            if (referenceName.empty()) {
                Log("AnimationSelected: Invalid reference (" + referenceName +
                    ") name for animation (" + fileName + ")");
                return;
            }
            const Name name = Name::Create(referenceName);
            for (const AnimationClip& clip : entry.clips)
                if (clip.reference == name)
                    return;
            if (GraphicsAnim* anim = graphics.LoadAnimation(fileName))
                entry.clips.push_back({anim, speed, weight, name});
            return;
        }
    }
}

void AnimationSetClips::SetBlendTime(AnimationSet_Type type, float time) {
    const std::size_t index = AnimationSetServingIndex(type);
    if (KindOf(index) == AnimationHolderKind::Single)
        mTypes[index].blendTime = time;
}

std::shared_ptr<const AnimationSetClips> AnimationSetLibrary::Fresh() {
    if (auto clips = Find(std::string()))
        return clips;
    auto clips = std::make_shared<AnimationSetClips>();
    Keep(clips, std::string());
    return clips;
}

std::shared_ptr<const AnimationSetClips> AnimationSetLibrary::Find(const std::string& key) {
    const auto it = mByKey.find(key);
    if (it == mByKey.end())
        return nullptr;
    auto clips = it->second.lock();
    if (!clips)
        mByKey.erase(it);
    return clips;
}

void AnimationSetLibrary::Keep(const std::shared_ptr<AnimationSetClips>& clips, std::string key) {
    if (++mAddedSinceSweep >= kSweepEvery) {
        mAddedSinceSweep = 0;
        std::erase_if(mByKey, [](const auto& entry) { return entry.second.expired(); });
    }
    clips->mKey = key;
    clips->mKeyed = true;
    mByKey[std::move(key)] = clips;
}

}  // namespace GAME
