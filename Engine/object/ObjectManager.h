#pragma once
// Owns every object of a machine and maps 32-bit ids (0: no object) to objects.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "Engine/object/Object.h"
#include "Engine/object/ObjectTable.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/CriticalSection.h"
#include "Engine/sys/Machine.h"

namespace GAME {

class ObjectManager {
public:
    static constexpr FixedSlot kMachineSlot = FixedSlot::Objects;
    ObjectManager();
    ~ObjectManager();

    // A fresh non-zero id, never handed out before in this run; 0 when none is left.
    std::uint32_t CreateObjectID();
    // Ids handed out from now on lie above `id`: a machine about to make several objects under
    // ids another machine chose keeps the objects those make (controllers, skills) off the ids
    // still to come.
    void SkipIdsThrough(std::uint32_t id);

    // Until EndIdBand, fresh ids come from `first` upward (a band visited before goes on where
    // it stopped); afterwards from the larger of where they were and `floor`. Machines that
    // make a group of objects at different moments give them the same ids this way, and, with a
    // common floor, go on alike after it whatever else each made inside the band.
    void BeginIdBand(std::uint32_t first);
    void EndIdBand(std::uint32_t floor);
    // Until EndLocalIds, fresh ids come from [first, end) (going on where the range stopped
    // before, wrapping, skipping ids in use); afterwards from exactly where they were. What a
    // machine makes for itself alone, in numbers that differ by machine, takes its ids so and
    // leaves the ids every machine hands out alike. Nests, also inside a band (the outermost
    // range holds).
    void BeginLocalIds(std::uint32_t first, std::uint32_t end);
    void EndLocalIds();

    // A new object of the named class (id 0: take a fresh one); null for an unknown class.
    Object* CreateObject(const std::string& className, std::uint32_t id = 0);
    template <class T>
    T* CreateObject(std::uint32_t id = 0) {
        return static_cast<T*>(CreateObject(T::classInfo.GetClassName(), id));
    }
    // A new object of the class the record's "Class" names, named after the record; when
    // `load` is set the object also loads the record.
    Object* CreateObjectFromFile(const std::string& recordName, std::uint32_t id = 0,
                                 bool load = true);
    // The same, kept only when the object is a T (else destroyed at once and null returned).
    template <class T>
    T* CreateObjectFromFile(const std::string& recordName, std::uint32_t id = 0, bool load = true) {
        Object* object = CreateObjectFromFile(recordName, id, load);
        if (!object)
            return nullptr;
        if (object->GetClassInfo().IsA(T::classInfo))
            return static_cast<T*>(object);
        DestroyObjectEx(object, "Engine/ObjectManager", 25);
        return nullptr;
    }

    // Destroys an object the manager owns; the caller's file and line go to the log on misuse.
    void DestroyObjectEx(Object* object, const char* file, int line);

    // Lookups take no lock: the table stays readable while another thread changes it. Forced
    // inline: a crowd's frame makes ~25 of them per character, and out of line the call and the
    // class handed back through memory cost as much as the lookup.
    [[gnu::always_inline]] Object* GetObject(std::uint32_t id) {
        Object* object = nullptr;
        const RTTI_ClassInfo* classInfo = nullptr;
        return mObjects.Lookup(id, object, classInfo) ? object : nullptr;
    }
    // The object and its class record (null, untouched when there is no such object).
    [[gnu::always_inline]] Object* GetObject(std::uint32_t id, const RTTI_ClassInfo*& classInfo) {
        Object* object = nullptr;
        return mObjects.Lookup(id, object, classInfo) ? object : nullptr;
    }
    // The object when it is a T or derived from T, else null.
    template <class T>
    [[gnu::always_inline]] T* GetObject(std::uint32_t id) {
        const RTTI_ClassInfo* classInfo = nullptr;
        Object* object = GetObject(id, classInfo);
        if (!object || (classInfo != &T::classInfo && !classInfo->IsA(T::classInfo)))
            return nullptr;
        return static_cast<T*>(object);
    }
    // Changes whenever an object is filed or taken: while it reads the same, every lookup answers
    // as before.
    std::uint64_t Version() const { return mObjects.Version(); }

    // GetObject<T>'s answer for one id and where it was found, for a caller that asks for the
    // same id over and over (a controller for its character): while the table's slot there holds
    // the same object, the answer is read back with no search and no class test.
    template <class T>
    struct Kept {
        ObjectTable::Place place;
        T* object = nullptr;
    };
    template <class T>
    [[gnu::always_inline]] T* GetObject(std::uint32_t id, Kept<T>& kept) {
        if (mObjects.StillAt(id, kept.place)) {
            CheckKept(id, kept.object);
            return kept.object;
        }
        return FindAndKeep(id, kept);
    }
    // Whether the kept answer for the id stands as it is (for a caller that inlines the common
    // case and leaves the rest, and in debug builds every case, to GetObject with the kept).
    template <class T>
    [[gnu::always_inline]] bool StillKept(std::uint32_t id, Kept<T>& kept) {
        return mObjects.StillAt(id, kept.place);
    }
    Object* GetObjectByNameHash(std::uint32_t hash);

    std::size_t GetObjectCount();
    // Ids of the live objects, in creation order.
    std::vector<std::uint32_t> GetObjectIds();
    // The same into `out` (cleared first), for callers that keep their storage.
    void GetObjectIds(std::vector<std::uint32_t>& out);

    // Records of the machine's record database.
    bool LoadTableFile(const std::string& recordName);
    LoadTable GetLoadTable(const std::string& recordName);

    // Destroys every object (newest first).
    void DestroyAll();

    CriticalSection& GetCriticalSection() { return mLock; }

private:
    template <class T>
    T* FindAndKeep(std::uint32_t id, Kept<T>& kept) {
        Object* object = nullptr;
        const RTTI_ClassInfo* classInfo = nullptr;
        kept.object = nullptr;
        if (mObjects.Lookup(id, object, classInfo, kept.place) &&
            (classInfo == &T::classInfo || classInfo->IsA(T::classInfo)))
            kept.object = static_cast<T*>(object);
        return kept.object;
    }
    // Debug builds compare a kept answer with a fresh lookup and abort on a difference.
    template <class T>
    void CheckKept(std::uint32_t id, const T* kept);
    [[noreturn]] static void KeptObjectStale(std::uint32_t id);

    // The object that held the id before, if any, for the caller to destroy.
    std::unique_ptr<Object> Insert(Object* object);

    CriticalSection mLock;
    std::uint32_t mNextId = 1;
    bool mIdsExhausted = false;
    struct Band {
        std::uint32_t first = 0;
        std::uint32_t savedNext = 0;
        bool savedExhausted = false;
    };
    std::optional<Band> mBand;
    std::unordered_map<std::uint32_t, std::uint32_t> mBandNext;  // where each band stopped
    struct LocalIds {
        std::uint32_t first = 0;
        std::uint32_t end = 0;
        std::uint32_t savedNext = 0;
        bool savedExhausted = false;
        int depth = 0;
    };
    std::optional<LocalIds> mLocal;
    ObjectTable mObjects;
    std::unordered_map<std::uint32_t, Object*> mByNameHash;
    // The id each owned object is filed under: a destroy is checked without touching the
    // object, which may be a stale pointer.
    std::unordered_map<const Object*, std::uint32_t> mKeys;
    std::vector<std::uint32_t> mCreationOrder;  // may hold ids of destroyed objects
    // GetObjectIds' open-addressed set of the ids it reported (0: empty), kept between calls.
    std::vector<std::uint32_t> mIdsReported;
};

template <class T>
void ObjectManager::CheckKept([[maybe_unused]] std::uint32_t id, [[maybe_unused]] const T* kept) {
#ifndef NDEBUG
    if (GetObject<T>(id) != kept)
        KeptObjectStale(id);
#endif
}

// The current machine's object manager.
inline ObjectManager& Objects() {
    return Singleton<ObjectManager>::Get();
}

}  // namespace GAME

#define DestroyObject(object) DestroyObjectEx((object), __FILE__, __LINE__)
