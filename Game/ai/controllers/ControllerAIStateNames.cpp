#include "Game/ai/controllers/ControllerAIStateNames.h"

#include "Engine/sys/Machine.h"
#include "Game/ai/controllers/ControllerAIState.h"

namespace GAME {

namespace {
// Every controller class's tables on one machine: [0] its states, [1] its temporary states.
struct StateNameTables {
    std::unordered_map<std::type_index, std::unique_ptr<ControllerAIStateNames>> byClass[2];
};
}  // namespace

ControllerAIStateNames& ControllerAIStateNames::Of(std::type_index controllerClass,
                                                   bool temporary) {
    auto& tables = Machine::Current().Get<StateNameTables>().byClass[temporary ? 1 : 0];
    std::unique_ptr<ControllerAIStateNames>& table = tables[controllerClass];
    if (!table)
        table = std::make_unique<ControllerAIStateNames>();
    return *table;
}

std::uint32_t ControllerAIStateNames::Register(std::string_view name) {
    if (const std::uint32_t known = Find(name); known != kNone)
        return known;
    const auto index = static_cast<std::uint32_t>(mNames.size());
    mNames.emplace_back(name);
    mIndexes.emplace(mNames.back(), index);
    return index;
}

std::uint32_t ControllerAIStateNames::Find(std::string_view name) const {
    const auto it = mIndexes.find(name);
    return it == mIndexes.end() ? kNone : it->second;
}

ControllerAIState* ControllerAIStateSet::Find(std::string_view name) const {
    if (!mNames)
        return nullptr;
    const std::uint32_t index = mNames->Find(name);
    return index < mStates.size() ? mStates[index].get() : nullptr;
}

bool ControllerAIStateSet::Put(std::type_index controllerClass, bool temporary,
                               std::string_view name, std::unique_ptr<ControllerAIState> state) {
    if (!mNames)
        mNames = &ControllerAIStateNames::Of(controllerClass, temporary);
    const std::uint32_t index = mNames->Register(name);
    if (index >= mStates.size())
        mStates.resize(mNames->Size());
    const bool replaced = mStates[index] != nullptr;
    mStates[index] = std::move(state);
    return replaced;
}

const char* ControllerAIStateSet::NameOf(const ControllerAIState* state) const {
    for (std::size_t i = 0; i < mStates.size(); ++i)
        if (state && mStates[i].get() == state)
            return mNames->GetName(static_cast<std::uint32_t>(i)).c_str();
    return nullptr;
}

}  // namespace GAME
