#pragma once
// A spawn proxy: an invisible marker a level designer places to populate its surroundings. Its
// record names, per game difficulty, up to six weighted monster pools and an accessory pool; on
// the machine that owns the game state the chosen pools make their objects while the level loads
// (on the loader thread), and the proxy's first update places them on free points around it.
// A proxy runs at most once per saved game: the done flag is its saved state.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Engine/object/Object.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/CriticalSection.h"
#include "Game/core/players/PlayerInfo.h"
#include "Game/rules/formulas/EquationInterface.h"

namespace GAME {

class ProxyPool;
class ProxyAccessoryPool;
template <class T>
class DesignerEquation;

// A record of the proxy family (pool, formula or monster record), loaded once per machine.
LoadTable LoadProxyRecord(const std::string& name);

class Proxy : public Actor, public EquationInterface_Algebra {
    RTTI_DECLARE(Proxy)
public:
    struct ProxySelection {
        std::string name;
        std::uint32_t weight = 0;
    };

    Proxy();
    ~Proxy() override;

    void Load(const LoadTable& record) override;
    void PreLoad(bool now) override;
    bool OccludesPathing() const override { return false; }
    bool CanCollide(const Entity&) const override { return false; }
    void InitialUpdate() override;
    bool ShouldServerSpawn() const override { return false; }
    virtual bool ShouldSaveState() const { return true; }
    void SaveState(BinaryWriter& writer) override;
    void RestoreState(BinaryReader& reader) override;

    // Sets the done flag: a proxy disabled before it runs never places anything.
    void Disable() { mDone = true; }
    bool IsDone() const { return mDone; }
    void GetPrimaryObjects(std::vector<std::uint32_t>& out);
    void GetAccessoryObjects(std::vector<std::uint32_t>& out);
    void GetPlacedObjects(std::vector<std::uint32_t>& out) const { out = mPlacedObjects; }
    ProxyPool* GetMainPool() const { return mMainPool.get(); }
    ProxyAccessoryPool* GetAccessoryPool() const { return mAccessoryPool.get(); }
    unsigned int GetLimitedAverageLevel() const { return mLimitedAverageLevel; }

    // Pool formulas: "poolValue" reads `value`; a missing or broken formula gives `value`.
    int RunEquation(const std::string& formula, int value);
    // The price of one pool entry: the larger of its own and the character formula's.
    int CalculateCharacterDifficulty(const LoadTable& monsterRecord,
                                     unsigned int entryDifficulty) const;
    // The share of the budget spent on champions, within [0, available].
    int CalculateChampionDifficulty(unsigned int available) const;

    bool GetDesignerVariable(const char* name, float& value) override;

protected:
    void SetDesignerLimits();
    void InitializePools(const LoadTable& record);
    void LoadPoolSelection(const LoadTable& record, const char* poolKey, const char* weightKey,
                           std::vector<ProxySelection>& out) const;
    unsigned int SelectPool(const std::vector<ProxySelection>* list) const;
    std::string GetPoolName(const std::vector<ProxySelection>* list, unsigned int index) const;
    void RunProxy();
    void SelectPoolLoctions(const std::vector<std::uint32_t>& objects,
                            std::vector<WorldCoords>& locations, bool randomYaw);
    void PlaceObjects(std::vector<std::uint32_t>& objects,
                      const std::vector<WorldCoords>& locations);
    virtual void PoolComplete(ProxyPool* pool, const std::vector<WorldCoords>& locations);
    virtual void AccessoryComplete(ProxyAccessoryPool* pool,
                                   const std::vector<WorldCoords>& locations);

private:
    void AddUniqueIdToEntity(Entity* entity);
    // Parses a formula of the difficulty record; null (logged) when the text does not parse.
    std::unique_ptr<DesignerEquation<float>> ParseFormula(const std::string& text, const char* key);

    bool mDone = false;
    float mChanceToRun = 0;
    std::string mLimitsFile;
    std::unique_ptr<DesignerEquation<float>> mDifficultyEquation;
    PlayerInfo mPlayerInfo;
    unsigned int mLimitedAverageLevel = 0;
    std::unique_ptr<DesignerEquation<float>> mCharacterDifficultyEquation;
    mutable unsigned int mCharacterLevel = 0;
    mutable unsigned int mEntryDifficulty = 0;
    std::unique_ptr<DesignerEquation<float>> mChampionDifficultyEquation;
    mutable unsigned int mAvailableChampionDifficulty = 0;
    std::int32_t mPoolValue = 0;
    float mPlacementExtents = 2.5f;
    std::unique_ptr<ProxyPool> mMainPool;
    std::unique_ptr<ProxyAccessoryPool> mAccessoryPool;
    std::vector<WorldCoords> mMainPoolLocations;
    std::vector<WorldCoords> mAccessoryLocations;
    std::vector<std::uint32_t> mPlacedObjects;
    // Set when a saved state was taken up: the pools are not built then.
    bool mRestored = false;
    mutable CriticalSection mLock;
};

}  // namespace GAME
