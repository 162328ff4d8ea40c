#include "Engine/world/World.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdlib>
#include <type_traits>

#include "Engine/Engine.h"
#include "Engine/environment/GrassWind.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/object/Object.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/EntityGrid.h"
#include "Engine/world/GroundMesh.h"
#include "Engine/world/QueryScratch.h"
#include "Engine/world/WorldSweep.h"
#include "Engine/world/nav/PathFinder.h"

namespace GAME {

using WorldCells::BoxesOverlap;
using WorldCells::Passes;

namespace {

// Shared by every machine's world, so that a list kept from a world that has since been replaced
// never matches its successor's value.
std::atomic<std::uint64_t> gNextMembership{1};

// Enough for a busy frame's arrivals and departures; a list further behind is gathered afresh.
constexpr std::size_t kMembershipChangesKept = 1024;

// Whether the bounding sphere at `at` meets the box: the distance from its centre to the box.
[[maybe_unused]] bool MeetsBox(const Vec3& at, float radius, const ABBox& box) {
    const Vec3 nearest = at.Max(box.min).Min(box.max);
    return (at - nearest).LengthSquared() <= radius * radius;
}

// MeetsBox of four lanes of a pack from `lane`, taken into the query's space by `toQuery`, as
// bit k for lane k: the same float operations in the same order (max and min keep the second
// operand on a tie or NaN, as Max and Min do), so the same answers.
unsigned BoxBits(const EntityGrid::Pack& p, std::size_t lane, const Vec3& toQuery,
                 const ABBox& box) {
#if defined(__SSE2__)
    const auto axis = [&](const float* column, float offset, float lo, float hi) {
        const __m128 at = _mm_add_ps(_mm_loadu_ps(column + lane), _mm_set1_ps(offset));
        const __m128 nearest = _mm_min_ps(_mm_max_ps(at, _mm_set1_ps(lo)), _mm_set1_ps(hi));
        const __m128 d = _mm_sub_ps(at, nearest);
        return _mm_mul_ps(d, d);
    };
    const __m128 squared = _mm_add_ps(_mm_add_ps(axis(p.x, toQuery.x, box.min.x, box.max.x),
                                                 axis(p.y, toQuery.y, box.min.y, box.max.y)),
                                      axis(p.z, toQuery.z, box.min.z, box.max.z));
    const __m128 radius = _mm_loadu_ps(p.radius + lane);
    return static_cast<unsigned>(
        _mm_movemask_ps(_mm_cmple_ps(squared, _mm_mul_ps(radius, radius))));
#else
    unsigned bits = 0;
    for (std::size_t k = 0; k < WorldCells::kQuad; ++k) {
        const Vec3 at(p.x[lane + k] + toQuery.x, p.y[lane + k] + toQuery.y,
                      p.z[lane + k] + toQuery.z);
        bits |= static_cast<unsigned>(MeetsBox(at, p.radius[lane + k], box)) << k;
    }
    return bits;
#endif
}

}  // namespace

World::World() : mPathFinder(std::make_unique<PathFinder>()) {
    mMembershipChanges.reserve(kMembershipChangesKept);
    RestartMembership();
}

void World::RestartMembership() {
    mMembership = gNextMembership.fetch_add(1, std::memory_order_relaxed);
    mMembershipChanges.clear();
    mMembershipChangesFrom = mMembership;
}

void World::NoteMembership(std::uint32_t id, bool entered) {
    mMembership = gNextMembership.fetch_add(1, std::memory_order_relaxed);
    if (mMembershipChanges.size() >= kMembershipChangesKept) {
        const std::size_t drop = kMembershipChangesKept / 2;
        mMembershipChangesFrom = mMembershipChanges[drop - 1].membership;
        mMembershipChanges.erase(mMembershipChanges.begin(),
                                 mMembershipChanges.begin() + static_cast<std::ptrdiff_t>(drop));
    }
    mMembershipChanges.push_back(MembershipChange{id, entered, mMembership});
}

bool World::GetMembershipChanges(std::uint64_t since,
                                 std::span<const MembershipChange>& out) const {
    if (since == mMembershipChangesFrom) {
        out = mMembershipChanges;
        return true;
    }
    // Values only grow along the list.
    const auto after = std::lower_bound(mMembershipChanges.begin(), mMembershipChanges.end(), since,
                                        [](const MembershipChange& change, std::uint64_t value) {
                                            return change.membership < value;
                                        });
    if (after == mMembershipChanges.end() || after->membership != since)
        return false;
    out = std::span<const MembershipChange>(std::next(after), mMembershipChanges.end());
    return true;
}

World::~World() {
    // Entities outlive the world in a machine's teardown: they must not find it again.
    for (Placed& p : mPlaced)
        if (p.entity)
            p.entity->mWorldSlot = Entity::kNotInWorld;
    mPathFinder->Clear();
    if (NetRegionTable* table = Machine::Current().Find<NetRegionTable>())
        for (const auto& region : mRegions)
            table->Remove(region.get());
}

Region* World::AddRegion(std::unique_ptr<Region> region) {
    if (!region)
        return nullptr;
    if (GetRegion(region->GetName())) {
        gEngine->Log(1, "World: a second region named \"%s\" is refused",
                     region->GetName().c_str());
        return nullptr;
    }
    region->SetEntityGrid(
        std::make_unique<EntityGrid>(region->GetBoundsMin(), region->GetBoundsMax()));
    mRegions.push_back(std::move(region));
    RestartMembership();
    Singleton<NetRegionTable>::Get().Add(mRegions.back().get());
    return mRegions.back().get();
}

Region* World::GetRegion(const std::string& name) const {
    for (const auto& region : mRegions)
        if (region->GetName() == name)
            return region.get();
    return nullptr;
}

Entity* World::FindPlacedEntity(const UniqueId& id) const {
    if (id.IsNull())
        return nullptr;
    for (const Placed& placed : mPlaced)
        if (placed.entity && placed.entity->GetUniqueId() == id)
            return placed.entity;
    return nullptr;
}

bool World::HoldsRegion(const Region* region) const {
    return region && std::any_of(mRegions.begin(), mRegions.end(),
                                 [&](const auto& r) { return r.get() == region; });
}

Region* World::GetRegionContainingPoint(const Vec3& worldPoint) const {
    for (const auto& region : mRegions)
        if (region->ContainsLocal(worldPoint - region->GetOffset()))
            return region.get();
    return nullptr;
}

bool World::AddEntity(Entity* entity, const WorldCoords& coords, bool makeVisible) {
    if (!entity)
        return false;
    if (!HoldsRegion(coords.region)) {
        gEngine->Log(1, "World: %s (id %u) not added: its coordinates name no region of the world",
                     entity->GetObjectName().c_str(), entity->GetObjectId());
        return false;
    }
    if (makeVisible)
        entity->SetVisibility(true);
    if (entity->IsInWorld()) {
        entity->SetCoords(coords);
        return true;
    }
    std::uint32_t slot = 0;
    if (!mFreeSlots.empty()) {
        slot = mFreeSlots.back();
        mFreeSlots.pop_back();
    } else {
        slot = static_cast<std::uint32_t>(mPlaced.size());
        mPlaced.emplace_back();
        mDigests.emplace_back();
        if (mPlaced.size() > mRoomFor)
            MakeRoomFor(mPlaced.size() + mPlaced.size() / 2);
    }
    mPlaced[slot] = Placed{entity, static_cast<std::uint32_t>(mRankSlots.size()), nullptr, -1, 0};
    mRankSlots.push_back(slot);
    mRankEntries.push_back(nullptr);
    mDigests[slot] = EntityDigest();
    // Coordinates first, while the entity is not yet filed: the refiling hook stays quiet.
    entity->SetCoords(coords);
    entity->mWorldSlot = slot;
    ++mPlacedCount;
    EntityDigest& digest = mDigests[slot];
    digest.region = entity->GetRegion();
    digest.position = entity->GetCoords().coords.origin;
    digest.objectId = entity->GetObjectId();
    File(slot);
    NoteMembership(digest.objectId, true);
    return true;
}

namespace {
std::vector<World::GrowthHook>& GrowthHooks() {
    static std::vector<World::GrowthHook> hooks;
    return hooks;
}
}  // namespace

void World::AddGrowthHook(GrowthHook hook) {
    GrowthHooks().push_back(hook);
}

void World::MakeRoomFor(std::size_t entities) {
    // A gathering of the whole world (the frame's list of who updates) holds every entity, and a
    // crowd's first frame makes it: room made as the crowd is placed spares that frame the pages.
    mRoomFor = entities;
    // The whole world's ranks lie densely: its sort marks them, needing no spare list.
    ReserveWritten(mScratch, entities);
    // Marks stay clear between queries: the added words are zero, as they must be.
    if (const std::size_t words = (entities >> 6) + 1; mRankMarks.size() < words)
        mRankMarks.resize(words, 0);
    for (GrowthHook hook : GrowthHooks())
        hook(entities);
}

bool World::RemoveEntity(Entity* entity) {
    if (!entity || !entity->IsInWorld() || entity->mWorldSlot >= mPlaced.size() ||
        mPlaced[entity->mWorldSlot].entity != entity)
        return false;
    const std::uint32_t slot = entity->mWorldSlot;
    Unfile(slot);
    NoteMembership(mDigests[slot].objectId, false);
    mRankSlots[mPlaced[slot].rank] = kNoSlot;
    ++mFreeRanks;
    mPlaced[slot] = Placed();
    mDigests[slot] = EntityDigest();
    mFreeSlots.push_back(slot);
    entity->mWorldSlot = Entity::kNotInWorld;
    --mPlacedCount;
    if (mFreeRanks > 64 && mFreeRanks * 2 > mRankSlots.size())
        CompactRanks();
    return true;
}

void World::SetCoords(Entity* entity, const WorldCoords& coords) {
    if (entity)
        entity->SetCoords(coords);
}

void World::OnEntityMoved(Entity* entity) {
    const std::uint32_t slot = entity->mWorldSlot;
    if (slot >= mPlaced.size() || mPlaced[slot].entity != entity)
        return;
    Placed& p = mPlaced[slot];
    Region* region = entity->GetRegion();
    const Vec3& local = entity->GetCoords().coords.origin;
    mDigests[slot].region = region;
    mDigests[slot].position = local;
    if (region == p.region && region) {
        EntityGrid* grid = region->GetEntityGrid();
        if (grid->CellIndexOf(local) == p.cell) {
            grid->SetPosition(p.cell, p.indexInCell, local);
            return;
        }
    }
    if (!HoldsRegion(region)) {
        // Moved to no region of the world: it leaves the world rather than stand nowhere.
        gEngine->Log(1, "World: %s (id %u) moved out of every region and leaves the world",
                     entity->GetObjectName().c_str(), entity->GetObjectId());
        RemoveEntity(entity);
        return;
    }
    Unfile(slot);
    File(slot);
}

std::uint32_t World::GetSlotOf(const Entity* entity) const {
    if (!entity || entity->mWorldSlot >= mPlaced.size() ||
        mPlaced[entity->mWorldSlot].entity != entity)
        return kNoSlot;
    return entity->mWorldSlot;
}

void World::CommitGamePart(std::uint32_t slot) {
    const Placed& p = mPlaced[slot];
    if (p.region && p.cell >= 0)
        p.region->GetEntityGrid()->SetGamePart(p.cell, p.indexInCell,
                                               static_cast<const EntityGamePart&>(mDigests[slot]));
}

EntityDigest* World::FindDigest(const Entity* entity) {
    const std::uint32_t slot = GetSlotOf(entity);
    return slot == kNoSlot ? nullptr : &mDigests[slot];
}

void World::OnEntityResized(Entity* entity) {
    const std::uint32_t slot = entity->mWorldSlot;
    if (slot >= mPlaced.size() || mPlaced[slot].entity != entity)
        return;
    const Placed& p = mPlaced[slot];
    if (!p.region || p.cell < 0)
        return;
    EntityGrid* grid = p.region->GetEntityGrid();
    grid->SetRadius(p.cell, p.indexInCell, entity->GetBoundingRadius());
    grid->At(p.cell, p.indexInCell).rayLift = entity->GetRayLift();
}

void World::File(std::uint32_t slot) {
    Placed& p = mPlaced[slot];
    p.region = p.entity->GetRegion();
    EntityGrid* grid = p.region->GetEntityGrid();
    EntityGrid::Entry entry;
    entry.position = p.entity->GetCoords().coords.origin;
    entry.radius = p.entity->GetBoundingRadius();
    entry.rayLift = p.entity->GetRayLift();
    entry.rank = p.rank;
    entry.entity = p.entity;
    entry.slot = slot;
    entry.objectId = mDigests[slot].objectId;
    entry.region = p.region;
    entry.actor = p.entity->IsA<Actor>();
    entry.game = static_cast<const EntityGamePart&>(mDigests[slot]);
    p.cell = grid->CellIndexOf(entry.position);
    const EntityGrid::Entry* const was = grid->CellEntries(p.cell).data();
    p.indexInCell = grid->Insert(p.cell, entry);
    const EntityGrid::EntryList& filed = grid->CellEntries(p.cell);
    if (filed.data() == was) {
        mRankEntries[p.rank] = &filed[p.indexInCell];
    } else {
        // The cell took more room: all of its entries moved.
        for (const EntityGrid::Entry& moved : filed)
            mRankEntries[moved.rank] = &moved;
    }
    grid->NoteRadius(entry.radius);
}

void World::Unfile(std::uint32_t slot) {
    Placed& p = mPlaced[slot];
    if (!p.region || p.cell < 0)
        return;
    EntityGrid* grid = p.region->GetEntityGrid();
    const std::uint32_t moved = grid->Erase(p.cell, p.indexInCell);
    mRankEntries[p.rank] = nullptr;
    if (moved != EntityGrid::kNone) {
        mPlaced[moved].indexInCell = p.indexInCell;
        mRankEntries[mPlaced[moved].rank] = &grid->At(p.cell, p.indexInCell);
    }
    p.region = nullptr;
    p.cell = -1;
}

template <class Test>
void World::Gather(Region* region, const Vec3& lo, const Vec3& hi, EntityListType type,
                   Test&& test) {
    mScratch.clear();
    if (!HoldsRegion(region))
        return;
    // Rays meet the lifted sphere; the other shapes the one at the position.
    ForEachInBox(region, lo, hi, type, test, [&](const EntityGrid::Entry& entry) {
        mScratch.emplace_back(entry.rank, entry.slot);
    });
    SortScratch();
}

template <class Test>
void World::Gather(std::vector<Entity*>& out, Region* region, const Vec3& lo, const Vec3& hi,
                   EntityListType type, Test&& test) {
    Gather(region, lo, hi, type, test);
    for (const auto& entry : mScratch)
        out.push_back(mPlaced[entry.second].entity);
    mScratch.clear();
}

void World::GetAllEntities(std::vector<Entity*>& out, EntityListType type) const {
    for (const std::uint32_t slot : mRankSlots)
        if (slot != kNoSlot)
            if (Entity* entity = mPlaced[slot].entity; Passes(entity->IsA<Actor>(), type))
                out.push_back(entity);
}

void World::CompactRanks() {
    std::size_t next = 0;
    for (const std::uint32_t slot : mRankSlots) {
        if (slot == kNoSlot)
            continue;
        Placed& p = mPlaced[slot];
        p.rank = static_cast<std::uint32_t>(next);
        mRankEntries[next] = nullptr;
        if (p.region && p.cell >= 0) {
            EntityGrid::Entry& entry = p.region->GetEntityGrid()->At(p.cell, p.indexInCell);
            entry.rank = p.rank;
            mRankEntries[next] = &entry;
        }
        mRankSlots[next++] = slot;
    }
    mRankSlots.resize(next);
    mRankEntries.resize(next);
    mFreeRanks = 0;
    mRankMarks.clear();
}

void World::SortScratchByMarks(std::uint32_t lo, std::uint32_t hi) {
    const std::size_t words = (std::size_t{hi} >> 6) + 1;
    if (mRankMarks.size() < words)
        mRankMarks.resize(words, 0);
    for (const auto& entry : mScratch)
        mRankMarks[entry.first >> 6] |= std::uint64_t{1} << (entry.first & 63);
    // Every rank in the scratch names its slot in mRankSlots: the pairs are rebuilt from there,
    // and each word is cleared as it is read.
    auto out = mScratch.begin();
    for (std::size_t w = lo >> 6; w < words; ++w) {
        std::uint64_t bits = std::exchange(mRankMarks[w], 0);
        while (bits) {
            const auto rank = static_cast<std::uint32_t>((w << 6) + std::countr_zero(bits));
            *out++ = {rank, mRankSlots[rank]};
            bits &= bits - 1;
        }
    }
}

void World::SortScratch() {
    // Ranks are unique, so any sort gives the one ascending order. A crowd's sight query
    // gathers hundreds: marked in a bit set and read back in order when the ranks they span are
    // few enough words, else sorted by digits of the key (a few linear passes) rather than
    // compared, the keys taken from the smallest and split into as few and as narrow digits as
    // pays.
    constexpr std::size_t kRadixFrom = 64;
    const std::size_t count = mScratch.size();
    if (count < kRadixFrom) {
        std::sort(mScratch.begin(), mScratch.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        return;
    }
    std::uint32_t lo = mScratch.front().first, hi = lo;
    for (const auto& entry : mScratch) {
        lo = std::min(lo, entry.first);
        hi = std::max(hi, entry.first);
    }
    constexpr std::size_t kWordsPerEntry = 4;
    if (((hi >> 6) - (lo >> 6)) <= kWordsPerEntry * count) {
        SortScratchByMarks(lo, hi);
        return;
    }
    const int bits = static_cast<int>(std::bit_width(hi - lo));
    constexpr int kMaxDigitBits = 12;
    // Each pass clears and sums its counts and reads and writes every entry.
    int passes = (bits + kMaxDigitBits - 1) / kMaxDigitBits;
    auto cost = [&](int p) {
        const int digit = (bits + p - 1) / p;
        return static_cast<std::size_t>(p) * ((std::size_t{2} << digit) + 2 * count);
    };
    if (passes > 0 && cost(passes + 1) < cost(passes))
        ++passes;
    if (passes == 0)
        return;
    const int digitBits = (bits + passes - 1) / passes;
    const std::uint32_t mask = (std::uint32_t{1} << digitBits) - 1;
    mSortSpare.resize(count);
    mSortCounts.resize(std::size_t{1} << digitBits);
    for (int shift = 0; shift < bits; shift += digitBits) {
        std::fill(mSortCounts.begin(), mSortCounts.end(), 0u);
        for (const auto& entry : mScratch)
            ++mSortCounts[((entry.first - lo) >> shift) & mask];
        std::uint32_t sum = 0;
        for (std::uint32_t& c : mSortCounts)
            sum += std::exchange(c, sum);
        for (const auto& entry : mScratch)
            mSortSpare[mSortCounts[((entry.first - lo) >> shift) & mask]++] = entry;
        mScratch.swap(mSortSpare);
    }
}

void World::GetEntitiesInSphere(std::vector<Entity*>& out, Region* region, const Sphere& sphere,
                                EntityListType type) {
    const Vec3 r(sphere.radius, sphere.radius, sphere.radius);
    Gather(out, region, sphere.center - r, sphere.center + r, type,
           [&](const Vec3& at, float radius) {
               const float reach = sphere.radius + radius;
               return (at - sphere.center).LengthSquared() <= reach * reach;
           });
}

void World::GetSlotsInSphere(std::vector<std::uint32_t>& out, Region* region, const Sphere& sphere,
                             EntityListType type) {
    const Vec3 r(sphere.radius, sphere.radius, sphere.radius);
    Gather(region, sphere.center - r, sphere.center + r, type, [&](const Vec3& at, float radius) {
        const float reach = sphere.radius + radius;
        return (at - sphere.center).LengthSquared() <= reach * reach;
    });
    for (const auto& entry : mScratch)
        out.push_back(entry.second);
    mScratch.clear();
}

void World::GetEntitiesInBox(std::vector<Entity*>& out, Region* region, const ABBox& box,
                             EntityListType type) {
    mScratch.clear();
    if (!HoldsRegion(region))
        return;
    constexpr std::size_t kWidth = EntityGrid::Pack::kWidth;
    ForEachCellInBox(
        region, box.min, box.max, [&](const EntityGrid& grid, int x, int z, const Vec3& toQuery) {
            const EntityGrid::EntryList& entries = grid.Entries(x, z);
            const EntityGrid::Pack* packs = grid.Packs(x, z).data();
            const std::size_t count = entries.size();
            for (std::size_t first = 0; first < count; first += WorldCells::kQuad) {
                const EntityGrid::Pack& pack = packs[first / kWidth];
                const std::size_t lane = first % kWidth;
                const std::size_t lanes = std::min(WorldCells::kQuad, count - first);
                unsigned meets = BoxBits(pack, lane, toQuery, box) & ((1u << lanes) - 1);
#ifndef NDEBUG
                for (std::size_t k = 0; k < lanes; ++k) {
                    const Vec3 at(pack.x[lane + k] + toQuery.x, pack.y[lane + k] + toQuery.y,
                                  pack.z[lane + k] + toQuery.z);
                    if (MeetsBox(at, pack.radius[lane + k], box) != ((meets >> k & 1) != 0))
                        std::abort();
                }
#endif
                for (; meets != 0; meets &= meets - 1) {
                    const EntityGrid::Entry& entry =
                        entries[first + static_cast<unsigned>(std::countr_zero(meets))];
                    if (Passes(entry.actor, type))
                        mScratch.emplace_back(entry.rank, entry.slot);
                }
            }
        });
    SortScratch();
    for (const auto& entry : mScratch)
        out.push_back(mPlaced[entry.second].entity);
    mScratch.clear();
}

void World::GetEntitiesInFrustum(std::vector<Entity*>& out, const WorldFrustum& frustum,
                                 EntityListType type) {
    Region* region = frustum.region;
    if (!HoldsRegion(region))
        return;
    // Every cell of every region: a frustum is not boxed cheaply, and views are few per frame.
    const Vec3 far(1e30f, 1e30f, 1e30f);
    Gather(out, region, -far, far, type,
           [&](const Vec3& at, float radius) { return frustum.IntersectsSphere(at, radius); });
}

void World::GetEntitiesInCone(std::vector<Entity*>& out, const WorldVec3& apex,
                              const Vec3& direction, float angle, float length,
                              EntityListType type) {
    const Vec3 axis = direction.Unit();
    if (axis.LengthSquared() == 0 || !(length > 0))
        return;
    const Vec3 r(length, length, length);
    const float cosAngle = Cos(Clamp(angle, 0.0f, 3.1415927f));
    const float sinAngle = Sin(Clamp(angle, 0.0f, 3.1415927f));
    Gather(out, apex.region, apex.local - r, apex.local + r, type,
           [&](const Vec3& at, float radius) {
               const Vec3 d = at - apex.local;
               const float distance = d.Length();
               if (distance > length + radius)
                   return false;
               if (distance <= radius)
                   return true;  // the apex is inside the entity
               // Distance of the centre from the cone's surface, measured across the axis.
               const float along = d.Dot(axis);
               const float across = Sqrt(Max(distance * distance - along * along, 0.0f));
               return across * cosAngle - along * sinAngle <= radius;
           });
}

void World::GetAllIntersections(const WorldRay& ray, std::vector<Entity*>& out, float length,
                                std::uint32_t skipFlags) {
    if (!HoldsRegion(ray.region) || !(length >= 0))
        return;
    const Vec3 end = ray.PointAt(length);
    mCandidates.clear();
    Gather(mCandidates, ray.region, ray.origin.Min(end), ray.origin.Max(end), EntityListType::All,
           [&](const Vec3& at, float radius, float lift, std::uint32_t flags) {
               return (flags & skipFlags) == 0 &&
                      RaySphere(ray.origin, ray.direction, at + Vec3(0.0f, lift, 0.0f), radius,
                                length) != kInfinity;
           });
    // Nearest first; the index keeps world order among equal distances.
    mRayScratch.clear();
    const Vec3 toRay = -ray.region->GetOffset();
    for (std::size_t i = 0; i < mCandidates.size(); ++i) {
        const Vec3 at = mCandidates[i]->GetPosition().GetWorldPosition() + toRay +
                        Vec3(0.0f, mCandidates[i]->GetRayLift(), 0.0f);
        mRayScratch.emplace_back(
            RaySphere(ray.origin, ray.direction, at, mCandidates[i]->GetBoundingRadius(), length),
            i);
    }
    std::sort(mRayScratch.begin(), mRayScratch.end());
    for (const auto& entry : mRayScratch)
        out.push_back(mCandidates[entry.second]);
}

bool World::GetIntersection(const WorldRay& ray, WorldIntersection& hit, int surfaceFilter,
                            bool groundOnly, float maxDistance) {
    hit = WorldIntersection();
    if (!HoldsRegion(ray.region))
        return false;
    if (const GroundMesh* ground = ray.region->GetGround())
        ground->Raycast(ray.origin, ray.direction, maxDistance, surfaceFilter, hit);
    if (!groundOnly) {
        const float length = hit.IsHit() ? hit.distance : Min(1e6f, maxDistance);
        const Vec3 end = ray.PointAt(length);
        mCandidates.clear();
        const Vec3 lo = ray.origin.Min(end), hi = ray.origin.Max(end);
        Gather(mCandidates, ray.region, lo, hi, EntityListType::All,
               [&](const Vec3& at, float radius, float lift) {
                   return RaySphere(ray.origin, ray.direction, at + Vec3(0.0f, lift, 0.0f), radius,
                                    length) != kInfinity;
               });
        for (Entity* entity : mCandidates)
            entity->GetIntersection(ray, hit, surfaceFilter);
        // An entity takes a hit only nearer than the one it is given, so a nearest one past
        // the bound means none within it.
        if (!(hit.distance <= maxDistance))
            hit = WorldIntersection();
    }
    return hit.IsHit();
}

float World::GetNearestFloorHeight(const WorldVec3& point) const {
    float height = 0;
    if (!point.region || !point.region->GetGround() ||
        !point.region->GetGround()->NearestFloor(point.local, height))
        return kInfinity;
    return height;
}

void World::CreateDisturbance(const WorldVec3& where, float radius, float strength, bool byPlayer) {
    mLastDisturbance = Disturbance{where, radius, strength, byPlayer};
    ++mDisturbanceCount;
}

void World::AddFOWVisibility(const WorldVec3& where, int ms) {
    mLastFOWVisibility = where;
    ++mFOWVisibilityCount;
    mFOWVisibleMs += static_cast<std::uint64_t>(std::max(ms, 0));
}

void World::CreateGrassWind(std::uint32_t sourceId, float strength, float radius,
                            const WorldVec3& position, const Vec2& direction, Region* region) {
    GrassWind wind;
    wind.sourceId = sourceId;
    wind.strength = strength;
    wind.radius = radius;
    wind.position = WorldVec3(region ? region : position.region, position.local);
    wind.direction = direction;
    wind.gameTime = gEngine->GetGameTime();
    GrassWindField::Get().Blow(wind);
}

std::unique_ptr<Path> World::FindPath(int pathingSize, const WorldVec3& from, const WorldVec3& to,
                                      const PathGenerationParams& params, int maxCorners) {
    return mPathFinder->FindPath(pathingSize, from, to, params, maxCorners);
}

}  // namespace GAME
