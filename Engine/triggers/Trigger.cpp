#include "Engine/triggers/Trigger.h"

#include <type_traits>

#include "Engine/Engine.h"
#include "Engine/streams/IOStream.h"
#include "Engine/triggers/TriggerFactory.h"

namespace GAME {

// The bases keep no properties of their own: a kind without any reads and writes nothing.
bool TriggerAction::ContainsToken(const char*) const {
    return false;
}
void TriggerAction::RemoveTokenReferences(const char*) {}
void TriggerAction::StreamChildProperties(IOStream&) {}
void TriggerAction::SerializeChildProperties(IOStream&) {}

void TriggerCondition::HandleEvent(const GameEvent*) {}
void TriggerCondition::GetQuestInformation(std::vector<std::string>&) {}
bool TriggerCondition::ContainsToken(const char*) const {
    return false;
}
void TriggerCondition::RemoveTokenReferences(const char*) {}
void TriggerCondition::StreamChildProperties(IOStream&) {}
void TriggerCondition::SerializeChildProperties(IOStream&) {}

namespace {

void StreamFlags(IOStream& stream, TriggerCondition& condition) {
    bool negated = condition.IsNegated();
    bool exclusive = condition.IsExclusive();
    bool optional = condition.IsOptional();
    stream.StreamBool("negated", negated);
    stream.StreamBool("exclusive", exclusive);
    stream.StreamBool("optional", optional);
    condition.SetNegated(negated);
    condition.SetExclusive(exclusive);
    condition.SetOptional(optional);
}
void StreamFlags(IOStream&, TriggerAction&) {}

}  // namespace

template <class Element, class Factory>
void Trigger::SerializeElements(IOStream& stream, const char* block, const char* entry,
                                std::vector<std::unique_ptr<Element>>& elements, Factory& factory) {
    stream.BeginBlock(block);
    int count = static_cast<int>(elements.size());
    stream.StreamInt("max", count);
    if (stream.IsReading()) {
        elements.clear();
        if (count < 0 ||
            !stream.CheckCount("max", count, IOStream::MinEntrySize(IOStream::Kind::Begin, entry)))
            count = 0;
        if (static_cast<std::size_t>(count) > kMaxTriggerElements) {
            gEngine->Log(1, "%s: trigger \"%s\": %d %s, of which only the first %zu are read",
                         stream.GetName().c_str(), mDisplayTag.c_str(), count, block,
                         kMaxTriggerElements);
            count = static_cast<int>(kMaxTriggerElements);
        }
    }
    for (int i = 0; i < count; ++i) {
        if (!stream.BeginBlock(entry)) {
            stream.EndBlock();
            break;
        }
        if (stream.IsReading()) {
            std::string kind;
            stream.StreamString("name", kind);
            std::unique_ptr<Element> element(factory.Create(kind, ElementId(elements.size())));
            if (!element) {
                gEngine->Log(1, "%s: trigger \"%s\": no %s kind is called \"%s\"; left out",
                             stream.GetName().c_str(), mDisplayTag.c_str(), entry, kind.c_str());
                if constexpr (std::is_same_v<Element, TriggerCondition>)
                    mMissingConditions = true;
                stream.EndBlock();
                continue;
            }
            element->SetTrigger(this);
            StreamFlags(stream, *element);
            element->SerializeChildProperties(stream);
            elements.push_back(std::move(element));
        } else {
            Element& element = *elements[static_cast<std::size_t>(i)];
            std::string kind = element.GetName();
            stream.StreamString("name", kind);
            StreamFlags(stream, element);
            element.SerializeChildProperties(stream);
        }
        stream.EndBlock();
    }
    stream.EndBlock();
}

void Trigger::Serialize(IOStream& stream) {
    stream.BeginBlock("trigger");
    stream.StreamString("displayTag", mDisplayTag);
    SerializeElements(stream, "conditions", "condition", mConditions,
                      TriggerConditionFactory::Get());
    SerializeElements(stream, "actions", "action", mActions, TriggerActionFactory::Get());
    stream.EndBlock();
}

void Trigger::StreamProperties(IOStream& stream) {
    stream.BeginBlock("trigger");
    stream.StreamBool("fired", mFired);
    stream.StreamUInt("target", mTarget);
    stream.StreamUInt("victim", mVictim);
    stream.BeginBlock("conditions");
    for (auto& condition : mConditions) {
        stream.BeginBlock("condition");
        bool satisfied = condition->GetSatisfied();
        stream.StreamBool("satisfied", satisfied);
        condition->SetSatisfied(satisfied);
        condition->StreamChildProperties(stream);
        stream.EndBlock();
    }
    stream.EndBlock();
    stream.BeginBlock("actions");
    for (auto& action : mActions) {
        stream.BeginBlock("action");
        action->StreamChildProperties(stream);
        stream.EndBlock();
    }
    stream.EndBlock();
    stream.EndBlock();
}

void Trigger::OnStatusChange(bool force) {
    if (!IsActive())
        return;
    bool satisfied = true;
    for (auto& condition : mConditions)
        condition->IsSatisfied(satisfied);
    if (satisfied || force)
        Fire(true);
}

void Trigger::Fire(bool run) {
    mFired = true;
    if (!run)
        return;
    // An action may load or unload what another reads: run them by index, in file order.
    for (std::size_t i = 0; i < mActions.size(); ++i) {
        if (mParent)
            mParent->FireAction(*mActions[i], mTarget);
        else
            mActions[i]->Fire(mTarget, false);
    }
    if (mNotify)
        mNotify(*this);
}

void Trigger::ReFire(std::uint32_t target) {
    mFired = true;
    mTarget = target;
    for (std::size_t i = 0; i < mActions.size(); ++i)
        mActions[i]->Fire(mTarget, true);
    mReplaying = true;
    if (mNotify)
        mNotify(*this);
    mReplaying = false;
}

TriggerCondition* Trigger::AddCondition(std::unique_ptr<TriggerCondition> condition) {
    if (!condition || mConditions.size() >= kMaxTriggerElements)
        return nullptr;
    condition->SetId(ElementId(mConditions.size()));
    condition->SetTrigger(this);
    mConditions.push_back(std::move(condition));
    return mConditions.back().get();
}

TriggerAction* Trigger::AddAction(std::unique_ptr<TriggerAction> action) {
    if (!action || mActions.size() >= kMaxTriggerElements)
        return nullptr;
    action->SetId(ElementId(mActions.size()));
    action->SetTrigger(this);
    mActions.push_back(std::move(action));
    return mActions.back().get();
}

bool Trigger::ContainsToken(const char* token) const {
    for (const auto& condition : mConditions)
        if (condition->ContainsToken(token))
            return true;
    for (const auto& action : mActions)
        if (action->ContainsToken(token))
            return true;
    return false;
}

void Trigger::RemoveTokenReferences(const char* token) {
    for (auto& condition : mConditions)
        condition->RemoveTokenReferences(token);
    for (auto& action : mActions)
        action->RemoveTokenReferences(token);
}

void Trigger::GetQuestInformation(std::vector<std::string>& lines) const {
    for (const auto& condition : mConditions)
        condition->GetQuestInformation(lines);
}

void Trigger::UpdateContainerUI(const std::string& description, const std::string& bulletPoint,
                                bool complete, bool playSound, bool firstFire) {
    if (mParent)
        mParent->UpdateContainerUI(description, bulletPoint, complete, playSound, firstFire);
}

void Trigger::UpdateDialogTab(const std::string& dialogPack) {
    if (mParent)
        mParent->UpdateDialogTab(dialogPack);
}

}  // namespace GAME
