#include "Engine/net/fields/NetFieldDescriber.h"

#include "Engine/net/SmartObjectId.h"
#include "Engine/net/fields/NetItemRecordFields.h"
#include "Engine/net/fields/NetPacketBuffer.h"

namespace GAME {

void NetFieldDescriber::Objects(const SmartObjectIdList& value, const NetList& list) {
    Words({value.GetIds().data(), value.GetIds().size()}, list);
}

void NetFieldDescriber::Words(std::span<const std::uint32_t> words, const NetList& list) {
    if (list.heading)
        mDescriber.Heading(list.heading, 0);
    if (list.count)
        mDescriber.Describe(list.count, static_cast<unsigned int>(words.size()), 0);
    if (!list.item)
        return;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (list.numbered)
            mDescriber.Describe((list.item + std::to_string(i) + ": ").c_str(), words[i],
                                list.indent);
        else
            mDescriber.Describe(list.item, words[i], list.indent);
    }
}

void NetFieldDescriber::ItemFull(const NetItemRecord& item) {
    VisitItemRecordFull(*this, item);
}

}  // namespace GAME
