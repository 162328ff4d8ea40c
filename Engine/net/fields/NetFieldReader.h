#pragma once
// The field visitor that takes a packet's fields back from a received body, in the order its
// field list names them. Every read is bounds-checked by the in-buffer: a field whose read fails
// keeps its value, and once one read fails every later one does too.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Engine/net/SmartObjectId.h"
#include "Engine/net/fields/NetFieldLabels.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/text/Name.h"

namespace GAME {

class NetFieldReader {
public:
    static constexpr bool kWrites = false;
    static constexpr bool kReads = true;
    static constexpr bool kDescribes = false;

    explicit NetFieldReader(NetPacketInBuffer& in) : mIn(in) {}

    bool Failed() const { return mIn.Failed(); }
    // Marks the body malformed (a value the layout does not allow); later reads fail too.
    void Fail(const char* what) { mIn.Fail(what); }

    void Word(std::uint32_t& value, NetLabel = {}) { mIn.Read32(value); }
    void Word(std::int32_t& value, NetLabel = {}) { mIn.Read32(value); }
    void Word(float& value, NetLabel = {}) { mIn.Read32(value); }
    void Half(unsigned int& value, NetLabel = {}) { mIn.Remove16Bit(&value); }
    void Half(int& value, NetLabel = {}) { mIn.Remove16Bit(&value); }
    void Half(std::uint16_t& value, NetLabel = {}) { mIn.Read16(value); }
    void Byte(std::uint8_t& value, NetLabel = {}) { mIn.Read8(value); }
    void LowByte(int& value, NetLabel = {}) {
        std::uint8_t byte;
        if (mIn.Read8(byte))
            value = byte;
    }
    void ClassIndex(std::string& tag) {
        std::uint8_t index;
        if (mIn.Read8(index))
            tag = ClassIndexToTag(index);
    }
    void Bool(bool& value, NetLabel = {}) { mIn.Remove(&value); }

    void String(std::string& value, NetLabel = {}) { mIn.Remove(&value); }
    void String(std::wstring& value, NetLabel = {}) { mIn.Remove(&value); }
    void Raw(std::string& value, NetLabel = {}) { mIn.RemoveRaw(&value); }
    // Only names this machine knows are taken; a text it does not know marks the body bad, or
    // is kept in `unknown` (the name left empty) for the receiver to vet.
    void Name16(Name& name, NetNameText* unknown = nullptr) {
        NetNameText text;
        if (!mIn.Read16Bytes(text.bytes.data()))
            return;
        name = Name::Find(text.View());
        if (unknown)
            *unknown = NetNameText{};
        if (!name.IsEmpty() || text.IsEmpty())
            return;
        if (unknown)
            *unknown = text;
        else
            mIn.Fail("unknown name");
    }
    void Name16(Name& name, NetNameText& unknown) { Name16(name, &unknown); }

    void Position(WorldVec3& value, NetLabel = {}) { mIn.Remove(&value); }
    void Placement(WorldCoords& value, NetLabel = {}) { mIn.Remove(&value); }
    void Object(SmartObjectId& value, NetLabel = {}) { mIn.Remove(&value); }
    void Object(SmartObjectIdNullable& value, NetLabel = {}) { mIn.Remove(&value); }
    void Objects(SmartObjectIdList& value, const NetList& = {}) { mIn.Remove(&value); }
    void Words(std::vector<std::uint32_t>& words, const NetList& list = {}) {
        // Replacing appends the new words and then drops the old ones, so a list that does not
        // read keeps its words and one that does takes no second buffer.
        const std::size_t old = words.size();
        if (mIn.RemoveIdList(&words) && list.replace)
            words.erase(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(old));
    }
    void Positions(std::vector<WorldVec3>& points) { mIn.RemoveWorldVec3List(&points); }
    void ItemFull(NetItemRecord& item) { mIn.RemoveItemRecordFull(&item); }
    void ItemPacked(NetItemRecord& item) { mIn.RemoveItemRecordPacked(&item); }

    // Reading a list of records replaces it; only whole records are kept, so a body that ends
    // early leaves the records read before the break.
    template <class T, class Each>
    void List8(std::vector<T>& list, std::size_t /*count*/, Each each) {
        list.clear();
        std::uint8_t count;
        if (mIn.Read8(count))
            ReadElements(list, count, each);
    }
    template <class T, class Each>
    void List32(std::vector<T>& list, std::size_t minElementSize, Each each) {
        list.clear();
        std::uint32_t count;
        if (mIn.RemoveCount(count, minElementSize))
            ReadElements(list, count, each);
    }

    void Heading(NetLabel) {}
    template <class F>
    void Describe(F&&) {}

private:
    template <class T, class Each>
    void ReadElements(std::vector<T>& list, std::uint32_t count, Each& each) {
        for (std::uint32_t i = 0; i < count && !mIn.Failed(); ++i) {
            T element;
            each(*this, element);
            if (!mIn.Failed())
                list.push_back(std::move(element));
        }
    }

    NetPacketInBuffer& mIn;
};

}  // namespace GAME
