#pragma once
// What `gamehost play` lets a player hear and see beyond the game's events: each body that
// falls limp and each change of the music, as lines after their frame, and at the end how often
// each sound played. It listens to the machine's MediaRecorder and changes nothing.
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace GAME {

struct MediaRecord;

class MediaLog {
public:
    explicit MediaLog(std::FILE* out);
    ~MediaLog();
    MediaLog(const MediaLog&) = delete;
    MediaLog& operator=(const MediaLog&) = delete;

    // After each frame: the bodies that fell limp in it.
    void Flush();
    void PrintSummary(std::FILE* out) const;

    // "Attack" for "Records/Sounds/Characters/Attack.dbr".
    static std::string SoundName(const std::string& record);
    // "Beastcaller Drums" for "Records/Music/BeastcallerDrums.dbr".
    static std::string MusicName(const std::string& record);

private:
    static void OnRecord(void* self, const MediaRecord& record);
    // The line a player would read for a change of the music; empty for any other call.
    static std::string DescribeMusic(const MediaRecord& record);

    std::FILE* mOut;
    std::map<std::string, int> mSounds;  // by record name
    std::vector<std::uint32_t> mFellLimp;
    std::vector<std::string> mMusicLines;
    int mRagDolls = 0;
};

}  // namespace GAME
