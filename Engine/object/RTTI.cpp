#include "Engine/object/RTTI.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace GAME {

namespace {
// Constant-initialised, so usable from any static initialiser.
constinit RTTI_ClassInfo* gQueueHead = nullptr;
constinit RTTI_ClassInfo* gQueueTail = nullptr;
constinit int gQueueCount = 0;
constinit const char* const* gOrderNames = nullptr;
constinit int gOrderCount = 0;
constinit std::atomic<bool> gTreeBuilt{false};
constinit bool gReorderAll = false;
// Whether two registered records carry the same name; until then registered records are told
// apart by address alone.
constinit std::atomic<bool> gStaticNamesClash{false};

std::recursive_mutex& TreeMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}
}  // namespace

RTTI_ClassInfo::RTTI_ClassInfo(const char* name, RTTI_ClassInfo* parent, Factory factory)
    : mName(name), mParent(parent), mFactory(factory) {
    if (mParent) {
        mParent->AddChild(this);
        mAttached = true;
    }
}

RTTI_ClassInfo::~RTTI_ClassInfo() {
    // Static records go with the whole tree at unload; their parents may already be gone.
    if (!mStatic && mParent && mAttached)
        mParent->RemoveChild(this);
    delete[] mChildren;
    mChildren = nullptr;
    mNumChildren = 0;
}

bool RTTI_ClassInfo::IsSameClass(const RTTI_ClassInfo& other) const {
    if (this == &other)
        return true;
    if (!mName || !other.mName)
        return false;
    return std::strcmp(mName, other.mName) == 0;
}

bool RTTI_ClassInfo::IsAncestor(const RTTI_ClassInfo& other) const {
    for (const RTTI_ClassInfo* p = mParent; p; p = p->mParent)
        if (p->IsSameClass(other))
            return true;
    return false;
}

bool RTTI_ClassInfo::IsA(const RTTI_ClassInfo& other) const {
    // Records are nearly always the same object: walk the chain by address first and compare
    // names (a record made at run time may carry a registered class's name) only on a miss.
    bool allStatic = other.mStatic;
    for (const RTTI_ClassInfo* p = this; p; p = p->mParent) {
        if (p == &other)
            return true;
        allStatic = allStatic && p->mStatic;
    }
    // Between registered records with names of their own a name matches only its own record,
    // already passed by address: a miss is a miss.
    if (allStatic && !gStaticNamesClash.load(std::memory_order_relaxed)) {
#ifndef NDEBUG
        if (IsSameClass(other) || IsAncestor(other))
            std::abort();
#endif
        return false;
    }
    return IsSameClass(other) || IsAncestor(other);
}

const RTTI_ClassInfo* RTTI_ClassInfo::FindByName(const char* name) const {
    EnsureTree();
    if (!name)
        return nullptr;
    if (mName && std::strcmp(mName, name) == 0)
        return this;
    for (int i = 0; i < mNumChildren; ++i)
        if (const RTTI_ClassInfo* found = mChildren[i]->FindByName(name))
            return found;
    return nullptr;
}

void* RTTI_ClassInfo::CreateByName(const char* name) const {
    EnsureTree();
    if (!name)
        return nullptr;
    if (mName && std::strcmp(mName, name) == 0)
        return mFactory ? mFactory() : nullptr;
    for (int i = 0; i < mNumChildren; ++i)
        if (void* object = mChildren[i]->CreateByName(name))
            return object;
    return nullptr;
}

void RTTI_ClassInfo::AddChild(RTTI_ClassInfo* child) {
    auto** grown = new RTTI_ClassInfo*[mNumChildren + 1];
    std::copy(mChildren, mChildren + mNumChildren, grown);
    grown[mNumChildren] = child;
    delete[] mChildren;
    mChildren = grown;
    ++mNumChildren;
}

void RTTI_ClassInfo::RemoveChild(RTTI_ClassInfo* child) {
    for (int i = 0; i < mNumChildren; ++i) {
        if (mChildren[i] == child) {
            std::copy(mChildren + i + 1, mChildren + mNumChildren, mChildren + i);
            --mNumChildren;
            return;
        }
    }
}

int RTTI_ClassInfo::GetNumChildren() const {
    EnsureTree();
    return mNumChildren;
}

const RTTI_ClassInfo* RTTI_ClassInfo::GetChild(int index) const {
    EnsureTree();
    return index >= 0 && index < mNumChildren ? mChildren[index] : nullptr;
}

bool RTTI_ClassInfo::QueueRegistration(RTTI_ClassInfo& record) {
    std::lock_guard lock(TreeMutex());
    for (const RTTI_ClassInfo* r = gQueueHead; r && record.mName; r = r->mNextQueued)
        if (r->mName && std::strcmp(r->mName, record.mName) == 0)
            gStaticNamesClash = true;
    record.mQueueIndex = gQueueCount++;
    if (gQueueTail)
        gQueueTail->mNextQueued = &record;
    else
        gQueueHead = &record;
    gQueueTail = &record;
    gTreeBuilt = false;
    return true;
}

void RTTI_ClassInfo::SetAttachOrder(const char* const* names, int count) {
    std::lock_guard lock(TreeMutex());
    gOrderNames = names;
    gOrderCount = count;
    // A tree already built takes the new order on its next use.
    gReorderAll = true;
    gTreeBuilt = false;
}

void RTTI_ClassInfo::AttachQueued() {
    std::lock_guard lock(TreeMutex());
    std::vector<RTTI_ClassInfo*> pending;
    for (RTTI_ClassInfo* r = gQueueHead; r; r = r->mNextQueued)
        if (!r->mAttached)
            pending.push_back(r);
    auto rank = [](const RTTI_ClassInfo* r) {
        // Records made at run time keep their place after the registered ones.
        if (!r->mStatic)
            return INT_MAX;
        for (int i = 0; i < gOrderCount; ++i)
            if (std::strcmp(gOrderNames[i], r->mName) == 0)
                return i;
        return gOrderCount + r->mQueueIndex;
    };
    std::vector<std::pair<int, RTTI_ClassInfo*>> ranked;
    ranked.reserve(pending.size());
    for (RTTI_ClassInfo* r : pending)
        ranked.emplace_back(rank(r), r);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<RTTI_ClassInfo*> parents;
    for (auto& [order, record] : ranked) {
        (void)order;
        if (record->mParent) {
            record->mParent->AddChild(record);
            parents.push_back(record->mParent);
        }
        record->mAttached = true;
    }
    // Records queued after an earlier build (a library loaded later, or a first use during
    // static initialisation) must still take their declared place among the siblings.
    if (gReorderAll) {
        parents.clear();
        for (RTTI_ClassInfo* r = gQueueHead; r; r = r->mNextQueued)
            if (r->mParent)
                parents.push_back(r->mParent);
        gReorderAll = false;
    }
    std::sort(parents.begin(), parents.end());
    parents.erase(std::unique(parents.begin(), parents.end()), parents.end());
    for (RTTI_ClassInfo* parent : parents) {
        std::vector<std::pair<int, RTTI_ClassInfo*>> children;
        children.reserve(static_cast<std::size_t>(parent->mNumChildren));
        for (int i = 0; i < parent->mNumChildren; ++i)
            children.emplace_back(rank(parent->mChildren[i]), parent->mChildren[i]);
        std::stable_sort(children.begin(), children.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (int i = 0; i < parent->mNumChildren; ++i)
            parent->mChildren[i] = children[static_cast<std::size_t>(i)].second;
    }
    gTreeBuilt.store(true, std::memory_order_release);
}

void RTTI_ClassInfo::EnsureTree() const {
    // Run-time records built outside the registry need no assembly.
    if (!mStatic || gTreeBuilt.load(std::memory_order_acquire))
        return;
    AttachQueued();
}

}  // namespace GAME
