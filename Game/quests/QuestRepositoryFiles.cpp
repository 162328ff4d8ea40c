#include <algorithm>
#include <cstdio>

#include "Engine/Engine.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/streams/IOStream.h"
#include "Engine/text/Crc32.h"
#include "Engine/triggers/Trigger.h"
#include "Game/quests/Quest.h"
#include "Game/quests/QuestRepository.h"
#include "Game/quests/QuestStateSaveThread.h"

namespace GAME {

std::string QuestStateFileName(const Quest& quest) {
    // Four words of the handle's text, so that any spelling of a quest's path finds one file.
    const std::string& text = quest.GetHandle().str();
    char name[40];
    std::snprintf(name, sizeof name, "%08x%08x%08x%08x.que", Crc32(text.data(), text.size(), 0),
                  Crc32(text.data(), text.size(), 1), Crc32(text.data(), text.size(), 2),
                  Crc32(text.data(), text.size(), 3));
    return name;
}

bool QuestRepository::StreamQuestState(IOStream& stream, Quest& quest) {
    stream.BeginBlock("quest");
    std::uint32_t crc = quest.GetCrc();
    const bool found = stream.StreamUInt("crcFile", crc);
    const bool matches = !stream.IsReading() || (found && crc == quest.GetCrc());
    if (matches)
        quest.StreamProperties(stream);
    stream.EndBlock();
    return matches && !stream.Failed();
}

void QuestRepository::StreamProperties(IOStream& stream) {
    const bool reading = stream.IsReading();
    auto isBad = [this](const Name& handle) {
        return std::find(mBadQuests.begin(), mBadQuests.end(), handle) != mBadQuests.end();
    };
    stream.BeginBlock("firedTriggers");
    int count = static_cast<int>(mFiredTriggers.size());
    stream.StreamInt("numberOfTriggers", count);
    std::vector<FiredTriggerRecord> triggers;
    if (reading && (count < 0 || !stream.CheckCount("numberOfTriggers", count, 16)))
        count = 0;
    for (int i = 0; i < count; ++i) {
        FiredTriggerRecord record = reading ? FiredTriggerRecord{} : mFiredTriggers[i];
        std::string name = record.questHandle.str();
        stream.StreamString("questName", name);
        stream.StreamInt("stepIdx", record.stepIdx);
        stream.StreamInt("triggerIdx", record.triggerIdx);
        stream.StreamUInt("target", record.target);
        record.questHandle = Name::Create(name);
        if (reading && !isBad(record.questHandle) &&
            std::find(triggers.begin(), triggers.end(), record) == triggers.end())
            triggers.push_back(record);
    }
    stream.EndBlock();

    stream.BeginBlock("rewards");
    count = static_cast<int>(mRewards.size());
    stream.StreamInt("numRewards", count);
    std::vector<QuestRepositoryReward> rewards;
    if (reading && (count < 0 || !stream.CheckCount("numRewards", count, 16)))
        count = 0;
    for (int i = 0; i < count; ++i) {
        QuestRepositoryReward reward = reading ? QuestRepositoryReward{} : mRewards[i];
        std::string name = reward.questHandle.str();
        stream.StreamString("questName", name);
        stream.StreamInt("region", reward.region);
        stream.StreamString("locationTag", reward.locationTag);
        stream.StreamString("titleTag", reward.titleTag);
        stream.StreamWString("text", reward.text);
        reward.questHandle = Name::Create(name);
        if (reading && !isBad(reward.questHandle))
            rewards.push_back(std::move(reward));
    }
    stream.EndBlock();
    if (reading && !stream.Failed()) {
        mFiredTriggers = std::move(triggers);
        mRewards = std::move(rewards);
        RebuildActiveTriggers();
    }
}

bool QuestRepository::LoadQuestState(const std::filesystem::path& dir, const std::string& file) {
    WaitDone();
    for (const auto& quest : mQuests) {
        const std::filesystem::path path = dir / QuestStateFileName(*quest);
        auto stream = IOStream::OpenForReading(path);
        if (!stream || !StreamQuestState(*stream, *quest))
            BadQuestState(*quest);
    }
    auto stream = IOStream::OpenForReading(dir / file);
    if (!stream)
        return false;
    StreamProperties(*stream);
    return !stream->Failed();
}

std::vector<QuestFileSnapshot> QuestRepository::TakeSnapshot(const std::filesystem::path& dir,
                                                             const std::string& file) {
    std::vector<QuestFileSnapshot> files;
    for (const auto& quest : mQuests) {
        if (!quest->IsDirty())
            continue;
        IOStream stream;
        StreamQuestState(stream, *quest);
        files.push_back({dir / QuestStateFileName(*quest), stream.GetBytes()});
    }
    if (!file.empty()) {
        IOStream stream;
        StreamProperties(stream);
        files.push_back({dir / file, stream.GetBytes()});
    }
    return files;
}

bool QuestRepository::SaveQuestState(const std::filesystem::path& dir, const std::string& file,
                                     bool background) {
    if (dir.empty())
        return false;
    std::vector<QuestFileSnapshot> files = TakeSnapshot(dir, file);
    if (background) {
        if (!mSaveThread)
            mSaveThread = std::make_unique<QuestStateSaveThread>();
        mSaveThread->RequestSave(std::move(files));
        return true;
    }
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    bool ok = true;
    for (const QuestFileSnapshot& snapshot : files)
        if (!WriteFileAtomically(snapshot.path, snapshot.bytes.data(), snapshot.bytes.size())) {
            gEngine->Log(1, "Quest state file %s could not be written", snapshot.path.c_str());
            ok = false;
        }
    return ok;
}

void QuestRepository::WaitDone() {
    if (mSaveThread)
        mSaveThread->WaitDone();
}

}  // namespace GAME
