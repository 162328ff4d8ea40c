#pragma once
// The records of one machine: JSON files under a data root, addressed by record name
// ("Records/Game/GameEngine.dbr"), matched case-insensitively with either slash, parsed once.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "Engine/records/LoadTable.h"
#include "Engine/records/RecordFiles.h"
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
    // Moves whenever a record read before may read differently now (a new data root, added
    // text): what was worked out from records and kept is worked out again.
    std::uint64_t GetVersion() const { return mVersion.load(std::memory_order_acquire); }

    // The file of a name under the data root, matched like records; empty when absent.
    std::filesystem::path ResolveFile(std::string_view name);

    static std::string NormalizeName(std::string_view name);

private:
    void IndexRoot();
    // Reads, parses and caches a record not cached yet (`key` is its normalised name); a record
    // that cannot be had is cached as null.
    const std::shared_ptr<const RecordData>& LoadUncached(std::string_view key,
                                                          std::string_view name);
    // `file` names the record's origin in messages (none: added text).
    std::shared_ptr<const RecordData> Parse(std::string_view name, std::string_view text,
                                            const RecordFiles::File* file);

    CriticalSection mLock;
    std::filesystem::path mRoot;
    bool mIndexed = false;
    RecordFiles mFiles;
    // Records of texts added and of names without a file (null), ahead of the files' records.
    // Looked up by a normalised name in a reused buffer: no allocation per lookup.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const {
            return std::hash<std::string_view>{}(name);
        }
    };
    std::unordered_map<std::string, std::shared_ptr<const RecordData>, NameHash, std::equal_to<>>
        mCache;
    std::unordered_set<std::string> mReportedMissing;
    std::string mKey;
    // Every read's room: it only grows, so that no read pays for clearing it.
    std::string mReadBuffer;
    std::atomic<std::uint64_t> mVersion{0};
};

}  // namespace GAME
