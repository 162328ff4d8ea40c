#pragma once
// The records of one machine: JSON files under a data root, addressed by record name
// ("Records/Game/GameEngine.dbr"), matched case-insensitively with either slash, parsed once.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

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
    std::shared_ptr<const RecordData> Parse(const std::string& name, std::string_view text,
                                            const std::string& origin);

    CriticalSection mLock;
    std::filesystem::path mRoot;
    bool mIndexed = false;
    std::unordered_map<std::string, std::filesystem::path> mFiles;
    std::unordered_map<std::string, std::shared_ptr<const RecordData>> mCache;
    std::unordered_set<std::string> mReportedMissing;
    std::string mReadBuffer;
};

}  // namespace GAME
