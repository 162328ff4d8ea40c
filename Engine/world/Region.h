#pragma once
// A region of the world: a box of its own local space placed at an offset in world space, with
// its ground and the grid of the entities standing in it.
#include <memory>
#include <string>

#include "Engine/world/Math.h"

namespace GAME {

class GroundMesh;
class EntityGrid;

class Region {
public:
    // The local box runs from the origin to `size`.
    explicit Region(std::string name = {}, Vec3 offset = {}, Vec3 size = {1000, 1000, 1000});
    Region(std::string name, Vec3 offset, Vec3 boundsMin, Vec3 boundsMax);
    ~Region();
    Region(const Region&) = delete;
    Region& operator=(const Region&) = delete;

    const std::string& GetName() const { return mName; }
    const Vec3& GetOffset() const { return mOffset; }
    Vec3 GetOffsetFromWorld() const { return mOffset; }
    Vec3 GetSize() const { return mBoundsMax - mBoundsMin; }
    const Vec3& GetBoundsMin() const { return mBoundsMin; }
    const Vec3& GetBoundsMax() const { return mBoundsMax; }
    // Local bounds, edges included.
    bool ContainsLocal(const Vec3& p) const;
    bool IsLoaded() const { return mLoaded; }
    bool IsLevelLoaded() const { return mLoaded; }
    void SetLoaded(bool loaded) { mLoaded = loaded; }
    bool IsUnderground() const { return mUnderground; }
    // The act the region belongs to (0: none) and the title shown on entering it (a text tag).
    int GetAct() const { return mAct; }
    void SetAct(int act) { mAct = act; }
    const std::string& GetCinematicText() const { return mCinematicText; }
    void SetCinematicText(const std::string& text) { mCinematicText = text; }
    void SetUnderground(bool underground) { mUnderground = underground; }
    // The music of a boss fight may play here (the ambiance manager's boss music zone).
    bool IsBossMusicZone() const { return mBossMusicZone; }
    void SetBossMusicZone(bool zone) { mBossMusicZone = zone; }

    // The ground, null until a level gives one.
    const GroundMesh* GetGround() const { return mGround.get(); }
    void SetGround(std::unique_ptr<GroundMesh> ground);
    // The entity grid, made by the world that holds the region.
    EntityGrid* GetEntityGrid() const { return mGrid.get(); }
    void SetEntityGrid(std::unique_ptr<EntityGrid> grid);

private:
    std::string mName;
    Vec3 mOffset;
    Vec3 mBoundsMin;
    Vec3 mBoundsMax;
    bool mLoaded = true;
    bool mUnderground = false;
    bool mBossMusicZone = false;
    int mAct = 0;
    std::string mCinematicText;
    std::unique_ptr<GroundMesh> mGround;
    std::unique_ptr<EntityGrid> mGrid;
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
    // Moves the point within its region.
    void Translate(const Vec3& offset) { local += offset; }
    // Moves the point by the offset and drops it onto the highest ground at or a little above it
    // (its own region's, else the ground of the region that holds the moved point); a sideways
    // move may also climb by as much as it goes sideways. False, with the point unchanged, when
    // there is no ground under it.
    bool TranslateToFloor(const Vec3& offset);
    bool PutOnFloor() { return TranslateToFloor(Vec3()); }
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
    // Turns the frame and its origin by `degrees` about a unit axis through `pivot` (a point of
    // any region); the coordinates stay in their own region.
    void RotateAroundPoint(const WorldVec3& pivot, const Vec3& axis, float degrees);
};

}  // namespace GAME
