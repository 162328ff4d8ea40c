#include "Host/play/MediaLog.h"

#include <filesystem>

#include "Engine/Engine.h"
#include "Engine/media/MediaRecorder.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Host/play/PlayEventLog.h"

namespace GAME {

MediaLog::MediaLog(std::FILE* out) : mOut(out) {
    MediaRecorder::Get().SetListener(&MediaLog::OnRecord, this);
}

MediaLog::~MediaLog() {
    MediaRecorder::Get().SetListener(nullptr, nullptr);
}

void MediaLog::OnRecord(void* self, const MediaRecord& record) {
    auto& log = *static_cast<MediaLog*>(self);
    if (record.call == MediaCall::SoundPlay) {
        ++log.mSounds[std::string(record.Text())];
    } else if (record.call == MediaCall::RagDollEnable) {
        ++log.mRagDolls;
        log.mFellLimp.push_back(record.objectId);
    } else if (std::string line = DescribeMusic(record); !line.empty()) {
        log.mMusicLines.push_back(std::move(line));
    }
}

std::string MediaLog::DescribeMusic(const MediaRecord& record) {
    const std::string name(record.Text());
    switch (record.call) {
        case MediaCall::MusicEvent:
        case MediaCall::MusicPlaylist:
        case MediaCall::BossMusicStart:
            return "the music changes to " + MusicName(name);
        case MediaCall::MusicFadeOut:
            return "the music fades away";
        case MediaCall::MusicFadeIn:
            return "the music comes back";
        case MediaCall::BossMusicLeave:
            return "the boss music ends";
        default:
            return {};
    }
}

void MediaLog::Flush() {
    for (std::uint32_t id : mFellLimp) {
        const auto* body = Singleton<ObjectManager>::Get().GetObject<Character>(id);
        std::fprintf(mOut, "[%7.1f s] %s falls limp\n",
                     static_cast<double>(gEngine->GetGameTime()) / 1000.0,
                     PlayEventLog::DescribeCharacter(body, id).c_str());
    }
    mFellLimp.clear();
    for (const std::string& line : mMusicLines)
        std::fprintf(mOut, "[%7.1f s] %s\n", static_cast<double>(gEngine->GetGameTime()) / 1000.0,
                     line.c_str());
    mMusicLines.clear();
}

std::string MediaLog::SoundName(const std::string& record) {
    return std::filesystem::path(record).stem().string();
}

std::string MediaLog::MusicName(const std::string& record) {
    std::string words;
    for (char c : SoundName(record)) {
        if (c >= 'A' && c <= 'Z' && !words.empty() && words.back() != ' ')
            words += ' ';
        words += c;
    }
    return words;
}

void MediaLog::PrintSummary(std::FILE* out) const {
    std::string heard;
    for (const auto& [record, count] : mSounds)
        heard += (heard.empty() ? "" : ", ") + SoundName(record) + " " + std::to_string(count);
    std::fprintf(out, "gamehost: sounds heard: %s\n", heard.empty() ? "none" : heard.c_str());
    std::fprintf(out, "gamehost: bodies fallen limp: %d\n", mRagDolls);
}

}  // namespace GAME
