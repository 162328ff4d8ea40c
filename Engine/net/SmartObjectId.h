#pragma once
// Object ids held by a packet. Each holder is bound to its packet at construction; reading one
// from a body records the id in the packet's header, so that the packet can check the objects
// it names before it runs (ObjectInteractionPacket::CheckObjects).
#include <cstdint>
#include <vector>

#include "Engine/net/fields/NetSmallList.h"

namespace GAME {

class ObjectInteractionPacket;

// The ids of one list. A command names a handful, kept in place so that reading one allocates
// nothing; it converts to and compares with a vector.
using NetIdList = NetSmallList<std::uint32_t, 8>;

// An id that must name an object.
class SmartObjectId {
public:
    explicit SmartObjectId(ObjectInteractionPacket* owner = nullptr) { (void)owner; }
    SmartObjectId(const SmartObjectId&) = default;
    SmartObjectId& operator=(const SmartObjectId&) = default;
    SmartObjectId& operator=(std::uint32_t id) {
        mId = id;
        return *this;
    }

    std::uint32_t GetId() const { return mId; }
    void SetId(std::uint32_t id) { mId = id; }
    // Asks for the object to be replicated along with the packet.
    void MarkForReplication(bool replicate) { mReplicate = replicate; }
    bool IsMarkedForReplication() const { return mReplicate; }
    bool operator==(const SmartObjectId& other) const { return mId == other.mId; }

private:
    std::uint32_t mId = 0;
    bool mReplicate = false;
};

// An id that may be 0 and need not name a live object.
class SmartObjectIdNullable : public SmartObjectId {
public:
    using SmartObjectId::SmartObjectId;
    using SmartObjectId::operator=;
};

// A list of ids that must name objects.
class SmartObjectIdList {
public:
    explicit SmartObjectIdList(ObjectInteractionPacket* owner = nullptr) { (void)owner; }
    SmartObjectIdList(const SmartObjectIdList&) = default;
    SmartObjectIdList& operator=(const SmartObjectIdList&) = default;
    SmartObjectIdList& operator=(const std::vector<std::uint32_t>& ids) {
        mIds = ids;
        return *this;
    }

    const NetIdList& GetIds() const { return mIds; }
    NetIdList& GetIds() { return mIds; }
    std::size_t Size() const { return mIds.size(); }
    bool operator==(const SmartObjectIdList& other) const { return mIds == other.mIds; }

private:
    NetIdList mIds;
};

// A list of ids that may be empty and whose objects need not be live.
class SmartObjectIdListNullable : public SmartObjectIdList {
public:
    using SmartObjectIdList::SmartObjectIdList;
    using SmartObjectIdList::operator=;
};

}  // namespace GAME
