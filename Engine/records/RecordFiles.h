#pragma once
// The files below a data root, by record name (the path below the root, normalised like
// record names). One scan lists every folder with getdents into a reused buffer; folders stay
// open so that a file opens relative to its folder, and the names live in one pool, so the
// index costs no allocation or system call per file beyond the listing itself.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace GAME {

struct RecordData;

class RecordFiles {
public:
    struct File {
        std::uint32_t folder = 0;
        // Reached through a link, so on whatever file system the link points to.
        bool linked = false;
        bool loaded = false;         // `record` holds what reading it gave (null: nothing usable)
        const char* leaf = nullptr;  // NUL-terminated, in the name pool; null: a free slot
        // Kept with the file, so a record is found with one lookup whether loaded or not.
        std::shared_ptr<const RecordData> record;
    };

    RecordFiles();
    ~RecordFiles();
    RecordFiles(const RecordFiles&) = delete;
    RecordFiles& operator=(const RecordFiles&) = delete;

    // Lists every regular file (or link to one) below the root, in the order of a recursive
    // directory walk; of names that differ only in case the first one found wins.
    void Scan(const std::filesystem::path& root);
    void Clear();

    std::size_t Count() const { return mCount; }
    // `key` is a normalised record name.
    File* Find(std::string_view key);
    // The file's whole path, spelt from the root as it was given.
    std::string PathOf(const File& file) const;
    // The file's text, in `buffer` (which only grows); false when it cannot be opened or read.
    bool Read(const File& file, std::string& buffer, std::string_view& text);

private:
    class Folder;
    struct Slot {
        std::uint64_t hash = 0;
        std::string_view key;
        File file;
    };

    // Lists the folder into the listing from `base` on, then walks it.
    void ScanFolder(int fd, std::size_t base, std::uint32_t folderIndex);
    void ReserveListing(std::size_t size);
    void AddFile(std::uint32_t folder, std::string_view leaf, bool linked);
    std::string_view Intern(std::string_view text);
    int Open(const File& file);
    void ClosePending();
    // Room for `count` files without passing three quarters full.
    void Reserve(std::size_t count);

    std::vector<Folder> mFolders;
    std::size_t mHeldFolders = 0;
    std::vector<Slot> mSlots;  // open addressing, a power of two long
    std::size_t mCount = 0;
    std::vector<std::unique_ptr<char[]>> mPool;
    std::size_t mPoolLeft = 0;
    char* mPoolAt = nullptr;
    // The listings of the folders being walked, one after another: a folder is listed whole
    // before its sub-folders are entered, so that the walk keeps the listing's order.
    std::unique_ptr<char[]> mListing;
    std::size_t mListingSize = 0;
    // Read files are closed a batch at a time: one system call closes a run of descriptors.
    std::array<int, 32> mPendingCloses{};
    std::size_t mPendingCount = 0;
    bool mNoAccessTime = true;
    std::string mScratch;
    std::string mKey;
};

// Reads an open descriptor to its end into `buffer` (which only grows). When
// `shortReadEnds`, a read that returns less than asked is taken as the end of the file, which
// holds for regular files on local disk file systems; otherwise reads go on until one returns
// nothing, as network and user-space file systems may stop a read short mid-file.
bool ReadWholeFile(int fd, std::string& buffer, std::string_view& text, bool shortReadEnds);

// Writes the record name form of a name into `out`: either slash, ASCII case folded, doubled
// and leading separators dropped.
void NormalizeRecordName(std::string_view name, std::string& out);

// Whether a short read of a regular file in the folder (an open descriptor) means its end.
bool ShortReadEndsFiles(int folderFd);

}  // namespace GAME
