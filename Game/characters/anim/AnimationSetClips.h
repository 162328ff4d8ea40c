#pragma once
// What an animation set can play, per type: its clips with their speeds, weights and reference
// names. Loaded once per machine for each record and stance and shared, unchanged, by every set
// loaded the same way; a set keeps only what it chose and how far a counted play has run.
#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Engine/text/Name.h"
#include "Game/characters/anim/AnimationSetType.h"

namespace GAME {

class GraphicsAnim;

struct AnimationClip {
    GraphicsAnim* animation = nullptr;
    float speed = 1.0f;
    float weight = 0.0f;
    Name reference;
};

class AnimationSetClips {
public:
    static constexpr float kDefaultBlendTime = 250.0f;
    // Entries a type can hold (a set keeps its choice in 16 bits).
    static constexpr std::size_t kMaxClipsPerType = 0xFFFF;

    struct Type {
        std::vector<AnimationClip> clips;
        float totalWeight = 0.0f;
        float blendTime = kDefaultBlendTime;
    };

    // None holds the default animation; Spawn starts without blending (a spawning character
    // appears in its spawn pose at once).
    AnimationSetClips();
    // Takes a use of every clip of its own.
    AnimationSetClips(const AnimationSetClips& other);
    AnimationSetClips& operator=(const AnimationSetClips&) = delete;
    ~AnimationSetClips();

    static AnimationHolderKind KindOf(std::size_t index);

    // Single types keep their first clip, collections the first clip under a reference; pools
    // take every clip that loads. Failures are logged as they always were.
    void Add(AnimationSet_Type type, const std::string& fileName, float speed, float weight,
             const std::string& referenceName);
    // Only single-clip types blend by their own time; pools and collections keep the default.
    void SetBlendTime(AnimationSet_Type type, float time);

    // An index past the table reads None.
    const Type& Get(std::size_t index) const {
        return mTypes[index < kAnimationSetTypeCount ? index : 0];
    }

private:
    friend class AnimationSetLibrary;
    friend class AnimationSet;

    void Log(std::string line);

    std::array<Type, kAnimationSetTypeCount> mTypes;
    // The loads that made these clips, in order; kept by the machine's library when set.
    std::string mKey;
    bool mKeyed = false;
    // What the last load logged: a set that shares the clips instead of loading logs it again.
    std::vector<std::string> mLoadLog;
};

// The machine's clips by the loads that made them. Holds no clips alive: the last set to let
// go of them gives their animations back.
class AnimationSetLibrary {
public:
    // The clips every set starts from.
    std::shared_ptr<const AnimationSetClips> Fresh();
    std::shared_ptr<const AnimationSetClips> Find(const std::string& key);
    void Keep(const std::shared_ptr<AnimationSetClips>& clips, std::string key);
    std::size_t GetKeptCount() const { return mByKey.size(); }

private:
    std::unordered_map<std::string, std::weak_ptr<const AnimationSetClips>> mByKey;
    std::size_t mAddedSinceSweep = 0;
};

}  // namespace GAME
