#pragma once
// The field visitor that appends a packet's fields to its out-buffer, in the order its field
// list names them. Labels are the describer's business and are ignored here.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Engine/net/SmartObjectId.h"
#include "Engine/net/fields/NetFieldLabels.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/text/Name.h"

namespace GAME {

class NetFieldWriter {
public:
    static constexpr bool kWrites = true;
    static constexpr bool kReads = false;
    static constexpr bool kDescribes = false;

    explicit NetFieldWriter(NetPacketOutBuffer& out) : mOut(out) {}

    // 32 bits.
    void Word(std::uint32_t value, NetLabel = {}) { mOut.Write32(value); }
    void Word(std::int32_t value, NetLabel = {}) { mOut.Write32(value); }
    void Word(float value, NetLabel = {}) { mOut.Write32(value); }
    // 16 bits.
    void Half(unsigned int value, NetLabel = {}) { mOut.Add16Bit(&value); }
    void Half(int value, NetLabel = {}) { mOut.Add16Bit(&value); }
    void Half(std::uint16_t value, NetLabel = {}) { mOut.Write16(value); }
    // 8 bits.
    void Byte(std::uint8_t value, NetLabel = {}) { mOut.Write8(value); }
    // The low byte of a value known to fit in it.
    void LowByte(int value, NetLabel = {}) { mOut.Write8(static_cast<std::uint8_t>(value & 0xFF)); }
    void ClassIndex(const std::string& tag) { mOut.Write8(ClassTagToIndex(tag)); }
    void Bool(const bool& value, NetLabel = {}) { mOut.Add(&value); }

    // Narrow strings (and record names) with a 32-bit length, raw ones with a 16-bit length.
    void String(const std::string& value, NetLabel = {}) { mOut.Add(value); }
    void String(const std::wstring& value, NetLabel = {}) { mOut.Add(value); }
    void Raw(const std::string& value, NetLabel = {}) { mOut.AddRaw(value); }
    // A name as 16 bytes: its text, cut or padded with zero bytes.
    void Name16(const Name& name) {
        char bytes[16] = {};
        const std::string& text = name.str();
        std::memcpy(bytes, text.data(), std::min<std::size_t>(text.size(), sizeof bytes));
        mOut.Write16Bytes(bytes);
    }
    // A text kept unread goes on as it came.
    void Name16(const Name& name, const NetNameText& unknown) {
        if (name.IsEmpty() && !unknown.IsEmpty())
            mOut.Write16Bytes(unknown.bytes.data());
        else
            Name16(name);
    }

    void Position(const WorldVec3& value, NetLabel = {}) { mOut.Add(&value); }
    void Placement(const WorldCoords& value, NetLabel = {}) { mOut.Add(&value); }
    void Object(const SmartObjectId& value, NetLabel = {}) { mOut.Add(&value); }
    void Object(const SmartObjectIdNullable& value, NetLabel = {}) { mOut.Add(&value); }
    void Objects(const SmartObjectIdList& value, const NetList& = {}) { mOut.Add(&value); }
    void Words(const std::vector<std::uint32_t>& words, const NetList& = {}) {
        mOut.AddIdList(words);
    }
    void Positions(const std::vector<WorldVec3>& points) { mOut.AddWorldVec3List(points); }
    void ItemFull(const NetItemRecord& item) { mOut.AddItemRecordFull(item); }
    void ItemPacked(const NetItemRecord& item) { mOut.AddItemRecordPacked(item); }

    // Lists of records: a count byte (the first `count` elements go) or a 32-bit count, then
    // each element as `each(visitor, element)` lists its fields.
    template <class T, class Each>
    void List8(std::vector<T>& list, std::size_t count, Each each) {
        count = std::min({count, list.size(), std::size_t{0xFF}});
        mOut.Write8(static_cast<std::uint8_t>(count));
        for (std::size_t i = 0; i < count; ++i)
            each(*this, list[i]);
    }
    template <class T, class Each>
    void List32(std::vector<T>& list, std::size_t /*minElementSize*/, Each each) {
        mOut.Write32(static_cast<std::uint32_t>(list.size()));
        for (T& element : list)
            each(*this, element);
    }

    void Heading(NetLabel) {}
    template <class F>
    void Describe(F&&) {}

private:
    NetPacketOutBuffer& mOut;
};

}  // namespace GAME
