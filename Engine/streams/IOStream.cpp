#include "Engine/streams/IOStream.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "Engine/Engine.h"
#include "Engine/object/UniqueId.h"
#include "Engine/streams/BinaryStream.h"

namespace GAME {

// Entry: kind (1 byte), key length (2 bytes), key, payload. Payloads: 32-bit values 4 bytes;
// texts a 32-bit count then the bytes (16-bit units for wide texts); ids four 32-bit words;
// block begin and end carry none.

namespace {
constexpr std::size_t kMaxKeyLength = 0xFFFF;
}

IOStream::IOStream() = default;

IOStream::IOStream(std::vector<std::uint8_t> bytes) : mBytes(std::move(bytes)), mReading(true) {}

std::unique_ptr<IOStream> IOStream::OpenForReading(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return nullptr;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    auto stream = std::make_unique<IOStream>(std::move(bytes));
    stream->SetName(path.string());
    return stream;
}

void IOStream::Fail(const char* key, const char* reason) {
    // The first failure is the one worth naming; what follows it is its consequence.
    if (!mFailed)
        gEngine->Log(1, "IOStream %s: \"%.64s\": %s.", mName.c_str(), key ? key : "", reason);
    mFailed = true;
}

std::size_t IOStream::GetRemainingBytes() const {
    return mReading && mPosition < mBytes.size() ? mBytes.size() - mPosition : 0;
}

std::size_t IOStream::MinEntrySize(Kind kind, const char* key) {
    std::size_t payload = 4;  // a word, or the length of a text
    if (kind == Kind::Id)
        payload = 16;
    else if (kind == Kind::Begin || kind == Kind::End)
        payload = 0;
    return 3 + std::min(key ? std::strlen(key) : 0, kMaxKeyLength) + payload;
}

bool IOStream::CheckCount(const char* countKey, std::int64_t count, std::size_t bytesEach) {
    if (!mReading || count < 1)
        return true;
    if (static_cast<std::uint64_t>(count) <=
        GetRemainingBytes() / std::max<std::size_t>(bytesEach, 1))
        return true;
    char reason[96];
    std::snprintf(reason, sizeof reason, "count %lld is larger than the data that follows",
                  static_cast<long long>(count));
    Fail(countKey, reason);
    return false;
}

bool IOStream::SaveToFile(const std::filesystem::path& path) const {
    return WriteFileAtomically(path, mBytes.data(), mBytes.size());
}

void IOStream::PutU32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        mBytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void IOStream::PutHeader(Kind kind, const char* key) {
    std::size_t length = key ? std::strlen(key) : 0;
    if (length > kMaxKeyLength) {
        // Readers cut the key the same way, so the entry still reads back.
        gEngine->Log(1,
                     "IOStream: key \"%.40s...\" is %zu bytes long; only the first %zu are kept.",
                     key, length, kMaxKeyLength);
        length = kMaxKeyLength;
    }
    mBytes.push_back(static_cast<std::uint8_t>(kind));
    mBytes.push_back(static_cast<std::uint8_t>(length));
    mBytes.push_back(static_cast<std::uint8_t>(length >> 8));
    mBytes.insert(mBytes.end(), key, key + length);
}

bool IOStream::GetU32(std::size_t& pos, std::uint32_t& v) const {
    if (mBytes.size() - pos < 4 || pos > mBytes.size())
        return false;
    v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(mBytes[pos + i]) << (8 * i);
    pos += 4;
    return true;
}

// Moves pos past one whole entry; false when the bytes are malformed.
bool IOStream::SkipEntry(std::size_t& pos, Kind& kind, int& depthChange) const {
    if (mBytes.size() - pos < 3)
        return false;
    kind = static_cast<Kind>(mBytes[pos]);
    const std::size_t keyLength = mBytes[pos + 1] | (mBytes[pos + 2] << 8);
    pos += 3;
    if (mBytes.size() - pos < keyLength)
        return false;
    pos += keyLength;
    depthChange = 0;
    std::uint32_t count = 0;
    switch (kind) {
        case Kind::Int:
        case Kind::UInt:
        case Kind::Bool:
        case Kind::Float:
            return GetU32(pos, count);
        case Kind::String:
        case Kind::WString: {
            if (!GetU32(pos, count))
                return false;
            const std::size_t size = kind == Kind::String ? count : std::size_t{count} * 2;
            if (mBytes.size() - pos < size)
                return false;
            pos += size;
            return true;
        }
        case Kind::Id:
            if (mBytes.size() - pos < 16)
                return false;
            pos += 16;
            return true;
        case Kind::Begin:
            depthChange = 1;
            return true;
        case Kind::End:
            depthChange = -1;
            return true;
    }
    return false;
}

bool IOStream::Seek(Kind kind, const char* key) {
    if (mFailed || mMissingDepth > 0)
        return false;
    const std::size_t keyLength = key ? std::min(std::strlen(key), kMaxKeyLength) : 0;
    std::size_t pos = mPosition;
    int depth = 0;
    while (pos < mBytes.size()) {
        const std::size_t start = pos;
        Kind found;
        int change;
        if (!SkipEntry(pos, found, change)) {
            gEngine->Log(1,
                         "IOStream %s: malformed data at offset %zu while looking for \"%.64s\".",
                         mName.c_str(), start, key ? key : "");
            mFailed = true;
            return false;
        }
        if (depth == 0 && found == Kind::End)
            break;  // end of the current block: the key is absent
        if (depth == 0 && found == kind) {
            const std::size_t length = mBytes[start + 1] | (mBytes[start + 2] << 8);
            if (length == keyLength && std::memcmp(&mBytes[start + 3], key, keyLength) == 0) {
                mPosition = start + 3 + length;
                return true;
            }
        }
        depth += change;
        if (depth < 0)
            break;
    }
    return false;
}

bool IOStream::ReadPayload(std::size_t size, void* out) {
    if (mBytes.size() - mPosition < size) {
        mFailed = true;
        return false;
    }
    std::memcpy(out, &mBytes[mPosition], size);
    mPosition += size;
    return true;
}

namespace {
template <class T>
T FromLittle(const std::uint8_t* b) {
    std::uint32_t v = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    T out;
    std::memcpy(&out, &v, 4);
    return out;
}
}  // namespace

#define GAME_STREAM_WORD(Method, Type, KindValue, ToWord) \
    bool IOStream::Method(const char* key, Type& value) { \
        if (!mReading) {                                  \
            PutHeader(KindValue, key);                    \
            std::uint32_t word = ToWord;                  \
            PutU32(word);                                 \
            return true;                                  \
        }                                                 \
        if (!Seek(KindValue, key))                        \
            return false;                                 \
        std::uint8_t b[4];                                \
        if (!ReadPayload(4, b))                           \
            return false;                                 \
        value = FromLittle<Type>(b);                      \
        return true;                                      \
    }

GAME_STREAM_WORD(StreamInt, std::int32_t, Kind::Int, static_cast<std::uint32_t>(value))
GAME_STREAM_WORD(StreamUInt, std::uint32_t, Kind::UInt, value)
GAME_STREAM_WORD(StreamFloat, float, Kind::Float, [&] {
    std::uint32_t w;
    std::memcpy(&w, &value, 4);
    return w;
}())
#undef GAME_STREAM_WORD

bool IOStream::StreamBool(const char* key, bool& value) {
    std::uint32_t word = value ? 1 : 0;
    if (!mReading) {
        PutHeader(Kind::Bool, key);
        PutU32(word);
        return true;
    }
    if (!Seek(Kind::Bool, key))
        return false;
    std::uint8_t b[4];
    if (!ReadPayload(4, b))
        return false;
    value = FromLittle<std::uint32_t>(b) != 0;
    return true;
}

bool IOStream::StreamString(const char* key, std::string& value) {
    if (!mReading) {
        PutHeader(Kind::String, key);
        PutU32(static_cast<std::uint32_t>(value.size()));
        mBytes.insert(mBytes.end(), value.begin(), value.end());
        return true;
    }
    if (!Seek(Kind::String, key))
        return false;
    std::uint32_t count;
    if (!GetU32(mPosition, count) || mBytes.size() - mPosition < count) {
        mFailed = true;
        return false;
    }
    value.assign(reinterpret_cast<const char*>(&mBytes[mPosition]), count);
    mPosition += count;
    return true;
}

bool IOStream::StreamWString(const char* key, std::wstring& value) {
    if (!mReading) {
        // UTF-16 units: characters beyond 16 bits become surrogate pairs rather than be cut.
        std::vector<std::uint16_t> units;
        units.reserve(value.size());
        for (wchar_t c : value) {
            const auto code = static_cast<std::uint32_t>(c);
            if (code > 0xFFFF && code <= 0x10FFFF) {
                units.push_back(static_cast<std::uint16_t>(0xD800 + ((code - 0x10000) >> 10)));
                units.push_back(static_cast<std::uint16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
            } else {
                units.push_back(static_cast<std::uint16_t>(code > 0xFFFF ? 0xFFFD : code));
            }
        }
        PutHeader(Kind::WString, key);
        PutU32(static_cast<std::uint32_t>(units.size()));
        for (std::uint16_t unit : units) {
            mBytes.push_back(static_cast<std::uint8_t>(unit));
            mBytes.push_back(static_cast<std::uint8_t>(unit >> 8));
        }
        return true;
    }
    if (!Seek(Kind::WString, key))
        return false;
    std::uint32_t count;
    if (!GetU32(mPosition, count) || (mBytes.size() - mPosition) / 2 < count) {
        mFailed = true;
        return false;
    }
    std::wstring text;
    text.reserve(count);
    auto unitAt = [this](std::uint32_t i) {
        const std::size_t at = mPosition + 2 * std::size_t{i};
        return static_cast<std::uint32_t>(mBytes[at] | (mBytes[at + 1] << 8));
    };
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < count) {
            const std::uint32_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low < 0xE000) {
                text.push_back(
                    static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                ++i;
                continue;
            }
        }
        text.push_back(static_cast<wchar_t>(unit));
    }
    mPosition += 2 * std::size_t{count};
    value = std::move(text);
    return true;
}

bool IOStream::StreamUniqueId(const char* key, UniqueId& value) {
    if (!mReading) {
        PutHeader(Kind::Id, key);
        for (int i = 0; i < 4; ++i)
            PutU32(value.GetWord(i));
        return true;
    }
    if (!Seek(Kind::Id, key))
        return false;
    UniqueId id;
    for (int i = 0; i < 4; ++i) {
        std::uint32_t w;
        if (!GetU32(mPosition, w)) {
            mFailed = true;
            return false;
        }
        id.SetWord(i, w);
    }
    value = id;
    return true;
}

bool IOStream::BeginBlock(const char* key) {
    if (!mReading) {
        PutHeader(Kind::Begin, key);
        ++mDepth;
        return true;
    }
    if (!Seek(Kind::Begin, key)) {
        ++mMissingDepth;
        return false;
    }
    ++mDepth;
    return true;
}

bool IOStream::EndBlock() {
    if (mDepth == 0 && mMissingDepth == 0) {
        // An end without a begin would cut off every property that follows it.
        gEngine->Log(1, "IOStream: a block is ended that was never begun; ignored.");
        return false;
    }
    if (!mReading) {
        PutHeader(Kind::End, "");
        --mDepth;
        return true;
    }
    if (mMissingDepth > 0) {
        --mMissingDepth;
        return true;
    }
    // Skip whatever the reader did not ask for, up to the end of this block.
    int depth = 0;
    while (mPosition < mBytes.size()) {
        Kind kind;
        int change;
        if (!SkipEntry(mPosition, kind, change)) {
            mFailed = true;
            return false;
        }
        depth += change;
        if (depth < 0) {
            --mDepth;
            return true;
        }
    }
    // A block that runs to the end of the bytes was cut short.
    Fail("", "a block is not closed before the end of the data");
    return false;
}

bool IOStream::SkipNextBlock() {
    if (!mReading || mFailed || mMissingDepth > 0)
        return false;
    std::size_t pos = mPosition;
    int depth = 0;
    bool entered = false;
    while (pos < mBytes.size()) {
        const std::size_t start = pos;
        Kind kind;
        int change;
        if (!SkipEntry(pos, kind, change)) {
            gEngine->Log(1, "IOStream %s: malformed data at offset %zu while skipping a block.",
                         mName.c_str(), start);
            mFailed = true;
            return false;
        }
        depth += change;
        if (depth < 0)
            return false;  // the current block ends first
        entered = entered || depth > 0;
        if (entered && depth == 0) {
            mPosition = pos;
            return true;
        }
    }
    if (entered)
        Fail("", "a skipped block is not closed before the end of the data");
    return false;
}

}  // namespace GAME
