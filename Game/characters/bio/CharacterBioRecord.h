#pragma once
// What a character's record gives its bio: the base attributes and the resistances. Loaded once
// per machine and record and shared, unchanged, by every bio loaded from that record; a bio
// whose base values change (points spent, a save read) works on a copy of its own.
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "Engine/sys/LogRecorder.h"
#include "Game/rules/CharAttributeStore.h"
#include "Game/rules/DefenseAttributeStore.h"

namespace GAME {

class LoadTable;
struct RecordData;

class CharacterBioRecord {
public:
    const CharAttributeStore_Bio& GetBaseStore() const { return mBaseStore; }
    const DefenseAttributeStore_Character& GetDefenseStore() const { return mDefenseStore; }
    const std::string& GetRecordName() const;
    // What each load logged: a bio taking the stores logs it again where it loaded them.
    const std::vector<LoggedLine>& GetBaseLog() const { return mBaseLog; }
    const std::vector<LoggedLine>& GetDefenseLog() const { return mDefenseLog; }

    std::unique_ptr<CharAttributeStore_Bio> CopyBaseStore() const;

private:
    friend class CharacterBioRecords;

    // Held so that the key (the record's address) cannot be taken by another record while the
    // stores live.
    std::shared_ptr<const RecordData> mRecord;
    CharAttributeStore_Bio mBaseStore;
    DefenseAttributeStore_Character mDefenseStore;
    std::vector<LoggedLine> mBaseLog;
    std::vector<LoggedLine> mDefenseLog;
};

// The machine's loaded bio records. Holds none alive: the last bio to let go frees its record's.
class CharacterBioRecords {
public:
    // Logs nothing: the caller replays what the loads said.
    std::shared_ptr<const CharacterBioRecord> Get(const LoadTable& record);
    std::size_t GetKeptCount();

private:
    std::mutex mMutex;
    std::unordered_map<const RecordData*, std::weak_ptr<const CharacterBioRecord>> mByRecord;
    std::size_t mAddedSinceSweep = 0;
};

}  // namespace GAME
