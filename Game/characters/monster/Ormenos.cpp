#include "Game/characters/monster/Ormenos.h"

#include <memory>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/world/World.h"
#include "Engine/world/WorldShapes.h"
#include "Game/ai/bosses/ormenos/ControllerOrmenos.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/core/net/commands/ItemCommands.h"
#include "Game/items/equipment/EquipLocations.h"
#include "Game/items/equipment/EquipManager.h"
#include "Game/world/projectiles/ProjectileTelekinesis.h"

namespace GAME {

RTTI_IMPLEMENT(Ormenos, Monster)

void Ormenos::Load(const LoadTable& table) {
    Monster::Load(table);
    mSickleExplosion = table.GetString("sickleExplosion");
}

void Ormenos::SaveState(BinaryWriter& writer) {
    Monster::SaveState(writer);
    writer.WriteUInt32(mSickleGone ? 1u : 0u);
}

void Ormenos::RestoreState(BinaryReader& reader) {
    Monster::RestoreState(reader);
    std::uint32_t gone = 0;
    if (!reader.ReadUInt32(gone)) {
        gEngine->Log(1, "Ormenos: saved state of %s (%u) has no sickle word; the sickle is kept",
                     GetObjectName().c_str(), GetObjectId());
        return;
    }
    if (gone != 0)
        UnequipAndExplodeSickle(false);
}

void Ormenos::UnequipAndExplodeSickle(bool explode) {
    const EquipManager& equipment = GetEquipManager();
    std::uint32_t sickle = equipment.GetItemId(EquipLocation_RightHand);
    if (sickle == 0)
        sickle = equipment.GetItemId(EquipLocation_LeftHand);
    // What the boss wears is the controlling machine's to change; the others hear it from there.
    if (sickle != 0 && IsControllingCharacter()) {
        Enqueue(std::make_unique<DetachItemConfigCmd>(GetObjectId(), sickle));
        Enqueue(std::make_unique<RemoveInventoryItemConfigCmd>(GetObjectId(), sickle));
    }
    if (explode && !mSickleExplosion.empty()) {
        if (auto* blast =
                Singleton<ObjectManager>::Get().CreateObjectFromFile<Entity>(mSickleExplosion)) {
            const WorldCoords& at = GetCoords();
            World::Get().AddEntity(
                blast, WorldCoords(at.region, Coords::FromOrigin(at.coords.origin)), true);
        }
    }
    if (auto* controller = FindController<ControllerOrmenos>(*this))
        controller->GoToIdleState();
    mSickleGone = true;
}

void Ormenos::CharacterIsDying() {
    Monster::CharacterIsDying();
    thread_local std::vector<Entity*> found;
    found.clear();
    const WorldVec3 at = GetPosition();
    World::Get().GetEntitiesInSphere(found, at.region, Sphere{at.local, kProjectileReach});
    for (Entity* entity : found) {
        auto* projectile = dynamic_cast<ProjectileTelekinesis*>(entity);
        if (projectile && projectile->IsIdle())
            projectile->Explode(false);
    }
}

}  // namespace GAME
