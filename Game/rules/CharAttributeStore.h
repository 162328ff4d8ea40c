#pragma once
// The character attributes of one source (a character's bio, an item, a skill), in load
// order, which is also their display order and the order of their jitter draws.
#include <memory>
#include <vector>

#include "Game/rules/CharAttribute.h"

namespace GAME {

class CharAttributeStore {
public:
    CharAttributeStore() = default;
    virtual ~CharAttributeStore();
    CharAttributeStore(const CharAttributeStore&) = delete;
    CharAttributeStore& operator=(const CharAttributeStore&) = delete;

    virtual void CreateText(TextList& first, TextList& second, unsigned level) const;
    virtual void CreateNextText(TextList& first, TextList& second, unsigned level,
                                unsigned nextLevel) const;
    virtual void AddToStore(std::unique_ptr<CharAttribute> attribute);
    virtual void AddToAccumulator(CharAttributeAccumulator& accumulator, unsigned level) const;
    virtual void ScaleAttributes(float percent);

    RandomUniform* GetRandomGen() const { return mRandom; }
    void SetRandomGen(RandomUniform* random) { mRandom = random; }
    void GetCostInfo(CostInfo_CharacterAttributes& cost) const;
    void Clear();

    const std::vector<std::unique_ptr<CharAttribute>>& GetAttributes() const { return mAttributes; }

protected:
    // Reads one leaf from the base record and, when given, the prefix and suffix records.
    template <class T>
    static void LoadAttribute(CharAttributeStore& store, const LoadTable& record,
                              const LoadTable* prefix, const LoadTable* suffix, float jitter,
                              bool keepWhenEmpty) {
        auto attribute = std::make_unique<T>();
        LoadAttributeInto(store, std::move(attribute), record, prefix, suffix, jitter,
                          keepWhenEmpty);
    }
    static void LoadAttributeInto(CharAttributeStore& store,
                                  std::unique_ptr<CharAttribute> attribute, const LoadTable& record,
                                  const LoadTable* prefix, const LoadTable* suffix, float jitter,
                                  bool keepWhenEmpty);

    std::vector<std::unique_ptr<CharAttribute>> mAttributes;
    RandomUniform* mRandom = nullptr;
};

class CharAttributeStore_Bio : public CharAttributeStore {
public:
    virtual void Load(const LoadTable& record);
    virtual void SetBaseValue(CharAttributeType type, float value);
    virtual float GetBaseValue(CharAttributeType type) const;
};

class CharAttributeStore_Equipment : public CharAttributeStore {
public:
    // withoutBaseAttackSpeed false also loads the base attack speed (weapons).
    virtual void Load(const LoadTable& record, const LoadTable* prefix, const LoadTable* suffix,
                      bool withoutBaseAttackSpeed);
};

class CharAttributeStore_Skill : public CharAttributeStore {
public:
    virtual void Load(const LoadTable& record);
};

class CharAttributeStore_SkillPenalty : public CharAttributeStore {
public:
    virtual void Load(const LoadTable& record);
};

}  // namespace GAME
