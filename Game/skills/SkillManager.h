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
#include <vector>

#include "Game/rules/SkillAttribute.h"
#include "Game/skills/SkillManagerBase.h"
#include "Game/skills/SkillState.h"

namespace GAME {

class CharAttributeAccumulator;
class CombatManager;
class IOStream;
class LoadTable;
class NetPacketInBuffer;
class NetPacketOutBuffer;
struct RacialBonus_Damage;
struct RacialBonus_Defense;
struct WorldCoords;
struct WorldVec3;

class SkillManager : public SkillManagerBase {
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
    SkillServicesBase* GetSkillServices() override { return mServices.get(); }
    Character* GetParent() override { return mParent; }
    bool IsMonsterSkill() override { return mIsMonster; }
    int GetHandState() override;
    bool IsRangedWeapon() override { return mRangedWeapon; }
    Skill_RangeProfile GetWeaponRangeProfile() override { return mWeaponRangeProfile; }
    void GetWeaponTypes(Weapon_Type& right, Weapon_Type& left) override;
    void SubtractMana(float amount) override;
    void SubtractLife(float amount, const PlayStatsDamageType& type) override;
    float GetCurrentMana() override;
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
                               std::uint32_t modifier2Level, int timeToLive,
                               std::uint32_t casterId);
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
    void SetSkillMasteriesAllowed(std::uint32_t count) { mMasteriesAllowed = count; }
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
    void SetReclamationPointsUsed(std::uint32_t count) { mReclamationPointsUsed = count; }

private:
    // A buff others cast on the character, with its two modifiers (object ids).
    struct BuffEntry {
        std::uint32_t buff = 0;
        std::uint32_t modifier1 = 0;
        std::uint32_t modifier2 = 0;
    };

    static Skill* Find(std::uint32_t id);
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

    CombatManager* mCombatManager = nullptr;
    Character* mParent = nullptr;
    std::vector<std::uint32_t> mSkills;  // index = reference number
    std::vector<std::uint32_t> mWeaponPoolSkills;
    std::vector<std::uint32_t> mOnDeathSkills;
    std::vector<std::uint32_t> mMasteryIncrementLevels;
    std::uint32_t mMasteriesAllowed = 0;
    std::vector<std::uint32_t> mReclamationPointTiers;
    std::vector<std::uint32_t> mReclamationPointCosts;
    std::uint32_t mReclamationPointsUsed = 0;
    bool mDualWield = false;
    bool mSpeedUpdateNeeded = false;
    std::map<std::string, BuffEntry> mBuffs;  // by normalised buff record name
    std::vector<std::uint32_t> mUITempSkills;
    std::vector<std::uint32_t> mUISkills;
    std::uint32_t mDefaultSkillId = 0;
    std::uint32_t mDefaultWPSkillId = 0;
    std::uint32_t mDefaultWPChanceWeight = 100;
    SkillAttributeAccumulator mSkillAttributes;
    std::vector<std::uint32_t> mActive;  // installed; a subset of the skill list
    Weapon_Type mRightWeaponType = kGenericWeapon;
    Weapon_Type mLeftWeaponType = kGenericWeapon;
    bool mRangedWeapon = false;
    Skill_RangeProfile mWeaponRangeProfile = Skill_RangeProfile::Melee;
    std::vector<std::uint32_t> mItemSkills;
    std::map<std::uint32_t, std::uint32_t> mItemSkillTable;  // granting skill -> item skill
    std::unique_ptr<SkillServicesBase> mServices;
    bool mIsMonster = false;
    // Reused every frame, so the walk over skills that may change the lists allocates nothing.
    std::vector<std::uint32_t> mScratch;
};

}  // namespace GAME
