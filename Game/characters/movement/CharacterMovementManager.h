#pragma once
// How a character follows its paths: the planned path, a short local path around the
// characters ahead of it, where it stands on them (the path position) and where they lead (the
// path target). Each frame it advances the character, turns it and places it in the world.
#include <cstdint>
#include <memory>
#include <vector>

#include "Engine/sys/RecycledBlocks.h"
#include "Engine/world/Region.h"
#include "Engine/world/nav/Path.h"
#include "Game/world/WorldRandom.h"

namespace GAME {

class Character;
class Entity;
class PathFinder;

// Read every frame: in recycled blocks, beside the other characters' (huge pages).
class CharacterMovementManager : public RecycledStorage {
public:
    explicit CharacterMovementManager(Character& character);
    ~CharacterMovementManager();
    CharacterMovementManager(const CharacterMovementManager&) = delete;
    CharacterMovementManager& operator=(const CharacterMovementManager&) = delete;

    // Plans a new path. True when a path is left to follow, and when the character is already
    // there (`alreadyThere`).
    bool SetNewPathTarget(const WorldVec3& from, const WorldVec3& to, bool& alreadyThere);
    // Whether the path position is within 0.5 of `to`.
    bool AlreadyThere(const WorldVec3& from, const WorldVec3& to);
    std::unique_ptr<Path> FindPath(const WorldVec3& from, const WorldVec3& to);
    // Whether a path from the path position ends within `endDistance` of `to` (and, with a
    // ratio, is at most that many times the straight distance); a path found is kept for the
    // next SetNewPathTarget with the same ends.
    bool CanMoveTo(const WorldVec3& from, const WorldVec3& to, float endDistance, float ratio);
    // Whether CanMoveTo from `from` (the path position) fails without a search for every goal
    // 0.1 or more away: no polygon starts a search there, as kept, and no path from there is kept.
    bool FailsWithoutSearch(const PathFinder& finder, const WorldVec3& from, int size) const {
        return KnownWithoutStart(finder, from, size) && !(mCachedPath && mCachedStart == from);
    }
    // The point `distance` short of the goal along a path to it.
    WorldVec3 GetPointAwayFromGoal(const WorldVec3& goal, float distance);

    // The frame step; false when the end of the path came.
    bool Update(int ms);
    // Takes a position another machine reports: re-plans from there when it has drifted.
    void UpdatePathPosition(const WorldVec3& position);
    void Reset();
    void ClearPath();
    void DebugRender();

    // Taken from the character's coordinates while it has no region. Crowds read it every few
    // calls, so the held answer is inline.
    WorldVec3 GetPathPosition() const {
        if (!mPathPosition.IsValid())
            TakePathPosition();
        return mPathPosition;
    }
    void SetPathPosition(const WorldVec3& position);
    void SetPathPositionNoJump(const WorldVec3& position) { StorePathPosition(position); }
    // The path position as held (invalid until set or first read).
    const WorldVec3& GetStoredPathPosition() const { return mPathPosition; }
    const WorldVec3& GetPathTarget() const { return mPathTarget; }
    Path* GetPath() const { return mPath.get(); }
    Path* GetLocalPath() const { return mLocalPath.get(); }
    const WorldVec3& GetLocalPosition() const { return mLocalPosition; }
    const Vec3& GetHeading() const { return mHeading; }
    float GetStep() const { return mStep; }

private:
    // Every change of the path position goes through here: the character's digest copies it.
    void StorePathPosition(const WorldVec3& position) const;
    // The first read: the character's position.
    void TakePathPosition() const;
    float CalculateSpeed();
    bool MoveDownPath(int ms, float speed);
    void CreateLocalPath(int ms, float speed);
    // `toTarget`: the unit vector from where the character stands (`at`) to the path target.
    bool ShouldAvoid(Character& other, float speed, const WorldVec3& at, const Vec3& toTarget);
    // What a local re-plan steps round: the characters ahead of this one.
    struct Ahead {
        const std::vector<Entity*>* nearby;
        float speed;
        WorldVec3 at;
        Vec3 toTarget;
    };
    // The character at nearby[index] when it is one to avoid, else null.
    Character* Avoided(const Ahead& ahead, std::size_t index);
    // Stands an obstacle round each character to avoid from nearby[first] on (`known`, when
    // not null, is the one there) while this character's search runs; how many stand.
    std::size_t AttachAvoided(PathFinder& finder, const Ahead& ahead, std::size_t first,
                              Character* known);
#ifndef NDEBUG
    // Aborts unless the local path found without obstacles (`stands`: whether one would stand,
    // `local` what the search found then) is the one found round them.
    void CheckPassedWithoutObstacles(PathFinder& finder, const Ahead& ahead, bool stands,
                                     const Path* local);
#endif
    // The time until the next local re-plan, 200 to 400 ms.
    int DrawLocalCountdown();
    void UpdateCharacterPosition(int ms, bool moving);
    // Whether the character is stored at the position its movement holds, read from positions
    // already held (never taken): a standing one would be placed on the very same bits.
    bool StoredWhereHeld() const;
    // A headless engine draws every visible character in the world each frame.
    bool WasRenderedRecently() const;
    // FindPath, or with `ends` the path left unfinished (PathFinder::FindUnfinishedPath).
    std::unique_ptr<Path> Search(const WorldVec3& from, const WorldVec3& to,
                                 UnfinishedPathEnds* ends);
    // The same unfinished search left in the path finder's storage (PathFinder::SearchUnfinished).
    Path* SearchUnfinished(PathFinder& finder, const WorldVec3& from, const WorldVec3& to,
                           UnfinishedPathEnds& ends);
    // Whether a search between the points finds no path without looking: the ends are one
    // place, or `from` is kept as a place without a polygon to start from.
    bool FindsNothing(PathFinder& finder, const WorldVec3& from, const WorldVec3& to, int size,
                      const PathGenerationParams& params) const;
    // After a search found no path from `from`: keeps the place when no polygon starts one there.
    void NoteNoPath(PathFinder& finder, const WorldVec3& from, int size,
                    const PathGenerationParams& params);
#ifndef NDEBUG
    // Aborts unless the path finished and its answer are the full search's.
    void CheckUnfinished(const Path& path, const WorldVec3& from, const WorldVec3& to,
                         const UnfinishedPathEnds& ends, bool refused, float reach);
#endif
    // Whether `from` is the kept place without a polygon to start from, for the same meshes.
    bool KnownWithoutStart(const PathFinder& finder, const WorldVec3& from, int size) const;

    // What a search hangs on besides its ends: the same again finds the same path.
    struct SearchState {
        const PathFinder* finder = nullptr;  // null: not known
        std::uint64_t meshVersion = 0;
        std::uint64_t closedVersion = 0;
        int size = -1;
        bool operator==(const SearchState&) const = default;
    };
    SearchState StateNow(const PathFinder& finder) const;
    // CanMoveTo's test of a path found or taken (finished).
    static bool Refused(const Path& path, const WorldVec3& from, const WorldVec3& to, float reach,
                        float ratio);
    // CanMoveTo along the path just taken, not yet walked, for the same ends and state: kept
    // again as the search would keep it.
    bool RepeatTakenPath(PathFinder& finder, const WorldVec3& from, const WorldVec3& to,
                         float reach, float ratio);

    Character* mCharacter;
    std::unique_ptr<Path> mPath;
    float mStep = 0.0f;
    mutable WorldVec3 mPathPosition;
    Vec3 mHeading;
    WorldVec3 mPathTarget;
    WorldVec3 mPreviousPathPosition;
    std::unique_ptr<Path> mLocalPath;
    WorldVec3 mLocalPosition;
    int mLocalCountdown = 0;
    // A network game's re-plan intervals: the same sequence for this character on every machine.
    CrtGenerator mReplanDraws;
    bool mReplanSeeded = false;
    // Counts ClearPath: Update sees a stop made while it runs.
    std::uint32_t mPathsCleared = 0;
    // The last place a search of this character found no polygon to start from: a character
    // standing off the mesh asks from there for every slot and roaming point it weighs.
    struct NoStart {
        WorldVec3 at;
        int size = -1;
        const PathFinder* finder = nullptr;
        std::uint64_t meshVersion = 0;
    };
    NoStart mNoStart;
    std::unique_ptr<Path> mCachedPath;
    // Most kept paths are never taken: they are finished when taken.
    bool mCachedUnfinished = false;
    WorldVec3 mCachedStart;
    WorldVec3 mCachedEnd;
    SearchState mCachedState;  // known when searched from mCachedStart
    // mPath's search, from mPathStart to mPathTarget, while it is not walked: a brain that took
    // a kept path asks the same again in its frame.
    SearchState mPathState;
    WorldVec3 mPathStart;
};

}  // namespace GAME
