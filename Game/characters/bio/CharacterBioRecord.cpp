#include "Game/characters/bio/CharacterBioRecord.h"

#include <algorithm>

#include "Engine/records/LoadTable.h"
#include "Engine/records/RecordData.h"

namespace GAME {

std::unique_ptr<CharAttributeStore_Bio> CharacterBioRecord::CopyBaseStore() const {
    auto copy = std::make_unique<CharAttributeStore_Bio>();
    for (const auto& attribute : mBaseStore.GetAttributes())
        copy->AddToStore(attribute->Clone());
    return copy;
}

const std::string& CharacterBioRecord::GetRecordName() const {
    static const std::string kNone;
    return mRecord ? mRecord->name : kNone;
}

std::shared_ptr<const CharacterBioRecord> CharacterBioRecords::Get(const LoadTable& record) {
    std::lock_guard lock(mMutex);
    const RecordData* key = record.GetData().get();
    if (auto it = mByRecord.find(key); it != mByRecord.end())
        if (auto kept = it->second.lock())
            return kept;
    auto loaded = std::make_shared<CharacterBioRecord>();
    loaded->mRecord = record.GetData();
    {
        LogRecorder quiet(false);
        loaded->mBaseStore.Load(record);
        loaded->mBaseLog = quiet.Take();
        loaded->mDefenseStore.Load(record);
        loaded->mDefenseLog = quiet.Take();
    }
    // Records of levels come and go: sweep the expired entries now and then.
    if (++mAddedSinceSweep >= 64) {
        mAddedSinceSweep = 0;
        std::erase_if(mByRecord, [](const auto& entry) { return entry.second.expired(); });
    }
    mByRecord.insert_or_assign(key, loaded);
    return loaded;
}

std::size_t CharacterBioRecords::GetKeptCount() {
    std::lock_guard lock(mMutex);
    return static_cast<std::size_t>(
        std::count_if(mByRecord.begin(), mByRecord.end(),
                      [](const auto& entry) { return !entry.second.expired(); }));
}

}  // namespace GAME
