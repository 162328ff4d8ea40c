#pragma once
// What `gamehost play` lets a player hear and see beyond the game's events: each body that
// falls limp, as a line after its frame, and at the end how often each sound played. It listens
// to the machine's MediaRecorder and changes nothing.
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

private:
    static void OnRecord(void* self, const MediaRecord& record);

    std::FILE* mOut;
    std::map<std::string, int> mSounds;  // by record name
    std::vector<std::uint32_t> mFellLimp;
    int mRagDolls = 0;
};

}  // namespace GAME
