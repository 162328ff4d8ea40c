#include "Engine/object/ObjectManager.h"

#include <algorithm>
#include <cstdlib>

#include "Engine/Engine.h"
#include "Engine/records/RecordDatabase.h"

namespace GAME {

ObjectManager::ObjectManager() = default;

ObjectManager::~ObjectManager() {
    DestroyAll();
}

std::uint32_t ObjectManager::CreateObjectID() {
    CriticalSectionLock lock(mLock);
    if (mLocal) {
        for (std::uint32_t tries = mLocal->end - mLocal->first; tries > 0; --tries) {
            if (mNextId < mLocal->first || mNextId >= mLocal->end)
                mNextId = mLocal->first;
            const std::uint32_t id = mNextId++;
            if (!mObjects.Contains(id))
                return id;
        }
        return 0;
    }
    while (!mIdsExhausted) {
        const std::uint32_t id = mNextId;
        if (mNextId == UINT32_MAX)
            mIdsExhausted = true;
        else
            ++mNextId;
        // Ids given by callers (replicated objects) are skipped.
        if (!mObjects.Contains(id))
            return id;
    }
    return 0;
}

void ObjectManager::SkipIdsThrough(std::uint32_t id) {
    CriticalSectionLock lock(mLock);
    if (id < mNextId || mIdsExhausted)
        return;
    if (id == UINT32_MAX)
        mIdsExhausted = true;
    else
        mNextId = id + 1;
}

void ObjectManager::BeginIdBand(std::uint32_t first) {
    CriticalSectionLock lock(mLock);
    if (mBand || first == 0)
        return;
    mBand = Band{first, mNextId, mIdsExhausted};
    const auto it = mBandNext.find(first);
    mNextId = it != mBandNext.end() ? it->second : first;
    mIdsExhausted = false;
}

void ObjectManager::EndIdBand(std::uint32_t floor) {
    CriticalSectionLock lock(mLock);
    if (!mBand)
        return;
    mBandNext[mBand->first] = mNextId;
    // A band that outgrew its floor still never hands an id out twice.
    mNextId = std::max({mBand->savedNext, floor, mNextId});
    mIdsExhausted = mBand->savedExhausted;
    mBand.reset();
}

void ObjectManager::BeginLocalIds(std::uint32_t first, std::uint32_t end) {
    CriticalSectionLock lock(mLock);
    if (mLocal) {
        ++mLocal->depth;
        return;
    }
    if (first >= end)
        return;
    mLocal = LocalIds{first, end, mNextId, mIdsExhausted, 1};
    const auto it = mBandNext.find(first);
    mNextId = it != mBandNext.end() ? it->second : first;
}

void ObjectManager::EndLocalIds() {
    CriticalSectionLock lock(mLock);
    if (!mLocal || --mLocal->depth > 0)
        return;
    mBandNext[mLocal->first] = mNextId;
    mNextId = mLocal->savedNext;
    mIdsExhausted = mLocal->savedExhausted;
    mLocal.reset();
}

std::unique_ptr<Object> ObjectManager::Insert(Object* object) {
    std::unique_ptr<Object> displaced;
    CriticalSectionLock lock(mLock);
    const std::uint32_t id = object->GetObjectId();
    displaced = mObjects.Put(id, std::unique_ptr<Object>(object));
    if (displaced) {
        // Destroyed by the caller, outside the lock.
        Object* old = displaced.get();
        gEngine->Log(1,
                     "ObjectManager: object id %u is in use; the older object (%s) is destroyed.",
                     id, old->GetClassInfo().GetClassName());
        mKeys.erase(old);
        if (auto it = mByNameHash.find(old->GetObjectNameHash());
            it != mByNameHash.end() && it->second == old)
            mByNameHash.erase(it);
    }
    mKeys[object] = id;
    mByNameHash[object->GetObjectNameHash()] = object;
    mCreationOrder.push_back(id);
    // Ids handed out later must not collide with a caller-given one.
    std::uint32_t& next = mLocal ? mLocal->savedNext : mNextId;
    bool& exhausted = mLocal ? mLocal->savedExhausted : mIdsExhausted;
    if (mLocal && id >= mLocal->first && id < mLocal->end) {
        // Inside the range: handed out from it, or skipped there as in use.
    } else if (id >= next && !exhausted) {
        if (id == UINT32_MAX)
            exhausted = true;
        else
            next = id + 1;
    }
    return displaced;
}

Object* ObjectManager::CreateObject(const std::string& className, std::uint32_t id) {
    if (id == 0) {
        id = CreateObjectID();
        if (id == 0) {
            gEngine->Log(1, "Unable to create object \"%s\", ObjectID could not be created.",
                         className.c_str());
            return nullptr;
        }
    }
    void* raw = Object::classInfo.CreateByName(className.c_str());
    if (!raw)
        return nullptr;
    auto* object = static_cast<Object*>(raw);
    object->SetObjectId(id);
    Insert(object).reset();
    return object;
}

Object* ObjectManager::CreateObjectFromFile(const std::string& recordName, std::uint32_t id,
                                            bool load) {
    RecordDatabase& records = Singleton<RecordDatabase>::Get();
    if (!records.Load(recordName))
        return nullptr;
    LoadTable table = records.Get(recordName);
    const std::string className = table.GetString("Class");
    if (className.empty()) {
        gEngine->Log(1, "Record %s names no \"Class\"; no object made.", recordName.c_str());
        return nullptr;
    }
    Object* object = CreateObject(className, id);
    if (!object) {
        // A failure to find an id has been reported already.
        if (!Object::classInfo.FindByName(className.c_str()))
            gEngine->Log(1, "Record %s names class \"%s\", which is not registered.",
                         recordName.c_str(), className.c_str());
        else
            gEngine->Log(1, "Record %s: no object of class \"%s\" could be made.",
                         recordName.c_str(), className.c_str());
        return nullptr;
    }
    {
        CriticalSectionLock lock(mLock);
        if (auto it = mByNameHash.find(object->GetObjectNameHash());
            it != mByNameHash.end() && it->second == object)
            mByNameHash.erase(it);
        object->SetObjectName(recordName);
        mByNameHash[object->GetObjectNameHash()] = object;
    }
    if (load)
        object->Load(table);
    return object;
}

void ObjectManager::DestroyObjectEx(Object* object, const char* file, int line) {
    if (!object)
        return;
    std::unique_ptr<Object> owned;
    {
        CriticalSectionLock lock(mLock);
        auto key = mKeys.find(object);
        const ObjectTable::Slot* slot = key == mKeys.end() ? nullptr : mObjects.Find(key->second);
        if (!slot || slot->object.get() != object) {
            gEngine->Log(1, "ObjectManager: %s:%d destroys an object (%p) it does not own.",
                         file ? file : "?", line, static_cast<const void*>(object));
            return;
        }
        owned = mObjects.Take(key->second);
        mKeys.erase(key);
        if (auto h = mByNameHash.find(object->GetObjectNameHash());
            h != mByNameHash.end() && h->second == object)
            mByNameHash.erase(h);
        if (mCreationOrder.size() > 2 * mObjects.Size() + 64)
            std::erase_if(mCreationOrder,
                          [this](std::uint32_t id) { return !mObjects.Contains(id); });
    }
    // The destructor runs outside the lock; it may look other objects up.
    owned.reset();
}

void ObjectManager::KeptObjectStale(std::uint32_t id) {
    gEngine->Log(0, "ObjectManager: the kept object of id %u is stale", id);
    std::abort();
}

Object* ObjectManager::GetObjectByNameHash(std::uint32_t hash) {
    CriticalSectionLock lock(mLock);
    auto it = mByNameHash.find(hash);
    return it == mByNameHash.end() ? nullptr : it->second;
}

std::size_t ObjectManager::GetObjectCount() {
    CriticalSectionLock lock(mLock);
    return mObjects.Size();
}

std::vector<std::uint32_t> ObjectManager::GetObjectIds() {
    std::vector<std::uint32_t> ids;
    GetObjectIds(ids);
    return ids;
}

void ObjectManager::GetObjectIds(std::vector<std::uint32_t>& out) {
    CriticalSectionLock lock(mLock);
    out.clear();
    out.reserve(mObjects.Size());
    // An id comes back to the order when it is reused; the first place counts. Most ids are
    // there once, so the set only has to be cheap: at most half full, no allocation once grown.
    std::size_t capacity = 64;
    while (capacity < 2 * mObjects.Size())
        capacity *= 2;
    if (mIdsReported.size() < capacity)
        mIdsReported.resize(capacity);
    const std::size_t mask = capacity - 1;
    std::fill(mIdsReported.begin(), mIdsReported.begin() + static_cast<std::ptrdiff_t>(capacity),
              0u);
    for (const std::uint32_t id : mCreationOrder) {
        if (!mObjects.Contains(id))
            continue;
        std::size_t i = (id * 0x9E3779B1u) & mask;
        while (mIdsReported[i] != 0 && mIdsReported[i] != id)
            i = (i + 1) & mask;
        if (mIdsReported[i] == id)
            continue;
        mIdsReported[i] = id;
        out.push_back(id);
    }
}

void ObjectManager::DestroyAll() {
    for (;;) {
        Object* victim = nullptr;
        {
            CriticalSectionLock lock(mLock);
            while (!mCreationOrder.empty() && !victim) {
                const ObjectTable::Slot* slot = mObjects.Find(mCreationOrder.back());
                mCreationOrder.pop_back();
                if (slot)
                    victim = slot->object.get();
            }
            if (!victim)
                victim = mObjects.Any();
        }
        if (!victim)
            return;
        DestroyObjectEx(victim, __FILE__, __LINE__);
    }
}

bool ObjectManager::LoadTableFile(const std::string& recordName) {
    return Singleton<RecordDatabase>::Get().Load(recordName);
}

LoadTable ObjectManager::GetLoadTable(const std::string& recordName) {
    return Singleton<RecordDatabase>::Get().Get(recordName);
}

}  // namespace GAME
