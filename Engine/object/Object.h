#pragma once
// The engine's object model: Object (id, record name, class record), Entity (a placed thing:
// coordinates, region, visibility, attachments, update and saved state) and Actor.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Engine/object/RTTI.h"
#include "Engine/object/UniqueId.h"
#include "Engine/sys/RecycledBlocks.h"
#include "Engine/text/Name.h"
#include "Engine/text/RecordText.h"
#include "Engine/world/Region.h"

namespace GAME {

class LoadTable;
class BinaryWriter;
class BinaryReader;
class ActorConfigCommand;
class AnimationChannels;
class GraphicsAnim;
class GraphicsMeshInstance;
class SkeletalPose;
struct CollisionData;
struct WorldRay;
struct WorldIntersection;
struct MinimapGameNugget;

// In recycled blocks: a crowd made together lies together, in huge pages.
class Object : public RecycledStorage {
    RTTI_DECLARE_ROOT(Object)
public:
    Object();
    virtual ~Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    std::uint32_t GetObjectId() const { return mObjectId; }
    void SetObjectId(std::uint32_t id) { mObjectId = id; }
    // The record the object was made from (its object name).
    const std::string& GetObjectName() const { return mObjectName; }
    void SetObjectName(const std::string& name);
    std::uint32_t GetObjectNameHash() const { return mObjectNameHash; }

    bool IsA(const RTTI_ClassInfo& info) const { return GetClassInfo().IsA(info); }
    template <class T>
    bool IsA() const {
        return GetClassInfo().IsA(T::classInfo);
    }

    // Overrides call the base first.
    virtual void Load(const LoadTable& table);
    virtual void PreLoad(bool now);

private:
    std::uint32_t mObjectId = 0;
    std::uint32_t mObjectNameHash = 0;
    // The record the object was made from: every object of one record holds one copy.
    RecordText mObjectName;
};

class Entity : public Object {
    RTTI_DECLARE(Entity)
public:
    Entity();
    ~Entity() override;

    const WorldCoords& GetCoords() const { return mCoords; }
    virtual void SetCoords(const WorldCoords& coords);
    WorldVec3 GetPosition() const { return mCoords.GetPosition(); }
    Region* GetRegion() const { return mCoords.region; }

    // Placed by World::AddEntity and not removed since.
    bool IsInWorld() const { return mWorldSlot != kNotInWorld; }
    // The sphere around the position that the world's queries test.
    virtual float GetBoundingRadius() const { return mBoundingRadius; }
    // The world's queries keep a copy: it is told.
    void SetBoundingRadius(float radius);
    // How far above its position the centre of the sphere that rays meet sits: a body whose
    // position is at its feet (a character) is met at its chest, not at the ground.
    float GetRayLift() const { return mRayLift; }
    void SetRayLift(float lift);
    // A ray against this entity (region space); the default meets the bounding sphere. Fills
    // `hit` only when nearer than what it holds.
    virtual bool GetIntersection(const WorldRay& ray, WorldIntersection& hit, int surface);

    bool IsVisible() const { return mVisible; }
    virtual void SetVisibility(bool visible) { mVisible = visible; }
    float GetScale() const { return mScale; }
    void SetScale(float scale) { mScale = scale; }

    const UniqueId& GetUniqueId() const { return mUniqueId; }
    void SetUniqueId(const UniqueId& id) { mUniqueId = id; }

    // Attachments: a child follows its parent at a named attach point.
    void Attach(Entity* child, const Coords& offset, const char* attachPoint);
    void Detach(Entity* child);
    std::uint32_t GetAttachParentId() const { return mAttachParent; }
    const Name& GetAttachPoint() const { return mAttachPoint; }
    const Coords& GetAttachOffset() const { return mAttachOffset; }
    // Moves an attached entity about its attach point (nothing for one not attached).
    void SetAttachOffset(const Coords& offset);
    const std::vector<std::uint32_t>& GetAttachedChildren() const { return mAttachedChildren; }
    bool IsAttached() const { return mAttachParent != 0; }

    // Inside the view the renderer loads ahead (GraphicsEngine); never without one.
    bool InRenderPreLoadFrustum() const;

    // The physics touched the entity (a ragdoll coming to rest lands on the floor, a flying
    // body meets the ground or an entity it may collide with).
    virtual void CollisionCallback(const CollisionData&) {}
    // Whether this entity, flying, stops at `other` (Engine/media/physics/PhysicsBodies.cpp).
    virtual bool CanCollide(const Entity&) const { return false; }
    // Whether it keeps path finding out of where it lies.
    virtual bool OccludesPathing() const { return false; }
    // The physics moves it (physics type 2, not at rest, not taken out of the simulation).
    bool IsSimulationEnabled() const;

    // Frame operations; overrides call the base first.
    virtual void InitialUpdate();
    bool HasDoneInitialUpdate() const { return mInitialUpdateDone; }
    // Whether a server tells a joining client about this entity; placed scenery does not go.
    virtual bool ShouldServerSpawn() const { return false; }
    // Made on every machine by a command that every machine runs (a skill's spawn), rather than
    // sent by the server: each machine holds its own copy under the same id.
    void SetOwnedByClient(bool owned) { mOwnedByClient = owned; }
    bool IsOwnedByClient() const { return mOwnedByClient; }
    virtual void UpdateSelf(int elapsedMs);
    virtual void SaveState(BinaryWriter& writer);
    virtual void RestoreState(BinaryReader& reader);

private:
    friend class World;
    static constexpr std::uint32_t kNotInWorld = 0xFFFFFFFFu;
    // Sets the coordinates and refiles the entity in the world when it stands there.
    void StoreCoords(const WorldCoords& coords);

    WorldCoords mCoords;
    std::uint32_t mWorldSlot = kNotInWorld;
    float mBoundingRadius = 0.5f;
    float mRayLift = 0.0f;
    bool mVisible = true;
    bool mInitialUpdateDone = false;
    bool mOwnedByClient = false;
    float mScale = 1.0f;
    UniqueId mUniqueId;
    std::uint32_t mAttachParent = 0;
    Name mAttachPoint;
    Coords mAttachOffset;
    std::vector<std::uint32_t> mAttachedChildren;
};

class Actor : public Entity {
    RTTI_DECLARE(Actor)
public:
    Actor();
    ~Actor() override;

    // Takes the command: in a networked game sends its packet so that every other machine runs
    // it, then runs it here. Always true; a null command is ignored.
    bool Enqueue(std::unique_ptr<ActorConfigCommand> command);

    // Animation channels (Engine/anim/ActorAnimationOps.cpp); AnimationSystem advances them.
    void PlayAnimation(int channel, GraphicsAnim* anim, bool loop, float speed, int blendMs);
    void SetAnimationSpeedMultiplier(int channel, float multiplier);
    void StopAnimations();
    // Each event of a running clip, "End" at the end of each pass; overrides call the base.
    virtual void AnimationCallback(int channel, const Name& event);
    // The clip on a channel (a finished one stays) and the frame it shows.
    GraphicsAnim* GetChannelAnimation(int channel) const;
    int GetChannelFrame(int channel) const;
    // An empty pose gives the animated pose back.
    void SetPose(const SkeletalPose& pose);
    // Corrects each animated pose before anyone reads it (explicit poses are left alone).
    virtual void TweakPose(SkeletalPose&) const {}
    // Whether TweakPose would change a pose now; an override of TweakPose that may leave poses
    // alone says when (false lets a pose's bounds come from the clip's frame).
    virtual bool TweaksPose() const { return true; }
    // The entries the actor adds to the detail map; none by default.
    virtual void AppendDetailMapData(std::vector<MinimapGameNugget>&) const {}
    const SkeletalPose& GetPose() const;
    // The actor's coordinates at a named point of its skeleton (its own for an unknown point).
    WorldCoords GetAttachedCoords(const Name& attachPoint) const;
    WorldCoords GetAttachedCoords(const char* attachPoint) const;
    // A ragdoll needs bones to hang its bodies on.
    bool HasRigidBodyData() const;
    // The velocity (units per second, region space) at which the clip on channel 0 carries the
    // actor: its root bones' displacement over a pass, at the channel's speed, turned with the
    // actor. Zero while channel 0 plays nothing.
    Vec3 GetMotion() const;
    // The box around the bones of the current pose, in the actor's own space, and its centre.
    void GetPoseBounds(Vec3& min, Vec3& max) const;
    Vec3 GetCenterOfMass() const;
    AnimationChannels& GetAnimationChannels() { return *mAnimation; }
    const AnimationChannels& GetAnimationChannels() const { return *mAnimation; }

    // Looks (Engine/media/graphics/ActorGraphicsOps.cpp): recorded on the mesh instance, never
    // drawn.
    GraphicsMeshInstance& GetMeshInstance() { return *mMesh; }
    const GraphicsMeshInstance& GetMeshInstance() const { return *mMesh; }
    void SetMesh(const std::string& mesh);
    void RestoreMesh();
    void SetBaseTexture(const std::string& texture);
    void SetBumpTexture(const std::string& texture);
    void SetTintColor(const Color& color);
    Color GetTintColor() const;
    void SetOutlineColor(const Color& color);
    bool GetIsDissolved() const;
    // From now on the actor makes none of the attachments its mesh names (a corpse restored
    // from a save). Headless meshes name none; the switch is kept for who asks.
    void DisableCreateAttachements() { mCreateAttachementsDisabled = true; }
    bool IsCreateAttachementsDisabled() const { return mCreateAttachementsDisabled; }

private:
    std::unique_ptr<AnimationChannels> mAnimation;
    std::unique_ptr<GraphicsMeshInstance> mMesh;
    bool mCreateAttachementsDisabled = false;
};

}  // namespace GAME
