#include "Game/characters/movement/CharacterMovementManager.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "Engine/Engine.h"
#include "Engine/media/graphics/DebugRenderManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Engine/world/nav/DynamicObstacle.h"
#include "Engine/world/nav/PathFinder.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/characters/Player.h"

namespace GAME {

namespace {

// World::GetDistanceSquared's answer, without finding the world first: a crowd's path queries
// take hundreds of thousands.
[[gnu::always_inline]] inline float DistanceSquared(const WorldVec3& a, const WorldVec3& b) {
    if (!a.region || !b.region)
        return kInfinity;
    return a.VectorTo(b).LengthSquared();
}

// cos 45 degrees: avoid what lies at most this far off the way ahead.
constexpr float kAvoidCone = 0.70710677f;

// Hands a path nobody follows back to the path finder, whose next search reuses its storage.
void Drop(std::unique_ptr<Path>& path) {
    if (World* world = path ? Machine::Current().Find<World>() : nullptr)
        world->GetPathFinder().Recycle(std::move(path));
    path.reset();
}

}  // namespace

CharacterMovementManager::CharacterMovementManager(Character& character) : mCharacter(&character) {}

CharacterMovementManager::~CharacterMovementManager() = default;

void CharacterMovementManager::TakePathPosition() const {
    StorePathPosition(mCharacter->GetPosition());
}

void CharacterMovementManager::StorePathPosition(const WorldVec3& position) const {
    mPathPosition = position;
    mCharacter->RefreshDigest();
}

void CharacterMovementManager::SetPathPosition(const WorldVec3& position) {
    StorePathPosition(position);
    mLocalPosition = position;
}

bool CharacterMovementManager::AlreadyThere(const WorldVec3&, const WorldVec3& to) {
    const WorldVec3 at = GetPathPosition();
    return at == to || DistanceSquared(at, to) < 0.25f;
}

bool CharacterMovementManager::KnownWithoutStart(const PathFinder& finder, const WorldVec3& from,
                                                 int size) const {
    return mNoStart.finder == &finder && mNoStart.meshVersion == finder.GetMeshVersion() &&
           mNoStart.size == size && mNoStart.at.region == from.region &&
           std::memcmp(&mNoStart.at.local, &from.local, sizeof from.local) == 0;
}

std::unique_ptr<Path> CharacterMovementManager::FindPath(const WorldVec3& from,
                                                         const WorldVec3& to) {
    return Search(from, to, nullptr);
}

bool CharacterMovementManager::FindsNothing(
    PathFinder& finder, const WorldVec3& from, const WorldVec3& to, int size,
    [[maybe_unused]] const PathGenerationParams& params) const {
    if (DistanceSquared(from, to) <= 0.0001f)
        return true;
    if (!KnownWithoutStart(finder, from, size))
        return false;
#ifndef NDEBUG
    if (std::unique_ptr<Path> fresh = finder.FindPath(size, from, to, params, 30)) {
        gEngine->Log(0, "CharacterMovementManager: a place kept as off the mesh starts a path");
        std::abort();
    }
#endif
    return true;
}

void CharacterMovementManager::NoteNoPath(PathFinder& finder, const WorldVec3& from, int size,
                                          const PathGenerationParams& params) {
    if (!finder.FindsStart(size, from, params))
        mNoStart = {from, size, &finder, finder.GetMeshVersion()};
}

std::unique_ptr<Path> CharacterMovementManager::Search(const WorldVec3& from, const WorldVec3& to,
                                                       UnfinishedPathEnds* ends) {
    PathFinder& finder = World::Get().GetPathFinder();
    const int size = mCharacter->GetSize();
    // Every character searches with the same parameters, so the kept place needs only the size.
    PathGenerationParams params;
    Character::GetPathGenerationParams(params);
    if (FindsNothing(finder, from, to, size, params))
        return nullptr;
    std::unique_ptr<Path> path = ends ? finder.FindUnfinishedPath(size, from, to, params, 30, *ends)
                                      : finder.FindPath(size, from, to, params, 30);
    if (!path)
        NoteNoPath(finder, from, size, params);
    return path;
}

Path* CharacterMovementManager::SearchUnfinished(PathFinder& finder, const WorldVec3& from,
                                                 const WorldVec3& to, UnfinishedPathEnds& ends) {
    const int size = mCharacter->GetSize();
    PathGenerationParams params;
    Character::GetPathGenerationParams(params);
    if (FindsNothing(finder, from, to, size, params))
        return nullptr;
    Path* path = finder.SearchUnfinished(size, from, to, params, 30, ends);
    if (!path)
        NoteNoPath(finder, from, size, params);
    return path;
}

CharacterMovementManager::SearchState CharacterMovementManager::StateNow(
    const PathFinder& finder) const {
    const std::uint64_t closed = finder.GetClosedVersion();
    if (closed == 0)
        return {};
    return {&finder, finder.GetMeshVersion(), closed, mCharacter->GetSize()};
}

bool CharacterMovementManager::SetNewPathTarget(const WorldVec3& from, const WorldVec3& to,
                                                bool& alreadyThere) {
    alreadyThere = AlreadyThere(from, to);
    if (alreadyThere)
        return true;
    Drop(mPath);
    Drop(mLocalPath);
    mPathState = {};
    SearchState state;
    if (mCachedPath && mCachedStart == from && mCachedEnd == to) {
        mPath = std::move(mCachedPath);
        state = mCachedState;
        if (mCachedUnfinished) {
            PathGenerationParams params;
            Character::GetPathGenerationParams(params);
            World::Get().GetPathFinder().FinishPath(*mPath, params);
        }
    } else {
        state = StateNow(World::Get().GetPathFinder());
        mPath = FindPath(from, to);
    }
    if (mPath) {
        mStep = 0.0f;
        mPathTarget = to;
        if (DistanceSquared(to, GetPathPosition()) < 0.05f * 0.05f) {
            StorePathPosition(to);
            Drop(mPath);
        } else {
            StorePathPosition(from);
            mPathState = state;
            mPathStart = from;
        }
    }
    return mPath != nullptr;
}

bool CharacterMovementManager::Refused(const Path& path, const WorldVec3& from, const WorldVec3& to,
                                       float reach, float ratio) {
    return path.GetLength() == 0.0f ||
           (ratio != 0.0f && path.GetLength() / std::sqrt(DistanceSquared(from, to)) > ratio) ||
           DistanceSquared(path.GetEnd(), to) > reach;
}

bool CharacterMovementManager::RepeatTakenPath(PathFinder& finder, const WorldVec3& from,
                                               const WorldVec3& to, float reach, float ratio) {
    const bool refused = Refused(*mPath, from, to, reach, ratio);
#ifndef NDEBUG
    UnfinishedPathEnds ends;
    std::unique_ptr<Path> fresh = Search(from, to, &ends);
    bool same = fresh != nullptr;
    if (same) {
        PathGenerationParams params;
        Character::GetPathGenerationParams(params);
        finder.FinishPath(*fresh, params);
        same = fresh->GetCorners() == mPath->GetCorners() &&
               fresh->GetPolygons() == mPath->GetPolygons() &&
               fresh->GetLength() == mPath->GetLength() &&
               refused == Refused(*fresh, from, to, reach, ratio);
    }
    Drop(fresh);
    if (!same) {
        gEngine->Log(0, "CharacterMovementManager: a path taken differs from the search again");
        std::abort();
    }
#endif
    if (refused)
        return false;
    Drop(mCachedPath);
    mCachedPath = finder.Copy(*mPath);
    mCachedUnfinished = false;
    mCachedStart = from;
    mCachedEnd = to;
    mCachedState = mPathState;
    return true;
}

bool CharacterMovementManager::CanMoveTo(const WorldVec3& from, const WorldVec3& to,
                                         float endDistance, float ratio) {
    const WorldVec3 at = GetPathPosition();
    if (DistanceSquared(to, at) < 0.1f * 0.1f)
        return true;
    if (mCachedPath && mCachedStart == from && mCachedEnd == to)
        return true;
    const float reach = endDistance * endDistance;
    PathFinder& finder = World::Get().GetPathFinder();
    if (mPath && mPathState.finder && at == from && at == mPathStart && to == mPathTarget &&
        mPathState == StateNow(finder))
        return RepeatTakenPath(finder, from, to, reach, ratio);
    const SearchState state = at == from ? StateNow(finder) : SearchState{};
    UnfinishedPathEnds ends;
    ends.within = endDistance;
    // Most answers are asked again from elsewhere before their path is taken: the path stays
    // in the path finder's own storage unless it is kept.
    Path* path = SearchUnfinished(finder, at, to, ends);
    if (!path)
        return false;
    // Only a length test needs the finished corners; the end's is known.
    const bool unfinished = ratio == 0.0f && ends.moves;
    if (!unfinished) {
        PathGenerationParams params;
        Character::GetPathGenerationParams(params);
        finder.FinishPath(*path, params);
    }
    const bool refused =
        unfinished ? DistanceSquared(ends.end, to) > reach : Refused(*path, from, to, reach, ratio);
#ifndef NDEBUG
    if (unfinished)
        CheckUnfinished(*path, at, to, ends, refused, reach);
#endif
    if (refused)
        return false;
    finder.KeepUnfinished(mCachedPath);
    mCachedUnfinished = unfinished;
    mCachedStart = from;
    mCachedEnd = to;
    mCachedState = state;
    return true;
}

#ifndef NDEBUG
void CharacterMovementManager::CheckUnfinished(const Path& path, const WorldVec3& from,
                                               const WorldVec3& to, const UnfinishedPathEnds& ends,
                                               bool refused, float reach) {
    std::unique_ptr<Path> full = FindPath(from, to);
    bool same = full != nullptr;
    if (same) {
        PathGenerationParams params;
        Character::GetPathGenerationParams(params);
        Path finished = path;
        World::Get().GetPathFinder().FinishPath(finished, params);
        same = full->GetLength() != 0.0f && full->GetEnd() == ends.end &&
               refused == (DistanceSquared(full->GetEnd(), to) > reach) &&
               finished.GetCorners() == full->GetCorners() &&
               finished.GetPolygons() == full->GetPolygons() &&
               finished.GetLength() == full->GetLength();
    }
    Drop(full);
    if (!same) {
        gEngine->Log(0, "CharacterMovementManager: an unfinished path differs from the path");
        std::abort();
    }
}
#endif

WorldVec3 CharacterMovementManager::GetPointAwayFromGoal(const WorldVec3& goal, float distance) {
    if (!(distance > 0.0f))
        return goal;
    std::unique_ptr<Path> path = FindPath(GetPathPosition(), goal);
    if (!path)
        return goal;
    const WorldVec3 point = path->GetLength() <= distance
                                ? GetPathPosition()
                                : path->GetPointAtDistance(path->GetLength() - distance);
    Drop(path);
    return point;
}

bool CharacterMovementManager::Update(int ms) {
    float speed = 2.0f;
    // Only the brain's path update changes the action state in a step.
    bool moving = mCharacter->IsMoving();
    if (moving) {
        const std::uint32_t cleared = mPathsCleared;
        mCharacter->UpdatePath();
        // Stopped on the way: the move its brain makes at once starts at the next step, as it
        // does on the other machines of a network game, which hear of it when the step is over.
        if (cleared != mPathsCleared && gEngine->IsNetworkEnabled()) {
            UpdateCharacterPosition(ms, false);
            return true;
        }
        moving = mCharacter->IsMoving();
    }
    if (moving) {
        speed = CalculateSpeed();
        CreateLocalPath(ms, speed);
        if (!MoveDownPath(ms, speed))
            return false;
#ifndef NDEBUG
        if (!mCharacter->IsMoving()) {
            gEngine->Log(0, "CharacterMovementManager: a step along the path stopped the move");
            std::abort();
        }
#endif
    }
    // Most of a crowd stands where it is stored: the call would find nothing to place.
#ifdef NDEBUG
    if (!moving && StoredWhereHeld())
        return true;
    UpdateCharacterPosition(ms, moving);
#else
    const bool skipped = !moving && StoredWhereHeld();
    const WorldCoords before = mCharacter->GetCoords();
    UpdateCharacterPosition(ms, moving);
    const WorldCoords& after = mCharacter->GetCoords();
    if (skipped && (after.region != before.region ||
                    std::memcmp(&after.coords, &before.coords, sizeof before.coords) != 0)) {
        gEngine->Log(0, "CharacterMovementManager: a character skipped as placed has moved");
        std::abort();
    }
#endif
    return true;
}

bool CharacterMovementManager::StoredWhereHeld() const {
    const WorldVec3& at = mLocalPosition.IsValid() ? mLocalPosition : mPathPosition;
    const WorldCoords& now = mCharacter->GetCoords();
    return at.IsValid() && now.region == at.region &&
           std::memcmp(&now.coords.origin, &at.local, sizeof at.local) == 0;
}

float CharacterMovementManager::CalculateSpeed() {
    if (!mPath) {
        gEngine->Log(2, "Path == NULL for %s", mCharacter->GetObjectName().c_str());
        return 0.0f;
    }
    const float slowdown = Max(0.1f, mCharacter->GetPathSlowdownLength());
    float speed = mCharacter->GetMotion().Length();
    const float remaining = mPath->GetLength() - mStep;
    if (remaining < slowdown)
        speed = Max(remaining / slowdown * speed, 1.0f);
    return speed;
}

bool CharacterMovementManager::MoveDownPath(int ms, float speed) {
    mLocalPosition = WorldVec3();
    mPathState = {};
    if (!mPath)
        return false;
    mPreviousPathPosition = mPathPosition;
    mHeading = Vec3();
    mStep = static_cast<float>(ms) * 0.001f * speed;
    const float length = mPath->GetLength();
    bool going = true;
    if (length < mStep || length < 0.05f) {
        const WorldVec3 end = mPath->GetEnd();
        if (end.IsValid())
            StorePathPosition(end);
        going = false;
    } else {
        WorldVec3 position = mPathPosition;
        going = mPath->Advance(mStep, position, mHeading);
        StorePathPosition(position);
    }
    if (mLocalPath && going) {
        const float localLength = mLocalPath->GetLength();
        const float localStep = length > 0.0f ? mStep * localLength / length : mStep;
        if (localStep <= localLength && localLength >= 0.05f) {
            Vec3 localHeading;
            mLocalPath->Advance(localStep, mLocalPosition, localHeading);
        } else if (mLocalPath->GetEnd().IsValid()) {
            mLocalPosition = mPath->GetEnd();
        }
    }
    return going;
}

bool CharacterMovementManager::WasRenderedRecently() const {
    return mCharacter->IsVisible() && mCharacter->IsInWorld();
}

bool CharacterMovementManager::ShouldAvoid(Character& other, float speed, const WorldVec3& at,
                                           const Vec3& toTarget) {
    if (&other == mCharacter || !other.IsAlive())
        return false;
    if (other.GetObjectId() == mCharacter->GetCurrentAttackTargetId() ||
        other.GetCurrentAttackTargetId() == mCharacter->GetObjectId())
        return false;
#ifndef NDEBUG
    // The character at hand is the one its id finds: the shortcut below answers as NearTarget.
    if (FindCharacter(other.GetObjectId()) != &other) {
        gEngine->Log(0, "CharacterMovementManager: a neighbour is not the character its id finds");
        std::abort();
    }
#endif
    if (mCharacter->NearCharacter(other, 0.6f))
        return true;
    WorldVec3 ahead = other.GetPosition();
    if (!ahead.IsValid())
        return false;
    // A character that stands still goes nowhere, whatever clip it still plays: on a machine
    // whose news of its stop comes at the next meeting point its walk clip plays a step longer.
    const Vec3 motion = other.IsMoving() ? other.GetMotion() : Vec3();
    ahead.Translate(speed > 0.0f ? motion / speed : motion);
    const Vec3 toOther = at.VectorTo(ahead).Unit();
    return toTarget.Dot(toOther) >= kAvoidCone;
}

Character* CharacterMovementManager::Avoided(const Ahead& ahead, std::size_t index) {
    Entity* entity = (*ahead.nearby)[index];
    auto* other = entity->IsA<Character>() ? static_cast<Character*>(entity) : nullptr;
    return other && ShouldAvoid(*other, ahead.speed, ahead.at, ahead.toTarget) ? other : nullptr;
}

std::size_t CharacterMovementManager::AttachAvoided(PathFinder& finder, const Ahead& ahead,
                                                    std::size_t first, Character* known) {
    std::size_t attached = 0;
    for (std::size_t i = first; i < ahead.nearby->size(); ++i) {
        Character* other = i == first && known ? known : Avoided(ahead, i);
        if (!other)
            continue;
        DynamicObstacle& obstacle = finder.PassingObstacle(attached);
        if (!obstacle.Create(other->GetRegion(), other->GetRegionBoundingSphere()))
            continue;
        // Only this character's search runs while they stand.
        obstacle.AttachForSize(mCharacter->GetSize());
        ++attached;
    }
    return attached;
}

#ifndef NDEBUG
void CharacterMovementManager::CheckPassedWithoutObstacles(PathFinder& finder, const Ahead& ahead,
                                                           bool stands, const Path* local) {
    const WorldVec3 from = mCharacter->GetCoords().GetPosition();
    const std::size_t attached = AttachAvoided(finder, ahead, 0, nullptr);
    std::unique_ptr<Path> round = attached > 0 ? FindPath(from, mPathTarget) : nullptr;
    for (std::size_t i = attached; i-- > 0;)
        finder.PassingObstacle(i).Detach();
    const bool same = (attached > 0) == stands && (round != nullptr) == (local != nullptr) &&
                      (!round || (round->GetCorners() == local->GetCorners() &&
                                  round->GetPolygons() == local->GetPolygons() &&
                                  round->GetLength() == local->GetLength()));
    Drop(round);
    if (!same) {
        gEngine->Log(0, "CharacterMovementManager: a local path without obstacles differs");
        std::abort();
    }
}
#endif

int CharacterMovementManager::DrawLocalCountdown() {
    // The machine's draw is taken everywhere, so the deciding machine's later draws keep their
    // order. Local paths move the character on every machine, and a client's C runtime is not
    // the server's: in a network game the interval comes from the character's own sequence.
    const int draw = crt_rand();
    if (!gEngine->IsNetworkEnabled())
        return draw % 201 + 200;
    if (!mReplanSeeded) {
        mReplanDraws.Seed(mCharacter->GetObjectId());
        mReplanSeeded = true;
    }
    return mReplanDraws.Next() % 201 + 200;
}

void CharacterMovementManager::CreateLocalPath(int ms, float speed) {
    if (!WasRenderedRecently())
        return;
    const WorldCoords& coords = mCharacter->GetCoords();
    mLocalCountdown -= ms;
    if (mLocalCountdown < 1) {
        mLocalCountdown = DrawLocalCountdown();
        const float extents = mCharacter->GetExtents();
        OrientedBox ahead;
        ahead.frame = coords.coords;
        ahead.frame.origin += coords.coords.zAxis * speed;
        ahead.halfExtents = Vec3(2.0f * extents, 2.0f * extents, speed);
        const ABBox box = ABBox::FromCenter(ahead.frame.origin, ahead.GetAxisAlignedBox());
        // Kept for the thread: avoidance allocates nothing once grown.
        thread_local std::vector<Entity*> nearby;
        nearby.clear();
        World::Get().GetEntitiesInBox(nearby, coords.region, box, EntityListType::Actors);
        PathFinder& finder = World::Get().GetPathFinder();
        const WorldVec3 at = mCharacter->GetPosition();
        const Ahead avoid{&nearby, speed, at, at.VectorTo(mPathTarget).Unit()};
        std::size_t first = 0;
        Character* firstOther = nullptr;
        while (first < nearby.size() && !(firstOther = Avoided(avoid, first)))
            ++first;
        std::size_t attached = 0;
        // A search that reads no flags finds the same path round any obstacles: it runs when
        // one would stand, and none is made.
        bool stands = false;
        bool readsFlags = true;
        if (firstOther) {
            PathGenerationParams params;
            Character::GetPathGenerationParams(params);
            readsFlags =
                finder.ReadsFlags(mCharacter->GetSize(), coords.GetPosition(), mPathTarget, params);
            if (readsFlags) {
                attached = AttachAvoided(finder, avoid, first, firstOther);
            } else {
                for (std::size_t i = first; i < nearby.size() && !stands; ++i)
                    if (Character* other = i == first ? firstOther : Avoided(avoid, i))
                        stands = DynamicObstacle::Takes(other->GetRegion(),
                                                        other->GetRegionBoundingSphere());
            }
        }
        std::unique_ptr<Path> local =
            attached > 0 || stands ? FindPath(coords.GetPosition(), mPathTarget) : nullptr;
        // The last attached first: the path finder finds and drops each off its lists' backs.
        for (std::size_t i = attached; i-- > 0;)
            finder.PassingObstacle(i).Detach();
#ifndef NDEBUG
        if (!readsFlags)
            CheckPassedWithoutObstacles(finder, avoid, stands, local.get());
#endif
        if (local) {
            const bool poor =
                mPath && (local->GetLength() / mPath->GetLength() > 1.5f ||
                          DistanceSquared(local->GetStart(), coords.GetPosition()) > 0.01f ||
                          DistanceSquared(local->GetEnd(), mPathTarget) > 0.01f);
            if (!poor) {
                Drop(mLocalPath);
                mLocalPath = std::move(local);
            } else {
                Drop(local);
            }
        }
    }
    if (!mLocalPath && DistanceSquared(GetPathPosition(), coords.GetPosition()) > 0.01f) {
        mLocalCountdown = DrawLocalCountdown();
        mLocalPath = FindPath(coords.GetPosition(), mPathTarget);
    }
}

void CharacterMovementManager::UpdateCharacterPosition(int ms, bool moving) {
    if (gEngine->IsGameTimePaused() || mCharacter->IsAttached())
        return;
    const WorldVec3 at = mLocalPosition.IsValid() ? mLocalPosition : GetPathPosition();
    // Standing where it is stored, a character keeps its coordinates: PlaceAt would find the
    // very same bits. Most of a crowd stands each frame.
    if (const WorldCoords& now = mCharacter->GetCoords();
        !moving && now.region == at.region &&
        std::memcmp(&now.coords.origin, &at.local, sizeof at.local) == 0)
        return;
    WorldCoords coords = mCharacter->GetCoords();
    coords.SetPosition(at);
    if (moving && mHeading.LengthSquared() != 0.0f)
        mCharacter->RotateTowards(ms, mHeading, at);
    else
        mCharacter->PlaceAt(coords);
    if (moving && ms > 0)
        World::Get().CreateDisturbance(at, mCharacter->GetExtents(), 2.0f,
                                       mCharacter->IsA<Player>());
}

void CharacterMovementManager::UpdatePathPosition(const WorldVec3& position) {
    if (!mCharacter->IsMoving() || !(DistanceSquared(position, GetPathPosition()) > 0.25f))
        return;
    bool alreadyThere = false;
    if (!SetNewPathTarget(position, mPathTarget, alreadyThere))
        mCharacter->CharacterStopMoving();
    else if (alreadyThere)
        if (auto* controller = FindController<ControllerBaseCharacter>(*mCharacter))
            controller->EndOfPathReached();
}

void CharacterMovementManager::ClearPath() {
    ++mPathsCleared;
    mStep = 0.0f;
    mPathState = {};
    Drop(mPath);
    Drop(mLocalPath);
}

void CharacterMovementManager::Reset() {
    ClearPath();
    StorePathPosition(mCharacter->GetPosition());
    mLocalPosition = mPathPosition;
}

void CharacterMovementManager::DebugRender() {
    DebugRenderManager& debug = DebugRenderManager::Get();
    if (mPathPosition.IsValid())
        debug.RenderSphere(mPathPosition, 0.1f, Color{0.25f, 1.0f, 0.25f, 1.0f});
    if (mLocalPosition.IsValid())
        debug.RenderSphere(mLocalPosition, 0.1f, Color{0.2f, 0.2f, 1.0f, 1.0f});
    if (mPathTarget.IsValid())
        debug.RenderSphere(mPathTarget, 0.1f, Color{1.0f, 1.0f, 0.0f, 1.0f});
    if (mPath)
        mPath->DebugRender();
    if (mLocalPath)
        mLocalPath->DebugRender();
}

}  // namespace GAME
