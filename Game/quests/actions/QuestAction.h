#pragma once
// What the action kinds of quest scripts share: their one-line descriptions, the game
// difficulty that picks among their per-difficulty values, and the quest that owns them.
#include <array>
#include <cstdint>
#include <string>

#include "Engine/text/Name.h"
#include "Engine/triggers/Trigger.h"
#include "Game/quests/triggers/TriggerKinds.h"
#include "Game/quests/triggers/TriggerText.h"

namespace GAME {

class IOStream;

class QuestAction : public TriggerAction {
public:
    using TriggerAction::TriggerAction;

    const std::string& GetDescription() override {
        mDescription = Describe();
        return mDescription;
    }

protected:
    virtual std::string Describe() const = 0;
    // The quest handle of the step that owns the trigger; the empty name when there is none.
    const Name& GetQuestHandle() const;
    TriggerContainer* GetContainer() const {
        return GetTrigger() ? GetTrigger()->GetParent() : nullptr;
    }
};

// The running game's difficulty (0 Normal, 1 Epic, 2 Legendary); 0 without a game.
int QuestDifficulty();

// A property given once per game difficulty, streamed as "<name>[0]" .. "<name>[2]".
template <class T>
using PerDifficulty = std::array<T, 3>;
void StreamPerDifficulty(IOStream& stream, const char* name, PerDifficulty<int>& values);
void StreamPerDifficulty(IOStream& stream, const char* name, PerDifficulty<std::string>& values);
// "a,b,c": how descriptions show the three values.
std::string JoinPerDifficulty(const PerDifficulty<int>& values);
std::string JoinPerDifficulty(const PerDifficulty<std::string>& values, bool asRecords);

}  // namespace GAME
