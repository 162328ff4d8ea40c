#pragma once
// The two kinds of element a trigger holds: conditions that must all hold for it to fire, and
// actions that run when it fires. The game library derives the concrete kinds; the quest loader
// makes them by name through the factories (TriggerFactory.h).
#include <cstdint>
#include <string>
#include <vector>

namespace GAME {

struct GameEvent;
class IOStream;
class Trigger;

class TriggerAction {
public:
    explicit TriggerAction(std::uint32_t id = 0, Trigger* trigger = nullptr)
        : mId(id), mTrigger(trigger) {}
    virtual ~TriggerAction() = default;
    TriggerAction(const TriggerAction&) = delete;
    TriggerAction& operator=(const TriggerAction&) = delete;

    // target: the object that satisfied the trigger (0: none); reFire: the trigger had fired
    // before and is replayed.
    virtual void Fire(std::uint32_t target, bool reFire) = 0;
    virtual const char* GetName() const = 0;
    virtual const std::string& GetDescription() { return mDescription; }
    virtual bool ContainsToken(const char* token) const;
    virtual void RemoveTokenReferences(const char* token);
    virtual bool CanReFire() const { return false; }
    virtual bool CanDelay() const { return false; }
    // What changes while playing (quest state files).
    virtual void StreamChildProperties(IOStream& stream);
    // What the quest's author set (quest files).
    virtual void SerializeChildProperties(IOStream& stream);

    std::uint32_t GetId() const { return mId; }
    void SetId(std::uint32_t id) { mId = id; }
    Trigger* GetTrigger() const { return mTrigger; }
    void SetTrigger(Trigger* trigger) { mTrigger = trigger; }
    bool GetMarkerFlag() const { return mMarkerFlag; }

protected:
    std::string mDescription;
    bool mMarkerFlag = false;  // set by the map-marker and dialog-tab kinds

private:
    std::uint32_t mId;
    Trigger* mTrigger;
};

class TriggerCondition {
public:
    explicit TriggerCondition(std::uint32_t id = 0, Trigger* trigger = nullptr)
        : mId(id), mTrigger(trigger) {}
    virtual ~TriggerCondition() = default;
    TriggerCondition(const TriggerCondition&) = delete;
    TriggerCondition& operator=(const TriggerCondition&) = delete;

    virtual void HandleEvent(const GameEvent* event);
    // ANDs this condition into `result`. Kinds that test the world when asked override it.
    virtual void IsSatisfied(bool& result) { result = result && mSatisfied; }
    virtual const char* GetName() const = 0;
    virtual const std::string& GetDescription() { return mDescription; }
    virtual void GetQuestInformation(std::vector<std::string>& lines);
    virtual bool ContainsToken(const char* token) const;
    virtual void RemoveTokenReferences(const char* token);
    virtual void StreamChildProperties(IOStream& stream);
    virtual void SerializeChildProperties(IOStream& stream);

    std::uint32_t GetId() const { return mId; }
    void SetId(std::uint32_t id) { mId = id; }
    Trigger* GetTrigger() const { return mTrigger; }
    void SetTrigger(Trigger* trigger) { mTrigger = trigger; }

    bool GetSatisfied() const { return mSatisfied; }
    void SetSatisfied(bool satisfied) { mSatisfied = satisfied; }
    bool IsNegated() const { return mNegated; }
    void SetNegated(bool negated) { mNegated = negated; }
    // A condition that others may satisfy in its stead: a condition set received from the
    // server does not make its quest unsolvable.
    bool IsOptional() const { return mOptional; }
    void SetOptional(bool optional) { mOptional = optional; }
    // Satisfied by a player outside the local party, it makes the quest unsolvable.
    bool IsExclusive() const { return mExclusive; }
    void SetExclusive(bool exclusive) { mExclusive = exclusive; }

protected:
    std::string mDescription;

private:
    std::uint32_t mId;
    Trigger* mTrigger;
    bool mSatisfied = false;
    bool mNegated = false;
    bool mOptional = false;
    bool mExclusive = false;
};

}  // namespace GAME
