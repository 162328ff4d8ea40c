// Character's movement operations: where to stand to reach a target, starting and stopping a
// run or a walk, following the path each frame, turning, teleporting, and the attack and
// defense slots around the character.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "Engine/Engine.h"
#include "Engine/anim/SkeletalPose.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Engine/world/nav/Path.h"
#include "Engine/world/nav/PathFinder.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/characters/Player.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/anim/AnimationSet.h"
#include "Game/characters/movement/CharacterMovementManager.h"
#include "Game/characters/movement/SightDigest.h"
#include "Game/characters/movement/SlotManager.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/Skill.h"
#include "Game/world/fixeditems/FixedItem.h"
#include "Game/world/strategic/StrategicMovementBase.h"

namespace GAME {

namespace {

// Plays the run or walk of the current stance. A character without any set (one made without a
// record) has nothing to play, as one whose set lacks the clip: it stays standing.
bool PlayMovementAnimation(Character& character, AnimationSet_Type type, float speed,
                           unsigned count) {
    AnimationSet* set = character.GetAnimationSet();
    return set && set->PlayAnimation(character, type, Name(), speed, true, count);
}

// The range of a skill and whether it needs an attack slot; false when there is no skill.
bool ReadSkill(const Skill* skill, float& range, bool& needsSlot) {
    range = 0.0f;
    needsSlot = false;
    if (!skill)
        return false;
    range = skill->GetRange();
    needsSlot = skill->NeedsAttackSlot();
    return true;
}

bool LookUpSkill(std::uint32_t skillId, float& range, bool& needsSlot) {
    return ReadSkill(
        skillId != 0 ? Singleton<ObjectManager>::Get().GetObject<Skill>(skillId) : nullptr, range,
        needsSlot);
}

// The foe around which the mover takes an attack slot to use its current skill, as
// GetMoveToPoint asks for one; null when it takes none.
Character* AttackSlotOwner(Character& mover, std::uint32_t& skillId) {
    std::uint32_t targetId = 0;
    WorldVec3 position;
    mover.GetCurrentAttackTarget(targetId, position, skillId);
    Character* target = FindCharacter(targetId);
    float range = 0.0f;
    bool needsSlot = false;
    if (!target || target == &mover || mover.IsA<Player>() ||
        mover.GetTeam().IsFriend(target->GetTeam()) || !LookUpSkill(skillId, range, needsSlot) ||
        !needsSlot)
        return nullptr;
    return target;
}

// The friend around which the mover takes a defense slot, as GetMoveToPoint asks for one on a
// run; null when it takes none.
Character* DefenseSlotOwner(Character& mover) {
    std::uint32_t targetId = 0, skillId = 0;
    WorldVec3 position;
    mover.GetCurrentAttackTarget(targetId, position, skillId);
    Character* target = FindCharacter(targetId);
    if (!target || target == &mover || !mover.GetTeam().IsFriend(target->GetTeam()))
        return nullptr;
    return target;
}

float DefenseSlotRadius(const Character& owner, const Character& defender) {
    return owner.GetExtents() + defender.GetExtents() + 2.0f;
}

// GetMoveToPoint once the target and the skill are found (the object filed under its id, not
// the mover; the skill filed under skillId).
WorldVec3 MoveToPointOf(Character& self, Object* object, [[maybe_unused]] std::uint32_t skillId,
                        const Skill* skill, const WorldVec3& targetPosition, bool holdSlot) {
    float range = 0.0f;
    bool needsSlot = false;
    const bool hasSkill = ReadSkill(skill, range, needsSlot);
    WorldVec3 goal;
    float reach = 0.0f;
    if (object && object->IsA<Character>()) {
        auto& target = static_cast<Character&>(*object);
        const float extents = self.GetExtents() + target.GetExtents();
        if (self.GetTeam().IsFriend(target.GetTeam())) {
            WorldVec3 point;
            if (self.GetActionState() == Character_ActionState::Walk) {
                point = target.GetPosition();
                point.Translate(point.VectorTo(self.GetPosition()).Unit() * (extents + 1.0f));
                return self.CanMoveTo(point, 0.5f) ? point : WorldVec3();
            }
            target.RequestDefenseSlot(point, self.GetObjectId(), false, holdSlot);
            return point;
        }
        if (hasSkill && needsSlot && !self.IsA<Player>()) {
            // RequestAttackSlot's radius, GetTargetDistance summed in its order from what is at
            // hand: both are filed under their ids.
            const float radius = range + target.GetExtents() + self.GetExtents();
#ifndef NDEBUG
            if (!(radius == Character::GetTargetDistance(target.GetObjectId(), self.GetObjectId(),
                                                         skillId))) {
                gEngine->Log(0, "GetMoveToPoint: the attack slot radius at hand differs");
                std::abort();
            }
#endif
            WorldVec3 point;
            target.GetAttackSlots().RequestSlot(point, self, radius, false, holdSlot);
            return point;
        }
        goal = target.GetPathPosition();
        reach = hasSkill ? range + extents : extents;
    } else if (object && object->IsA<FixedItem>()) {
        return static_cast<FixedItem&>(*object).GetMoveToPoint(self.GetObjectId());
    } else if (object && object->IsA<StrategicMovementBase>()) {
        return static_cast<StrategicMovementBase&>(*object).GetMoveToPoint(self.GetObjectId());
    } else if (object && object->IsA<Entity>()) {
        // Any other entity is reached at the edge of its bounding sphere.
        const auto& entity = static_cast<Entity&>(*object);
        goal = entity.GetPosition();
        reach = entity.GetBoundingRadius() + self.GetExtents();
    } else {
        goal = targetPosition;
        reach = hasSkill ? range : 0.0f;
    }

    const WorldVec3 candidate = self.GetMovementManager().GetPointAwayFromGoal(goal, reach);
    if (candidate.IsValid() && self.CanMoveTo(candidate, 0.5f))
        return candidate;
    WorldVec3 from = self.GetPathPosition();
    if (!from.IsValid() || !goal.IsValid())
        return WorldVec3();
    const Vec3 toGoal = from.VectorTo(goal);
    const float distance = toGoal.Length() - reach;
    if (!from.TranslateToFloor(toGoal.Unit() * distance))
        return WorldVec3();
    return from;
}

// The axis-aligned rotation of a vector about +y by `angle`, turning +z towards +x.
Vec3 RotateAboutY(const Vec3& v, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return Vec3(v.x * c + v.z * s, v.y, v.z * c - v.x * s);
}

}  // namespace

void Character::SetExtentsLarge() {
    mPathingSize = CharacterPathingSize::Large;
    SetBoundingRadius(GetBoundingRadius() + 1.0f);
}

void Character::SetExtentsSmall() {
    mPathingSize = CharacterPathingSize::Small;
    SetBoundingRadius(GetBoundingRadius() - 1.0f);
}

float Character::GetPathSlowdownLength() const {
    return gGameEngine ? gGameEngine->GetPathSlowdownLength() : 0.0f;
}

void Character::GetPathGenerationParams(PathGenerationParams& params) {
    params.cornerMergeDistance = 0.1f;
    params.searchHorizontal = 0.4f;
    params.searchVertical = 0.5f;
    params.areaCost = 1.0f;
    params.goalOffset = Vec3(0.0f, 0.0f, 0.0f);
}

Sphere Character::GetRegionBoundingSphere() const {
    Vec3 min, max;
    GetPoseBounds(min, max);
    // The centre of mass is the middle of the same box.
    return Sphere{GetCoords().coords.origin + (min + max) * 0.5f, (max.y - min.y) * 0.5f};
}

WorldVec3 Character::GetPathPosition() const {
    return mMovement->GetPathPosition();
}

void Character::RefreshDigest() const {
    if (!IsInWorld())
        return;
    World& world = World::Get();
    const std::uint32_t slot = world.GetSlotOf(this);
    if (slot == World::kNoSlot)
        return;
    EntityDigest* digest = &world.GetDigest(slot);
    using namespace SightDigest;
    // Qualified: in a unity batch another file's flag may share the name.
    std::uint32_t flags = SightDigest::kWritten | SightDigest::kCharacter;
    if (IsAlive())
        flags |= SightDigest::kAlive;
    if (CausesAnger())
        flags |= SightDigest::kCausesAnger;
    const WorldVec3& path = mMovement->GetStoredPathPosition();
    if (path.IsValid())
        flags |= kOwnPathPosition;
    // A player's team reads the party's faction, which changes without the player knowing.
    if (IsA<Player>())
        flags |= kTeamFromCharacter;
    const Team team = GetOwnTeam();
    digest->gameFlags = flags;
    digest->SetGamePosition(path);
    digest->gameWords[0] = team.GetTeamMajor();
    digest->gameWords[1] = team.GetTeamMinor();
    digest->gameScale = mAngerMultiplier;
    world.CommitGamePart(slot);
}

Path* Character::GetPath() {
    return mMovement->GetPath();
}

void Character::UpdatePathPosition(const WorldVec3& position) {
    mMovement->UpdatePathPosition(position);
}

WorldVec3 Character::GetPathTarget() const {
    return GetActionState() == Character_ActionState::Move ? mMovement->GetPathTarget()
                                                           : WorldVec3();
}

void Character::SetPathPosition(const WorldVec3& position) {
    WorldCoords coords = GetCoords();
    coords.SetPosition(position);
    World::Get().SetCoords(this, coords);
    mMovement->SetPathPosition(position);
}

void Character::SetPathPositionNotCoords(const WorldVec3& position) {
    mMovement->SetPathPositionNoJump(position);
}

void Character::ResetMovementManager() {
    mMovement->Reset();
}

bool Character::CanMoveTo(const WorldVec3& point, float distance) {
    return mMovement->CanMoveTo(GetPathPosition(), point, distance, 0.0f);
}

bool Character::AlreadyThere(const WorldVec3& point) {
    return mMovement->AlreadyThere(GetPathPosition(), point);
}

WorldVec3 Character::GetFurthestMoveToPoint(const WorldVec3& point) {
    return World::Get().GetPathFinder().GetFurthestPoint(GetSize(), GetPathPosition(), point);
}

WorldCoords Character::GetFootCoords(bool left) const {
    WorldCoords coords = GetCoords();
    Coords bone;
    if (GetPose().GetAbsCoords(Name::Create(left ? "Bone_L_Foot" : "Bone_R_Foot"), bone))
        coords.coords.origin = coords.coords.TransformPoint(bone.origin);
    return coords;
}

void Character::SetPointOfInterest(const Vec3& point) {
    mPointOfInterest = point;
    mHasPointOfInterest = true;
}

void Character::RotateTowardsTarget(bool rotate) {
    if (!mDisallowRotation)
        mRotateTowardsTarget = rotate;
}

void Character::GoIdle() {
    if (auto* controller = FindController<ControllerAI>(*this))
        controller->GoToIdleState();
}

bool Character::CanWalk() const {
    return mAnimationSet && mAnimationSet->DoesAnimationExist(AnimationSet_Type::Walk);
}

void Character::MoveTo(const WorldVec3& target, float) {
    if (!target.IsValid() || !IsAlive())
        return;
    // The sender chose the target as the slot this copy holds around its foe, or around the
    // friend it guards.
    std::uint32_t skillId = 0;
    if (FollowsSentSlots(*this)) {
        if (Character* foe = AttackSlotOwner(*this, skillId))
            foe->GetAttackSlots().HoldSlotAt(
                target, GetObjectId(),
                GetTargetDistance(foe->GetObjectId(), GetObjectId(), skillId));
        else if (Character* guarded = DefenseSlotOwner(*this))
            guarded->GetDefenseSlots().HoldSlotAt(target, GetObjectId(),
                                                  DefenseSlotRadius(*guarded, *this));
    }
    bool alreadyThere = false;
    if (!mMovement->SetNewPathTarget(GetPathPosition(), target, alreadyThere) || alreadyThere)
        return;
    if (GetActionState() == Character_ActionState::Move)
        return;
    SetActionState(Character_ActionState::Move);
    if (!PlayMovementAnimation(*this, AnimationSet_Type::Run, GetRunSpeed(), 0)) {
        mMovement->Reset();
        SetActionState(Character_ActionState::ForcedStop);
    }
}

void Character::WalkTo(const WorldVec3& target, float) {
    if (!target.IsValid() || GetLifeState() == Character_LifeState::Dead)
        return;
    bool alreadyThere = false;
    if (!mMovement->SetNewPathTarget(GetPathPosition(), target, alreadyThere))
        return;
    if (alreadyThere)
        if (auto* controller = FindController<ControllerBaseCharacter>(*this))
            controller->EndOfPathReached();
    if (GetActionState() == Character_ActionState::Walk)
        return;
    SetActionState(Character_ActionState::Walk);
    if (!PlayMovementAnimation(*this, AnimationSet_Type::Walk, 1.0f, 1))
        CharacterStopMoving();
}

void Character::CharacterStopMoving() {
    if (IsMoving()) {
        mActionHandler->Stop();
        mMovement->ClearPath();
        SetActionState(Character_ActionState::ForcedStop);
    }
    if (auto* controller = FindController<ControllerBaseCharacter>(*this))
        controller->EndOfPathReached();
}

void Character::CharacterStop() {
    mActionHandler->Stop();
    mMovement->Reset();
    SetActionState(Character_ActionState::ForcedStop);
}

void Character::FollowPath(int ms) {
    if (!mMovement->Update(ms))
        CharacterStopMoving();
}

Character* Character::FindAttackTarget() {
    return mAttackTargetId != 0
               ? Singleton<ObjectManager>::Get().GetObject(mAttackTargetId, mAttackTarget)
               : nullptr;
}

void Character::UpdatePath() {
    Character* target = FindAttackTarget();
    if (!target)
        return;
    const WorldVec3 point =
        mAttackTargetId == GetObjectId()
            ? GetPathPosition()
            : MoveToPointOf(*this, target, mAttackSkillId, mSkillManager->FindKept(mAttackSkillId),
                            target->GetPathPosition(), true);
    const WorldVec3 at = GetPathPosition();
    if (point.IsValid() && !(point == at)) {
        const float distance = at.DistanceTo(point);
        if (mMovement->GetPathTarget().IsValid() &&
            mMovement->GetPathTarget().DistanceTo(point) <= 0.05f * distance)
            return;
        bool alreadyThere = false;
        if (mMovement->SetNewPathTarget(at, point, alreadyThere))
            return;
    }
    CharacterStopMoving();
}

WorldVec3 Character::GetMoveToPoint(std::uint32_t targetId, std::uint32_t skillId,
                                    const WorldVec3& targetPosition, bool holdSlot) {
    if (targetId == GetObjectId())
        return GetPathPosition();
    Object* object = targetId != 0 ? Singleton<ObjectManager>::Get().GetObject(targetId) : nullptr;
    return MoveToPointOf(*this, object, skillId, mSkillManager->FindKept(skillId), targetPosition,
                         holdSlot);
}

void Character::RotateTowards(int ms, const Vec3& direction, const WorldVec3& position) {
    WorldCoords coords = GetCoords();
    coords.SetPosition(position);
    const Vec3 flat(direction.x, 0.0f, direction.z);
    if (direction.Length() >= 0.2f && !mDisallowRotation && flat.Length() != 0.0f) {
        const Vec3 to = flat.Unit();
        const Vec3 facing = coords.coords.zAxis;
        const float c = Clamp(facing.Dot(to), -1.0f, 1.0f);
        const float min = GetMinRotationSpeed();
        const float max = GetMaxRotationSpeed();
        const float speed = max + (min - max) * (c + 1.0f) * 0.5f;
        const float step = speed * static_cast<float>(ms) * 0.001f;
        // acos(1) is exactly 0: a character facing its way skips the call.
        if ((c == 1.0f ? 0.0f : std::acos(c)) < step) {
            coords.coords = Coords::FromDirection(coords.coords.origin, to, Vec3(0, 1, 0));
        } else {
            const float angle = facing.Cross(to).y >= 0.0f ? step : -step;
            Coords& frame = coords.coords;
            frame.xAxis = RotateAboutY(frame.xAxis, angle);
            frame.yAxis = RotateAboutY(frame.yAxis, angle);
            frame.zAxis = RotateAboutY(frame.zAxis, angle);
        }
    }
    PlaceAt(coords);
}

void Character::PlaceAt(const WorldCoords& coords) {
    // A character that stands facing its way already stores the very same bits: nothing moved.
    static_assert(sizeof(Coords) == 12 * sizeof(float));
    const WorldCoords& now = GetCoords();
    if (coords.region == now.region &&
        std::memcmp(&coords.coords, &now.coords, sizeof(Coords)) == 0)
        return;
    World::Get().SetCoords(this, coords);
}

void Character::RotateTowardsAttackTarget(int ms) {
    WorldVec3 target;
    if (const Character* character = FindAttackTarget())
        target = character->GetPosition();
    else if (mAttackTargetPosition.IsValid())
        target = mAttackTargetPosition;
    if (target.IsValid() && mRotateTowardsTarget)
        RotateTowards(ms, GetPosition().VectorTo(target), GetPosition());
}

void Character::TeleportToLocation(const WorldCoords& coords) {
    if (auto* controller = FindController<ControllerCharacter>(*this)) {
        controller->Teleport(coords);
        return;
    }
    CharacterStopMoving();
    WorldCoords placed = coords;
    WorldVec3 origin = placed.GetPosition();
    if (origin.PutOnFloor())
        placed.SetPosition(origin);
    World::Get().SetCoords(this, placed);
    mMovement->Reset();
}

void Character::RequestAttackSlot(WorldVec3& out, std::uint32_t attackerId, std::uint32_t skillId,
                                  bool hold) {
    const float radius = GetTargetDistance(GetObjectId(), attackerId, skillId);
    mAttackSlots->RequestSlot(out, attackerId, radius, false, hold);
}

void Character::RequestDefenseSlot(WorldVec3& out, std::uint32_t defenderId, bool acceptUnchecked,
                                   bool hold) {
    const Character* defender = FindCharacter(defenderId);
    if (!defender)
        return;
    mDefenseSlots->RequestSlot(out, defenderId, DefenseSlotRadius(*this, *defender),
                               acceptUnchecked, hold);
}

void Character::ReleaseAttackSlot(std::uint32_t id) {
    mAttackSlots->ReleaseSlot(id);
}

void Character::ReleaseDefenseSlot(std::uint32_t id) {
    mDefenseSlots->ReleaseSlot(id);
}

void Character::LostSlot() {
    // The server's controller asks again around its foe, and may find another slot.
    std::uint32_t skillId = 0;
    if (FollowsSentSlots(*this)) {
        if (Character* foe = AttackSlotOwner(*this, skillId)) {
            WorldVec3 point;
            foe->RequestAttackSlot(point, GetObjectId(), skillId);
        }
        return;
    }
    if (auto* controller = FindController<ControllerBaseCharacter>(*this))
        controller->LostSlot();
}

}  // namespace GAME
