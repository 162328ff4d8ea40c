#pragma once
// The names of a controller class's states, each given an index the first time any controller
// of the class registers it. Every controller of the class then keeps its state objects in a
// plain array by that index, and a state is found by name through the class's one table, not
// through a map of names per controller.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <vector>

namespace GAME {

class ControllerAIState;

class ControllerAIStateNames {
public:
    static constexpr std::uint32_t kNone = ~0u;

    // The table of a controller class's states or temporary states, on the calling thread's
    // machine.
    static ControllerAIStateNames& Of(std::type_index controllerClass, bool temporary);

    // The name's index, given on first registration.
    std::uint32_t Register(std::string_view name);
    std::uint32_t Find(std::string_view name) const;
    const std::string& GetName(std::uint32_t index) const { return mNames[index]; }
    std::size_t Size() const { return mNames.size(); }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::vector<std::string> mNames;
    std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> mIndexes;
};

// A controller's states of one kind (its states, or its temporary states), by the index its
// class gave each name.
class ControllerAIStateSet {
public:
    ControllerAIState* Find(std::string_view name) const;
    // Replaces a state registered under the name; true when one was.
    bool Put(std::type_index controllerClass, bool temporary, std::string_view name,
             std::unique_ptr<ControllerAIState> state);
    // The name the state was registered under; null when it is not one of these.
    const char* NameOf(const ControllerAIState* state) const;
    // Destroys the states (their names stay the class's).
    void Clear() { mStates.clear(); }

private:
    ControllerAIStateNames* mNames = nullptr;
    std::vector<std::unique_ptr<ControllerAIState>> mStates;
};

}  // namespace GAME
