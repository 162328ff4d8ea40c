#include "Game/world/strategic/StrategicMovementKinds.h"

#include <memory>

#include "Engine/Engine.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameEvents.h"
#include "Game/core/players/Bonus.h"

namespace GAME {

RTTI_IMPLEMENT(StrategicMovementMarker, StrategicMovementBase)
RTTI_IMPLEMENT(StrategicMovementRespawnShrine, StrategicMovementBase)
RTTI_IMPLEMENT(StrategicMovementTeleportShrine, StrategicMovementBase)

namespace {
constexpr int kRespawnMapKind = 4;
constexpr int kTeleportMapKind = 3;
constexpr unsigned int kTeleportTutorialPage = 9;
constexpr const char* kHealEffect = "Records/Effects/Storm/343_SpellBreaker_FX.dbr";

// Whom a respawn shrine heals. A fallen character is healed no more: life put into a corpse
// would regenerate on the machine that controls it and not on the others. One whose life is not
// up yet (a player before its first frame) has nothing to add to.
bool IsUpAndAlive(const Character& character) {
    return character.IsAlive() && character.GetCurrentLife() > 0.0f;
}

StrategicMovementBaseState KnownOrDormant(bool known) {
    return known ? StrategicMovementState_Active : StrategicMovementState_Dormant;
}
}  // namespace

// --- StrategicMovementMarker ---

StrategicMovementMarker::StrategicMovementMarker() {
    SetRequiresMapData(false);
}

StrategicMovementBaseState StrategicMovementMarker::DetermineStateFromPlayer() const {
    const Player* player = LocalPlayer();
    return player ? KnownOrDormant(player->IsMarkerUIDKnown(GetUniqueId()))
                  : StrategicMovementState_Undetermined;
}

bool StrategicMovementMarker::InstallOnPlayerProximity(Player& player) {
    player.AddMarkerUID(GetUniqueId());
    return true;
}

// --- StrategicMovementRespawnShrine ---

void StrategicMovementRespawnShrine::Load(const LoadTable& table) {
    StrategicMovementBase::Load(table);
    mHealthAbsolute = table.GetFloat("healthAbsolute");
    mHealthPercent = table.GetFloat("healthPercent");
}

StrategicMovementBaseState StrategicMovementRespawnShrine::DetermineStateFromPlayer() const {
    const Player* player = LocalPlayer();
    return player ? KnownOrDormant(player->IsCurrentRespawnPoint(GetUniqueId()))
                  : StrategicMovementState_Undetermined;
}

bool StrategicMovementRespawnShrine::InstallOnPlayerProximity(Player& player) {
    if (player.IsRespawnUIDKnown(GetUniqueId()))
        return false;
    player.AddRespawnUID(GetUniqueId());
    return true;
}

void StrategicMovementRespawnShrine::RequestToUse(unsigned int user) {
    // A use runs on every machine: each binds the user, so a respawn comes back here on all.
    auto* player = Singleton<ObjectManager>::Get().GetObject<Player>(user);
    if (!player || player->IsCurrentRespawnPoint(GetUniqueId()))
        return;
    player->AddRespawnUID(GetUniqueId());
    if (player->IsControllingCharacter())
        SetState(StrategicMovementState_Active, false);
}

void StrategicMovementRespawnShrine::AppendDetailMapData(
    std::vector<MinimapGameNugget>& out) const {
    AppendMapEntry(out, kRespawnMapKind);
}

void StrategicMovementRespawnShrine::UpdateSelf(int elapsedMs) {
    StrategicMovementBase::UpdateSelf(elapsedMs);
    Update(elapsedMs);
}

void StrategicMovementRespawnShrine::Update(int) {
    // The engine has already updated the entity this frame (it calls UpdateSelf); only the
    // deciding machine heals.
    if (gEngine->IsEditor() || !gGameEngine || !gGameEngine->IsServerOrSingle() || !IsInWorld())
        return;
    mHealTimer -= GetElapsedMs();
    if (mHealTimer >= 1)
        return;
    mHealTimer = kHealPeriodMs;
    if (mHealthPercent <= 0.0f && mHealthAbsolute <= 0.0f)
        return;
    mNearby.clear();
    World::Get().GetEntitiesInSphere(mNearby, GetRegion(),
                                     Sphere{GetCoords().coords.origin, GetBindDistance()},
                                     EntityListType::Actors);
    std::vector<unsigned int> targets;
    for (const Entity* entity : mNearby)
        if (entity->IsA<Character>() && IsUpAndAlive(static_cast<const Character&>(*entity)))
            targets.push_back(entity->GetObjectId());
    if (!targets.empty())
        Enqueue(
            std::make_unique<StrategicMovementTargetConfigCmd>(GetObjectId(), std::move(targets)));
}

void StrategicMovementRespawnShrine::HandleTargets(const std::vector<unsigned int>& targets) {
    Bonus bonus;
    bonus.lifePoints = mHealthAbsolute;
    bonus.lifePercent = mHealthPercent;
    bonus.effectName = kHealEffect;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const unsigned int id : targets)
        if (Character* character = objects.GetObject<Character>(id);
            character && IsUpAndAlive(*character))
            character->TakeBonus(bonus, true, 0);
}

// --- StrategicMovementTeleportShrine ---

StrategicMovementBaseState StrategicMovementTeleportShrine::DetermineStateFromPlayer() const {
    const Player* player = LocalPlayer();
    return player ? KnownOrDormant(player->IsTeleportUIDKnown(GetUniqueId()))
                  : StrategicMovementState_Undetermined;
}

bool StrategicMovementTeleportShrine::InstallOnPlayerProximity(Player& player) {
    player.AddTeleportUID(GetUniqueId());
    if (gGameEngine && player.IsControllingCharacter())
        gGameEngine->UnlockTutorialPage(kTeleportTutorialPage, true);
    return true;
}

void StrategicMovementTeleportShrine::RequestToUse(unsigned int user) {
    if (!gGameEngine || user == 0 || user != gGameEngine->GetPlayerId() ||
        !Singleton<ObjectManager>::Get().GetObject<Player>(user))
        return;
    GameEvent_ActivateTeleportMenu event;
    event.objectId = GetObjectId();
    SendGameEvent(event, "ActivateTeleportMenu");
}

WorldVec3 StrategicMovementTeleportShrine::GetMoveToPoint(unsigned int) const {
    WorldVec3 point = GetPosition();
    point.PutOnFloor();
    return point;
}

void StrategicMovementTeleportShrine::AppendDetailMapData(
    std::vector<MinimapGameNugget>& out) const {
    AppendMapEntry(out, kTeleportMapKind);
}

}  // namespace GAME
