#pragma once
// Reads the entries of a written named-property stream back as a list (kind, key, where), so
// tests can check the order of keys and patch single values. The layout is the one IOStream
// writes: kind byte, 16-bit key length, key, payload.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Engine/streams/IOStream.h"

namespace GAME::test {

struct StreamEntry {
    IOStream::Kind kind;
    std::string key;
    std::size_t start;    // offset of the kind byte
    std::size_t payload;  // offset of the payload
    std::uint32_t word;   // the first payload word, when there is one
};

inline std::vector<StreamEntry> DecodeEntries(const std::vector<std::uint8_t>& bytes) {
    std::vector<StreamEntry> entries;
    std::size_t pos = 0;
    auto word = [&bytes](std::size_t at) {
        std::uint32_t v = 0;
        for (int i = 0; i < 4 && at + i < bytes.size(); ++i)
            v |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
        return v;
    };
    while (pos + 3 <= bytes.size()) {
        StreamEntry e;
        e.start = pos;
        e.kind = static_cast<IOStream::Kind>(bytes[pos]);
        const std::size_t length = bytes[pos + 1] | (bytes[pos + 2] << 8);
        e.key.assign(reinterpret_cast<const char*>(&bytes[pos + 3]), length);
        e.payload = pos + 3 + length;
        e.word = word(e.payload);
        pos = e.payload;
        switch (e.kind) {
            case IOStream::Kind::String:
                pos += 4 + e.word;
                break;
            case IOStream::Kind::WString:
                pos += 4 + 2 * std::size_t{e.word};
                break;
            case IOStream::Kind::Id:
                pos += 16;
                break;
            case IOStream::Kind::Begin:
            case IOStream::Kind::End:
                break;
            default:
                pos += 4;
                break;
        }
        entries.push_back(e);
    }
    return entries;
}

// The first entry of the key at or after `from`.
inline const StreamEntry* FindEntry(const std::vector<StreamEntry>& entries, const std::string& key,
                                    std::size_t from = 0) {
    for (const StreamEntry& e : entries)
        if (e.start >= from && e.key == key)
            return &e;
    return nullptr;
}

inline void PatchWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace GAME::test
