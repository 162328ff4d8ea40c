#pragma once
// What a character holds. Its operations are declared in Character.h, which alone (with the
// tests' access) reaches these fields; kinds of character see only their loot.
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/GameTimer.h"
#include "Engine/text/RecordText.h"
#include "Engine/world/WorldShapes.h"
#include "Game/characters/CharacterEffects.h"
#include "Game/characters/CharacterRagDoll.h"
#include "Game/characters/CharacterStates.h"
#include "Game/characters/anim/AnimationSound.h"
#include "Game/characters/bio/CharacterBio.h"
#include "Game/characters/bio/ExperienceLevelControl.h"
#include "Game/characters/monster/MonsterLoot.h"
#include "Game/characters/stats/PlayStats.h"
#include "Game/core/players/Team.h"
#include "Game/core/util/EnumConverter.h"
#include "Game/items/loot/RandomizerWeightModifiers.h"
#include "Game/rules/combat/CombatManager.h"
#include "Game/skills/auras/AuraManager.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/world/effects/CharFxPak.h"
#include "Game/world/effects/PFxManager.h"

namespace GAME {

class AnimationSet;
class Character;
class CharacterActionHandler;
class CharacterMovementManager;
class DeathManager;
class GarmentManager;
class Inventory;
class SlotManager;

namespace test {
struct CharacterTestAccess;
}

class CharacterFields {
    friend class Character;
    friend struct test::CharacterTestAccess;

public:
    static constexpr std::size_t kDamageFxCount = 16;
    static constexpr std::size_t kEffectPackCount = kDamageFxCount + 2;

    // The sound packs of the record, in member order (footsteps and running, then attack to
    // splash); null when the record names none.
    enum SoundSlot : std::size_t {
        FootGrass,
        FootDirt,
        FootSand,
        FootSnow,
        FootStone,
        FootWood,
        FootWater,
        LoopingRunning,
        AttackSound,
        SwipeSound,
        StunSound,
        CriticalHitSound,
        ImpactSound,
        LevelUpSound,
        LowHealthSound,
        LootSound,
        SplashSound,
        SoundSlotCount
    };

protected:
    CharacterFields();
    ~CharacterFields();
    CharacterFields(const CharacterFields&) = delete;
    CharacterFields& operator=(const CharacterFields&) = delete;

    LootStruct mLoot;
    RandomizerWeightModifiers mLootWeightModifiers{};
    bool mNoBrokenItems = false;

private:
    // What every monster's sight sweep reads of each character in view, side by side: in a
    // crowd these are cache misses, one per line touched.
    Character_LifeState mLifeState = Character_LifeState::Alive;
    bool mObserver = false;
    bool mInvisible = false;
    bool mCausesAnger = true;
    bool mTeamDerived = false;
    float mAngerMultiplier = 1.0f;
    Team mTeam;

    PFxManager mFxManager;

    CharacterBio mBio;
    ExperienceLevelControl mExperience;
    PlayStats mPlayStats;
    WorldCoords mSpawnPoint;
    float mTurnRate = 0.0f;
    float mAvoidForce = 0.0f;
    Character_Gender mGender = Character_Gender::Unknown;
    std::vector<std::string> mRaces;
    bool mTouched = false;
    bool mInvincible = false;
    bool mGod = false;
    bool mOmnipotent = false;
    float mWeaponScale = 0.0f;
    float mDeathAnimBlendTime = 250.0f;
    int mLoopingRunningSoundFadeTime = 1000;
    RecordText mLevelUpFx;
    RecordText mDyingFxPak;
    float mImpactSoundChance = 0.0f;
    // Non-owning, by object id: a pack's position is its net index.
    std::vector<std::uint32_t> mNetSounds;
    int mPhysicsType = 1;
    std::unique_ptr<CharacterRagDoll> mRagDoll;
    bool mTeleporting = false;
    bool mHiddenFromCombat = false;
    Character_ActionState mInitialActionState = Character_ActionState::Unknown;
    WorldVec3 mInitialPathTarget;
    std::uint32_t mInitialAttackTarget = 0;
    std::uint32_t mInitialAttackSkill = 0;
    RecordText mPrespawnEffect;
    RecordText mSpawnEffect;
    std::uint32_t mSpawnEffectObject = 0;
    bool mRotateWhenChatting = true;
    bool mWarmUpSpeed = false;
    RecordText mDeleteBehavior;
    RecordText mDissolveEffect;
    RecordText mDissolveLight;
    float mDissolveTime = 0.0f;
    RecordText mDissolveTexture;
    int mDissolveColor[3] = {0, 0, 0};
    RecordText mDeathEffect;
    RecordText mActorToSpawnOnDeath;
    bool mWaitForCallbackToSpawn = false;
    RecordText mActorToSpawnForMyBones;
    bool mDoLateCrumple = false;
    CharacterPathGenerationStyle mPathGenerationStyle = CharacterPathGenerationStyle::Default;
    int mNumAttackSlots = 4;
    int mNumDefenseSlots = 4;
    CharacterPathingSize mPathingSize = CharacterPathingSize::Small;
    float mPathMass = 1.0f;
    RecordText mPortraitName;
    float mGoldGeneratorChance = 0.0f;
    RecordText mGoldGenerator;
    bool mDistressCall = true;
    float mDistressCallRange = 15.0f;
    int mDistressCallTime = 5000;
    int mDistressCallsLeft = 1;
    bool mDistressCallWhenDying = true;
    float mMinRotationSpeed = 9.0f;
    float mMaxRotationSpeed = 12.0f;
    std::array<std::uint32_t, SoundSlotCount> mSoundIds{};
    std::uint32_t mSpawnSoundId = 0;
    std::array<CharFxPak, kDamageFxCount> mDamageFx;
    // In the order of their types; read from the game-wide record once (all or none).
    std::array<CharacterDamageFx, kAbsorptionFxCount> mAbsorptionFx;
    bool mAbsorptionFxLoaded = false;
    bool mAbsEffectsArmed = false;
    CharFxPak mFireBuffFx;
    CharFxPak mPoisonBuffFx;
    std::map<int, CharFxPak*> mBuffFx;
    // What the combat manager keeps of an attack until it is built: the current attacker and
    // the equipped hand state.
    std::uint32_t mAttackerId = 0;
    std::uint32_t mMasterId = 0;
    std::uint32_t mMoney = 0;
    std::array<std::unique_ptr<AnimationSet>, 6> mAnimSets;
    AnimationSound mAnimationSounds;
    // What a frame reads of every character, side by side from here to mMovement, so that the
    // frame loop asks for a few adjacent lines instead of one line per field. The combat manager
    // is made here, still before the skill manager that keeps a pointer to it.
    bool mForcedUpdates = false;
    bool mRotateTowardsTarget = false;
    bool mTrapped = false;
    bool mDisallowRotation = false;
    bool mShowAngerLevels = false;
    bool mLowHealthLatch = false;
    bool mTweakSpineOnTurn = false;
    Character_ActionState mActionState = Character_ActionState::Unknown;
    std::uint32_t mControllerId = 0;
    std::uint32_t mFrameElapsed = 0;
    std::uint32_t mCharAttributeInputs = 0;
    std::uint32_t mAttackTargetId = 0;
    int mHandState = 0;
    int mDistressCountdown = 0;
    float mLowHealthTriggerLevel = 0.0f;
    float mLowHealthResetLevel = 0.0f;
    float mBreastSupport = 0.0f;
    float mSpineCurve = 0.0f;
    float mSpineCurveTarget = 0.0f;
    float mSpineTurnRate = 3.14159265f;  // 180 degrees a second
    float mSpineCurveMax = 0.6981317f;   // 40 degrees
    float mOverrideRagdollSpeed = 0.0f;
    AnimationSet* mAnimationSet = nullptr;
    // Set by the combat manager's frame (its hit reaction), with what overrides it.
    RecordText mOverrideRagdollBehavior;
    CharacterRagDoll::EffectData mRagdollData;
    GameTimer mFrameTimer;
    // Its formulas keep scratch values, so the const designer calculations reach it by pointer.
    std::unique_ptr<CombatManager> mCombatManager = std::make_unique<CombatManager>();
    std::unique_ptr<DeathManager> mDeathManager;
    AuraManager mAuraManager;
    // Reached by pointer: the const speed query takes the manager's one-shot flag.
    std::unique_ptr<SkillManager> mSkillManager = std::make_unique<SkillManager>();
    std::unique_ptr<CharacterActionHandler> mActionHandler;
    std::unique_ptr<CharacterMovementManager> mMovement;
    std::unique_ptr<SlotManager> mAttackSlots;
    std::unique_ptr<SlotManager> mDefenseSlots;
    std::unique_ptr<Inventory> mInventory;
    mutable std::unique_ptr<GarmentManager> mGarments;
    bool mChangeOfEquipment = false;
    std::map<std::string, std::vector<std::string>> mItemSets;
    Vec3 mPointOfInterest;
    bool mHasPointOfInterest = false;
    WorldVec3 mAttackTargetPosition;
    std::uint32_t mAttackSkillId = 0;
    // Where the attack target was last found: attacking and pursuing ask for it every frame.
    ObjectManager::Kept<Character> mAttackTarget;
    // Where the controller was last found, and its class: FindController<T> is asked ~10 times a
    // frame per character, for as many Ts.
    struct KeptController {
        ObjectManager::Kept<Object> object;
        const RTTI_ClassInfo* classInfo = nullptr;
    };
    mutable KeptController mController;
    RecordText mDistressCallGroup;
};

}  // namespace GAME
