#pragma once
// Class records: one per class that data can name, in a single tree rooted at Object.
//
// The records of registered classes are constant-initialised (they hold no heap data and their
// constructor only stores pointers), so every record exists before any dynamic initialiser runs,
// whatever the order of static initialisation. Each record is queued for attachment by its own
// translation unit; the tree is assembled on first use, children in the order the registering
// library declared (see RTTI_ClassInfo::SetAttachOrder), so registration order never changes it.
#include <atomic>
#include <cstdint>

namespace GAME {

class RTTI_ClassInfo {
public:
    using Factory = void* (*)();
    struct StaticTag {};

    // A record of a registered class: attached later, in the library's declared order.
    constexpr RTTI_ClassInfo(StaticTag, const char* name, const RTTI_ClassInfo* parent,
                             Factory factory)
        : mName(name),
          mParent(const_cast<RTTI_ClassInfo*>(parent)),
          mFactory(factory),
          mStatic(true) {}
    // A record made at run time: attaches itself to its parent at once.
    RTTI_ClassInfo(const char* name, RTTI_ClassInfo* parent, Factory factory);
    virtual ~RTTI_ClassInfo();
    RTTI_ClassInfo(const RTTI_ClassInfo&) = delete;
    RTTI_ClassInfo& operator=(const RTTI_ClassInfo&) = delete;

    const char* GetClassName() const { return mName; }
    const RTTI_ClassInfo* GetParent() const { return mParent; }

    bool IsSameClass(const RTTI_ClassInfo& other) const;
    bool IsAncestor(const RTTI_ClassInfo& other) const;
    // Registered records of one numbering answer from their spans alone: the pre-order number
    // of a record lies within the span of each of its ancestors and of no other record.
    [[gnu::always_inline]] bool IsA(const RTTI_ClassInfo& other) const {
        const std::uint64_t mine = mSpan.load(std::memory_order_relaxed);
        const std::uint64_t theirs = other.mSpan.load(std::memory_order_relaxed);
        if (mine != 0 && (mine >> kSpanGenerationShift) == (theirs >> kSpanGenerationShift)) {
            const std::uint64_t first = (mine >> kSpanBits) & kSpanMask;
            const bool is =
                ((theirs >> kSpanBits) & kSpanMask) <= first && first < (theirs & kSpanMask);
#ifndef NDEBUG
            CheckSpanAnswer(other, is);
#endif
            return is;
        }
        return IsAByChain(other);
    }

    // Depth-first, pre-order search of this subtree; the factory's result or null.
    void* CreateByName(const char* name) const;
    // The record of the subtree carrying the name, or null.
    const RTTI_ClassInfo* FindByName(const char* name) const;

    void AddChild(RTTI_ClassInfo* child);
    void RemoveChild(RTTI_ClassInfo* child);
    int GetNumChildren() const;
    const RTTI_ClassInfo* GetChild(int index) const;

    // Queues a static record for attachment (called by the registration macro).
    static bool QueueRegistration(RTTI_ClassInfo& record);
    // Class names in the order their records attach to their parents; records not named attach
    // after those named, in registration order. Must be set during static initialisation.
    static void SetAttachOrder(const char* const* names, int count);
    // Attaches every queued record (done on first use of the tree; safe to call again).
    static void AttachQueued();

private:
    static constexpr unsigned kSpanBits = 24;
    static constexpr std::uint64_t kSpanMask = (std::uint64_t{1} << kSpanBits) - 1;
    static constexpr unsigned kSpanGenerationShift = 2 * kSpanBits;

    void EnsureTree() const;
    // The walk up the parent chain, for records without a span of the same numbering (made at
    // run time, queued since, or names that clash); numbers the queued records when it can.
    bool IsAByChain(const RTTI_ClassInfo& other) const;
    bool WalkChain(const RTTI_ClassInfo& other) const;
    void CheckSpanAnswer(const RTTI_ClassInfo& other, bool answer) const;
    // Gives every queued record whose ancestors are all queued a span: generation, first
    // pre-order number, one past its subtree's last. Old spans stay right for the records they
    // belong to (ancestry never changes); a new generation keeps the numberings apart.
    static void NumberQueued();

    const char* mName = nullptr;
    RTTI_ClassInfo* mParent = nullptr;
    Factory mFactory = nullptr;
    bool mStatic = false;
    bool mAttached = false;
    int mNumChildren = 0;
    RTTI_ClassInfo** mChildren = nullptr;  // exactly mNumChildren entries, attachment order
    RTTI_ClassInfo* mNextQueued = nullptr;
    int mQueueIndex = 0;
    std::atomic<std::uint64_t> mSpan{0};  // 0: none
};

}  // namespace GAME

// Declares the class record and its accessors; put first in the class body.
#define RTTI_DECLARE(Class)                                       \
public:                                                           \
    static ::GAME::RTTI_ClassInfo classInfo;                      \
    static const ::GAME::RTTI_ClassInfo& GetStaticClassInfo() {   \
        return classInfo;                                         \
    }                                                             \
    const ::GAME::RTTI_ClassInfo& GetClassInfo() const override { \
        return classInfo;                                         \
    }                                                             \
                                                                  \
protected:                                                        \
    static void* RTTI_new();                                      \
                                                                  \
public:

// The root form (Object only): GetClassInfo is introduced, not overridden.
#define RTTI_DECLARE_ROOT(Class)                                 \
public:                                                          \
    static ::GAME::RTTI_ClassInfo classInfo;                     \
    static const ::GAME::RTTI_ClassInfo& GetStaticClassInfo() {  \
        return classInfo;                                        \
    }                                                            \
    virtual const ::GAME::RTTI_ClassInfo& GetClassInfo() const { \
        return classInfo;                                        \
    }                                                            \
                                                                 \
protected:                                                       \
    static void* RTTI_new();                                     \
                                                                 \
public:

#define RTTI_IMPLEMENT_RECORD_(Class, ParentInfo, Factory)                                         \
    constinit ::GAME::RTTI_ClassInfo Class::classInfo{::GAME::RTTI_ClassInfo::StaticTag{}, #Class, \
                                                      ParentInfo, Factory};                        \
    static const bool Class##_rttiQueued_ =                                                        \
        ::GAME::RTTI_ClassInfo::QueueRegistration(Class::classInfo);

// Defines the record of Class under Parent and its factory; put in the class's source file.
#define RTTI_IMPLEMENT(Class, Parent)      \
    void* Class::RTTI_new() {              \
        return new (std::nothrow) Class(); \
    }                                      \
    RTTI_IMPLEMENT_RECORD_(Class, &Parent::classInfo, &Class::RTTI_new)

// For a class that is never made by name (abstract): its factory gives null.
#define RTTI_IMPLEMENT_ABSTRACT(Class, Parent) \
    void* Class::RTTI_new() {                  \
        return nullptr;                        \
    }                                          \
    RTTI_IMPLEMENT_RECORD_(Class, &Parent::classInfo, &Class::RTTI_new)

#include <new>
