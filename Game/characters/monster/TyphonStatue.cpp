#include "Game/characters/monster/TyphonStatue.h"

#include <vector>

#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Engine/world/WorldShapes.h"
#include "Game/ai/bosses/typhon/ControllerTyphon.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/characters/monster/Typhon.h"

namespace GAME {

RTTI_IMPLEMENT(TyphonStatue, Monster)

TyphonStatue::~TyphonStatue() {
    mBurstEffect.SetParent(0);
    if (Object* sound =
            mBurstSound ? Singleton<ObjectManager>::Get().GetObject(mBurstSound) : nullptr)
        Singleton<ObjectManager>::Get().DestroyObjectEx(sound, "Game/TyphonStatue", __LINE__);
}

void TyphonStatue::Load(const LoadTable& table) {
    Monster::Load(table);
    mGodIndex = GetGodIndexFromName(table.GetString("skillGodName"));
    mBurstEffect.LoadFromDatabase(table.GetString("frameBurstEffect"));
    mBurstEffect.SetParent(GetObjectId());
    const std::string sound = table.GetString("burstSound");
    if (!sound.empty() && mBurstSound == 0)
        if (auto* pak = Singleton<ObjectManager>::Get().CreateObjectFromFile<SoundPak>(sound))
            mBurstSound = pak->GetObjectId();
}

void TyphonStatue::PreLoad(bool now) {
    Monster::PreLoad(now);
    mBurstEffect.PreLoad();
}

void TyphonStatue::InitialUpdate() {
    Monster::InitialUpdate();
    Team team;
    team.Set(Team::Hostile, 0);
    SetTeam(team);
    mBurstEffect.InitializeFxPak();
}

void TyphonStatue::CharacterIsDying() {
    Monster::CharacterIsDying();
    thread_local std::vector<Entity*> found;
    found.clear();
    const WorldVec3 at = GetPathPosition();
    World::Get().GetEntitiesInSphere(found, at.region, Sphere{at.local, kTyphonReach});
    for (Entity* entity : found) {
        if (auto* typhon = dynamic_cast<Typhon*>(entity)) {
            typhon->RemoveGodSkills(mGodIndex);
            return;
        }
    }
}

void TyphonStatue::UnderAttack(std::uint32_t attacker) {
    Character::UnderAttack(attacker);
    auto* typhon = Singleton<ObjectManager>::Get().GetObject<Typhon>(attacker);
    if (!typhon)
        return;
    // The attacks change where the boss is decided; the light and the burst show everywhere.
    if (auto* controller = FindController<ControllerTyphon>(*typhon))
        controller->ApplyGodSpecialAttacks(mGodIndex);
    typhon->EnableSkillEffect(mGodIndex);
    mBurstEffect.Enable(false);
    mBurstEffect.Enable(true);
    if (auto* sound = mBurstSound ? Singleton<ObjectManager>::Get().GetObject<SoundPak>(mBurstSound)
                                  : nullptr)
        sound->Play(GetPosition());
}

}  // namespace GAME
