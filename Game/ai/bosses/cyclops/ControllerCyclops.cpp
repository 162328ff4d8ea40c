#include "Game/ai/bosses/cyclops/ControllerCyclops.h"

#include <cctype>
#include <memory>

#include "Engine/media/sound/Jukebox.h"
#include "Engine/records/LoadTable.h"
#include "Game/ai/bosses/cyclops/CyclopsStates.h"
#include "Game/ai/monster/states/DeathStates.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/commands/CharacterCommands.h"
#include "Game/core/players/Team.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerCyclops, ControllerMonster)

namespace {

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

ControllerCyclops::ControllerCyclops()
    : mScriptPointListener("GameEvent_ScriptPoint", "ControllerCyclops") {
    mScriptPointListener.SetOwner(this, &ControllerCyclops::OnScriptPoint);
    // Its own sight sweep gives no anger (ProcessAngerTarget).
    mSightAngerIsDefault = false;
}

ControllerCyclops::~ControllerCyclops() = default;

void ControllerCyclops::Load(const LoadTable& table) {
    ControllerMonster::Load(table);
    mPostRoarMusic = table.GetString("postRoarMusic", "");
}

void ControllerCyclops::InitialUpdate() {
    ControllerMonster::InitialUpdate();
    // Only the deciding machine has this controller: the team change travels as a command.
    if (Character* boss = GetParentCharacter())
        boss->Enqueue(
            std::make_unique<SetTeamConfigCmd>(GetParentId(), TeamManager::BuildTeam(3, 1)));
}

void ControllerCyclops::RegisterStates() {
    AddState<ControllerMonsterStateStartup>("Startup", this);
    AddState<ControllerCyclopsStateIdle>("Idle", this);
    AddState<ControllerCyclopsStateBullRun>("BullRun", this);
    AddState<ControllerMonsterStateAttack>("Attack", this);
    AddState<ControllerMonsterStatePursue>("Pursue", this);
    AddState<ControllerCyclopsStateReturn>("Return", this);
    AddState<ControllerCyclopsStateScriptedMove>("ScriptedMove", this);
    AddState<ControllerMonsterStateDying>("Dying", this);
    AddState<ControllerMonsterStateDead>("Dead", this);
}

void ControllerCyclops::RegisterTemporaryStates() {
    ControllerMonster::RegisterTemporaryStates();
    AddTemporaryState<ControllerCyclopsStateRoar>("Roar", this);
}

void ControllerCyclops::OnScriptPoint(const GameEvent_ScriptPoint& event) {
    const Character* boss = GetParentCharacter();
    if (boss && SameNameIgnoringCase(event.targetName, boss->GetObjectName()))
        mScriptPoints[event.index] = event.coords;
}

bool ControllerCyclops::GetScriptPoint(int index, WorldCoords& out) const {
    const auto it = mScriptPoints.find(index);
    if (it == mScriptPoints.end())
        return false;
    out = it->second;
    return true;
}

void ControllerCyclops::PlayBossMusic() const {
    if (mPostRoarMusic.empty() || !gGameEngine)
        return;
    if (Jukebox* jukebox = gGameEngine->GetJukebox()) {
        jukebox->FadeOutMusic(5000);
        jukebox->PlayEventMusic(mPostRoarMusic, false);
    }
}

}  // namespace GAME
