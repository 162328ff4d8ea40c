#pragma once
// The defense attributes of one owner in load order: the order of their display lines, of the
// payloads they add to an attack (and so of its chance draws), and of their jitter draws.
#include <memory>
#include <vector>

#include "Engine/records/LoadTable.h"
#include "Game/rules/DefenseAttribute.h"

namespace GAME {

class DefenseAttributeStore {
public:
    DefenseAttributeStore() = default;
    virtual ~DefenseAttributeStore();
    DefenseAttributeStore(const DefenseAttributeStore&) = delete;
    DefenseAttributeStore& operator=(const DefenseAttributeStore&) = delete;

    virtual void CreateText(DefenseTextList& baseLines, DefenseTextList& attributeLines,
                            unsigned level) const;
    virtual void CreateNextText(DefenseTextList& baseLines, DefenseTextList& attributeLines,
                                unsigned level, unsigned nextLevel) const;
    // Appends a non-null attribute; null is ignored.
    virtual void AddAttribute(std::unique_ptr<DefenseAttribute> attribute);
    virtual void AddToAccumulator(CombatAttributeAccumulator& accumulator, unsigned level) const;
    virtual void ScaleAttributes(float percent);

    RandomUniform* GetRandomGen() const { return mRandom; }
    void SetRandomGen(RandomUniform* random) { mRandom = random; }
    void GetCostInfo(CostInfo_DefenseAttributes& cost) const;
    void Clear();
    const std::vector<std::unique_ptr<DefenseAttribute>>& GetAttributes() const {
        return mAttributes;
    }

    // One class from the main record and then from each extra record; each kept only where
    // its record has a value. Extra records are jittered by their own "lootRandomizerJitter".
    template <class T>
    static void LoadAttribute(DefenseAttributeStore& store, const LoadTable& record,
                              const LoadTable* firstExtra, const LoadTable* secondExtra,
                              float jitterPercent) {
        LoadOne(store, std::make_unique<T>(), record, jitterPercent, false);
        if (firstExtra != nullptr)
            LoadOne(store, std::make_unique<T>(), *firstExtra,
                    firstExtra->GetFloat("lootRandomizerJitter", 0.0f), false);
        if (secondExtra != nullptr)
            LoadOne(store, std::make_unique<T>(), *secondExtra,
                    secondExtra->GetFloat("lootRandomizerJitter", 0.0f), false);
    }
    template <class T>
    static void LoadCharacterAttribute(DefenseAttributeStore& store, const LoadTable& record) {
        LoadOne(store, std::make_unique<T>(), record, 0.0f, true);
    }

private:
    static void LoadOne(DefenseAttributeStore& store, std::unique_ptr<DefenseAttribute> attribute,
                        const LoadTable& record, float jitterPercent, bool keepIfEmpty);

    std::vector<std::unique_ptr<DefenseAttribute>> mAttributes;
    RandomUniform* mRandom = nullptr;
};

class DefenseAttributeStore_Equipment : public DefenseAttributeStore {
public:
    virtual void Load(const LoadTable& record, const LoadTable* firstExtra,
                      const LoadTable* secondExtra, bool armor, CombatAttributeRegion region);
};

class DefenseAttributeStore_Skill : public DefenseAttributeStore {
public:
    virtual void Load(const LoadTable& record);
};

// A character's twelve resistances, always present.
class DefenseAttributeStore_Character : public DefenseAttributeStore {
public:
    virtual void Load(const LoadTable& record);
};

}  // namespace GAME
