#pragma once
// The field visitor that turns a packet's labelled fields into its description, in the order its
// field list names them; fields without a label are left out.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "Engine/net/fields/NetFieldLabels.h"
#include "Engine/net/fields/NetPacketDescriber.h"

namespace GAME {

class Name;
class SmartObjectIdList;
struct NetItemRecord;

class NetFieldDescriber {
public:
    static constexpr bool kWrites = false;
    static constexpr bool kReads = false;
    static constexpr bool kDescribes = true;

    explicit NetFieldDescriber(NetPacketDescriber& describer) : mDescriber(describer) {}

    void Word(std::uint32_t value, NetLabel label = {}) { Line(label, value); }
    void Word(std::int32_t value, NetLabel label = {}) { Line(label, value); }
    void Word(float value, NetLabel label = {}) { Line(label, value); }
    void Half(unsigned int value, NetLabel label = {}) { Line(label, value); }
    void Half(int value, NetLabel label = {}) { Line(label, value); }
    void Half(std::uint16_t value, NetLabel label = {}) { Line(label, static_cast<int>(value)); }
    void Byte(std::uint8_t value, NetLabel label = {}) {
        Line(label, static_cast<unsigned int>(value));
    }
    void LowByte(int value, NetLabel label = {}) { Line(label, value); }
    void ClassIndex(const std::string&) {}
    void Bool(bool value, NetLabel label = {}) { Line(label, value); }

    void String(const std::string& value, NetLabel label = {}) { Line(label, value); }
    void String(const std::wstring& value, NetLabel label = {}) { Line(label, value); }
    void Raw(const std::string& value, NetLabel label = {}) { Line(label, value); }
    void Name16(const Name&) {}
    void Name16(const Name&, const NetNameText&) {}

    void Position(const WorldVec3& value, NetLabel label = {}) { Line(label, value); }
    void Placement(const WorldCoords& value, NetLabel label = {}) { Line(label, value); }
    void Object(const SmartObjectId& value, NetLabel label = {}) { Line(label, value); }
    void Objects(const SmartObjectIdList& value, const NetList& list = {});
    void Words(std::span<const std::uint32_t> words, const NetList& list = {});
    void Positions(const std::vector<WorldVec3>&) {}
    // The full item record describes each of its fields.
    void ItemFull(const NetItemRecord& item);
    void ItemPacked(const NetItemRecord&) {}

    // Every element is described, however many the writer would send.
    template <class T, class Each>
    void List8(std::vector<T>& list, std::size_t, Each each) {
        for (T& element : list)
            each(*this, element);
    }
    template <class T, class Each>
    void List32(std::vector<T>& list, std::size_t, Each each) {
        for (T& element : list)
            each(*this, element);
    }

    void Heading(NetLabel label) { mDescriber.Heading(label.text, label.indent); }
    // Text of the packet's own, for descriptions that do not follow the wire order.
    template <class F>
    void Describe(F&& describe) {
        describe(mDescriber);
    }

private:
    template <class T>
    void Line(const NetLabel& label, const T& value) {
        if (label.text)
            mDescriber.Describe(label.text, value, label.indent);
    }

    NetPacketDescriber& mDescriber;
};

}  // namespace GAME
