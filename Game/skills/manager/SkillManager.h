#pragma once
// A character's skills: the manager creates them from the character's records, owns them (each
// is an object of the object manager, held here by id so that one destroyed elsewhere is simply
// missed), runs the installed ones every frame, gathers their attributes for the character and
// is the one door through which the character, its controller and the skill commands reach a
// skill. It also keeps the counters that limit growth in skills: masteries allowed by level and
// skill points bought back (Game/skills/SkillManagerPoints.cpp).
//
// A skill's reference number is its index in the skill list, or 4096 plus its index among the
// item skills; skills travel between machines by this number because object ids differ.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/RecycledBlocks.h"
#include "Game/characters/bio/CharacterBio.h"
#include "Game/rules/SkillAttribute.h"
#include "Game/skills/manager/SkillManagerBase.h"
#include "Game/skills/manager/SkillState.h"

namespace GAME {

class CharAttributeAccumulator;
class CharFxPak;
class Name;
class ParametersCombat;
class RandomUniform;
class CombatManager;
class GameEngine;
class IOStream;
class LoadTable;
class SkillActivated;
class SkillActiveState;
class SkillState;
class NetPacketInBuffer;
class NetPacketOutBuffer;
struct RacialBonus_Damage;
struct RacialBonus_Defense;
struct WorldCoords;
struct WorldVec3;

namespace test {
struct SkillManagerTestAccess;
}

// Read every frame: in recycled blocks, beside the other characters' (huge pages).
class SkillManager final : public SkillManagerBase, public RecycledStorage {
    // Tests set up what only a saved character or reclamation would give.
    friend struct test::SkillManagerTestAccess;

public:
    static constexpr std::uint32_t kItemSkillReferenceBase = 4096;
    static constexpr Weapon_Type kGenericWeapon = static_cast<Weapon_Type>(1);
    static constexpr std::uint32_t kNoReference = 0xFFFFFFFFu;
    static constexpr unsigned kMaxSkillEntries = 31;
    static constexpr const char* kDefaultWeaponPoolSkill =
        "Records/Skills/Default/DefaultWPBasicAttack.dbr";
    static constexpr const char* kDefaultAttackSkill =
        "Records/Skills/Default/DefaultWeaponAttack.dbr";

    // One skill as the character replication carries it (SkillManagerSave.cpp). Wire form: the
    // record name as a file name, then the 8-byte images of the state and the active state.
    struct _SkillReplica {
        std::string skillName;
        SkillState state;
        SkillActiveState activeState;

        void Write(NetPacketOutBuffer& out) const;
        // False (the body marked bad) when the body ends first.
        bool Read(NetPacketInBuffer& in);
    };
    // A buff with its two modifiers (an empty name: none). The time to live does not travel.
    struct _SkillBuffReplica {
        _SkillReplica buff;
        _SkillReplica modifier1;
        _SkillReplica modifier2;
        int timeToLive = 0;
        std::uint32_t casterId = 0;

        void Write(NetPacketOutBuffer& out) const;
        bool Read(NetPacketInBuffer& in);
    };

    SkillManager();
    ~SkillManager() override;
    SkillManager(const SkillManager&) = delete;
    SkillManager& operator=(const SkillManager&) = delete;

    // What a skill asks of its character.
    bool IsMonsterSkill() override { return mIsMonster; }
    int GetHandState() override;
    void GetWeaponTypes(Weapon_Type& right, Weapon_Type& left) override;
    void SubtractMana(float amount) override;
    void SubtractLife(float amount, const PlayStatsDamageType& type) override;
    // Inline, read from the parent's vitals in place: every skill asks every frame.
    float GetCurrentMana() override { return mParentBio ? mParentBio->GetCurrentMana() : 0.0f; }
    std::uint32_t GetRightHandWeapon() const override;
    std::uint32_t GetLeftHandWeapon() const override;
    float GetTotalSkillAttribute(SkillAttributeType type) override {
        return mSkillAttributes.GetValue(type);
    }
    void CollectAvailableOffensiveDamageAttributes(
        std::uint32_t weaponId, CombatAttributeAccumulator& accumulator) override;
    void CollectAvailableOffensiveModifierAttributes(
        CombatAttributeAccumulator& accumulator) override;
    float CalculateOffensiveAbility(float value) override;
    void ForceSpeedUpdate() override;
    void SetSpeedUpdateNeeded() override { mSpeedUpdateNeeded = true; }
    void RefreshCooldown() override;
    float GetAttackSpeed() override;
    float GetSpellCastSpeed() override;
    void AddToActiveList(Skill* skill) override;
    void RemoveFromActiveList(Skill* skill) override;
    std::uint32_t SelectWeaponPoolSkill(RandomUniform& random) override;
    std::uint32_t GetDefaultWPSkillId() override { return mDefaultWPSkillId; }
    void PushPetInitialize(Character* pet) override;
    void PopPetInitialize(Character* pet) override;
    void AddWeaponEnchantment(std::uint32_t skillId, const std::string& name) override;
    void RemoveWeaponEnchantment(std::uint32_t skillId) override;
    void AddCharFxPak(std::uint32_t skillId, const std::vector<std::string>& names) override;
    void RemoveCharFxPak(std::uint32_t skillId) override;
    void CharAttributesChanged() override;

    // The counters of the character's record: mastery levels and reclamation prices.
    virtual void Load(const LoadTable& table);
    virtual void PreLoad(bool now);
    virtual void OnDestroy();

    // Creation and set-up.
    void Initialize(CombatManager* combatManager, Character* parent);
    // Gives the manager its services: this machine decides for the character.
    void SetAsControllingManager();
    void ParentIsMonster() { mIsMonster = true; }
    // Reads "skillName1".."skillNameN" with their "skillLevelN" (1 <= count <= 31).
    void LoadSkills(const LoadTable& table, unsigned count);
    void LoadSkills(const std::string& recordName, unsigned count);
    // The default attacks; the default attack's id, 0 when its record makes no skill.
    std::uint32_t LoadDefaultSkills();
    void AddItemSkill(std::uint32_t grantingSkillId, std::uint32_t level);
    void RemoveItemSkill(std::uint32_t grantingSkillId);

    // Lookups.
    std::uint32_t FindSkillId(const std::string& recordName) const;
    std::uint32_t FindItemSkillId(const std::string& recordName) const;
    std::uint32_t GetSkillReferenceNumber(std::uint32_t skillId) const;
    std::uint32_t GetSkillIdFromReference(std::uint32_t reference) const;
    // The skill filed under the id (null for none), kept for a caller that asks with the same
    // one frame after frame (a chase's move-to points).
    const Skill* FindKept(std::uint32_t id);
    bool IsSkillValidForUse(std::uint32_t skillId, bool allowItemSkill) const;
    std::uint32_t GetDefaultSkillId() const { return mDefaultSkillId; }
    const std::vector<std::uint32_t>& GetUISkillList() const { return mUISkills; }
    const std::vector<std::uint32_t>& GetUITempSkillList() const { return mUITempSkills; }
    const std::vector<std::uint32_t>& GetSkillList() const { return mSkills; }
    const std::vector<std::uint32_t>& GetItemSkillList() const { return mItemSkills; }
    const std::vector<std::uint32_t>& GetWeaponPoolSkills() const { return mWeaponPoolSkills; }
    const std::vector<std::uint32_t>& GetOnDeathSkills() const { return mOnDeathSkills; }
    const std::vector<std::uint32_t>& GetActiveList() const { return mActive; }
    std::uint32_t GetDefaultWPChanceWeight() const { return mDefaultWPChanceWeight; }

    // Per frame and life.
    void Update(int ms);
    void PrefetchUpdateData() const;  // asks for what Update reads, ahead of it
    void ImDead();
    // Read once: true when a skill asked for a speed update since the last call.
    bool IsSpeedUpdateNeeded();

    // Attribute gathering: installed skills with a level, then buffs, then item skills.
    void GetCharAttributes(CharAttributeAccumulator& accumulator);
    void GetSkillAttributes(SkillAttributeAccumulator& accumulator);
    void GetOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator);
    void GetOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator);
    void GetRetaliationAttributes(CombatAttributeAccumulator& accumulator);
    void GetDefenseAttributes(CombatAttributeAccumulator& accumulator);
    void ContributeRacialBonusDamage(const std::vector<std::string>& races,
                                     RacialBonus_Damage& bonus);
    void ContributeRacialBonusDefense(const std::vector<std::string>& races,
                                      RacialBonus_Defense& bonus);
    void CollectAvailableSkillAttributes(SkillAttributeAccumulator& accumulator);
    void CollectWeaponTypes();
    // mSkillAttributes gathered again, unless nothing they come from has changed; the root as
    // the update looked it up.
    void RefreshSkillAttributes(const GameEngine* engine);
    // Readies the walk over the active list: a copy of it and its skills.
    void FindWalkSkills(std::uint64_t destroyed);
    // What the walk reads of the manager and its character. While it stays and every skill
    // keeps the mark a walk that changed nothing left, the walk changes nothing again and only
    // owes the root its skills' draws.
    struct WalkInputs {
        const Character* parent = nullptr;
        const SkillServicesBase* services = nullptr;
        std::uint32_t charInputs = 0;
        std::uint32_t stamp = 0;
        std::uint32_t manaBits = 0;
        int hands = 0;
        bool operator==(const WalkInputs&) const = default;
    };
    WalkInputs ReadWalkInputs(int hands);
    bool WalkListKept(std::uint64_t destroyed) const {
        return mWalkKept && mWalkVersion == mActiveVersion && mWalkDestroyed == destroyed;
    }
    bool QuietWalkHolds(const WalkInputs& inputs, std::uint64_t destroyed) const;
    // The walk over the copy; quiet says the kept answer holds (debug builds check it).
    void WalkSkills(int ms, std::uint64_t destroyed, const WalkInputs& inputs, bool quiet);
    void KeepQuietWalk(const WalkInputs& before);
    // Whether the whole frame would only draw once per walk skill: then it is skipped.
    bool QuietFrameHolds(const GameEngine* engine);

    // Skill use (SkillManagerUse.cpp); the reference names the skill. Each does nothing (false)
    // when the reference names no skill of the kind it needs.
    bool StartSkill(std::uint32_t reference, std::uint32_t targetId, const WorldVec3& point,
                    int seed);
    bool HandleSkillAnimationCallback(const Name& event, std::uint32_t reference,
                                      std::uint32_t targetId, const WorldVec3& point);
    void CancelSkillAction(std::uint32_t reference);
    bool SkillWarmUp(std::uint32_t reference, bool ending);
    void DeleteProjectile(std::uint32_t) {}

    // Character-wide effects; the walks go over copies, so a skill may leave a list meanwhile.
    void ApplyCooldownDamage(float value);
    void UnderAttack(const ParametersCombat& parameters);
    // Every buff is told of the dispel; the self buffs among the skills stop for the buffs' one.
    void DispelSkillBuffs();
    void DispelSkillDeBuffs();
    // The enchantment shown on the weapons: the most recently added one still present.
    const std::string& GetVisibleWeaponEnchantment() const { return mVisibleEnchantment; }
    // The skill whose effect packs are on the character (the oldest entry still present).
    std::uint32_t GetCurrentFxPakSkillId() const { return mCurrentFxPakSkill; }
    std::size_t GetCurrentFxPakCount() const { return mCurrentFxPaks.size(); }
    const std::vector<std::uint32_t>& GetPetsToInitialize() const { return mPetsToInitialize; }

    // What the skill commands ask on every machine; the reference names the skill.
    void SkillTargetResult(std::uint32_t reference, const std::vector<std::uint32_t>& targets,
                           const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                           bool useWeapon, int hitIteration);
    void CreateProjectile(std::uint32_t reference, std::uint32_t weaponId,
                          const WorldCoords& origin, std::uint32_t targetId, const WorldVec3& aim,
                          std::uint32_t projectileId, std::uint32_t seed,
                          std::uint32_t hitIteration);
    void SkillSpawnObject(std::uint32_t reference, const WorldCoords& origin,
                          std::uint32_t targetId, const std::vector<WorldCoords>& positions,
                          const std::vector<std::uint32_t>& ids, std::uint32_t spawnValue);
    void SkillStateUpdateCommand(std::uint32_t reference, const SkillState& state);
    void SkillActiveStateUpdateCommand(std::uint32_t reference, const SkillActiveState& state);
    void CreateRemoveSkillBuff(std::uint32_t skillId, const std::string& buffName,
                               std::uint32_t level, const std::string& modifier1Name,
                               std::uint32_t modifier1Level, const std::string& modifier2Name,
                               std::uint32_t modifier2Level, int timeToLive, std::uint32_t casterId,
                               bool replica = false);
    // Whether the table holds the buff (the name in any case, with either slash).
    bool IsSkillBuffActive(const std::string& buffName) const;
    // An identical transfer again: the running buff only lives longer.
    void RefreshSkillBuffTimeToLive(const std::string& buffName, std::uint32_t timeToLive);

    // Replication and the character file (SkillManagerSave.cpp).
    void GetSkillReplica(std::vector<_SkillReplica>& out) const;
    void SetSkillReplica(const std::vector<_SkillReplica>& replicas);
    void GetSkillBuffReplica(std::vector<_SkillBuffReplica>& out) const;
    void SetSkillBuffReplica(const std::vector<_SkillBuffReplica>& replicas);
    void StreamProperties(IOStream& stream);

    // Masteries, points and reclamation (SkillManagerPoints.cpp).
    void UpdateMasteriesAllowed(std::uint32_t characterLevel);
    void DebugIncrementMasteriesAllowed() { ++mMasteriesAllowed; }
    std::uint32_t GetSkillMasteriesAllowed() const { return mMasteriesAllowed; }
    void AddMasteryAllowedIncrementLevel(std::uint32_t level);
    void GetSkillMasteries(std::vector<std::uint32_t>& masteries) const;
    std::uint32_t GetSkillMasteriesActive() const;
    std::uint32_t GetNumRegularSkillPoints() const;
    std::uint32_t GetNumMasteryPoints() const;
    std::uint32_t GetNumOfNonMasterySkillsWithPoints() const;
    void IncrementSkill(std::uint32_t skillId, int amount);
    void SetSkillLevelAugment(const std::string& recordName, std::uint32_t amount);
    void RemoveSkillLevelAugment(const std::string& recordName, std::uint32_t amount);
    void SetMasteryAugment(const std::string& masteryName, std::uint32_t amount);
    void RemoveMasteryAugment(const std::string& masteryName, std::uint32_t amount);
    void SetAllSkillAugment(std::uint32_t amount, const std::string& excludedName);
    void RemoveAllSkillAugment(std::uint32_t amount, const std::string& excludedName);
    std::uint32_t GetCurrentSkillReclamationCost() const;
    bool UseReclamationPoints(int count);
    std::uint32_t GetReclamationPointsUsed() const { return mReclamationPointsUsed; }
    // Room for the calling thread's walks over copies of skill lists, made before any walk.
    static void ReserveWalkCopies();

private:
    // A buff others cast on the character, with its two modifiers (object ids).
    struct BuffEntry {
        std::uint32_t buff = 0;
        std::uint32_t modifier1 = 0;
        std::uint32_t modifier2 = 0;
    };

    static Skill* Find(std::uint32_t id);
    // The buff table (SkillManagerBuffs.cpp). An entry's objects are reset, the buff uninstalled
    // and all three destroyed; the caller has taken the entry out of the table.
    void RemoveBuffEntry(const BuffEntry& entry, bool replica);
    // The same, or, while the manager's frame runs (a buff may end itself inside its own
    // update), once the frame's walk is over.
    void DropBuffEntry(const BuffEntry& entry, bool replica);
    void DropDeferredBuffs();
    void CreateSkillBuff(const _SkillBuffReplica& replica, bool replicaFlag);
    void RebuildUITempSkills();
    void CreateAndLoadSkill(const std::string& recordName, std::uint32_t level,
                            std::uint32_t& masteryId, std::uint32_t& baseSkillId);
    // Gives a new skill its manager and level and lists it.
    void Adopt(Skill& skill, std::uint32_t level);
    bool IsDefaultSkill(std::uint32_t id) const {
        return id == mDefaultSkillId || id == mDefaultWPSkillId;
    }
    void DestroySkill(std::uint32_t id, int line);
    // Every installed skill with a level, every buff, every item skill with a level.
    template <class Visit>
    void ForEachContributor(Visit&& visit);
    // Applies a change to every skill of the list whose record passes the test.
    template <class Test, class Change>
    void ForEachSkill(Test&& test, Change&& change);
    std::uint32_t CostAt(std::uint32_t pointsUsed) const;
    SkillActivated* FindActivated(std::uint32_t reference) const;
    // Calls visit on every skill of a copy that fill makes, so that skills may leave the lists
    // meanwhile; the copies are kept per nesting depth, for every manager of the thread, and
    // reused.
    template <class Fill, class Visit>
    void WalkCopy(Fill&& fill, Visit&& visit);
    void RebuildCharFxPaks();
    void InitializeWaitingPets();
    // FindWalkSkills' copy made anew, out of line: most frames keep it.
    [[gnu::noinline]] void RebuildWalk(std::uint64_t destroyed);
#ifndef NDEBUG
    // What a quiet frame leaves as it was, taken before the frame and compared after it.
    struct QuietFrameCheck {
        bool quiet = false;
        std::uint32_t draws = 0;  // the root generator's state the frame must end at
        std::uint32_t stamp = 0;
        std::uint32_t activeVersion = 0;
        Weapon_Type right = kGenericWeapon;
        Weapon_Type left = kGenericWeapon;
        bool ranged = false;
        Skill_RangeProfile profile = Skill_RangeProfile::Melee;
    };
    QuietFrameCheck StartQuietFrameCheck(GameEngine* engine);
    void EndQuietFrameCheck(const QuietFrameCheck& check, bool walkQuiet);
#endif

    // What a quiet frame's test reads leads the object, in four lines (PrefetchUpdateData asks
    // for them and the next): the scalars, then the lists it finds empty.
    CombatManager* mCombatManager = nullptr;
    // The parent's vitals, whose mana is the parent's (Character::GetCurrentMana is final).
    const CharacterBio* mParentBio = nullptr;
    Weapon_Type mRightWeaponType = kGenericWeapon;
    Weapon_Type mLeftWeaponType = kGenericWeapon;
    std::uint32_t mSkillAttributesInputs = 0;
    unsigned mSkillAttributesBalance = 0;
    std::uint32_t mActiveVersion = 0;  // counts the changes of mActive
    std::uint32_t mWalkVersion = 0;
    std::uint64_t mWalkDestroyed = 0;
    WalkInputs mQuietInputs;
    bool mDualWield = false;
    // A gathering that drew no chance roll depends on its sources alone: it is kept until the
    // character's change count, the balance level or the generator moves.
    bool mSkillAttributesKept = false;
    // The active list's walk: the copy, its skills as found, and what they were found under.
    bool mWalkKept = false;
    bool mSpeedUpdateNeeded = false;  // asked every frame
    // The walk's length while it is quiet: a quiet frame's draws.
    std::uint32_t mQuietDraws = 0;
    // Pets waiting for their first update, by id: one destroyed meanwhile is simply missed.
    std::vector<std::uint32_t> mPetsToInitialize;
    std::vector<std::uint32_t> mItemSkills;
    std::vector<std::pair<BuffEntry, bool>> mDeferredBuffs;
    std::map<std::string, BuffEntry> mBuffs;  // by normalised buff record name
    int mFrameDepth = 0;
    // The fifth line: a chase asks for its skill every frame.
    ObjectManager::Kept<Skill> mKept;
    // Each skill beside its id, in one block: a character's first walk allocates once, from
    // recycled blocks (huge pages written ahead, where the heap's fresh pages would fault in
    // a crowd's first frames and each cost a translation of its own every frame after).
    struct WalkEntry {
        Skill* skill = nullptr;
        std::uint32_t id = 0;
    };
    std::vector<WalkEntry, RecycledAllocator<WalkEntry>> mWalk;
#ifndef NDEBUG
    std::vector<SkillUpdateBytes> mQuietBytes;  // each walk skill's bytes when marked
#endif
    // Not read by an update whose gathering is kept.
    SkillAttributeAccumulator mSkillAttributes;
    std::uint32_t mSkillAttributesState = 0;
    // Owned here; the base holds it for the skills.
    std::unique_ptr<SkillServicesBase> mServices;

    // Reused every frame, so the walks over skills that may change the lists allocate nothing.
    std::vector<std::uint32_t> mScratch;
    std::vector<std::uint32_t> mSkills;  // index = reference number
    std::vector<std::uint32_t> mWeaponPoolSkills;
    std::vector<std::uint32_t> mOnDeathSkills;
    std::vector<std::uint32_t> mMasteryIncrementLevels;
    std::uint32_t mMasteriesAllowed = 0;
    std::vector<std::uint32_t> mReclamationPointTiers;
    std::vector<std::uint32_t> mReclamationPointCosts;
    std::uint32_t mReclamationPointsUsed = 0;
    bool mIsMonster = false;
    std::vector<std::uint32_t> mUITempSkills;
    std::vector<std::uint32_t> mUISkills;
    std::uint32_t mDefaultSkillId = 0;
    std::uint32_t mDefaultWPSkillId = 0;
    std::uint32_t mDefaultWPChanceWeight = 100;
    std::vector<std::uint32_t> mActive;  // installed; a subset of the skill list
    std::map<std::uint32_t, std::uint32_t> mItemSkillTable;  // granting skill -> item skill
    std::vector<std::pair<std::uint32_t, std::string>> mWeaponEnchantments;
    std::string mVisibleEnchantment;
    std::vector<std::pair<std::uint32_t, std::vector<std::string>>> mCharFxPaks;
    std::uint32_t mCurrentFxPakSkill = 0;
    std::vector<std::unique_ptr<CharFxPak>> mCurrentFxPaks;
};

}  // namespace GAME
