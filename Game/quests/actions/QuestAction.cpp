#include "Game/quests/actions/QuestAction.h"

#include "Engine/streams/IOStream.h"
#include "Game/core/GameEngine.h"

namespace GAME {

const Name& QuestAction::GetQuestHandle() const {
    static const Name kNone;
    const TriggerContainer* container = GetContainer();
    return container ? container->GetQuestHandle() : kNone;
}

int QuestDifficulty() {
    const int difficulty = gGameEngine ? gGameEngine->GetGameDifficulty() : 0;
    // A difficulty outside the three reads as Normal rather than past the arrays.
    return difficulty >= 0 && difficulty < 3 ? difficulty : 0;
}

namespace {

std::string IndexedName(const char* name, int index) {
    return std::string(name) + "[" + std::to_string(index) + "]";
}

}  // namespace

void StreamPerDifficulty(IOStream& stream, const char* name, PerDifficulty<int>& values) {
    for (int i = 0; i < 3; ++i)
        stream.StreamInt(IndexedName(name, i).c_str(), values[static_cast<std::size_t>(i)]);
}

void StreamPerDifficulty(IOStream& stream, const char* name, PerDifficulty<std::string>& values) {
    for (int i = 0; i < 3; ++i)
        stream.StreamString(IndexedName(name, i).c_str(), values[static_cast<std::size_t>(i)]);
}

std::string JoinPerDifficulty(const PerDifficulty<int>& values) {
    return std::to_string(values[0]) + "," + std::to_string(values[1]) + "," +
           std::to_string(values[2]);
}

std::string JoinPerDifficulty(const PerDifficulty<std::string>& values, bool asRecords) {
    std::string joined;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i)
            joined += ",";
        joined += asRecords ? ShowRecordName(values[i]) : values[i];
    }
    return joined;
}

}  // namespace GAME
