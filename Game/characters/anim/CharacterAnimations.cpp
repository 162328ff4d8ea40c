// Character's animation operations: its stance sets, the sounds of animation events, and the
// routing of those events. (Character is declared in Game/characters/Character.h.)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterEvents.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/anim/StanceAnimationKeys.h"

namespace GAME {

namespace {

// Created once, compared as names.
struct AnimationEventNames {
    Name end = Name::Create("End");
    Name leftFootstep = Name::Create("L Footstep");
    Name rightFootstep = Name::Create("R Footstep");
    Name stopRotation = Name::Create("StopRotation");
};

const AnimationEventNames& EventNames() {
    static const AnimationEventNames names;
    return names;
}

// Stances whose animation table (not the character's own record) holds 15 special entries.
int SpecialCountInTable(int handState) {
    return handState == 1 || handState == 2 || handState == 4 ? 15 : 10;
}

constexpr int kOwnRecordSpecialCount = 10;
// The own-record loaders run in this order.
constexpr int kOwnRecordStanceOrder[kStanceCount] = {0, 1, 2, 4, 3, 5};

}  // namespace

GraphicsAnim* Character::LoadAnimation(const std::string& name) {
    return name.empty() ? nullptr : GraphicsEngine::Get().LoadAnimation(name);
}

AnimationSet* Character::GetStanceAnimationSet(int handState) const {
    return handState >= 0 && handState < static_cast<int>(kStanceCount)
               ? mAnimSets[static_cast<std::size_t>(handState)].get()
               : nullptr;
}

void Character::AllocateAnimSets() {
    if (AllocateAllAnimSets()) {
        for (auto& set : mAnimSets)
            set = std::make_unique<AnimationSet>();
        mAnimationSet = mAnimSets[0].get();
        return;
    }
    const int handState = GetHandState();
    if (handState < 0 || handState >= static_cast<int>(kStanceCount))
        return;
    auto& set = mAnimSets[static_cast<std::size_t>(handState)];
    if (!set)
        set = std::make_unique<AnimationSet>();
    mAnimationSet = set.get();
}

void Character::LoadAnimations() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(GetObjectName());
    const LoadTable own = objects.GetLoadTable(GetObjectName());
    const std::string tableName = own.GetString("charAnimationTableName", std::string());
    if (!tableName.empty() && objects.LoadTableFile(tableName)) {
        const LoadTable table = objects.GetLoadTable(tableName);
        for (int stance = 0; stance < static_cast<int>(kStanceCount); ++stance)
            if (AnimationSet* set = GetStanceAnimationSet(stance))
                set->LoadShared("table " + tableName + " " + std::to_string(stance),
                                [&](AnimationSet& fill) {
                                    LoadStanceAnimations(table, fill, GetStancePrefix(stance),
                                                         SpecialCountInTable(stance));
                                });
    } else {
        for (int stance : kOwnRecordStanceOrder)
            LoadStanceAnimationSet(own, stance);
    }
    mForcedUpdates = own.GetBool("forcedUpdates", false);
}

void Character::LoadStanceAnimationSet(const LoadTable& record, int handState) {
    AnimationSet* set = GetStanceAnimationSet(handState);
    if (set == nullptr)
        return;
    char blend[32];
    std::snprintf(blend, sizeof blend, "%a", static_cast<double>(mDeathAnimBlendTime));
    set->LoadShared("own " + record.GetRecordName() + " " + std::to_string(handState) + " " + blend,
                    [&](AnimationSet& fill) {
                        LoadStanceAnimations(record, fill, GetStancePrefix(handState),
                                             kOwnRecordSpecialCount);
                        fill.SetAnimationBlendTime(AnimationSet_Type::Die, mDeathAnimBlendTime);
                    });
}

void Character::LoadUnarmedAnimationSet(const LoadTable& record) {
    LoadStanceAnimationSet(record, 0);
}
void Character::LoadSingleHandedAnimationSet(const LoadTable& record) {
    LoadStanceAnimationSet(record, 1);
}
void Character::LoadDualWieldedAnimationSet(const LoadTable& record) {
    LoadStanceAnimationSet(record, 2);
}
void Character::LoadBowAnimationSet(const LoadTable& record) {
    LoadStanceAnimationSet(record, 3);
}
void Character::LoadSpearAnimationSet(const LoadTable& record) {
    LoadStanceAnimationSet(record, 4);
}
void Character::LoadStaffAnimationSet(const LoadTable& record) {
    LoadStanceAnimationSet(record, 5);
}

void Character::SetAnimation(int handState) {
    const int stance = handState >= 1 && handState <= 5 ? handState : 0;
    // The equipment tells every change of its hand state here; the speeds read it back.
    mHandState = stance;
    AnimationSet* set = GetStanceAnimationSet(stance);
    if (set == nullptr || set == mAnimationSet)
        return;
    if (mAnimationSet != nullptr)
        mAnimationSet->Cancel();
    mAnimationSet = set;
}

GraphicsAnim* Character::GetCurrentAnimation() const {
    return mAnimationSet != nullptr ? mAnimationSet->GetAnimation() : nullptr;
}

bool Character::CanPlayAnimation(AnimationSet_Type type) const {
    return mAnimationSet != nullptr && mAnimationSet->DoesAnimationExist(type);
}

void Character::LoadAnimationSound(const LoadTable& record, const char* key, float chance) {
    mAnimationSounds.AddSound(Name::Create(key), record.GetString(key, std::string()), chance);
}

void Character::LoadAnimationSound(const LoadTable& record, const char* key,
                                   const char* chanceKey) {
    LoadAnimationSound(record, key, record.GetFloat(chanceKey, 0.0f));
}

void Character::LoadAnimationSounds(const LoadTable& record) {
    // Fixed chances are 100 percent.
    struct Row {
        const char* key;
        const char* chanceKey;
    };
    static constexpr Row kRows[] = {
        {"voxSound", "voxSoundChance"},
        {"criticalHitSound", nullptr},
        {"specialAttackSound1", "specialAttackSound1Chance"},
        {"specialAttackSound2", "specialAttackSound2Chance"},
        {"specialAttackSound3", "specialAttackSound3Chance"},
        {"specialAttackSound4", "specialAttackSound4Chance"},
        {"genericSound1", "genericSound1Chance"},
        {"genericSound2", "genericSound2Chance"},
        {"genericSound3", "genericSound3Chance"},
        {"genericSound4", "genericSound4Chance"},
        {"deathSound1", nullptr},
        {"deathSound2", nullptr},
        {"deathSound3", nullptr},
        {"bodyFallSound", "bodyFallSoundChance"},
        {"voiceSound1", "voiceSound1Chance"},
        {"voiceSound2", "voiceSound2Chance"},
        {"voiceSound3", "voiceSound3Chance"},
    };
    for (const Row& row : kRows) {
        if (row.chanceKey != nullptr)
            LoadAnimationSound(record, row.key, row.chanceKey);
        else
            LoadAnimationSound(record, row.key, 100.0f);
    }
}

void Character::AnimationCallback(int channel, const Name& event) {
    if (channel != 0) {
        Actor::AnimationCallback(channel, event);
        return;
    }
    // A counted play with passes left: its "End" is not an end yet.
    if (mAnimationSet != nullptr && mAnimationSet->HandleAnimationCallback(*this, event))
        return;
    const AnimationEventNames& names = EventNames();
    if (event == names.stopRotation) {
        mRotateTowardsTarget = false;
    } else {
        // The sound's draw differs between machines, so it must not decide whether the
        // action sees the event: a "Hit" or "End" reaches the action everywhere.
        const bool sounded = mAnimationSounds.Play(*this, event, nullptr);
        if (event == names.leftFootstep || event == names.rightFootstep) {
            if (!sounded)
                PlayFootstep();
        } else {
            mActionHandler->AnimationCallback(event);
        }
    }
    if (auto* controller = FindController<ControllerBaseCharacter>(*this))
        controller->HandleEvent(event);
    Actor::AnimationCallback(channel, event);
}

void Character::PlayFootstep() {
    const float h = GetBoundingRadius();
    const WorldVec3 position = GetPosition();
    WorldRay ray;
    ray.region = position.GetRegion();
    ray.origin = position.GetRegionPosition() + Vec3{0.0f, 2.0f * h, 0.0f};
    ray.direction = Vec3{0.0f, -1.0f, 0.0f};
    // Ground farther down than a step's reach is heard no more than none.
    const float reach = 2.0f * h + 0.25f;
    WorldIntersection hit;
    const bool heard =
        World::Get().GetIntersection(ray, hit, 100, true, reach) && hit.distance < reach;
#ifndef NDEBUG
    WorldIntersection full;
    if (heard != (World::Get().GetIntersection(ray, full, 100, true) && full.distance < reach) ||
        (heard && full.surface != hit.surface)) {
        std::fprintf(stderr, "PlayFootstep: the ground past a step's reach changed the sound\n");
        std::abort();
    }
#endif
    if (!heard)
        return;
    const int kind = static_cast<int>(hit.surface);
    if (kind < 1 || kind > 7)
        return;
    if (SoundPak* sound = GetSoundPak(static_cast<SoundSlot>(FootGrass + (kind - 1)))) {
        sound->Play(position, false);
        sound->Track(GetObjectId());
    }
}

bool Character::HandleSkillAnimationCallback(const Name& event, std::uint32_t skillId,
                                             std::uint32_t targetId, const WorldVec3& point) {
    return mSkillManager->HandleSkillAnimationCallback(event, skillId, targetId, point);
}

void Character::QuestCommandPlayAnimation(AnimationSet_Type type, bool looping, bool flag) {
    if (auto* controller = FindController<ControllerAI>(*this))
        controller->QuestCommandPlayAnimation(type, looping, flag);
}

void Character::SendQuestAnimationCompletedEvent() const {
    GameEvent_AnimationCompleted completed;
    completed.objectName = GetObjectName();
    SendGameEvent(completed, "AnimationCompleted");
}

}  // namespace GAME
