#include "Game/world/fixeditems/FixedItemShrine.h"

#include <memory>

#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/object/MinimapGameNugget.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/world/effects/FxMesh.h"
#include "Game/world/effects/FxPak.h"

namespace GAME {

RTTI_IMPLEMENT(FixedItemShrine, FixedItem)

namespace {
// The keys of the six presentations, from idle to dormant-to-idle.
constexpr const char* kSetKeys[6] = {"idle",    "idleToActive", "active", "activeToDormant",
                                     "dormant", "dormantToIdle"};
// The map entry kind of a shrine.
constexpr int kShrineMapKind = 5;
constexpr unsigned int kShrineTutorialPage = 5;

const Name& ShrineEndEvent() {
    static const Name name = Name::Create("End");
    return name;
}

int SecondsToMs(const LoadTable& table, const char* key) {
    return static_cast<int>(table.GetFloat(key) * 1000.0f);
}
}  // namespace

FixedItemShrine::FixedItemShrine() = default;

FixedItemShrine::~FixedItemShrine() = default;

void FixedItemShrine::Load(const LoadTable& table) {
    FixedItem::Load(table);
    for (int i = 0; i < 6; ++i) {
        const std::string key = kSetKeys[i];
        Presentation& set = mSets[i];
        if (const std::string anim = table.GetString((key + "Animation").c_str()); !anim.empty())
            set.animation.Load(anim, table.GetFloat((key + "AnimationSpeed").c_str()));
        set.sound.Reset(GetSoundPakFromRecord(table, (key + "Sound").c_str()));
        set.fxPakName = table.GetString((key + "FxPakName").c_str());
    }
    mEffectNames = {table.GetString("IdleLoopingEffect"), table.GetString("DormantToIdleEffect"),
                    table.GetString("ActiveOneShotEffect")};
    mAttachPoints = {table.GetString("IdleLoopingAttachment"),
                     table.GetString("DormantToIdleAttachment"),
                     table.GetString("ActiveOneShotAttachment")};
    mActiveMeshFx = table.GetString("ActiveMeshFX");
}

void FixedItemShrine::PreLoad(bool now) {
    FixedItem::PreLoad(now);
    for (Presentation& set : mSets) {
        set.animation.PreLoad();
        if (SoundPak* sound = set.sound.Get())
            sound->PreLoad(now);
    }
}

void FixedItemShrine::InitialUpdate() {
    FixedItem::InitialUpdate();
    if (GetCurrentState() == FixedItemState_None)
        SetFixedItemState(FixedItemState_ShrineIdle, 0, true, true);
    InstallController(std::make_unique<FixedItemShrineController>());
}

bool FixedItemShrine::IsOfInterest() const {
    if (GetCurrentState() != FixedItemState_ShrineIdle)
        return false;
    return !IsLocked() || !GetLockedTextTag().empty();
}

void FixedItemShrine::RequestToUse(unsigned int user) {
    FixedItem::RequestToUse(user);
    if (!IsLocked())
        return;
    if (Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(user))
        player->PlayLockedShrineVox();
}

void FixedItemShrine::AppendDetailMapData(std::vector<MinimapGameNugget>& out) const {
    MinimapGameNugget& entry = out.emplace_back();
    entry.kind = kShrineMapKind;
    entry.label = GetGameDescription(false);
    entry.position = GetPosition();
    entry.vector = GetCoords().coords.zAxis;
}

void FixedItemShrine::SetFixedItemState(FixedItem_State state, unsigned int instigator,
                                        bool initial, bool) {
    mActivator = instigator;
    if (state == GetCurrentState())
        return;
    SetCurrentState(state);
    switch (state) {
        case FixedItemState_ShrineIdle:
            GoIdle(initial);
            StartIdleEffect();
            break;
        case FixedItemState_ShrineIdleToActive:
            GoIdleToActive(initial);
            StartActiveEffect();
            break;
        case FixedItemState_ShrineActive:
            GoActive(initial);
            StartActiveEffect();
            break;
        case FixedItemState_ShrineActiveToDormant:
            GoActiveToDormant(initial);
            PlaceEffectsInWorld();
            break;
        case FixedItemState_ShrineDormant:
            GoDormant(initial);
            PlaceEffectsInWorld();
            break;
        case FixedItemState_ShrineDormantToIdle:
            GoDormantToIdle(initial);
            StartIdleEffect();
            break;
        default:
            break;
    }
}

bool FixedItemShrine::PlayAnimationAndFX(bool initial, Presentation& set, bool loop) {
    if (initial && !loop) {
        set.animation.SetLastPose(*this);
        return true;
    }
    const bool played = set.animation.Play(*this, Name(), mPlaySpeed, loop, 0);
    if (initial || !played)
        return played;
    if (SoundPak* sound = set.sound.Get())
        sound->Play(GetPosition());
    if (!set.fxPakName.empty() && IsInWorld())
        if (FxPak* pak = Singleton<ObjectManager>::Get().CreateObjectFromFile<FxPak>(set.fxPakName))
            World::Get().AddEntity(pak, GetCoords(), true);
    return true;
}

void FixedItemShrine::GoIdle(bool initial) {
    PlayAnimationAndFX(initial, Set(FixedItemState_ShrineIdle), true);
}

void FixedItemShrine::GoIdleToActive(bool initial) {
    if (PlayAnimationAndFX(initial, Set(FixedItemState_ShrineIdleToActive), false))
        return;
    SetCurrentState(FixedItemState_ShrineActive);
    GoActive(false);
}

void FixedItemShrine::GoActive(bool initial) {
    if (gGameEngine)
        gGameEngine->UnlockTutorialPage(kShrineTutorialPage, true);
    PlayAnimationAndFX(initial, Set(FixedItemState_ShrineActive), true);
    if (!initial) {
        GetActiveEffect().StartFx();
        NotifyAllies(mActivator);
    }
    PlaySkillWarningFx();
}

void FixedItemShrine::GoActiveToDormant(bool initial) {
    if (PlayAnimationAndFX(initial, Set(FixedItemState_ShrineActiveToDormant), false))
        return;
    SetCurrentState(FixedItemState_ShrineDormant);
    GoDormant(false);
}

void FixedItemShrine::GoDormant(bool initial) {
    PlayAnimationAndFX(initial, Set(FixedItemState_ShrineDormant), true);
    if (!initial)
        GetActiveEffect().StopFx();
}

void FixedItemShrine::GoDormantToIdle(bool initial) {
    if (PlayAnimationAndFX(initial, Set(FixedItemState_ShrineDormantToIdle), false))
        return;
    SetCurrentState(FixedItemState_ShrineIdle);
    GoIdle(false);
}

void FixedItemShrine::AnimationCallback(int channel, const Name& event) {
    FixedItem::AnimationCallback(channel, event);
    if (event != ShrineEndEvent())
        return;
    switch (GetCurrentState()) {
        case FixedItemState_ShrineIdleToActive:
            SetCurrentState(FixedItemState_ShrineActive);
            GoActive(false);
            break;
        case FixedItemState_ShrineActiveToDormant:
            SetCurrentState(FixedItemState_ShrineDormant);
            GoDormant(false);
            break;
        case FixedItemState_ShrineDormantToIdle:
            SetCurrentState(FixedItemState_ShrineIdle);
            GoIdle(false);
            break;
        default:
            break;
    }
}

std::size_t FixedItemShrine::GetAttachedEffectCount() const {
    std::size_t count = 0;
    for (const auto& effect : mEffects)
        count += effect.Get() ? 1 : 0;
    return count;
}

void FixedItemShrine::PlaceEffectsInWorld() {
    for (auto& held : mEffects) {
        EffectEntity* effect = held.Release();
        if (!effect)
            continue;
        // Left where the shrine stands, to finish there.
        effect->StopEmitting();
        Detach(effect);
        if (IsInWorld())
            effect->AddToWorld(GetCoords(), true);
        else
            Singleton<ObjectManager>::Get().DestroyObjectEx(effect, "Game/FixedItemShrine", 0);
    }
}

void FixedItemShrine::StartAttachedEffect(Effect which) {
    if (mEffectNames[which].empty())
        return;
    auto* effect =
        Singleton<ObjectManager>::Get().CreateObjectFromFile<EffectEntity>(mEffectNames[which]);
    if (!effect)
        return;
    mEffects[which].Reset(effect);
    effect->StartEmitting();
    Attach(effect, Coords::Identity(),
           mAttachPoints[which].empty() ? nullptr : mAttachPoints[which].c_str());
}

void FixedItemShrine::StartIdleEffect() {
    PlaceEffectsInWorld();
    StartAttachedEffect(IdleLooping);
    StartAttachedEffect(DormantToIdle);
}

void FixedItemShrine::StartActiveEffect() {
    PlaceEffectsInWorld();
    StartAttachedEffect(ActiveOneShot);
    if (mActiveMeshFx.empty() || !IsInWorld())
        return;
    if (auto* mesh = Singleton<ObjectManager>::Get().CreateObjectFromFile<FxMesh>(mActiveMeshFx)) {
        mesh->AddToWorld(GetCoords());
        mesh->Start();
    }
}

// --- FixedItemShrineController ---

void FixedItemShrineController::LoadFromDatabase(const std::string& record) {
    FixedItemController::LoadFromDatabase(record);
    const LoadTable table = Singleton<ObjectManager>::Get().GetLoadTable(record);
    mOneTimeUse = table.GetBool("oneTimeUse");
    mActiveTime = SecondsToMs(table, "shrineActiveTime");
    mDormantTime = SecondsToMs(table, "shrineDormantTime");
    mSampleTime = SecondsToMs(table, "shrineSampleTime");
    mRadius = table.GetFloat("shrineRadius");
}

void FixedItemShrineController::InitialUpdate() {
    switch (GetItemState()) {
        case FixedItemState_ShrineIdle:
        case FixedItemState_ShrineDormantToIdle:
            mState = Idle;
            break;
        case FixedItemState_ShrineIdleToActive:
        case FixedItemState_ShrineActive:
            mState = Active;
            break;
        case FixedItemState_ShrineActiveToDormant:
        case FixedItemState_ShrineDormant:
            mState = Dormant;
            break;
        default:
            break;
    }
}

void FixedItemShrineController::Enqueue(FixedItem_State state) {
    FixedItem* shrine = GetParent();
    shrine->Enqueue(std::make_unique<FixedItemStateChangeConfigCmd>(
        shrine->GetObjectId(), state, state == FixedItemState_ShrineIdleToActive ? mActivator : 0,
        true));
}

void FixedItemShrineController::TouchedByActor() {
    FixedItem* shrine = GetParent();
    if (mState != Idle || !shrine || shrine->IsLocked())
        return;
    mSampleTimer = 0;
    mState = Active;
    mPhaseTimer = mActiveTime;
    mActivator = GetToucherId();
    Enqueue(FixedItemState_ShrineIdleToActive);
    LoadDropLoot();
    RunSkill();
}

void FixedItemShrineController::Update(int ms) {
    FixedItemController::Update(ms);
    if (!GetParent())
        return;
    if (mPhaseTimer > 0)
        mPhaseTimer -= ms;
    if (mSampleTimer > 0)
        mSampleTimer -= ms;
    if (mState == Active && mSampleTimer < 1) {
        mSampleTimer = mSampleTime;
        Sample();
    }
    if (mPhaseTimer >= 1)
        return;
    if (mState == Active) {
        mState = Dormant;
        mPhaseTimer = mDormantTime;
        mActivator = 0;
        Enqueue(FixedItemState_ShrineActiveToDormant);
    } else if (mState == Dormant && !mOneTimeUse) {
        mState = Idle;
        Enqueue(FixedItemState_ShrineDormantToIdle);
    }
}

void FixedItemShrineController::Sample() {
    FixedItem* shrine = GetParent();
    const Character* activator = Singleton<ObjectManager>::Get().GetObject<Character>(mActivator);
    if (!activator || !gGameEngine)
        return;
    std::vector<std::uint32_t> targets;
    gGameEngine->GetTargetsInRadius(activator->GetTeam(), shrine->GetPosition(), mRadius, targets,
                                    0, true);
    shrine->Enqueue(std::make_unique<FixedItemTargetConfigCmd>(
        shrine->GetObjectId(), mActivator,
        std::vector<unsigned int>(targets.begin(), targets.end())));
}

}  // namespace GAME
