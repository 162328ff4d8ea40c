#pragma once
// Everything one character can play in one weapon stance: per animation type its clips, and the
// type playing now. Actions, skills and controllers play animations only through a set. The
// clips are shared by every set loaded from the same record and stance (AnimationSetClips);
// a set keeps per type only what it chose and how far a counted play has run.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Engine/media/ResourceLoader.h"
#include "Engine/sys/RecycledBlocks.h"
#include "Engine/text/Name.h"
#include "Game/characters/anim/AnimationSetClips.h"
#include "Game/characters/anim/AnimationSetType.h"

namespace GAME {

class Actor;
class GraphicsAnim;

// Recycled: a character's sets are made together and its current one is read every frame, so
// they lie on huge pages like the character's other parts.
class AnimationSet : public RecycledStorage {
public:
    AnimationSet();
    AnimationSet(const AnimationSet&) = delete;
    AnimationSet& operator=(const AnimationSet&) = delete;
    ~AnimationSet();

    // "" for a value outside the table.
    static std::string GetAnimTypeAsText(AnimationSet_Type type);
    // Exact, case-sensitive; None when no type has that text.
    static AnimationSet_Type GetAnimTextAsType(const std::string& text);

    void AddAnimation(AnimationSet_Type type, const std::string& fileName, float speed,
                      float weight, const std::string& referenceName);
    // Runs `fill` (which adds to this set) once per machine for every distinct `load` after the
    // loads this set had before; a set loaded the same way since takes those clips instead.
    // `load` must name everything `fill` reads.
    void LoadShared(const std::string& load, const std::function<void(AnimationSet&)>& fill);
    void PreLoad();

    // An empty type falls back to None (the character always shows something) and answers
    // false.
    bool PlayAnimation(Actor& actor, AnimationSet_Type type, const Name& name, float speed,
                       bool loop, unsigned count);
    // An empty type changes nothing and answers false.
    bool PlayAnimationIfAvailable(Actor& actor, AnimationSet_Type type, const Name& name,
                                  float speed, bool loop, unsigned count);
    // True when the current type swallows the event (a counted play still running).
    bool HandleAnimationCallback(Actor& actor, const Name& event);
    bool SetLastPost(Actor& actor, AnimationSet_Type type);
    bool SetAnimationPose(Actor& actor, AnimationSet_Type type, int frame);
    void AdjustAnimation(Actor& actor, float speedMultiplier);

    int GetLength(AnimationSet_Type type) const;
    int GetFrameRate(AnimationSet_Type type) const;
    // A pool answers the mean over its clips.
    float GetAnimSpeed(AnimationSet_Type type) const;
    void SetAnimationBlendTime(AnimationSet_Type type, float time);
    bool DoesAnimationExist(AnimationSet_Type type) const;
    // The clip a type would show now: its one clip, the pool's last pick, the collection's
    // last reference played.
    GraphicsAnim* GetAnimation(AnimationSet_Type type) const;
    GraphicsAnim* GetAnimation() const { return GetAnimation(mCurrentType); }

    // Forgets the current type; the actor keeps playing whatever it plays.
    void Cancel() { mCurrentType = AnimationSet_Type::None; }
    AnimationSet_Type GetCurrentType() const { return mCurrentType; }

    // A pool's clip that a draw of r in [0, total weight] picks: the first whose running sum of
    // weights reaches r, 0 when none does.
    std::size_t Pick(AnimationSet_Type type, float r) const;
    std::size_t GetEntryCount(AnimationSet_Type type) const;
    float GetTotalWeight(AnimationSet_Type type) const;
    std::size_t GetChosenIndex(AnimationSet_Type type) const;
    // The reference a collection played last; empty before.
    Name GetChosenReference(AnimationSet_Type type) const;
    const AnimationSetClips& GetClips() const { return *mClips; }

    void SetMountedAnimations() { mMounted = true; }
    void SetDismountedAnimations() { mMounted = false; }
    bool IsMounted() const { return mMounted; }

private:
    // A collection before its first play has chosen nothing.
    static constexpr std::uint16_t kNoChoice = 0xFFFF;
    struct TypeState {
        unsigned remainingPlays = 0;
        std::uint16_t chosen = 0;
        bool looping = false;
    };

    // The clips to change: this set's own, copied first when shared or kept by the library.
    AnimationSetClips& OwnClips();
    // The clip the type shows now, null when none.
    const AnimationClip* Chosen(std::size_t index) const;
    bool Play(Actor& actor, std::size_t index, const Name& name, float speed, bool loop,
              unsigned count);

    std::shared_ptr<const AnimationSetClips> mClips;
    std::array<TypeState, kAnimationSetTypeCount> mStates;
    AnimationSet_Type mCurrentType = AnimationSet_Type::None;
    bool mMounted = false;
};

}  // namespace GAME
