#include "Game/quests/actions/EntityActions.h"

#include "Engine/Engine.h"
#include "Engine/net/NetworkIndexTable.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/streams/IOStream.h"
#include "Game/ai/controllers/ControllerAI.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterEvents.h"
#include "Game/characters/anim/AnimationSet.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/net/commands/CharacterCommands.h"
#include "Game/core/util/ServerObjectIds.h"
#include "Game/quests/QuestObjects.h"
#include "Game/quests/conditions/QuestCondition.h"
#include "Game/world/proxies/Proxy.h"

namespace GAME {

GAME_TRIGGER_ACTION_KIND(Action_TaskCreatureToLocation)
GAME_TRIGGER_ACTION_KIND(Action_SpawnEntityAtLocation)
GAME_TRIGGER_ACTION_KIND(Action_KillCreature)
GAME_TRIGGER_ACTION_KIND(Action_SetCharacterInvincible)
GAME_TRIGGER_ACTION_KIND(Action_NpcPlayAnimation)
GAME_TRIGGER_ACTION_KIND(Action_HideNpc)
GAME_TRIGGER_ACTION_KIND(Action_ShowNpc)
GAME_TRIGGER_ACTION_KIND(Action_DisableProxy)
GAME_TRIGGER_ACTION_KIND(Action_FireSkill)

namespace {

const char* Interruptions(bool allow) {
    return allow ? "Allow Interruptions" : "Don't Allow Interruptions";
}

// A character another machine controls is asked through the server's quest commands; this
// machine's own player it moves itself.
bool AskServer(std::uint32_t character) {
    return IsNetworkedClient() && character != LocalPlayerId();
}

}  // namespace

// Sending a creature

void Action_TaskCreatureToLocation::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("creature", mCreature);
    stream.StreamString("location", mLocation);
    stream.StreamBool("fight", mFight);
    stream.StreamBool("canReFire", mCanReFire);
    Register(mCreature, true, true);
    Register(mLocation, true, true);
}

void Action_TaskCreatureToLocation::BindCreature(const std::string& name, std::uint32_t id) {
    if (!mCreature.empty() && RecordNamesEqual(name, mCreature))
        AddBound(id);
    if (!mLocation.empty() && RecordNamesEqual(name, mLocation))
        mLocationId = id;
}

void Action_TaskCreatureToLocation::BindEntity(const std::string& name, std::uint32_t id) {
    if (!mLocation.empty() && RecordNamesEqual(name, mLocation))
        mLocationId = id;
    if (!mCreature.empty() && RecordNamesEqual(name, mCreature))
        BoundAction::BindEntity(name, id);
}

void Action_TaskCreatureToLocation::Apply() {
    if (mBound.empty() && mCreature.empty())
        AddBound(LocalPlayerId());
    if (mBound.empty())
        return;
    const std::uint32_t destinationId = mLocation.empty() ? LocalPlayerId() : mLocationId;
    const Entity* destination =
        destinationId ? Objects().GetObject<Entity>(destinationId) : nullptr;
    if (!destination)
        return;  // pending until the location shows up
    const WorldVec3 position = destination->GetPosition();
    for (std::uint32_t id : mBound) {
        Character* creature = Objects().GetObject<Character>(id);
        if (!creature)
            continue;
        if (AskServer(id))
            gGameEngine->QuestCommandMove(id, mLocationId, position, mFight);
        else
            creature->QuestCommandMove(mLocationId, position, mFight);
    }
    mPending = false;
}

// Spawning at a quest location

void Action_SpawnEntityAtLocation::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("entity", mEntity);
    stream.StreamString("location", mLocation);
    Register(mLocation, false, true);
}

void Action_SpawnEntityAtLocation::BindEntity(const std::string& name, std::uint32_t id) {
    if (!mLocation.empty() && RecordNamesEqual(name, mLocation))
        mLocationId = id;
}

void Action_SpawnEntityAtLocation::Apply() {
    const auto* location = mLocationId ? Objects().GetObject<QuestLocation>(mLocationId) : nullptr;
    if (mEntity.empty() || !location)
        return;
    // The server makes it for every machine, under an id of its own band.
    if (DecidesGame() && gGameEngine) {
        const std::uint32_t id = gEngine->IsNetworkEnabled()
                                     ? CreateServerObjectId(ServerIdBand::Drops)
                                     : Objects().CreateObjectID();
        if (id != 0)
            gGameEngine->CreateEntity(location->GetCoords(), mEntity, id);
    }
    mPending = false;
}

// Killing

Action_KillCreature::Action_KillCreature(std::uint32_t id)
    : BoundAction(id), mSpawnHandler("GameEvent_CreatureSpawn", "Action") {
    mSpawnHandler.SetOwner(this, &Action_KillCreature::OnSpawn);
}

void Action_KillCreature::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("creatureRecord", mCreature);
    stream.StreamBool("canReFire", mCanReFire);
    Register(mCreature, false, true);
}

void Action_KillCreature::OnSpawn(const GameEvent_CreatureSpawn& event) {
    if (!mCreature.empty() && RecordNamesEqual(event.objectName, mCreature)) {
        AddBound(event.objectId);
        Rebind();
    }
}

void Action_KillCreature::Apply() {
    // A death is the server's to decide; its own copy of the quest kills for every machine.
    if (!DecidesGame())
        return;
    for (std::uint32_t id : mBound) {
        const Character* creature = Objects().GetObject<Character>(id);
        auto* controller =
            creature ? Objects().GetObject<ControllerCombat>(creature->GetControllerId()) : nullptr;
        if (!controller)
            continue;
        controller->KillMe();
        mPending = false;
    }
}

// Invincibility

void Action_SetCharacterInvincible::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("npc", mNpc);
    stream.StreamBool("invincible", mInvincible);
    stream.StreamBool("canReFire", mCanReFire);
    Register(mNpc, true, true);
}

void Action_SetCharacterInvincible::Fire(std::uint32_t, bool reFire) {
    if (reFire && !mCanReFire)
        return;
    if (mNpc.empty() && mBound.empty())
        AddBound(LocalPlayerId());
    FirePending(reFire, true);
}

void Action_SetCharacterInvincible::Apply() {
    // Invincibility is the server's word alone (clients' commands for it are refused).
    if (!DecidesGame())
        return;
    for (std::uint32_t id : mBound) {
        Character* character = Objects().GetObject<Character>(id);
        const auto* controller =
            character ? Objects().GetObject<ControllerAI>(character->GetControllerId()) : nullptr;
        if (!controller || controller->GetParentId() == 0)
            continue;
        character->Enqueue(std::make_unique<SetInvincibleConfigCmd>(id, mInvincible));
        mPending = false;
    }
}

// Animations and skills

void Action_NpcPlayAnimation::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("npc", mNpc);
    stream.StreamInt("animation", mAnimation);
    stream.StreamBool("allowInterruptions", mAllowInterruptions);
    stream.StreamBool("looping", mLooping);
    Register(mNpc, true, true);
}

std::string Action_NpcPlayAnimation::Describe() const {
    return "Npc " + Highlight(ShowRecordName(mNpc)) + " play animation " +
           Highlight(AnimationSet::GetAnimTypeAsText(static_cast<AnimationSet_Type>(mAnimation))) +
           " and " + Highlight(Interruptions(mAllowInterruptions));
}

void Action_NpcPlayAnimation::Apply() {
    for (std::uint32_t id : mBound) {
        Character* character = Objects().GetObject<Character>(id);
        if (!character)
            continue;
        if (AskServer(id))
            gGameEngine->QuestCommandPlayAnimation(id, static_cast<unsigned int>(mAnimation),
                                                   mLooping, mAllowInterruptions);
        else
            character->QuestCommandPlayAnimation(static_cast<AnimationSet_Type>(mAnimation),
                                                 mLooping, mAllowInterruptions);
    }
    if (!mBound.empty())
        mPending = false;
}

void Action_FireSkill::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("skill", mSkill);
    stream.StreamString("source", mSource);
    stream.StreamString("target", mTarget);
    stream.StreamBool("allowInterruptions", mAllowInterruptions);
    Register(mSource, true, true);
    Register(mTarget, true, true);
}

std::string Action_FireSkill::Describe() const {
    return "Fire Skill " + Highlight(ShowRecordName(mSkill)) + " from " +
           Highlight(ShowRecordName(mSource)) + " to " + Highlight(ShowRecordName(mTarget)) +
           " and " + Highlight(Interruptions(mAllowInterruptions));
}

void Action_FireSkill::BindCreature(const std::string& name, std::uint32_t id) {
    if (!mSource.empty() && RecordNamesEqual(name, mSource))
        AddBound(id);
    if (!mTarget.empty() && RecordNamesEqual(name, mTarget) &&
        std::find(mTargets.begin(), mTargets.end(), id) == mTargets.end())
        mTargets.push_back(id);
}

void Action_FireSkill::BindEntity(const std::string& name, std::uint32_t id) {
    if (auto* proxy = dynamic_cast<Proxy*>(Objects().GetObject(id))) {
        std::vector<std::uint32_t> objects;
        proxy->GetPrimaryObjects(objects);
        for (std::uint32_t object : objects)
            BindCreature(name, object);
        return;
    }
    BindCreature(name, id);
}

void Action_FireSkill::BindProxyObjects(const QuestNetMsg_ProxySpawn& message) {
    // The proxy's name says which list its objects replace.
    const std::string name = NetworkIndexTable::Get().NetworkIndexToString(message.proxyNameIndex);
    if (name.empty())
        return;
    if (!mSource.empty() && RecordNamesEqual(name, mSource))
        mBound = message.primaryObjects;
    if (!mTarget.empty() && RecordNamesEqual(name, mTarget))
        mTargets = message.primaryObjects;
}

void Action_FireSkill::Fire(std::uint32_t, bool reFire) {
    if (mSource.empty())
        AddBound(LocalPlayerId());
    if (mTarget.empty() && LocalPlayerId() != 0 &&
        std::find(mTargets.begin(), mTargets.end(), LocalPlayerId()) == mTargets.end())
        mTargets.push_back(LocalPlayerId());
    FirePending(reFire, true);
}

void Action_FireSkill::Apply() {
    if (mBound.empty() || mTargets.empty())
        return;
    for (std::uint32_t source : mBound) {
        Character* character = Objects().GetObject<Character>(source);
        if (!character)
            continue;
        for (std::uint32_t target : mTargets) {
            if (AskServer(source))
                gGameEngine->QuestCommandUseSkill(source, mSkill, target, mAllowInterruptions);
            else
                character->QuestCommandUseSkill(mSkill, target, mAllowInterruptions);
        }
    }
    mPending = false;
}

// Visibility

void NpcVisibilityAction::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("npc", mNpc);
    stream.StreamBool("canReFire", mCanReFire);
    Register(mNpc, true, false);
}

void NpcVisibilityAction::BindCreature(const std::string& name, std::uint32_t id) {
    if (!mNpc.empty() && RecordNamesEqual(name, mNpc))
        mBound.assign(1, id);
}

void NpcVisibilityAction::Apply() {
    Actor* actor = mBound.empty() ? nullptr : Objects().GetObject<Actor>(mBound.front());
    if (!actor)
        return;
    actor->SetVisibility(Visible());
    mPending = false;
}

// Proxies

void Action_DisableProxy::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("proxy", mProxy);
    Register(mProxy, false, true);
}

void Action_DisableProxy::BindEntity(const std::string& name, std::uint32_t id) {
    if (!mProxy.empty() && RecordNamesEqual(name, mProxy))
        mBound.assign(1, id);
}

void Action_DisableProxy::BindProxyObjects(const QuestNetMsg_ProxySpawn& message) {
    mBound.assign(1, message.proxyId);
}

void Action_DisableProxy::Apply() {
    auto* proxy =
        mBound.empty() ? nullptr : dynamic_cast<Proxy*>(Objects().GetObject(mBound.front()));
    if (!proxy)
        return;
    // A client's copy only settles: the server disables the proxy for everyone.
    if (!(gEngine->IsNetworkEnabled() && !gEngine->IsServer()))
        proxy->Disable();
    mPending = false;
}

}  // namespace GAME
