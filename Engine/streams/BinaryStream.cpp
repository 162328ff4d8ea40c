#include "Engine/streams/BinaryStream.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <mutex>
#include <new>
#include <string>

#include "Engine/Engine.h"

namespace GAME {

namespace {
// Unique per process and write: two processes (or two writers of one) saving the same file
// never write into one temporary.
std::filesystem::path TempPathFor(const std::filesystem::path& path) {
    static std::atomic<unsigned> next{0};
    std::filesystem::path temp = path;
    temp += ".tmp" + std::to_string(::getpid()) + "." + std::to_string(next++);
    return temp;
}

// Past a file-size limit the kernel would kill the process (SIGXFSZ) in the middle of a save,
// leaving its temporary behind; ignored, the write fails and is reported like a full disk.
void IgnoreFileSizeSignal() {
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

// So that the rename itself survives a crash, the folder's entry is made durable too.
bool SyncFolderOf(const std::filesystem::path& path) {
    std::filesystem::path folder = path.parent_path();
    if (folder.empty())
        folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}
}  // namespace

BinaryWriter::BinaryWriter() = default;

BinaryWriter::~BinaryWriter() {
    if (mFile) {
        // Never committed: the final file stays as it was.
        std::fclose(mFile);
        std::error_code ec;
        std::filesystem::remove(mTempPath, ec);
    }
}

bool BinaryWriter::OpenFile(const std::filesystem::path& path) {
    if (mFile)
        return false;
    IgnoreFileSizeSignal();
    mFinalPath = path;
    mTempPath = TempPathFor(path);
    mFile = std::fopen(mTempPath.string().c_str(), "wb");
    if (!mFile) {
        gEngine->Log(1, "BinaryWriter: cannot open %s for writing.", mTempPath.string().c_str());
        mFailed = true;
        return false;
    }
    return true;
}

bool BinaryWriter::Commit() {
    if (!mFile)
        return false;
    // On disk before the rename: a crash after it must not leave a renamed empty file.
    const bool flushed = std::fflush(mFile) == 0 && ::fsync(::fileno(mFile)) == 0;
    const bool closed = std::fclose(mFile) == 0;
    mFile = nullptr;
    std::error_code ec;
    if (mFailed || !flushed || !closed) {
        gEngine->Log(1, "BinaryWriter: writing %s failed; the previous file is kept.",
                     mFinalPath.string().c_str());
        std::filesystem::remove(mTempPath, ec);
        mFailed = true;
        return false;
    }
    std::filesystem::rename(mTempPath, mFinalPath, ec);
    if (ec) {
        gEngine->Log(1, "BinaryWriter: cannot rename %s into place: %s", mTempPath.string().c_str(),
                     ec.message().c_str());
        std::filesystem::remove(mTempPath, ec);
        mFailed = true;
        return false;
    }
    if (!SyncFolderOf(mFinalPath))
        gEngine->Log(1, "BinaryWriter: %s is in place, but its folder could not be synced.",
                     mFinalPath.string().c_str());
    return true;
}

bool BinaryWriter::Reserve(std::size_t n) {
    if (mFailed)
        return false;
    const std::size_t limit = mBuffer.max_size();
    if (n > limit - mPosition) {
        gEngine->Log(1, "Memory allocation of %zukb failed", limit / 1024);
        mFailed = true;
        return false;
    }
    const std::size_t needed = mPosition + n;
    if (needed > mBuffer.size()) {
        if (needed > mBuffer.capacity()) {
            // Grows by ten times the request so that runs of small writes reallocate rarely.
            const std::size_t growth =
                n > (limit - mBuffer.capacity()) / 10 ? limit - mBuffer.capacity() : 10 * n;
            const std::size_t capacity = std::max(mBuffer.capacity() + growth, needed);
            try {
                mBuffer.reserve(capacity);
            } catch (const std::exception&) {
                gEngine->Log(1, "Memory allocation of %zukb failed", capacity / 1024);
                mFailed = true;
                return false;
            }
        }
        mBuffer.resize(needed);
    }
    return true;
}

bool BinaryWriter::WriteBytes(const void* data, std::size_t size) {
    if (mFailed)
        return false;
    if (size == 0)
        return true;
    if (mFile) {
        if (std::fwrite(data, 1, size, mFile) != size) {
            gEngine->Log(1, "BinaryWriter: write to %s failed.", mTempPath.string().c_str());
            mFailed = true;
            return false;
        }
        mPosition += size;
        return true;
    }
    if (!Reserve(size))
        return false;
    std::memcpy(mBuffer.data() + mPosition, data, size);
    mPosition += size;
    return true;
}

bool BinaryWriter::WriteUInt16(std::uint16_t value) {
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value),
                                   static_cast<std::uint8_t>(value >> 8)};
    return WriteBytes(bytes, 2);
}

bool BinaryWriter::WriteUInt32(std::uint32_t value) {
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return WriteBytes(bytes, 4);
}

bool BinaryWriter::WriteFloat(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return WriteUInt32(bits);
}

bool BinaryWriter::WriteBool(bool value) {
    return WriteUInt32(value ? 1u : 0u);
}

bool BinaryWriter::WriteString(const std::string& text) {
    // A string the reader refuses would make the whole save unreadable: fail here, loudly.
    if (text.size() > BinaryReader::kMaxStringBytes) {
        gEngine->Log(1, "BinaryWriter: string of %zu bytes is over the %zu-byte limit.",
                     text.size(), BinaryReader::kMaxStringBytes);
        mFailed = true;
        return false;
    }
    return WriteUInt32(static_cast<std::uint32_t>(text.size())) &&
           WriteBytes(text.data(), text.size());
}

BinaryReader::BinaryReader(const void* data, std::size_t size)
    : mData(static_cast<const std::uint8_t*>(data)), mSize(data ? size : 0) {}

BinaryReader::BinaryReader(std::vector<std::uint8_t> data)
    : mOwned(std::move(data)), mData(mOwned.data()), mSize(mOwned.size()) {}

BinaryReader::BinaryReader(const BinaryReader& other)
    : mOwned(other.mOwned),
      mData(other.mData == other.mOwned.data() ? mOwned.data() : other.mData),
      mSize(other.mSize),
      mPosition(other.mPosition),
      mFailed(other.mFailed) {}

BinaryReader::BinaryReader(BinaryReader&& other) noexcept
    : mData(other.mData), mSize(other.mSize), mPosition(other.mPosition), mFailed(other.mFailed) {
    const bool owned = other.mData == other.mOwned.data();
    mOwned = std::move(other.mOwned);
    if (owned)
        mData = mOwned.data();
    other.mData = nullptr;
    other.mSize = other.mPosition = 0;
}

BinaryReader& BinaryReader::operator=(const BinaryReader& other) {
    if (this != &other)
        *this = BinaryReader(other);
    return *this;
}

BinaryReader& BinaryReader::operator=(BinaryReader&& other) noexcept {
    if (this == &other)
        return *this;
    const bool owned = other.mData == other.mOwned.data();
    mOwned = std::move(other.mOwned);
    mData = owned ? mOwned.data() : other.mData;
    mSize = other.mSize;
    mPosition = other.mPosition;
    mFailed = other.mFailed;
    other.mData = nullptr;
    other.mSize = other.mPosition = 0;
    return *this;
}

BinaryReader BinaryReader::FromFile(const std::filesystem::path& path) {
    // Only a regular file: a folder makes the stream throw, a pipe blocks for ever.
    std::error_code ec;
    std::ifstream in;
    if (std::filesystem::is_regular_file(path, ec))
        in.open(path, std::ios::binary);
    if (!in.is_open() || !in) {
        gEngine->Log(1, "BinaryReader: cannot read %s.", path.string().c_str());
        BinaryReader reader(nullptr, 0);
        reader.mFailed = true;
        return reader;
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    return BinaryReader(std::move(bytes));
}

bool BinaryReader::Take(void* out, std::size_t size, const char* what) {
    if (mFailed)
        return false;
    if (size > mSize - mPosition) {
        gEngine->Log(1,
                     "BinaryReader: %s of %zu bytes at offset %zu runs past the end (%zu bytes).",
                     what, size, mPosition, mSize);
        mFailed = true;
        return false;
    }
    if (size)
        std::memcpy(out, mData + mPosition, size);
    mPosition += size;
    return true;
}

bool BinaryReader::ReadBytes(void* data, std::size_t size) {
    return Take(data, size, "block");
}

bool BinaryReader::ReadUInt16(std::uint16_t& value) {
    std::uint8_t b[2];
    if (!Take(b, 2, "16-bit word"))
        return false;
    value = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool BinaryReader::ReadUInt32(std::uint32_t& value) {
    std::uint8_t b[4];
    if (!Take(b, 4, "32-bit word"))
        return false;
    value = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
            (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return true;
}

bool BinaryReader::ReadInt(std::int32_t& value) {
    std::uint32_t raw;
    if (!ReadUInt32(raw))
        return false;
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool BinaryReader::ReadFloat(float& value) {
    std::uint32_t raw;
    if (!ReadUInt32(raw))
        return false;
    std::memcpy(&value, &raw, 4);
    return true;
}

bool BinaryReader::ReadBool(bool& value) {
    std::uint32_t raw;
    if (!ReadUInt32(raw))
        return false;
    value = raw != 0;
    return true;
}

bool BinaryReader::ReadString(std::string& text) {
    std::uint32_t length;
    const std::size_t start = mPosition;
    if (!ReadUInt32(length))
        return false;
    if (length > kMaxStringBytes) {
        gEngine->Log(1,
                     "BinaryReader: string of %u bytes at offset %zu is over the %zu-byte limit.",
                     length, start, kMaxStringBytes);
        mFailed = true;
        return false;
    }
    if (length > GetRemaining()) {
        gEngine->Log(
            1, "BinaryReader: string of %u bytes at offset %zu runs past the end (%zu bytes).",
            length, start, mSize);
        mFailed = true;
        return false;
    }
    text.assign(reinterpret_cast<const char*>(mData + mPosition), length);
    mPosition += length;
    return true;
}

bool WriteFileAtomically(const std::filesystem::path& path, const void* data, std::size_t size) {
    BinaryWriter writer;
    if (!writer.OpenFile(path))
        return false;
    writer.WriteBytes(data, size);
    return writer.Commit();
}

}  // namespace GAME
