#include "Engine/records/RecordFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>

#include "Engine/records/RecordData.h"

namespace GAME {

namespace {
// Folders held open to spare each file's open the walk down from the root; beyond this many,
// files open by their whole path.
constexpr std::size_t kMaxOpenFolders = 64;
// The room of the first read: more than any usual record.
constexpr std::size_t kFirstRoom = 8 * 1024;
// A getdents call's room; a listing grows by this much while the kernel fills it.
constexpr std::size_t kListingRoom = 32 * 1024;
constexpr std::size_t kPoolBlock = 16 * 1024;
}  // namespace

class RecordFiles::Folder {
public:
    Folder(std::string path, std::string relative, int fd)
        : mPath(std::move(path)), mRelative(std::move(relative)), mFd(fd) {}
    ~Folder() { Close(); }
    Folder(Folder&& other) noexcept
        : mPath(std::move(other.mPath)),
          mRelative(std::move(other.mRelative)),
          mFd(std::exchange(other.mFd, -1)),
          mShortReadEnds(other.mShortReadEnds),
          mHasFiles(other.mHasFiles) {}
    Folder& operator=(Folder&&) = delete;

    void Close() {
        if (mFd >= 0)
            ::close(std::exchange(mFd, -1));
    }

    std::string mPath;      // as a recursive directory walk from the root spells it
    std::string mRelative;  // below the root, with a trailing slash (empty for the root)
    int mFd;
    bool mShortReadEnds = false;
    bool mHasFiles = false;
};

namespace {
// Each byte's record name form: either slash '/', ASCII capitals lower case (whatever the
// process locale says), every other byte itself.
constexpr std::array<char, 256> kFolded = [] {
    std::array<char, 256> folded{};
    for (int c = 0; c < 256; ++c)
        folded[static_cast<std::size_t>(c)] = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a'
                                                                : c == '\\'          ? '/'
                                                                                     : c);
    return folded;
}();
}  // namespace

void NormalizeRecordName(std::string_view name, std::string& out) {
    out.resize(name.size());
    char* const start = out.data();
    char* at = start;
    // Doubled separators name the same file; leading ones go too: names are relative. Every
    // byte is written and kept or not without a branch (a dropped one is overwritten next).
    char last = '/';
    for (const char raw : name) {
        const char c = kFolded[static_cast<unsigned char>(raw)];
        *at = c;
        at += (c != '/') | (last != '/');
        last = c;
    }
    out.resize(static_cast<std::size_t>(at - start));
}

bool ShortReadEndsFiles(int folderFd) {
    struct statfs fs {};
    if (::fstatfs(folderFd, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
        case EXT4_SUPER_MAGIC:
        case XFS_SUPER_MAGIC:
        case BTRFS_SUPER_MAGIC:
        case TMPFS_MAGIC:
        case F2FS_SUPER_MAGIC:
            return true;
        default:
            return false;
    }
}

bool ReadWholeFile(int fd, std::string& buffer, std::string_view& text, bool shortReadEnds) {
    if (buffer.size() < kFirstRoom)
        buffer.resize(kFirstRoom);
    std::size_t done = 0;
    bool ok = true;
    for (;;) {
        const std::size_t room = buffer.size() - done;
        const ssize_t got = ::read(fd, buffer.data() + done, room);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
        if (static_cast<std::size_t>(got) < room && shortReadEnds)
            break;
        if (done == buffer.size())
            buffer.resize(buffer.size() * 2);
    }
    text = std::string_view(buffer.data(), done);
    return ok;
}

RecordFiles::RecordFiles() = default;
RecordFiles::~RecordFiles() {
    ClosePending();
}

void RecordFiles::Clear() {
    ClosePending();
    mFolders.clear();
    mSlots.clear();
    mCount = 0;
    mHeldFolders = 0;
    mPool.clear();
    mPoolLeft = 0;
    mPoolAt = nullptr;
}

void RecordFiles::Scan(const std::filesystem::path& root) {
    Clear();
    if (root.empty())
        return;
    const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    mFolders.emplace_back(root.native(), std::string(), fd);
    ScanFolder(fd, 0, 0);
}

void RecordFiles::ScanFolder(int fd, std::size_t base, std::uint32_t folderIndex) {
    mFolders[folderIndex].mShortReadEnds = ShortReadEndsFiles(fd);
    std::size_t end = base;
    for (;;) {
        ReserveListing(end + kListingRoom);
        const ssize_t got = ::getdents64(fd, mListing.get() + end, mListingSize - end);
        if (got <= 0)
            break;  // an error ends the listing with what it gave
        end += static_cast<std::size_t>(got);
    }
    std::size_t entries = 0;
    for (std::size_t at = base; at < end; ++entries)
        at += reinterpret_cast<const struct dirent64*>(mListing.get() + at)->d_reclen;
    Reserve(mCount + entries);
    // Sub-folders list themselves after this folder's entries, which may move the listing.
    for (std::size_t at = base; at < end;) {
        const auto* entry = reinterpret_cast<const struct dirent64*>(mListing.get() + at);
        at += entry->d_reclen;
        const std::string_view name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        unsigned char type = entry->d_type;
        struct stat st {};
        if (type == DT_UNKNOWN) {
            if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            type = S_ISDIR(st.st_mode)   ? DT_DIR
                   : S_ISREG(st.st_mode) ? DT_REG
                   : S_ISLNK(st.st_mode) ? DT_LNK
                                         : DT_UNKNOWN;
        }
        if (type == DT_REG) {
            AddFile(folderIndex, name, false);
        } else if (type == DT_LNK) {
            // Links count as the files they lead to; links to folders are not walked.
            if (::fstatat(fd, entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
                AddFile(folderIndex, name, true);
        } else if (type == DT_DIR) {
            // A folder that cannot be listed (no permission, or gone) is passed over.
            const int sub =
                ::openat(fd, entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub < 0)
                continue;
            const Folder& parent = mFolders[folderIndex];
            std::string relative = parent.mRelative;
            relative.append(name);
            relative.push_back('/');
            mFolders.emplace_back((std::filesystem::path(parent.mPath) / name).native(),
                                  std::move(relative), sub);
            ScanFolder(sub, end, static_cast<std::uint32_t>(mFolders.size() - 1));
        }
    }
    // Only folders with files are worth holding, and only so many of them.
    Folder& folder = mFolders[folderIndex];
    if (folder.mHasFiles && mHeldFolders < kMaxOpenFolders)
        ++mHeldFolders;
    else
        folder.Close();
}

void RecordFiles::AddFile(std::uint32_t folder, std::string_view leaf, bool linked) {
    mScratch = mFolders[folder].mRelative;
    mScratch.append(leaf);
    NormalizeRecordName(mScratch, mKey);
    const std::string_view key = mKey;
    if (Find(key))
        return;
    Reserve(mCount + 1);
    const std::uint64_t hash = std::hash<std::string_view>{}(key);
    const std::size_t mask = mSlots.size() - 1;
    std::size_t i = hash & mask;
    while (mSlots[i].file.leaf)
        i = (i + 1) & mask;
    Slot& slot = mSlots[i];
    slot.hash = hash;
    slot.key = Intern(key);
    const std::string_view storedLeaf = Intern(std::string_view(leaf.data(), leaf.size() + 1));
    slot.file = File{folder, linked, false, storedLeaf.data(), nullptr};
    mFolders[folder].mHasFiles = true;
    ++mCount;
}

RecordFiles::File* RecordFiles::Find(std::string_view key) {
    if (mSlots.empty())
        return nullptr;
    const std::uint64_t hash = std::hash<std::string_view>{}(key);
    const std::size_t mask = mSlots.size() - 1;
    for (std::size_t i = hash & mask; mSlots[i].file.leaf; i = (i + 1) & mask)
        if (mSlots[i].hash == hash && mSlots[i].key == key)
            return &mSlots[i].file;
    return nullptr;
}

void RecordFiles::Reserve(std::size_t count) {
    std::size_t size = mSlots.empty() ? 64 : mSlots.size();
    while (count * 4 > size * 3)
        size *= 2;
    if (size == mSlots.size())
        return;
    std::vector<Slot> old = std::exchange(mSlots, std::vector<Slot>(size));
    const std::size_t mask = mSlots.size() - 1;
    for (Slot& slot : old) {
        if (!slot.file.leaf)
            continue;
        std::size_t i = slot.hash & mask;
        while (mSlots[i].file.leaf)
            i = (i + 1) & mask;
        mSlots[i] = std::move(slot);
    }
}

void RecordFiles::ReserveListing(std::size_t size) {
    if (size <= mListingSize)
        return;
    const std::size_t grown = std::max(size, 2 * mListingSize);
    auto listing = std::make_unique_for_overwrite<char[]>(grown);
    if (mListingSize)
        std::memcpy(listing.get(), mListing.get(), mListingSize);
    mListing = std::move(listing);
    mListingSize = grown;
}

std::string_view RecordFiles::Intern(std::string_view text) {
    if (text.size() > mPoolLeft) {
        const std::size_t size = std::max(kPoolBlock, text.size());
        mPool.push_back(std::make_unique_for_overwrite<char[]>(size));
        mPoolAt = mPool.back().get();
        mPoolLeft = size;
    }
    char* const at = mPoolAt;
    std::memcpy(at, text.data(), text.size());
    mPoolAt += text.size();
    mPoolLeft -= text.size();
    return std::string_view(at, text.size());
}

std::string RecordFiles::PathOf(const File& file) const {
    return (std::filesystem::path(mFolders[file.folder].mPath) / file.leaf).native();
}

int RecordFiles::Open(const File& file) {
    const Folder& folder = mFolders[file.folder];
    // Reading records need not stamp them; only their owner may ask that, so the first refusal
    // turns it off.
    for (;;) {
        const int flags = O_RDONLY | O_CLOEXEC | (mNoAccessTime ? O_NOATIME : 0);
        const int fd = folder.mFd >= 0 ? ::openat(folder.mFd, file.leaf, flags)
                                       : ::open(PathOf(file).c_str(), flags);
        if (fd >= 0 || errno != EPERM || !mNoAccessTime)
            return fd;
        mNoAccessTime = false;
    }
}

bool RecordFiles::Read(const File& file, std::string& buffer, std::string_view& text) {
    const int fd = Open(file);
    if (fd < 0)
        return false;
    const bool ok =
        ReadWholeFile(fd, buffer, text, mFolders[file.folder].mShortReadEnds && !file.linked);
    mPendingCloses[mPendingCount++] = fd;
    if (mPendingCount == mPendingCloses.size())
        ClosePending();
    return ok;
}

void RecordFiles::ClosePending() {
    int* const fds = mPendingCloses.data();
    std::sort(fds, fds + mPendingCount);
    for (std::size_t i = 0; i < mPendingCount;) {
        // Every descriptor of a run is one of ours, so the range holds no one else's.
        std::size_t end = i + 1;
        while (end < mPendingCount && fds[end] == fds[end - 1] + 1)
            ++end;
        if (end - i == 1 || ::close_range(static_cast<unsigned>(fds[i]),
                                          static_cast<unsigned>(fds[end - 1]), 0) != 0) {
            for (std::size_t j = i; j < end; ++j)
                ::close(fds[j]);
        }
        i = end;
    }
    mPendingCount = 0;
}

}  // namespace GAME
