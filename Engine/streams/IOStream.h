#pragma once
// The named-property stream: one routine both reads and writes through it. Each property is a
// key, a kind and a value; blocks nest. Reading looks for the key ahead within the current block,
// so a property that is absent leaves the variable as it was, and a property that the reader
// does not ask for is skipped.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace GAME {

class UniqueId;

class IOStream {
public:
    enum class Kind : std::uint8_t { Int = 1, UInt, Bool, Float, String, WString, Id, Begin, End };

    // A stream that records what is written.
    IOStream();
    // A stream that reads the given bytes.
    explicit IOStream(std::vector<std::uint8_t> bytes);
    static std::unique_ptr<IOStream> OpenForReading(const std::filesystem::path& path);

    bool IsReading() const { return mReading; }

    bool StreamInt(const char* key, std::int32_t& value);
    bool StreamUInt(const char* key, std::uint32_t& value);
    bool StreamBool(const char* key, bool& value);
    bool StreamFloat(const char* key, float& value);
    bool StreamString(const char* key, std::string& value);
    bool StreamWString(const char* key, std::wstring& value);
    bool StreamUniqueId(const char* key, UniqueId& value);
    bool BeginBlock(const char* key);
    bool EndBlock();
    // Reading: passes over everything up to and including the next block of the current level,
    // whatever its key, so a section that nobody reads is still consumed and a later block of
    // the same key is not mistaken for it. False, with nothing passed, when the current block
    // or the bytes end first; writing: false.
    bool SkipNextBlock();

    // The name that log lines give (a file name); OpenForReading sets it to the path.
    void SetName(std::string name) { mName = std::move(name); }
    const std::string& GetName() const { return mName; }
    // Marks the stream failed and logs why, naming the stream and the property.
    void Fail(const char* key, const char* reason);
    // Reading: the bytes after the read position.
    std::size_t GetRemainingBytes() const;
    // The fewest bytes one property of this kind and key takes.
    static std::size_t MinEntrySize(Kind kind, const char* key);
    // Reading: true when `count` items of at least `bytesEach` bytes fit in the bytes that
    // remain; otherwise the stream fails, naming `countKey`, so that no count from the data can
    // drive an unbounded read. Writing: true.
    bool CheckCount(const char* countKey, std::int64_t count, std::size_t bytesEach);

    // Writes what was recorded to a file (temporary name, then rename).
    bool SaveToFile(const std::filesystem::path& path) const;
    const std::vector<std::uint8_t>& GetBytes() const { return mBytes; }
    bool Failed() const { return mFailed; }

private:
    void PutHeader(Kind kind, const char* key);
    void PutU32(std::uint32_t v);
    // Reading: positions the stream after the header of `key` of `kind`; false when absent.
    bool Seek(Kind kind, const char* key);
    bool SkipEntry(std::size_t& pos, Kind& kind, int& depthChange) const;
    bool GetU32(std::size_t& pos, std::uint32_t& v) const;
    bool ReadPayload(std::size_t size, void* out);

    std::vector<std::uint8_t> mBytes;
    std::string mName = "stream";
    std::size_t mPosition = 0;
    bool mReading = false;
    bool mFailed = false;
    int mDepth = 0;
    int mMissingDepth = 0;  // reading inside a block that is absent
};

}  // namespace GAME
