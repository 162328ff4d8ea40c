#pragma once
// A character's combat: the designers' combat formulas from its combat record, evaluated for
// that character, the resolution of every attack it takes, and the damage applied to its life.
// Every line of the combat trace goes to the engine log on the "combat" channel while the trace
// is switched on for the thread (off by default: a resolved attack then formats nothing).
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Engine/sys/RecycledBlocks.h"
#include "Game/items/equipment/EquipManager.h"
#include "Game/rules/RacialBonus.h"
#include "Game/rules/combat/CombatAttributeType.h"
#include "Game/rules/duration/DurationDamageManager.h"
#include "Game/rules/formulas/DesignerEquation.h"
#include "Game/rules/formulas/EquationInterface.h"

namespace GAME {

class Bonus;
class Character;
class CombatAttributeAccumulator;
class CombatFilter;
class LoadTable;
class ParametersCombat;
class RandomUniform;

enum class CombatManager_State : std::int32_t { NotInCombat = 0, InCombat = 1 };

// The combat record's formulas, in the manager's order (the DLEP armour formula, whose key is
// spelled so in the records, before the DGP one).
// clang-format off
#define GAME_COMBAT_FORMULAS(X) \
    X(PhysicalDamage, "physicalDamageEquation") \
    X(PierceDamage, "pierceDamageEquation") \
    X(ElementalDamage, "elementalDamageEquation") \
    X(ElementalDurationDamage, "elementalDurationDamageEquation") \
    X(ArmorDLEP, "physcialDamageDefenseEquationDLEP") \
    X(ArmorDGP, "physicalDamageDefenseEquationDGP") \
    X(OffensiveAbility, "offensiveAbilityEquation") \
    X(DefensiveAbility, "defensiveAbilityEquation") \
    X(ProbabilityToHit, "probabilityToHitEquation") \
    X(MeleeBlock, "meleeBlockEquation") \
    X(ProjectileBlock, "projectileBlockEquation") \
    X(ShieldDGB, "shieldDamageReductionEquationDGB") \
    X(ShieldDLEB, "shieldDamageReductionEquationDLEB") \
    X(NormalPTH, "normalPTHEquation")

// The stored designer variables, answered by name.
#define GAME_COMBAT_VARIABLES(X) \
    X(physicalDamageDV) X(pierceDamageDV) X(elementalDamageDV) X(sumProtectionDV) \
    X(sumAbsorptionDV) X(bonusDV) X(offensiveAbilityDV) X(offensiveAbilityModifierDV) \
    X(defensiveAbilityDV) X(defensiveAbilityModifierDV) X(probabilityToHitDV) X(blockChanceDV) \
    X(blockChanceModifierDV) X(shieldDefenseDV) X(shieldAbsorptionDV) X(damageDV)
// clang-format on

enum class CombatFormula : std::size_t {
#define GAME_COMBAT_FORMULA_ID(Id, Key) Id,
    GAME_COMBAT_FORMULAS(GAME_COMBAT_FORMULA_ID)
#undef GAME_COMBAT_FORMULA_ID
        Count
};

// Read every frame: in recycled blocks, beside the other characters' (huge pages).
class CombatManager : public EquationInterface<float>, public RecycledStorage {
public:
    static constexpr int kInCombatDuration = 8000;
    static constexpr float kMissScale = 99.0f;
    static constexpr std::size_t kThresholds = 6;
    static constexpr std::size_t kRegions = 6;
    static constexpr const char* kTraceChannel = "combat";

    CombatManager();
    ~CombatManager() override;
    CombatManager(const CombatManager&) = delete;
    CombatManager& operator=(const CombatManager&) = delete;

    bool GetDesignerVariable(const char* name, float& value) override;

    // The character and, for its duration damage, the character as that manager's owner.
    void AssignParent(Character* character);
    Character* GetCharacter() const { return mCharacter; }
    // The hand and foot hit damage of the character's own record.
    void Load(const LoadTable& table);
    void LoadRecord(const std::string& fileName);
    void Update(int ms);

    // Resolves one attack on the character; true when it hit.
    bool TakeAttack(ParametersCombat& params);
    // False when the racial pool or a filter took all of it.
    bool ApplyDamage(float damage, const PlayStatsDamageType& kind, CombatAttributeType type);
    void ApplyLifeLeech(float percent) { mLifeLeechPercent += percent; }
    void AddCombatFilter(CombatFilter* filter);
    void RemoveCombatFilter(CombatFilter* filter);
    void ImDying();
    // The character gives one bonus to the character of that id, if any.
    void GiveBonus(const Bonus& bonus, std::uint32_t characterId);

    // The lasting effects of the attacks taken, updated at the end of Update.
    DurationDamageManager& GetDurationDamageMgr() { return mDurationDamage; }
    const DurationDamageManager& GetDurationDamageMgr() const { return mDurationDamage; }
    bool IsPoisoned() const { return mDurationDamage.IsPoisoned(); }

    // The character's own lasting effects on its speeds, abilities and reductions.
    float GetRunSpeed(float speed) const;
    float GetAttackSpeed(float speed) const;
    float ContributeSpellCastSpeed(float speed) const;
    float ContributeOffensiveAbility(float oa) const;
    float ContributeDefensiveAbility(float da) const;
    float ContributeOffensiveReduction() const;
    float ContributeDefensiveReduction() const;
    float ContributeFumbleDamage() const;
    float ContributeProjectileFumbleDamage() const;
    float ContributeTotalDamageReductionPercent() const;
    float ContributeTotalDamageReductionAbsolute() const;
    float ContributeTotalResistanceReductionPercent() const;
    float ContributeTotalResistanceReductionAbsolute() const;

    float GetRegionChance(CombatAttributeRegion region) const;
    CombatAttributeRegion PickRegion(RandomUniform& gen) const;
    CombatManager_State GetCombatState() const { return mState; }
    int GetInCombatTimeLeft() const { return mInCombatLeft; }
    std::uint32_t GetAttackerId() const { return mLastAttacker; }
    void SetAttacker(std::uint32_t id) { mLastAttacker = id; }
    int GetBlockRecoveryLeft() const { return mBlockRecoveryLeft; }
    // What the character wears and holds on this machine.
    EquipManager& GetEquipManager() { return mEquipManager; }
    const EquipManager& GetEquipManager() const { return mEquipManager; }
    const std::vector<EquipManagerContainer>& GetAttachedItems() const {
        return mEquipManager.GetAttachedItems();
    }
    void AttachItemAction(std::uint32_t id, std::uint32_t location) {
        mEquipManager.AttachItemAction(id, location);
    }
    void DetachItemAction(std::uint32_t id) { mEquipManager.DetachItemAction(id); }
    int GetHandState() const { return mEquipManager.GetHandState(); }
    std::uint32_t GetRightHandWeapon() const { return mEquipManager.GetRightHandWeapon(); }
    std::uint32_t GetLeftHandWeapon() const { return mEquipManager.GetLeftHandWeapon(); }
    std::uint32_t GetEquipmentArmorId() const { return mEquipManager.GetArmorId(); }
    WorldCoords GetAttachCoords(std::uint32_t location) const {
        return mEquipManager.GetAttachCoords(location);
    }
    void GetHandHitDamage(float& min, float& max) const {
        min = mHandMin;
        max = mHandMax;
    }
    // A bare-handed blow: one draw of the accumulator's generator, a physical payload when
    // it comes out above 0.
    void GetHandHitDamage(CombatAttributeAccumulator& accumulator) const;
    bool HasFormula(CombatFormula formula) const {
        return mFormulas[static_cast<std::size_t>(formula)] != nullptr;
    }

    // The designer calculations, for the character's own formulas.
    float DesignerCalculatePhysicalDamage(float x);
    float DesignerCalculatePierceDamage(float x);
    float DesignerCalculateElementalDamage(float x);
    float DesignerCalculateElementalDurationDamage(float x);
    float DesignerCalculateOffensiveAbility(float bonus);
    float DesignerCalculateDefensiveAbility(float bonus);
    float DesignerCalculateProbabilityToHit(float oa, float da);
    float DesignerCalculatePhysicalDamageDefense(float damage, float protection, float absorbed,
                                                 float bonus);
    bool DesignerCalculateMeleeBlockChance(float blockChance, float blockModifier, float pth,
                                           RandomUniform& gen);
    bool DesignerCalculateProjectileBlockChance(float blockChance, float blockModifier, float pth,
                                                RandomUniform& gen);
    float DesignerCalculateShieldBlockDamageReduction(float damage, float shieldDefense,
                                                      float shieldAbsorption);
    // The damage multiplier of an attack, 0 for a miss; `roll` is a draw in [0, 1].
    float CalculateDamageModifier(float pth, float roll);
    bool CanIDodgeAttack(RandomUniform& gen);
    bool CanIDeflectProjectile(RandomUniform& gen);

    // The defender strikes back at a melee attacker with its retaliation attributes.
    void Retaliation(ParametersCombat& params);
    // Returns the reflected share of an attack, already filtered and scaled, to its attacker.
    void ReflectCombatDamage(ParametersCombat& copy, std::uint32_t attackerId);

    // The machine's switch for the critical-strike text (on unless switched off).
    static void SetCriticalHitTextEnabled(bool on);
    static bool IsCriticalHitTextEnabled();

    static void SetTraceEnabled(bool on);
    static bool IsTraceEnabled();
    // Writes one line of the combat trace.
    static void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

private:
    float Evaluate(CombatFormula formula, float fallback) const;
    bool BlockTest(CombatFormula formula, const char* kind, float blockChance, float blockModifier,
                   float pth, RandomUniform& gen);
    bool ChanceTest(float chance, RandomUniform& gen, const char* caused, const char* notMet);
    // A shield in the left hand, out of its recovery time, may block a melee or projectile
    // hit: the damage shrinks by the shield's values and the recovery time starts.
    void TryShieldBlock(const ParametersCombat& params, CombatAttributeAccumulator& attack,
                        float pth, RandomUniform& attackGen);
    // The sounds and text of a hit: impact for melee, then those of a critical strike.
    void HitFeedback(const ParametersCombat& params, Character* attacker, float multiplier,
                     float blunt);

    Character* mCharacter = nullptr;
    EquipManager mEquipManager;
    DurationDamageManager mDurationDamage;
    float mHandMin = 0.0f;
    float mHandMax = 0.0f;
    float mFootMin = 0.0f;
    float mFootMax = 0.0f;
    CombatManager_State mState = CombatManager_State::NotInCombat;
    int mInCombatDuration = kInCombatDuration;
    int mInCombatLeft = 0;
    std::uint32_t mLastAttacker = 0;
    float mLifeLeechPercent = 0.0f;
    std::vector<std::pair<CombatAttributeRegion, std::uint32_t>> mRegionChances;
    std::uint32_t mRegionTotal = 0;
    // Every designer variable starts at 0, so a formula that reads one before any calculation
    // has stored it reads a defined value.
#define GAME_COMBAT_VARIABLE_FIELD(Name) float m_##Name = 0.0f;
    GAME_COMBAT_VARIABLES(GAME_COMBAT_VARIABLE_FIELD)
#undef GAME_COMBAT_VARIABLE_FIELD
    std::array<std::unique_ptr<DesignerEquation<float>>,
               static_cast<std::size_t>(CombatFormula::Count)>
        mFormulas;
    float mMissScale = kMissScale;
    std::array<float, kThresholds> mThresholds{};
    std::array<float, kThresholds> mModifiers{};
    std::vector<CombatFilter*> mFilters;
    RacialBonus_Defense mRacialDefense;
    int mBlockRecoveryLeft = 0;
};

}  // namespace GAME
