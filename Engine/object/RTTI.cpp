#include "Engine/object/RTTI.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace GAME {

namespace {
// Constant-initialised, so usable from any static initialiser.
constinit RTTI_ClassInfo* gQueueHead = nullptr;
constinit RTTI_ClassInfo* gQueueTail = nullptr;
constinit std::atomic<int> gQueueCount{0};
constinit const char* const* gOrderNames = nullptr;
constinit int gOrderCount = 0;
constinit std::atomic<bool> gTreeBuilt{false};
constinit bool gReorderAll = false;
// Whether two registered records carry the same name; until then registered records are told
// apart by address alone.
constinit std::atomic<bool> gStaticNamesClash{false};
// How many queued records the last numbering saw, and its generation.
constinit std::atomic<int> gNumberedCount{0};
constinit std::uint64_t gSpanGeneration = 0;

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

bool RTTI_ClassInfo::IsAByChain(const RTTI_ClassInfo& other) const {
    // Registered records queued since the last numbering get their spans for the next question.
    if (mStatic && other.mStatic &&
        gNumberedCount.load(std::memory_order_acquire) !=
            gQueueCount.load(std::memory_order_relaxed))
        NumberQueued();
    return WalkChain(other);
}

bool RTTI_ClassInfo::WalkChain(const RTTI_ClassInfo& other) const {
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

void RTTI_ClassInfo::CheckSpanAnswer(const RTTI_ClassInfo& other, bool answer) const {
    if (WalkChain(other) != answer) {
        std::fprintf(stderr, "RTTI: the spans of %s and %s disagree with their ancestry\n",
                     mName ? mName : "?", other.mName ? other.mName : "?");
        std::abort();
    }
}

void RTTI_ClassInfo::NumberQueued() {
    std::lock_guard lock(TreeMutex());
    const int queued = gQueueCount.load(std::memory_order_relaxed);
    if (gNumberedCount.load(std::memory_order_relaxed) == queued)
        return;
    if (gStaticNamesClash.load(std::memory_order_relaxed)) {
        // Two records of one name are one class: only the names can tell.
        for (RTTI_ClassInfo* r = gQueueHead; r; r = r->mNextQueued)
            r->mSpan.store(0, std::memory_order_relaxed);
        gNumberedCount.store(queued, std::memory_order_release);
        return;
    }
    gSpanGeneration = gSpanGeneration % ((std::uint64_t{1} << (64 - kSpanGenerationShift)) - 1) + 1;
    std::unordered_map<const RTTI_ClassInfo*, std::vector<RTTI_ClassInfo*>> children;
    std::vector<RTTI_ClassInfo*> roots;
    for (RTTI_ClassInfo* r = gQueueHead; r; r = r->mNextQueued) {
        if (r->mParent)
            children[r->mParent].push_back(r);
        else
            roots.push_back(r);
    }
    // Depth first, pre-order; a record under a parent that was never queued gets no span.
    std::uint64_t next = 1;
    std::vector<std::pair<RTTI_ClassInfo*, bool>> work;  // the record; whether it is left
    for (RTTI_ClassInfo* root : roots)
        work.emplace_back(root, false);
    std::reverse(work.begin(), work.end());
    std::vector<std::uint64_t> firsts;
    while (!work.empty()) {
        auto [record, done] = work.back();
        work.pop_back();
        if (done) {
            const std::uint64_t first = firsts.back();
            firsts.pop_back();
            if (next > kSpanMask)
                continue;  // past the numbers a span holds: the chain answers
            record->mSpan.store(gSpanGeneration << kSpanGenerationShift | first << kSpanBits | next,
                                std::memory_order_relaxed);
            continue;
        }
        firsts.push_back(next++);
        work.emplace_back(record, true);
        const auto found = children.find(record);
        if (found != children.end())
            for (auto it = found->second.rbegin(); it != found->second.rend(); ++it)
                work.emplace_back(*it, false);
    }
    gNumberedCount.store(queued, std::memory_order_release);
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
