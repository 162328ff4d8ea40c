#pragma once
// A character's particle and mesh effects, addressed by the effects' object ids. The manager
// holds ids only: copies (which share the same effects) and effects destroyed elsewhere are
// harmless, a lookup of a gone effect simply finds nothing.
#include <cstdint>
#include <map>
#include <string>

namespace GAME {

class Actor;

class PFxManager {
public:
    PFxManager() = default;
    PFxManager(const PFxManager&) = default;
    PFxManager& operator=(const PFxManager&) = default;
    // Destroys every recorded effect that is not attached (attached ones go with the actor).
    virtual ~PFxManager();

    void AttachActor(Actor* actor) { mActor = actor; }
    Actor* GetActor() const { return mActor; }

    // 0 for an empty name or an effect that cannot be made; the effect waits, detached.
    std::uint32_t AddParticleEffect(const std::string& record, const std::string& attachPoint);
    void StartParticleEffect(std::uint32_t id);
    void StopParticleEffect(std::uint32_t id);
    // Stops it; Update destroys it once its particles are gone. Sets `id` to 0.
    void RemoveParticleEffect(std::uint32_t& id);

    // 0 for an empty name or a failed creation; attaches at the mesh's own attach point.
    std::uint32_t AddMeshEffect(const std::string& record);
    void StartMeshEffect(std::uint32_t id);
    void StopMeshEffect(std::uint32_t id);
    // Destroys it at once. Sets `id` to 0.
    void RemoveMeshEffect(std::uint32_t& id);

    // An effect that runs once on the actor and deletes itself; nothing is recorded.
    void OneShotParticleEffect(const std::string& record, const std::string& attachPoint);

    void Update(int elapsedMs);

    struct ParticleSlot {
        std::string attachPoint;
        bool attached = false;
        bool emitting = false;
        bool removed = false;
    };
    struct MeshSlot {
        std::string attachPoint;
        bool attached = false;
    };
    const std::map<std::uint32_t, ParticleSlot>& GetParticleSlots() const { return mParticles; }
    const std::map<std::uint32_t, MeshSlot>& GetMeshSlots() const { return mMeshes; }

private:
    Actor* mActor = nullptr;
    std::map<std::uint32_t, ParticleSlot> mParticles;
    std::map<std::uint32_t, MeshSlot> mMeshes;
};

}  // namespace GAME
