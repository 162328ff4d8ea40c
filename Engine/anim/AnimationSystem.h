#pragma once
// Advances the animations of every actor of a machine that has a clip playing, once per frame,
// in the order the actors first played (so every machine calls back in the same order).
#include <cstdint>
#include <vector>

namespace GAME {

class Actor;

class AnimationSystem {
public:
    static AnimationSystem& Get();

    // Called when an actor starts a clip; an actor is listed once.
    void Register(Actor& actor);
    // The frame step: every listed actor's channels advance by elapsedMs. Actors gone or no
    // longer playing leave the list.
    void Update(int elapsedMs);

    std::size_t GetActiveCount() const { return mActors.size(); }

private:
    std::vector<std::uint32_t> mActors;  // object ids
    bool mUpdating = false;
};

}  // namespace GAME
