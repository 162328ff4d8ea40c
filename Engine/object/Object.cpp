#include "Engine/object/Object.h"

#include <algorithm>
#include <memory>

#include "Engine/Engine.h"
#include "Engine/anim/AnimationChannels.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/media/graphics/GraphicsMeshInstance.h"
#include "Engine/net/ActorConfigCommand.h"
#include "Engine/net/CommandsHereOnly.h"
#include "Engine/net/FrameStrikes.h"
#include "Engine/net/NetPacket.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/text/Crc32.h"
#include "Engine/world/World.h"

namespace GAME {

RTTI_IMPLEMENT_RECORD_(Object, nullptr, &Object::RTTI_new)
void* Object::RTTI_new() {
    return new (std::nothrow) Object();
}
RTTI_IMPLEMENT(Entity, Object)
RTTI_IMPLEMENT(Actor, Entity)

Object::Object() = default;
Object::~Object() = default;

void Object::SetObjectName(const std::string& name) {
    mObjectName = name;
    mObjectNameHash = Crc32(name);
}

void Object::Load(const LoadTable&) {}
void Object::PreLoad(bool) {}

Entity::Entity() = default;

Entity::~Entity() {
    // The world forgets an entity that dies while standing in it.
    if (IsInWorld())
        if (World* world = Machine::Current().Find<World>())
            world->RemoveEntity(this);
    // Children left attached lose their parent rather than point at a dead one.
    ObjectManager& manager = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : mAttachedChildren)
        if (auto* child = manager.GetObject<Entity>(id))
            child->mAttachParent = 0;
    if (mAttachParent)
        if (auto* parent = manager.GetObject<Entity>(mAttachParent))
            std::erase(parent->mAttachedChildren, GetObjectId());
}

void Entity::SetCoords(const WorldCoords& coords) {
    StoreCoords(coords);
}

void Entity::StoreCoords(const WorldCoords& coords) {
    mCoords = coords;
    if (IsInWorld())
        World::Get().OnEntityMoved(this);
}

bool Entity::InRenderPreLoadFrustum() const {
    return GraphicsEngine::Get().InRenderPreLoadFrustum(*this);
}

void Entity::SetBoundingRadius(float radius) {
    mBoundingRadius = radius;
    if (IsInWorld())
        World::Get().OnEntityResized(this);
}

void Entity::SetRayLift(float lift) {
    mRayLift = lift;
    if (IsInWorld())
        World::Get().OnEntityResized(this);
}

bool Entity::GetIntersection(const WorldRay& ray, WorldIntersection& hit, int) {
    if (!IsInWorld() || !ray.region)
        return false;
    const Vec3 center =
        GetPosition().GetWorldPosition() - ray.region->GetOffset() + Vec3(0.0f, GetRayLift(), 0.0f);
    const float t = RaySphere(ray.origin, ray.direction, center, GetBoundingRadius(), hit.distance);
    if (t == kInfinity || t >= hit.distance)
        return false;
    hit.distance = t;
    hit.point = ray.PointAt(t);
    hit.surface = PhysicsSurface::None;
    hit.entityId = GetObjectId();
    return true;
}

void Entity::Attach(Entity* child, const Coords& offset, const char* attachPoint) {
    if (!child || child == this)
        return;
    if (child->mAttachParent) {
        if (auto* old = Singleton<ObjectManager>::Get().GetObject<Entity>(child->mAttachParent))
            old->Detach(child);
    }
    child->mAttachParent = GetObjectId();
    child->mAttachPoint = Name::Create(attachPoint ? attachPoint : "");
    child->mAttachOffset = offset;
    child->StoreCoords(WorldCoords(mCoords.region, mCoords.coords * offset));
    mAttachedChildren.push_back(child->GetObjectId());
}

void Entity::SetAttachOffset(const Coords& offset) {
    if (!mAttachParent)
        return;
    mAttachOffset = offset;
    if (auto* parent = Singleton<ObjectManager>::Get().GetObject<Entity>(mAttachParent))
        StoreCoords(WorldCoords(parent->mCoords.region, parent->mCoords.coords * offset));
}

void Entity::Detach(Entity* child) {
    if (!child || child->mAttachParent != GetObjectId())
        return;
    std::erase(mAttachedChildren, child->GetObjectId());
    child->mAttachParent = 0;
    child->mAttachPoint = Name();
}

void Entity::InitialUpdate() {
    mInitialUpdateDone = true;
}

void Entity::UpdateSelf(int) {
    // Attached children follow their parent.
    if (mAttachedChildren.empty())
        return;
    ObjectManager& manager = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : mAttachedChildren)
        if (auto* child = manager.GetObject<Entity>(id))
            child->StoreCoords(WorldCoords(mCoords.region, mCoords.coords * child->mAttachOffset));
}

void Entity::SaveState(BinaryWriter& writer) {
    writer.WriteBool(mVisible);
}

void Entity::RestoreState(BinaryReader& reader) {
    bool visible = mVisible;
    if (reader.ReadBool(visible))
        mVisible = visible;
}

Actor::Actor()
    : mAnimation(std::make_unique<AnimationChannels>(
          this,
          [](void* self, int channel, const Name& event) {
              static_cast<Actor*>(self)->AnimationCallback(channel, event);
          },
          [](const void* self, SkeletalPose& pose) {
              static_cast<const Actor*>(self)->TweakPose(pose);
          },
          [](const void* self) { return static_cast<const Actor*>(self)->TweaksPose(); })),
      mMesh(std::make_unique<GraphicsMeshInstance>(*this)) {}
Actor::~Actor() = default;

bool Actor::Enqueue(std::unique_ptr<ActorConfigCommand> owned) {
    if (!owned)
        return true;
    // The packet is taken before Execute: a command may change its own fields while it runs.
    if (gEngine->IsNetworkEnabled() && !CommandsHereOnly::IsActive() &&
        (!ActorConfigCommand::IsExecuting() || owned->DecidedByOneMachine())) {
        std::unique_ptr<NetPacket> packet = owned->GetNetPacket();
        if (packet)
            gEngine->GetNetworkConnectionManager()->SendPacket(packet.get());
        // The server's answer runs it here.
        if (packet && owned->IsRequest() && gEngine->IsClient())
            return true;
    }
    if (FrameStrikes::Holds(*owned))
        FrameStrikes::Get().Hold(std::move(owned));
    else
        owned->RunExecute();
    return true;
}

}  // namespace GAME
