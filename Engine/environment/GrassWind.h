#pragma once
// The winds that bend the grass, per machine. A wind source hands its wind every frame it blows
// (World::CreateGrassWind); the field keeps the latest of each source and records each in the
// MediaRecorder (GrassWind). Headless, nothing bends: the winds are kept for whoever draws.
#include <cstdint>
#include <vector>

#include "Engine/world/Math.h"
#include "Engine/world/Region.h"

namespace GAME {

struct GrassWind {
    std::uint32_t sourceId = 0;
    float strength = 0.0f;
    float radius = 0.0f;
    WorldVec3 position;
    Vec2 direction;
    std::uint64_t gameTime = 0;  // when it was last handed in
};

class GrassWindField {
public:
    static GrassWindField& Get();

    // Replaces the source's wind (a new source is added once; a steady wind allocates nothing).
    void Blow(const GrassWind& wind);
    // The source's latest wind, null when it never blew.
    const GrassWind* Find(std::uint32_t sourceId) const;
    // A source that goes takes its wind with it.
    void Remove(std::uint32_t sourceId);
    const std::vector<GrassWind>& GetWinds() const { return mWinds; }

private:
    std::vector<GrassWind> mWinds;
};

}  // namespace GAME
