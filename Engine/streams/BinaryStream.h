#pragma once
// Little-endian binary state streams. Formats: 16-bit word 2 bytes, 32-bit word 4 bytes, bool 4
// bytes holding 0 or 1, string = 32-bit byte length then the bytes. A writer either writes into
// memory or into a file that appears under its final name only when Commit succeeds; a failure
// sticks and is reported. A reader never reads past its end: a short read fails, reports it
// and leaves the target unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace GAME {

class BinaryWriter {
public:
    BinaryWriter();  // into memory
    ~BinaryWriter();
    BinaryWriter(const BinaryWriter&) = delete;
    BinaryWriter& operator=(const BinaryWriter&) = delete;

    // Writes go to a temporary file next to `path`; Commit renames it into place.
    bool OpenFile(const std::filesystem::path& path);
    bool Commit();

    bool WriteUInt16(std::uint16_t value);
    bool WriteUInt32(std::uint32_t value);
    bool WriteUInt(std::uint32_t value) { return WriteUInt32(value); }
    bool WriteInt(std::int32_t value) { return WriteUInt32(static_cast<std::uint32_t>(value)); }
    bool WriteFloat(float value);
    bool WriteBool(bool value);
    bool WriteBytes(const void* data, std::size_t size);
    bool WriteString(const std::string& text);
    // Makes room for n more bytes in memory; false when the room cannot be had.
    bool Reserve(std::size_t n);

    bool Failed() const { return mFailed; }
    const std::vector<std::uint8_t>& GetBuffer() const { return mBuffer; }
    std::size_t GetPosition() const { return mPosition; }

private:
    std::FILE* mFile = nullptr;
    std::filesystem::path mFinalPath;
    std::filesystem::path mTempPath;
    std::vector<std::uint8_t> mBuffer;
    std::size_t mPosition = 0;
    bool mFailed = false;
};

class BinaryReader {
public:
    // Longer strings are refused as a failed read: no saved name or text comes near it.
    static constexpr std::size_t kMaxStringBytes = 1048576;

    BinaryReader(const void* data, std::size_t size);
    explicit BinaryReader(std::vector<std::uint8_t> data);
    // A reader that owns its bytes hands its copies their own bytes.
    BinaryReader(const BinaryReader& other);
    BinaryReader(BinaryReader&& other) noexcept;
    BinaryReader& operator=(const BinaryReader& other);
    BinaryReader& operator=(BinaryReader&& other) noexcept;
    // Reads a whole file; an unreadable file gives an empty, failed reader.
    static BinaryReader FromFile(const std::filesystem::path& path);

    bool ReadUInt16(std::uint16_t& value);
    bool ReadUInt32(std::uint32_t& value);
    bool ReadUInt(std::uint32_t& value) { return ReadUInt32(value); }
    bool ReadInt(std::int32_t& value);
    bool ReadFloat(float& value);
    bool ReadBool(bool& value);
    bool ReadBytes(void* data, std::size_t size);
    bool ReadString(std::string& text);

    bool Failed() const { return mFailed; }
    std::size_t GetPosition() const { return mPosition; }
    const std::uint8_t* GetData() const { return mData; }
    std::size_t GetRemaining() const { return mSize - mPosition; }

private:
    bool Take(void* out, std::size_t size, const char* what);

    std::vector<std::uint8_t> mOwned;
    const std::uint8_t* mData = nullptr;
    std::size_t mSize = 0;
    std::size_t mPosition = 0;
    bool mFailed = false;
};

// Writes a whole file through a temporary name and a rename; false (and logged) on failure.
bool WriteFileAtomically(const std::filesystem::path& path, const void* data, std::size_t size);

}  // namespace GAME
