#pragma once
// The retaliation attributes of one owner: a damage attribute store whose global chance is read
// from "retaliationGlobalChance" and whose loaders create the retaliation kinds.
#include "Game/rules/damage/DamageAttributeStore.h"

namespace GAME {

class RetaliationAttributeStore : public DamageAttributeStore {
public:
    void SetGlobalChance(const LoadTable& record, const LoadTable* prefix,
                         const LoadTable* suffix) {
        DamageAttributeStore::SetGlobalChance(record, prefix, suffix);
    }

protected:
    const char* GetGlobalChanceTag() const override { return "retaliationGlobalChance"; }
};

class RetaliationAttributeStore_Equipment : public RetaliationAttributeStore {
public:
    // The flag is part of every equipment loader's signature and changes nothing here.
    virtual void Load(const LoadTable& record, const LoadTable* prefix, const LoadTable* suffix,
                      bool flag);
};

class RetaliationAttributeStore_Skill : public RetaliationAttributeStore {
public:
    virtual void Load(const LoadTable& record);
};

}  // namespace GAME
