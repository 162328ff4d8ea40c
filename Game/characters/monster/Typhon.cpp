#include "Game/characters/monster/Typhon.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Game/ai/bosses/typhon/ControllerTyphon.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/characters/Player.h"
#include "Game/core/ActivityManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameUIInterface.h"
#include "Game/core/activities/EndGameActivity.h"
#include "Game/world/effects/FxPak.h"

namespace GAME {

RTTI_IMPLEMENT(Typhon, Monster)

namespace {

constexpr const char* kTransferKeys[kTyphonGodCount] = {
    "ZeusTransferSkillName", "DemeterTransferSkillName", "HadesTransferSkillName",
    "ApolloTransferSkillName"};
constexpr const char* kEffectKeys[kTyphonGodCount] = {"zeusSkillEffect", "demeterSkillEffect",
                                                      "hadesSkillEffect", "apolloSkillEffect"};
// The base keys of the five special attack slots, before "SkillName", "Timeout", ...
constexpr const char* kTyphonSlotKeys[ControllerMonster::kSpecialAttackCount] = {
    "SpecialAttack", "SpecialAttack2", "SpecialAttack3", "SpecialAttack4", "SpecialAttack5"};

}  // namespace

int GetGodIndexFromName(const std::string& name) {
    for (int god = 0; god < kTyphonGodCount; ++god)
        if (name == ControllerTyphon::GetGodName(god))
            return god;
    return 0;
}

Typhon::~Typhon() {
    for (CharFxPak& pack : mGodEffects)
        pack.SetParent(0);
}

ControllerTyphon* Typhon::GetTyphonController() const {
    return FindController<ControllerTyphon>(*this);
}

void Typhon::Load(const LoadTable& table) {
    Monster::Load(table);
    mDeathVortex = table.GetString("deathVortex");
    mWisps = table.GetString("wisps");
    mGodRays = table.GetString("godRays");
    // The god blocks and transfer skills serve the deciding controller only; the effects are
    // shown on every machine (and make the same objects everywhere, so ids stay in step).
    if (ControllerTyphon* controller = GetTyphonController()) {
        LoadGodBlocks(table, *controller);
        for (int god = 0; god < kTyphonGodCount; ++god) {
            const std::string name = table.GetString(kTransferKeys[god]);
            if (const std::uint32_t id = name.empty() ? 0 : GetSkillManager().FindSkillId(name))
                controller->SetTransferSkill(god, id);
        }
    }
    for (int god = 0; god < kTyphonGodCount; ++god) {
        CharFxPak& pack = mGodEffects[static_cast<std::size_t>(god)];
        pack.LoadFromDatabase(table.GetString(kEffectKeys[god]));
        pack.SetParent(GetObjectId());
    }
}

void Typhon::LoadGodBlocks(const LoadTable& table, ControllerTyphon& controller) {
    for (int god = 0; god < kTyphonGodCount; ++god) {
        const std::string prefix = ControllerTyphon::GetGodName(god);
        for (std::size_t slot = 0; slot < ControllerMonster::kSpecialAttackCount; ++slot) {
            const std::string base = prefix + kTyphonSlotKeys[slot];
            const std::string name = table.GetString((base + "SkillName").c_str());
            const std::uint32_t id = name.empty() ? 0 : GetSkillManager().FindSkillId(name);
            // A slot whose skill the boss does not have stays empty.
            if (id == 0)
                continue;
            ControllerTyphon::GodAttack block;
            block.skillId = id;
            block.timeout = static_cast<int>(table.GetFloat((base + "Timeout").c_str(), 0.0f));
            block.delay = static_cast<int>(table.GetFloat((base + "Delay").c_str(), 0.0f));
            block.chance = static_cast<int>(table.GetFloat((base + "Chance").c_str(), 0.0f));
            block.range = ControllerMonster::GetSkillRangeFromString(
                table.GetString((base + "Range").c_str()));
            controller.SetGodSpecialAttack(god, slot, block);
        }
    }
}

void Typhon::PreLoad(bool now) {
    Monster::PreLoad(now);
    for (CharFxPak& pack : mGodEffects)
        pack.PreLoad();
}

void Typhon::InitialUpdate() {
    Monster::InitialUpdate();
    // The packs ask their character for their effects once it stands in the world.
    for (CharFxPak& pack : mGodEffects)
        if (pack.GetParent() != 0)
            pack.InitializeFxPak();
}

void Typhon::EnableSkillEffect(int god) {
    if (ControllerTyphon::IsGod(god))
        mGodEffects[static_cast<std::size_t>(god)].Enable(true);
}

void Typhon::DisableSkillEffects() {
    for (CharFxPak& pack : mGodEffects)
        pack.Enable(false);
}

void Typhon::RemoveGodSkills(int god) {
    if (ControllerTyphon* controller = GetTyphonController())
        controller->RemoveGodSkills(god);
}

void Typhon::ImDying() {
    Character::ImDying();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const WorldCoords& at = GetCoords();
    const WorldCoords unrotated(at.region, Coords::FromOrigin(at.coords.origin));
    for (const std::string* record : {&mDeathVortex, &mWisps, &mGodRays}) {
        if (record->empty())
            continue;
        if (auto* effect = objects.CreateObjectFromFile<FxPak>(*record))
            World::Get().AddEntity(effect, unrotated, true);
    }
    if (!gGameEngine)
        return;
    if (GameUIInterface* ui = gGameEngine->GetUI())
        ui->OnBossDeath();
    if (ActivityManager* activities = ActivityManager::Get())
        activities->InstallActivity(new EndGameActivity());
    gGameEngine->AutoSave();
    RecordCompletedDifficulty();
}

void Typhon::RecordCompletedDifficulty() {
    Player* player = gGameEngine->GetMainPlayer();
    if (!player)
        return;
    int difficulty = gGameEngine->GetGameDifficulty();
    if (difficulty < static_cast<int>(player->GetGreatestDifficultyCompleted()))
        return;
    if (difficulty != GameDifficulty_Legendary) {
        ++difficulty;
        gGameEngine->SetPlayerUnlockedLevel(true);
    }
    player->SetGreatestDifficultyCompleted(static_cast<std::uint32_t>(difficulty));
    gGameEngine->SaveGame(static_cast<GameDifficulty>(difficulty));
}

}  // namespace GAME
