#pragma once
// A region of the world: an axis-aligned box placed at an offset in world space.
#include <string>

#include "Engine/world/Math.h"

namespace GAME {

class Region {
public:
    explicit Region(std::string name = {}, Vec3 offset = {}, Vec3 size = {1000, 1000, 1000})
        : mName(std::move(name)), mOffset(offset), mSize(size) {}

    const std::string& GetName() const { return mName; }
    const Vec3& GetOffset() const { return mOffset; }
    const Vec3& GetSize() const { return mSize; }
    bool IsLoaded() const { return mLoaded; }
    void SetLoaded(bool loaded) { mLoaded = loaded; }

private:
    std::string mName;
    Vec3 mOffset;
    Vec3 mSize;
    bool mLoaded = true;
};

// A point in a region's local space.
struct WorldVec3 {
    Region* region = nullptr;
    Vec3 local{};

    WorldVec3() = default;
    WorldVec3(Region* r, const Vec3& p) : region(r), local(p) {}

    Region* GetRegion() const { return region; }
    const Vec3& GetRegionPosition() const { return local; }
    Vec3 GetWorldPosition() const { return region ? local + region->GetOffset() : local; }
    bool IsValid() const { return region != nullptr; }
    // Vector from this point to another, through world space.
    Vec3 VectorTo(const WorldVec3& other) const {
        return other.GetWorldPosition() - GetWorldPosition();
    }
    float DistanceTo(const WorldVec3& other) const { return VectorTo(other).Length(); }
    bool operator==(const WorldVec3& o) const { return region == o.region && local == o.local; }
};

// An orientation and origin in a region's local space.
struct WorldCoords {
    Region* region = nullptr;
    Coords coords{};

    WorldCoords() = default;
    WorldCoords(Region* r, const Coords& c) : region(r), coords(c) {}

    Region* GetRegion() const { return region; }
    const Coords& GetRegionCoords() const { return coords; }
    WorldVec3 GetPosition() const { return WorldVec3(region, coords.origin); }
    void SetPosition(const WorldVec3& p) {
        region = p.region;
        coords.origin = p.local;
    }
    Coords GetWorldCoords() const {
        Coords c = coords;
        if (region)
            c.origin += region->GetOffset();
        return c;
    }
    bool operator==(const WorldCoords& o) const { return region == o.region && coords == o.coords; }
};

}  // namespace GAME
