#include "Game/ai/controllers/player/ControllerPlayer.h"

#include <memory>

#include "Engine/Engine.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/Math.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/player/ControllerPlayerDisabledStates.h"
#include "Game/ai/controllers/player/ControllerPlayerMoveStates.h"
#include "Game/ai/controllers/player/ControllerPlayerStates.h"
#include "Game/characters/Player.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/monster/Monster.h"
#include "Game/characters/npc/Npc.h"
#include "Game/core/ActivityManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/activities/RespawnActivity.h"
#include "Game/core/net/commands/CharacterCommands.h"
#include "Game/core/players/Team.h"
#include "Game/items/hotslots/PlayerHotSlotCtrl.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"
#include "Game/skills/manager/SkillManager.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerPlayer, ControllerAI)

ControllerPlayer::ControllerPlayer() : mInventoryCtrl(std::make_unique<PlayerInventoryCtrl>()) {
    mInventoryCtrl->SetController(this);
}
ControllerPlayer::~ControllerPlayer() = default;

Player* ControllerPlayer::GetPlayer() const {
    return Singleton<ObjectManager>::Get().GetObject<Player>(GetParentId());
}

void ControllerPlayer::Load(const LoadTable& table) {
    ControllerAI::Load(table);
    mDeathDelay = SecondsToMilliseconds(table.GetFloat("controllerDeathDelay", 0.0f));
}

void ControllerPlayer::PostParentAttached() {
    GetEquipmentCtrl().SetParent(GetPlayer());
    mInventoryCtrl->SetParent(GetPlayer());
}

void ControllerPlayer::Update(int ms) {
    ControllerAI::Update(ms);
    mInventoryCtrl->Update(ms);
}

std::unique_ptr<PlayerInventoryCtrl> ControllerPlayer::TakeInventoryCtrl() {
    auto bag = std::move(mInventoryCtrl);
    mInventoryCtrl = std::make_unique<PlayerInventoryCtrl>();
    mInventoryCtrl->SetController(this);
    mInventoryCtrl->SetParent(GetPlayer());
    return bag;
}

void ControllerPlayer::AdoptInventoryCtrl(std::unique_ptr<PlayerInventoryCtrl> bag) {
    if (!bag)
        return;
    mInventoryCtrl = std::move(bag);
    mInventoryCtrl->SetController(this);
    mInventoryCtrl->SetParent(GetPlayer());
}

namespace {

template <class State>
constexpr ControllerAIStateKind MakeState = AIStateKindOf<State, ControllerPlayer>();

struct StateEntry {
    AIStateKey key;
    ControllerAIStateKind kind;
};

// In the order of registration; "Dead" is a second dying state.
const StateEntry kStates[] = {
    {"Startup", MakeState<ControllerPlayerStateStartup>},
    {"Idle", MakeState<ControllerPlayerStateIdle>},
    {"LongIdle", MakeState<ControllerPlayerStateLongIdle>},
    {"MoveTo", MakeState<ControllerPlayerStateMoveTo>},
    {"MoveToNpc", MakeState<ControllerPlayerStateMoveToNpc>},
    {"TalkToNpc", MakeState<ControllerPlayerStateTalkToNpc>},
    {"MoveToItem", MakeState<ControllerPlayerStateMoveToItem>},
    {"PickupItem", MakeState<ControllerPlayerStatePickupItem>},
    {"MoveToFixedItem", MakeState<ControllerPlayerStateMoveToFixedItem>},
    {"UseFixedItem", MakeState<ControllerPlayerStateUseFixedItem>},
    {"MoveToUseSkill", MakeState<ControllerPlayerStateMoveToUseSkill>},
    {"UseSkill", MakeState<ControllerPlayerStateUseSkill>},
    {"MoveToStrategicMovement", MakeState<ControllerPlayerStateMoveToStrategicMovement>},
    {"DoStrategicMovement", MakeState<ControllerPlayerStateDoStrategicMovement>},
    {"Dying", MakeState<ControllerPlayerStateDying>},
    {"Dead", MakeState<ControllerPlayerStateDying>},
    {"Immobilized", MakeState<ControllerPlayerStateImmobilized>},
    {"Stunned", MakeState<ControllerPlayerStateStunned>},
    {"Trapped", MakeState<ControllerPlayerStateTrapped>},
    {"UseSkillWhileTrapped", MakeState<ControllerPlayerStateUseSkillWhileTrapped>},
    {"Respawning", MakeState<ControllerPlayerStateRespawning>},
};

}  // namespace

void ControllerPlayer::RegisterStates() {
    for (const StateEntry& entry : kStates)
        AddState(entry.key, entry.kind);
}

void ControllerPlayer::InitializeStates() {
    const Player* player = GetPlayer();
    SetState(player && player->IsAlive() ? AIStateId::Startup : AIStateId::Dead,
             ControllerAIStateData());
}

ControllerPlayerState* ControllerPlayer::GetPlayerState() const {
    // Null before the first update, while the pre-start state runs.
    return dynamic_cast<ControllerPlayerState*>(GetExecutingState());
}

// Mouse and hot-slot commands.

bool ControllerPlayer::HandleActionFromMouse(bool primary, bool inPlace, bool second, bool repeat,
                                             const WorldVec3& point, std::uint32_t& target) {
    const Character* character = GetParentCharacter();
    if (!character)
        return false;
    if (!character->IsAlive() || character->IsTeleporting()) {
        mMouseRepeatTarget = 0;
        target = 0;
        return false;
    }
    mCommandRepeated = repeat;
    WorldVec3 working = point;
    if (repeat && mMouseRepeatTarget != 0) {
        const Character* repeated =
            Singleton<ObjectManager>::Get().GetObject<Character>(mMouseRepeatTarget);
        if (repeated && !repeated->IsAlive()) {
            mMouseRepeatTarget = 0;
            target = 0;
            return false;
        }
        target = mMouseRepeatTarget;
        mCombatEnemy = mMouseRepeatTarget;
        mCombatAlly = mMouseRepeatTarget;
        working = mMouseRepeatPoint;
    }
    if (!repeat) {
        mMouseRepeatTarget = 0;
        mMouseRepeatPoint = WorldVec3();
    }
    ControllerPlayerState* state = GetPlayerState();
    if (!state)
        return false;
    if (state->ActivateSuperSkill(inPlace, second, working, target))
        return true;
    return primary ? state->SelectPrimaryAction(inPlace, second, working, target)
                   : state->SelectSecondaryAction(inPlace, second, working, target);
}

bool ControllerPlayer::SendSkillAction(Character*, bool inPlace, bool second, std::uint32_t skillId,
                                       const WorldVec3& point, std::uint32_t& target) {
    ControllerPlayerState* state = GetPlayerState();
    return state && state->RequestSkillAction(inPlace, second, skillId, point, target);
}

HotSlotOption* ControllerPlayer::GetPrimarySlotOption() const {
    Player* player = GetPlayer();
    return player ? player->GetPlayerHotSlotCtrl().GetActiveSlotOption(true) : nullptr;
}

HotSlotOption* ControllerPlayer::GetSecondarySlotOption() const {
    Player* player = GetPlayer();
    return player ? player->GetPlayerHotSlotCtrl().GetActiveSlotOption(false) : nullptr;
}

bool ControllerPlayer::UseItem(std::uint32_t itemId, bool flag) {
    ControllerPlayerState* state = GetPlayerState();
    return state && state->RequestUseItem(itemId, flag);
}

bool ControllerPlayer::ReleasePet(std::uint32_t petId) {
    ControllerPlayerState* state = GetPlayerState();
    return state && state->RequestReleasePet(petId);
}

bool ControllerPlayer::UseRelic(std::uint32_t relicId, std::uint32_t itemId) {
    ControllerPlayerState* state = GetPlayerState();
    return state && state->RequestUseRelic(relicId, itemId);
}

bool ControllerPlayer::HandlePetAction(Character& player, bool, bool, const WorldVec3& point,
                                       std::uint32_t& target) {
    if (mPet == 0 || target == mPet)
        return false;
    // A selection serves one command.
    const std::uint32_t petId = mPet;
    mPet = 0;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    Monster* pet = objects.GetObject<Monster>(petId);
    if (!pet || pet->GetMasterId() != player.GetObjectId())
        return false;
    if (SoundPak* sound = pet->GetPetAttackSound())
        sound->Play(pet->GetPosition());
    // The orders go on the player (its machine may command it); the pet obeys its leader only.
    const TeamManager* teams = gGameEngine ? gGameEngine->GetTeamManager() : nullptr;
    if (objects.GetObject<Monster>(target) && teams && teams->IsFoe(player.GetObjectId(), target)) {
        player.Enqueue(
            std::make_unique<RequestAllyAttackConfigCmd>(petId, player.GetObjectId(), target));
        return true;
    }
    player.Enqueue(std::make_unique<RequestAllyMoveConfigCmd>(petId, player.GetObjectId(), point));
    return true;
}

bool ControllerPlayer::GiveItemToPlayer(std::uint32_t itemId) {
    if (itemId == 0)
        return false;
    if (GetEquipmentCtrl().AutoInsertItem(itemId))
        return true;
    return mInventoryCtrl->AddItem(itemId, true);
}

void ControllerPlayer::ClearTarget() {
    SetState("Idle", ControllerAIStateData());
    mCombatEnemy = 0;
    mMouseRepeatTarget = 0;
    mTargetPoint = WorldVec3();
    mMouseRepeatPoint = WorldVec3();
}

unsigned ControllerPlayer::CheckAction(CharacterActionType type) {
    Character* character = GetParentCharacter();
    if (!character)
        return Deny;
    const CharacterActionHandler& handler = character->GetActionHandler();
    if (!handler.IsActive())
        return Allow;
    return gGameEngine->CheckPlayerAction(static_cast<unsigned>(type),
                                          static_cast<unsigned>(handler.GetActionType()));
}

void ControllerPlayer::FaceTarget(std::uint32_t id) {
    Character* self = GetParentCharacter();
    const Character* other = Singleton<ObjectManager>::Get().GetObject<Character>(id);
    if (!self || !other || self == other)
        return;
    WorldCoords coords = self->GetCoords();
    const Vec3 from = coords.GetWorldCoords().origin;
    Vec3 to = other->GetCoords().GetWorldCoords().origin;
    // Looking level: no lean toward a target above or below.
    to.y = from.y;
    const Vec3 origin = coords.coords.origin;
    coords.coords = Coords::LookAt(from, to, Vec3(0.0f, 1.0f, 0.0f));
    coords.coords.origin = origin;
    World::Get().SetCoords(self, coords);
}

void ControllerPlayer::ChatWithNPC(std::uint32_t npcId) {
    Npc* npc = npcId != 0 ? Singleton<ObjectManager>::Get().GetObject<Npc>(npcId) : nullptr;
    if (npc)
        npc->Converse(GetParentId());
}

void ControllerPlayer::BestowToken(const TriggerToken& token) {
    if (Player* player = GetPlayer())
        player->BestowToken(token);
}

void ControllerPlayer::RemoveToken(const TriggerToken& token) {
    if (Player* player = GetPlayer())
        player->RemoveToken(token);
}

// Life cycle.

void ControllerPlayer::BeginStun() {
    GetExecutingState()->BeginStun();
}
void ControllerPlayer::EndStun() {
    GetExecutingState()->EndStun();
}
void ControllerPlayer::BeginImmobilize() {
    GetExecutingState()->BeginImmobilize();
}
void ControllerPlayer::EndImmobilize() {
    GetExecutingState()->EndImmobilize();
}
void ControllerPlayer::BeginTrap() {
    GetExecutingState()->BeginTrap();
}
void ControllerPlayer::EndTrap() {
    GetExecutingState()->EndTrap();
}

void ControllerPlayer::CharacterIsDying() {
    ControllerAI::CharacterIsDying();
    SetState("Dying", ControllerAIStateData());
}

void ControllerPlayer::CharacterIsDead() {
    ControllerAI::CharacterIsDead();
    gGameEngine->DestroyFixedItemTeleport(gGameEngine->GetPlayerId());
}

void ControllerPlayer::DeathUpdate(int ms) {
    const Character* character = GetParentCharacter();
    if (!character || character->GetLifeState() != Character_LifeState::Dead)
        return;
    if (mRespawnActivity == 0) {
        if (Player* player = GetPlayer()) {
            mRespawnActivity = gGameEngine->StartRespawnForLocalPlayer(
                player->GetClosestRespawnPoint().GetPosition());
            // The configured delay runs alongside the respawn activity.
            mDeathCountdown = mDeathDelay;
        }
    }
    const auto* activity =
        dynamic_cast<const RespawnActivity*>(ActivityManager::Get()->GetActivity(mRespawnActivity));
    mDeathCountdown -= ms;
    // A completed activity is soon deleted, so a missing one may still owe the death delay.
    if ((activity && !activity->IsComplete()) || mDeathCountdown > 0)
        return;
    RespawnMe();
    mRespawnActivity = 0;
}

void ControllerPlayer::RespawnMe() {
    if (Player* player = GetPlayer()) {
        player->SetLifeState(Character_LifeState::Respawning);
        SetState("Respawning", ControllerAIStateData());
    }
}

// Mailboxes.

void ControllerPlayer::SetUserText(const std::string& text, int time) {
    if (!text.empty() && time > 0)
        mUserTextMailbox.push_back({text, time});
}

const std::string& ControllerPlayer::GetMailboxUserText() const {
    return mUserTextMailbox.empty() ? mEmptyText : mUserTextMailbox.front().text;
}

int ControllerPlayer::GetMailboxUserTextTime() const {
    return mUserTextMailbox.empty() ? 0 : mUserTextMailbox.front().time;
}

void ControllerPlayer::PopUserText() {
    if (!mUserTextMailbox.empty())
        mUserTextMailbox.pop_front();
}

std::uint32_t ControllerPlayer::GetMailboxItem() const {
    return mItemMailbox.empty() ? 0 : mItemMailbox.front();
}

void ControllerPlayer::PopMailboxItem() {
    if (!mItemMailbox.empty())
        mItemMailbox.pop_front();
}

std::uint32_t ControllerPlayer::GetMailboxNpcChat() const {
    return mNpcChatMailbox.empty() ? 0 : mNpcChatMailbox.front();
}

void ControllerPlayer::PopMailboxNpcChat() {
    if (!mNpcChatMailbox.empty())
        mNpcChatMailbox.pop_front();
}

}  // namespace GAME
