#pragma once
// The records of one machine: JSON files under a data root, addressed by record name
// ("Records/Game/GameEngine.dbr"), matched case-insensitively with either slash, parsed once.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "Engine/records/LoadTable.h"
#include "Engine/sys/CriticalSection.h"

namespace GAME {

class RecordDatabase {
public:
    RecordDatabase();
    ~RecordDatabase();

    // Sets the folder the record names are relative to and forgets every cached record.
    void SetDataRoot(const std::filesystem::path& root);
    const std::filesystem::path& GetDataRoot() const { return mRoot; }

    // Loads a record (once); false when it does not exist or cannot be parsed.
    bool Load(std::string_view name);
    // The record, or a table of defaults for an unknown one (logged once per name).
    LoadTable Get(std::string_view name);
    // Adds or replaces a record from JSON text (tests and generated content).
    bool AddRecordText(std::string_view name, std::string_view jsonText);

    // The file of a name under the data root, matched like records; empty when absent.
    std::filesystem::path ResolveFile(std::string_view name);

    static std::string NormalizeName(std::string_view name);

private:
    void IndexRoot();
    // Reads, parses and caches a record not cached yet (`key` is its normalised name); a record
    // that cannot be had is cached as null.
    const std::shared_ptr<const RecordData>& LoadUncached(std::string key, std::string_view name);
    std::shared_ptr<const RecordData> Parse(const std::string& name, std::string_view text,
                                            const std::string& origin);

    CriticalSection mLock;
    std::filesystem::path mRoot;
    bool mIndexed = false;
    // A file of the index, opened relative to its folder when the folder is held open.
    struct IndexedFile {
        std::string path;
        int folder = -1;  // into mFolders
        std::string leaf;
    };
    // An open folder of the data root; closes itself.
    class Folder {
    public:
        explicit Folder(int fd) : mFd(fd) {}
        ~Folder();
        Folder(Folder&& other) noexcept : mFd(std::exchange(other.mFd, -1)) {}
        Folder& operator=(Folder&&) = delete;
        int Fd() const { return mFd; }

    private:
        int mFd;
    };
    // Folders held open to spare each file's open the walk down from the root; beyond this
    // many, files open by their whole path.
    static constexpr std::size_t kMaxOpenFolders = 64;
    // The file's text, in mReadBuffer; false when it cannot be opened or read.
    bool ReadFile(const IndexedFile& file, std::string_view& text);

    std::unordered_map<std::string, IndexedFile> mFiles;
    std::vector<Folder> mFolders;
    std::unordered_map<std::string, std::shared_ptr<const RecordData>> mCache;
    std::unordered_set<std::string> mReportedMissing;
    // Every read's room: it only grows, so that no read pays for clearing it.
    std::string mReadBuffer;
};

}  // namespace GAME
