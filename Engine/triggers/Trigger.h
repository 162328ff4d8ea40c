#pragma once
// A trigger of a quest script: conditions that must all hold, and actions that run once they do.
// Its container (a quest step) arms it, hears that it fired and runs its actions, so that the
// container can hold actions back while a conversation runs.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Engine/text/Name.h"
#include "Engine/triggers/TriggerElements.h"

namespace GAME {

class IOStream;

// The element ids of a quest file address an element by its positions, one byte each: an index
// past this many would alias another element's id, so loading stops there.
constexpr std::size_t kMaxTriggerElements = 256;

class TriggerContainer {
public:
    virtual ~TriggerContainer() = default;
    // Something of the container's triggers changed that the next save must write.
    virtual void SetDirty() = 0;
    // Runs (or holds back) one action of a trigger that fired.
    virtual void FireAction(TriggerAction& action, std::uint32_t target) = 0;
    virtual const Name& GetQuestHandle() const = 0;
    virtual void UpdateContainerUI(const std::string& description, const std::string& bulletPoint,
                                   bool complete, bool playSound, bool firstFire) = 0;
    virtual void UpdateDialogTab(const std::string& dialogPack) = 0;
};

class Trigger {
public:
    using ArmingFunctor = std::function<bool()>;
    using NotifyFunctor = std::function<void(Trigger&)>;

    explicit Trigger(std::uint32_t id) : mId(id) {}
    static std::unique_ptr<Trigger> Spawn(std::uint32_t id) {
        return std::make_unique<Trigger>(id);
    }
    Trigger(const Trigger&) = delete;
    Trigger& operator=(const Trigger&) = delete;

    // The author's trigger (quest files): its tag, then its conditions and actions by kind name.
    // Reading makes the elements through the factories; an unknown kind is logged and left out.
    void Serialize(IOStream& stream);
    // What changed while playing (quest state files).
    void StreamProperties(IOStream& stream);

    // Fires when active and every condition holds (`force`: whatever the conditions say, as the
    // debug console asks).
    void OnStatusChange(bool force);
    // Marks the trigger fired. `run`: a real firing, whose actions run through the container and
    // which the container hears of; otherwise the trigger is only closed (a quest completed by
    // force or made unsolvable pays nothing for it).
    void Fire(bool run);
    // Replays a trigger that fired in an earlier session: the actions that may repeat their
    // effect run again with the re-fire flag, and the container hears of it again.
    void ReFire(std::uint32_t target);
    bool IsArmed() const { return !mArming || mArming(); }
    // A trigger whose file named a condition kind this build lacks never fires: leaving the
    // condition out would fire it early.
    bool IsActive() const { return !mFired && !mMissingConditions && IsArmed(); }
    bool HasMissingConditions() const { return mMissingConditions; }
    // True while ReFire tells the container: what the container fires in turn is replayed too.
    bool IsReplaying() const { return mReplaying; }

    bool HasFired() const { return mFired; }
    void SetFired(bool fired) { mFired = fired; }
    std::uint32_t GetTarget() const { return mTarget; }
    void SetTarget(std::uint32_t target) { mTarget = target; }
    std::uint32_t GetVictim() const { return mVictim; }
    void SetVictim(std::uint32_t victim) { mVictim = victim; }

    void SetArmingFunctor(ArmingFunctor arming) { mArming = std::move(arming); }
    void SetNotifyFiredFunctor(NotifyFunctor notify) { mNotify = std::move(notify); }
    void SetParent(TriggerContainer* parent) { mParent = parent; }
    TriggerContainer* GetParent() const { return mParent; }

    std::uint32_t GetId() const { return mId; }
    const std::string& GetDisplayTag() const { return mDisplayTag; }
    void SetDisplayTag(std::string tag) { mDisplayTag = std::move(tag); }
    const std::string& GetQuestTitle() const { return mQuestTitle; }
    void SetQuestTitle(std::string title) { mQuestTitle = std::move(title); }

    // Appends an element made elsewhere (an editor, a test); its id follows its position.
    TriggerCondition* AddCondition(std::unique_ptr<TriggerCondition> condition);
    TriggerAction* AddAction(std::unique_ptr<TriggerAction> action);
    std::size_t GetNumConditions() const { return mConditions.size(); }
    std::size_t GetNumActions() const { return mActions.size(); }
    TriggerCondition* GetConditionAtIdx(std::size_t index) const {
        return index < mConditions.size() ? mConditions[index].get() : nullptr;
    }
    TriggerAction* GetActionAtIdx(std::size_t index) const {
        return index < mActions.size() ? mActions[index].get() : nullptr;
    }

    bool ContainsToken(const char* token) const;
    void RemoveTokenReferences(const char* token);
    void GetQuestInformation(std::vector<std::string>& lines) const;

    void UpdateContainerUI(const std::string& description, const std::string& bulletPoint,
                           bool complete, bool playSound, bool firstFire);
    void UpdateDialogTab(const std::string& dialogPack);

private:
    template <class Element, class Factory>
    void SerializeElements(IOStream& stream, const char* block, const char* entry,
                           std::vector<std::unique_ptr<Element>>& elements, Factory& factory);
    std::uint32_t ElementId(std::size_t index) const {
        return mId | static_cast<std::uint32_t>(index & 0xFF);
    }

    std::uint32_t mId;
    std::string mDisplayTag;
    std::string mQuestTitle;
    std::vector<std::unique_ptr<TriggerCondition>> mConditions;
    std::vector<std::unique_ptr<TriggerAction>> mActions;
    std::uint32_t mTarget = 0;
    std::uint32_t mVictim = 0;
    bool mFired = false;
    bool mMissingConditions = false;
    bool mReplaying = false;
    ArmingFunctor mArming;
    NotifyFunctor mNotify;
    TriggerContainer* mParent = nullptr;
};

}  // namespace GAME
