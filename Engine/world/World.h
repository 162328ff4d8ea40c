#pragma once
// The world of one machine: the regions of the loaded level, the entities standing in them, the
// queries over both, and the path finder over the level's navigation meshes.
//
// Every query appends to the caller's vector in the order in which the entities entered the
// world (AddEntity), so each machine reports the same list; gathering reuses the world's own
// scratch storage and allocates nothing once it has grown.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "Engine/object/UniqueId.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/EntityDigest.h"
#include "Engine/world/EntityGrid.h"
#include "Engine/world/Region.h"
#include "Engine/world/WorldShapes.h"

namespace GAME {

class Entity;
class UniqueId;
class Path;
class PathFinder;
struct PathGenerationParams;

struct SpawnPoint {
    std::string name;
    WorldCoords coords;
};

// What the last CreateDisturbance call asked (grass and water are not drawn; the count and the
// last call are kept for whoever checks them).
struct Disturbance {
    WorldVec3 where;
    float radius = 0;
    float strength = 0;
    bool byPlayer = false;
};

class World {
public:
    static constexpr FixedSlot kMachineSlot = FixedSlot::World;
    World();
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // The world of the current machine.
    [[gnu::always_inline]] static World& Get() { return Singleton<World>::Get(); }

    // Loads a level file (a name under the data root, or a path): its regions (marked loaded),
    // their ground, the navigation meshes (from the cache beside the file when its key matches)
    // and its placed entities. Whatever was loaded before is unloaded first. False, with the
    // reason logged, when the file cannot be used; then the world is left empty.
    bool LoadLevel(const std::string& levelName);
    // Takes every entity out of the world and drops the regions and navigation meshes; then
    // runs the unload hooks on the calling thread's machine.
    void UnloadLevel();
    // A process-wide hook, registered while the program starts, through which a layer above
    // forgets per-machine state of the level (it acts on Machine::Current()).
    using LevelUnloadHook = void (*)();
    static void AddLevelUnloadHook(LevelUnloadHook hook);
    // The same for a layer whose lists hold the whole world: called on the adding thread's
    // machine each time the world's room for entities grows (by half), with the new room, so those
    // lists grow with it (see ReserveWritten) rather than in a crowd's first frame.
    using GrowthHook = void (*)(std::size_t entities);
    static void AddGrowthHook(GrowthHook hook);
    const std::string& GetLevelName() const { return mLevelName; }
    // True while LoadLevel makes the level's entities: every machine makes them alike.
    bool IsLoadingLevel() const { return mLoadingLevel; }
    const std::vector<SpawnPoint>& GetSpawnPoints() const { return mSpawnPoints; }
    // The quest files the level names (names under the data root), in file order.
    std::size_t GetNumQuestFiles() const { return mQuestFiles.size(); }
    const std::string& GetQuestFile(std::size_t index) const { return mQuestFiles.at(index); }
    // Ids of the entities the level file placed, in file order.
    const std::vector<std::uint32_t>& GetPlacedEntityIds() const { return mPlacedIds; }
    // The entity in the world with this unique id (a level gives it as "uniqueId"); null when
    // none.
    Entity* FindPlacedEntity(const UniqueId& id) const;
    // Where the placed entity of that unique id stands; false when it is unknown, gone or in no
    // region.
    bool GetInstanceWorldPosition(const UniqueId& id, WorldVec3& out) const;
    // Whether the last load took its navigation meshes from the cache file.
    bool WereNavMeshesCached() const { return mNavFromCache; }
    // The pathing sizes the loaded level has navigation meshes for.
    const std::vector<int>& GetPathingSizes() const { return mPathingSizes; }

    // Takes a region into the world (names are unique: a taken name is refused with a log line).
    Region* AddRegion(std::unique_ptr<Region> region);
    const std::vector<std::unique_ptr<Region>>& GetRegions() const { return mRegions; }
    Region* GetRegion(const std::string& name) const;
    bool HoldsRegion(const Region* region) const;
    // The first region, in level order, whose box holds the world-space point.
    Region* GetRegionContainingPoint(const Vec3& worldPoint) const;

    // Puts the entity at the coordinates (already in the world: moves it). `makeVisible` shows
    // it. False when the entity is null or the coordinates name no region of this world.
    bool AddEntity(Entity* entity, const WorldCoords& coords, bool makeVisible);
    bool RemoveEntity(Entity* entity);
    // Sets the entity's coordinates; an entity in the world is filed anew.
    void SetCoords(Entity* entity, const WorldCoords& coords);
    std::size_t GetEntityCount() const { return mPlacedCount; }
    // Changes whenever an entity enters or leaves the world or the regions change, never
    // repeating across worlds: a list of the world's entities kept under one value still names
    // every one of them while the world keeps that value.
    std::uint64_t GetMembership() const { return mMembership; }
    struct MembershipChange {
        std::uint32_t id = 0;
        bool entered = false;          // else left
        std::uint64_t membership = 0;  // the world's value after it
    };
    // The entries and departures since the membership was `since`, oldest first, so a kept list
    // can follow them; false when they are no longer all known (then it is gathered afresh).
    bool GetMembershipChanges(std::uint64_t since, std::span<const MembershipChange>& out) const;

    // Slots: where an entity stands in the world's tables while it stays in the world (a slot
    // is reused once its entity leaves).
    static constexpr std::uint32_t kNoSlot = 0xFFFFFFFFu;
    std::uint32_t GetSlotOf(const Entity* entity) const;
    Entity* GetEntityAt(std::uint32_t slot) const { return mPlaced[slot].entity; }
    // Whether `slot`, a hint kept from earlier, still holds the object `id` (never id 0).
    bool SlotHolds(std::uint32_t slot, std::uint32_t id) const {
        return id != 0 && slot < mDigests.size() && mDigests[slot].objectId == id;
    }
    const EntityDigest& GetDigest(std::uint32_t slot) const { return mDigests[slot]; }
    // Written by the game, which then commits it (below) so the grid's copy follows.
    EntityDigest& GetDigest(std::uint32_t slot) { return mDigests[slot]; }
    // Copies the game's part of the slot's digest into the slot's grid cell.
    void CommitGamePart(std::uint32_t slot);
    // The digest of an entity standing in this world; null for any other.
    EntityDigest* FindDigest(const Entity* entity);

    // Every entity in the world, in world order.
    void GetAllEntities(std::vector<Entity*>& out, EntityListType type = EntityListType::All) const;
    // Entities whose bounding sphere meets the shape; the shape is in the region's space and
    // entities of neighbouring regions that it reaches are found too.
    void GetEntitiesInSphere(std::vector<Entity*>& out, Region* region, const Sphere& sphere,
                             EntityListType type = EntityListType::All);
    // The same entities as their slots, for sweeps that read the digests.
    void GetSlotsInSphere(std::vector<std::uint32_t>& out, Region* region, const Sphere& sphere,
                          EntityListType type = EntityListType::All);
    // One pass over the grid cells the sphere reaches (Engine/world/WorldSweep.h): `keep(entry)`
    // judges, in no particular order, each entity of the type whose bounding sphere meets the
    // sphere, from its cell's copy alone; then `use(entry)` takes the kept ones in world order.
    // Neither may move, add or remove entities; `use` may run other queries but no sweep.
    template <class Keep, class Use>
    void SweepSphere(Region* region, const Sphere& sphere, EntityListType type, Keep&& keep,
                     Use&& use);
    // The same, telling `begin(count)` how many `use` will take before the first.
    template <class Keep, class Begin, class Use>
    void SweepSphere(Region* region, const Sphere& sphere, EntityListType type, Keep&& keep,
                     Begin&& begin, Use&& use);
    // The same, asking `screen(packs, count)` first, of up to 64 entities' packed slots and game
    // words (EntityGrid::Pack, eight to a pack) at once: bit i of its answer clear turns entity i
    // away. It may turn away only entities `keep` would refuse, and only where refusing spares
    // nothing `keep` does on the way (debug builds ask `keep` too and abort when it would have
    // kept one). A screen taking a third argument, `std::uint64_t& sure` (handed in holding the
    // entities the sphere meets), sets there the bits of entities of the type that `keep` would
    // keep, doing nothing on the way: neither the type nor `keep` is asked of them (debug builds
    // ask, abort when one refuses).
    // A screen also taking `(toQuery, sphere)` before `sure` tests the sphere itself, and a
    // `begin(entries, count)` takes the kept entries as one list in place of `use` (WorldSweep.h).
    template <class Screen, class Keep, class Begin, class Use>
    void SweepSphere(Region* region, const Sphere& sphere, EntityListType type, Screen&& screen,
                     Keep&& keep, Begin&& begin, Use&& use);
    void GetEntitiesInBox(std::vector<Entity*>& out, Region* region, const ABBox& box,
                          EntityListType type = EntityListType::All);
    void GetEntitiesInFrustum(std::vector<Entity*>& out, const WorldFrustum& frustum,
                              EntityListType type = EntityListType::All);
    // Entities whose bounding sphere reaches into the cone at the apex along the direction, of
    // half-angle `angle` (radians) and as long as `length`.
    void GetEntitiesInCone(std::vector<Entity*>& out, const WorldVec3& apex, const Vec3& direction,
                           float angle, float length, EntityListType type = EntityListType::All);
    // Entities whose bounding sphere the ray meets within `length`, nearest first (ties in
    // world order), but those whose grid copy's game flags hold any of `skipFlags`: a crowd
    // along the ray need not be tested when only scenery matters.
    void GetAllIntersections(const WorldRay& ray, std::vector<Entity*>& out, float length,
                             std::uint32_t skipFlags = 0);

    // Squared distance through world space; infinite when either point has no region. Inline:
    // the crowd's range tests ask it ~5 times per character and frame.
    float GetDistanceSquared(const WorldVec3& a, const WorldVec3& b) const {
        if (!a.region || !b.region)
            return kInfinity;
        return a.VectorTo(b).LengthSquared();
    }
    float GetDistanceSquared(const WorldCoords& a, const WorldCoords& b) const {
        return GetDistanceSquared(a.GetPosition(), b.GetPosition());
    }

    // The nearest hit of the ray on the ground of its region whose surface kind is at most
    // `surfaceFilter` and, unless `groundOnly`, on the entities (their own GetIntersection);
    // none farther than `maxDistance` (a hit at it counts): a level ray otherwise crosses the
    // whole ground.
    bool GetIntersection(const WorldRay& ray, WorldIntersection& hit, int surfaceFilter,
                         bool groundOnly, float maxDistance = kInfinity);
    // The height, in the point's region, of the ground under or over it nearest to it;
    // kInfinity when there is none.
    float GetNearestFloorHeight(const WorldVec3& point) const;

    void CreateDisturbance(const WorldVec3& where, float radius, float strength, bool byPlayer);
    // A wind that bends the grass this frame (Engine/environment/GrassWind.h); `region` is the
    // source's own.
    void CreateGrassWind(std::uint32_t sourceId, float strength, float radius,
                         const WorldVec3& position, const Vec2& direction, Region* region);
    const Disturbance& GetLastDisturbance() const { return mLastDisturbance; }
    std::uint64_t GetDisturbanceCount() const { return mDisturbanceCount; }
    // The fog of war lifts where the local player stands (nothing is drawn: the place, the
    // calls and the time seen are kept).
    void AddFOWVisibility(const WorldVec3& where, int ms);
    const WorldVec3& GetLastFOWVisibility() const { return mLastFOWVisibility; }
    std::uint64_t GetFOWVisibilityCount() const { return mFOWVisibilityCount; }
    std::uint64_t GetFOWVisibleMs() const { return mFOWVisibleMs; }

    // A path for the pathing size (0 small, 1 medium, 2 large) between two points of one
    // region; null when there is none.
    std::unique_ptr<Path> FindPath(int pathingSize, const WorldVec3& from, const WorldVec3& to,
                                   const PathGenerationParams& params, int maxCorners);
    PathFinder& GetPathFinder() { return *mPathFinder; }

private:
    friend class Entity;
    struct Placed {
        Entity* entity = nullptr;
        std::uint32_t rank = 0;  // index in mRankSlots
        Region* region = nullptr;
        int cell = -1;
        std::uint32_t indexInCell = 0;
    };

    void File(std::uint32_t slot);
    void Unfile(std::uint32_t slot);
    // An entity moved by itself (Entity::SetCoords, attachments).
    void OnEntityMoved(Entity* entity);
    // An entity's bounding radius changed.
    void OnEntityResized(Entity* entity);
    // Gathers the slots of the entities of every region the world-space box [lo, hi] reaches
    // whose position (in `region`'s space) and radius pass the test, in world order.
    template <class Test>
    void Gather(Region* region, const Vec3& lo, const Vec3& hi, EntityListType type, Test&& test);
    // Hands `visit(grid, x, z, toQuery)` every grid cell the world-space box [lo, hi] reaches in
    // every region, `toQuery` taking the grid's positions into `region`'s space (region held).
    template <class VisitCell>
    void ForEachCellInBox(Region* region, const Vec3& lo, const Vec3& hi, VisitCell&& visit);
    // The same a grid at a time: `visit(grid, x0, z0, x1, z1, toQuery)`, its cells' range.
    template <class VisitBox>
    void ForEachCellBoxInBox(Region* region, const Vec3& lo, const Vec3& hi, VisitBox&& visit);
    // Asks `test(at, radius)` (or `test(at, radius, rayLift)`, or `test(at, radius, rayLift,
    // gameFlags)`) of every grid entry in the cells
    // of every region the world-space box [lo, hi] reaches, `at` its position in `region`'s
    // space (region held), and hands `found(entry)` each of the type that passes. The test reads
    // the cell's packed copies: only what passes is read from its entry (but the lift).
    template <class Test, class Found>
    void ForEachInBox(Region* region, const Vec3& lo, const Vec3& hi, EntityListType type,
                      Test&& test, Found&& found);
    // Gather, then appends the entities (or their slots) to `out`.
    template <class Test>
    void Gather(std::vector<Entity*>& out, Region* region, const Vec3& lo, const Vec3& hi,
                EntityListType type, Test&& test);
    void SortScratch();
    // Sorts the scratch by marking its ranks in a bit set and reading them back in order.
    void SortScratchByMarks(std::uint32_t lo, std::uint32_t hi);
    // Hands out ranks again, densely, once removals left too many holes.
    void CompactRanks();
    // Gives the queries' own lists room for `entities`, then runs the growth hooks.
    void MakeRoomFor(std::size_t entities);
    bool ReadLevel(const std::filesystem::path& file);
    void BuildNavMeshes(const std::filesystem::path& cacheFile);
    // The regions changed: no kept list follows the changes before this.
    void RestartMembership();
    void NoteMembership(std::uint32_t id, bool entered);

    bool mLoadingLevel = false;
    std::string mLevelName;
    std::string mModName;  // the level file's "mod" (empty: the game's own world)
    std::vector<std::unique_ptr<Region>> mRegions;
    std::vector<SpawnPoint> mSpawnPoints;
    std::vector<std::string> mQuestFiles;
    std::vector<std::uint32_t> mPlacedIds;
    std::vector<int> mPathingSizes;
    bool mNavFromCache = false;
    std::vector<Placed> mPlaced;
    std::size_t mRoomFor = 0;  // entities the query lists hold room for
    std::vector<std::uint32_t> mFreeSlots;
    std::size_t mPlacedCount = 0;
    std::uint64_t mMembership = 0;
    std::vector<MembershipChange> mMembershipChanges;  // the latest, oldest first
    std::uint64_t mMembershipChangesFrom = 0;          // the value before the first of them
    // World order: the slot of each rank, in the order the entities entered the world (kNoSlot
    // where one left), so ranks sort as world order does and stay small.
    std::vector<std::uint32_t> mRankSlots;
    // By rank, the grid entry of each filed entity (kept as entries move): a sweep marks ranks
    // only, and finds their entries here as it reads them back.
    std::vector<const EntityGrid::Entry*> mRankEntries;
    std::size_t mFreeRanks = 0;
    std::vector<std::uint64_t> mRankMarks;  // by rank, all clear between queries
    std::vector<EntityDigest> mDigests;     // by slot, beside mPlaced
    std::vector<std::pair<std::uint32_t, std::uint32_t>> mScratch;  // (rank, slot)
    std::vector<std::pair<std::uint32_t, std::uint32_t>> mSortSpare;
    std::vector<std::uint32_t> mSortCounts;
    std::vector<Entity*> mCandidates;
    // A sweep's kept entries in world order (nothing moves while it runs), their ranks as found
    // and, by rank, each kept one's mark: the sweep's own, since `keep` may query.
    std::vector<const EntityGrid::Entry*> mSweepKept;
    std::vector<std::uint32_t> mSweepRanks;
    std::vector<std::uint64_t> mSweepMarks;  // all clear between sweeps
    bool mSweeping = false;
    std::vector<std::pair<float, std::size_t>> mRayScratch;
    Disturbance mLastDisturbance;
    std::uint64_t mDisturbanceCount = 0;
    WorldVec3 mLastFOWVisibility;
    std::uint64_t mFOWVisibilityCount = 0;
    std::uint64_t mFOWVisibleMs = 0;
    std::unique_ptr<PathFinder> mPathFinder;
};

}  // namespace GAME
