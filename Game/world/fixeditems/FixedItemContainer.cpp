#include "Game/world/fixeditems/FixedItemContainer.h"

#include <memory>

#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEvents.h"
#include "Game/core/ObjectLookup.h"
#include "Game/world/effects/FxPak.h"

namespace GAME {

RTTI_IMPLEMENT(FixedItemContainer, FixedItem)

namespace {
const Name& LootGenEvent() {
    static const Name name = Name::Create("lootGen");
    return name;
}
const Name& EndEvent() {
    static const Name name = Name::Create("End");
    return name;
}
}  // namespace

FixedItemContainer::FixedItemContainer() = default;

FixedItemContainer::~FixedItemContainer() = default;

int FixedItemContainer::ResolveLockedClassification(const std::string& name) {
    static constexpr const char* kNames[] = {"Common", "Champion", "Hero", "Boss"};
    for (int i = 0; i < 4; ++i)
        if (name == kNames[i])
            return i;
    return kNeverLocked;
}

void FixedItemContainer::Load(const LoadTable& table) {
    FixedItem::Load(table);
    if (const std::string idle = table.GetString("idleAnimation"); !idle.empty())
        mIdleAnimation.Load(idle, table.GetFloat("idleAnimationSpeed"));
    if (const std::string open = table.GetString("openAnimation"); !open.empty())
        mOpenAnimation.Load(open, table.GetFloat("openAnimationSpeed"));
    mOpenSound.Reset(GetSoundPakFromRecord(table, "openSound"));
    mOpenFxPakName = table.GetString("openFxPakName");
    mPathableWhenOpen = table.GetBool("pathableWhenOpen");
    mLockedRadius = table.GetFloat("LockedRadius");
    mRadiusLockEnabled = mLockedRadius > 0.0001f;
    mLockedClassification = ResolveLockedClassification(table.GetString("LockedClassification"));
    mLockedEffectName = table.GetString("LockedEffect");
}

void FixedItemContainer::PreLoad(bool now) {
    FixedItem::PreLoad(now);
    mIdleAnimation.PreLoad();
    mOpenAnimation.PreLoad();
    if (SoundPak* sound = mOpenSound.Get())
        sound->PreLoad(now);
}

void FixedItemContainer::InitialUpdate() {
    FixedItem::InitialUpdate();
    if (GetCurrentState() == FixedItemState_None)
        SetFixedItemState(FixedItemState_ContainerClosed, 0, true, true);
    if (GetCurrentState() == FixedItemState_ContainerOpen && mPathableWhenOpen)
        RemovePathObstacle();
    InstallController(std::make_unique<FixedItemContainerController>());
}

bool FixedItemContainer::IsOfInterest() const {
    return GetCurrentState() == FixedItemState_ContainerClosed;
}

void FixedItemContainer::RequestToUse(unsigned int user) {
    FixedItem::RequestToUse(user);
    if (!IsLocked())
        return;
    if (Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(user))
        player->PlayLockedChestVox();
}

void FixedItemContainer::SetFixedItemState(FixedItem_State state, unsigned int instigator,
                                           bool initial, bool) {
    if (state == GetCurrentState())
        return;
    SetCurrentState(state);
    if (state == FixedItemState_ContainerOpen) {
        if (initial) {
            // Restored open: the open pose at once, without sound, effect or loot.
            mRadiusLockActive = false;
            mOpenAnimation.SetLastPose(*this);
        } else {
            mInstigator = instigator;
            Open();
        }
        if (mPathableWhenOpen)
            RemovePathObstacle();
    } else if (state == FixedItemState_ContainerClosed && initial) {
        mIdleAnimation.SetLastPose(*this);
    }
}

void FixedItemContainer::Open() {
    mRadiusLockActive = false;
    if (SoundPak* sound = mOpenSound.Get())
        sound->Play(GetPosition());
    mOpenAnimation.PlayOnce(*this);
    if (!mOpenFxPakName.empty())
        if (FxPak* pak =
                Singleton<ObjectManager>::Get().CreateObjectFromFile<FxPak>(mOpenFxPakName))
            World::Get().AddEntity(pak, GetCoords(), true);
    NotifyAllies(mInstigator);
    PlaySkillWarningFx();
    GameEvent_FixedItemUse event;
    event.objectName = GetObjectName();
    event.userId = mInstigator;
    event.itemId = GetObjectId();
    SendGameEvent(event, "FixedItemUse");
}

void FixedItemContainer::UpdateSelf(int elapsedMs) {
    FixedItem::UpdateSelf(elapsedMs);
    UpdateLockEffect();
    if (mRadiusLockEnabled && mRadiusLockActive) {
        mRadiusCheckCountdown -= elapsedMs;
        if (mRadiusCheckCountdown < 1) {
            SetLock(!CheckRadiusClear());
            mRadiusCheckCountdown = kRadiusCheckMs;
        }
    }
    if (GetCurrentState() == FixedItemState_ContainerOpen && mLightFadeCountdown > 0) {
        mLightFadeCountdown -= GetElapsedMs();
        if (mLightFadeCountdown < 1) {
            ObjectManager& objects = Singleton<ObjectManager>::Get();
            for (const std::uint32_t id : GetAttachedChildren())
                if (auto* effect = objects.GetObject<EffectEntity>(id)) {
                    effect->StopEmitting();
                    effect->FadeLight();
                }
        }
    }
}

void FixedItemContainer::UpdateLockEffect() {
    EffectEntity* effect = mLockEffect.Get();
    if (!IsLocked() && effect) {
        // Left in the world where the chest stands, to fade there.
        Detach(effect);
        effect->StopEmitting();
        effect->AddToWorld(GetCoords(), true);
        mLockEffect.Release();
    } else if (IsLocked() && !effect && !mLockedEffectName.empty()) {
        effect =
            Singleton<ObjectManager>::Get().CreateObjectFromFile<EffectEntity>(mLockedEffectName);
        if (!effect)
            return;
        mLockEffect.Reset(effect);
        effect->StartEmitting();
        Attach(effect, Coords::Identity(), nullptr);
    }
}

bool FixedItemContainer::CheckRadiusClear() const {
    if (!IsInWorld())
        return true;
    std::vector<Entity*>& nearby = mNearby;
    nearby.clear();
    World::Get().GetEntitiesInSphere(nearby, GetRegion(),
                                     Sphere{GetCoords().coords.origin, mLockedRadius},
                                     EntityListType::Actors);
    for (const Entity* entity : nearby) {
        if (!entity->IsA<Monster>())
            continue;
        const auto& monster = static_cast<const Monster&>(*entity);
        if (monster.IsAlive() &&
            static_cast<int>(monster.GetClassification()) >= mLockedClassification)
            return false;
    }
    return true;
}

// --- FixedItemContainerController ---

void FixedItemContainerController::InitialUpdate() {
    if (GetItemState() == FixedItemState_ContainerOpen)
        mState = Opened;
    else if (GetItemState() == FixedItemState_ContainerClosed)
        mState = ClosedReady;
}

void FixedItemContainerController::TouchedByActor() {
    FixedItem* chest = GetParent();
    if (mState != ClosedReady || !chest || chest->IsLocked())
        return;
    mState = Opening;
    chest->Enqueue(std::make_unique<FixedItemStateChangeConfigCmd>(
        chest->GetObjectId(), FixedItemState_ContainerOpen, GetToucherId(), true));
    RunSkill();
}

void FixedItemContainerController::AnimationCallback(int, const Name& event) {
    if (mState != Opening)
        return;
    if (event == EndEvent())
        mState = Opened;
    else if (event == LootGenEvent())
        LoadDropLoot();
}

}  // namespace GAME
