#pragma once
// The trigger factories: producers of trigger actions and conditions register by the class
// name of the element they make while the game library loads; the quest loader asks by name.
// The factories are process-wide (like the class records) and unchanged after start-up.
#include <cstdint>
#include <map>
#include <string>

#include "Engine/triggers/TriggerElements.h"

namespace GAME {

template <class Element>
class TriggerProducer {
public:
    virtual ~TriggerProducer() = default;
    // A new element with that id and no trigger yet; the caller owns it.
    virtual Element* Create(std::uint32_t id) const = 0;
};

template <class Element>
class TriggerFactory {
public:
    using Producer = TriggerProducer<Element>;

    // False (and the first producer kept) when the name is taken.
    bool Register(const std::string& name, const Producer* producer) {
        return producer && mProducers.emplace(name, producer).second;
    }
    const Producer* Find(const std::string& name) const {
        auto it = mProducers.find(name);
        return it == mProducers.end() ? nullptr : it->second;
    }
    Element* Create(const std::string& name, std::uint32_t id) const {
        const Producer* producer = Find(name);
        return producer ? producer->Create(id) : nullptr;
    }
    const std::map<std::string, const Producer*>& GetProducers() const { return mProducers; }

private:
    std::map<std::string, const Producer*> mProducers;
};

class TriggerActionFactory : public TriggerFactory<TriggerAction> {
public:
    static TriggerActionFactory& Get();
};

class TriggerConditionFactory : public TriggerFactory<TriggerCondition> {
public:
    static TriggerConditionFactory& Get();
};

// A producer of one element class, registered under the class's name by constructing it.
template <class Element, class Base, class Factory>
class TriggerProducerOf : public TriggerProducer<Base> {
public:
    explicit TriggerProducerOf(const char* name) { Factory::Get().Register(name, this); }
    Base* Create(std::uint32_t id) const override { return new Element(id); }
};

}  // namespace GAME
