#include "Engine/text/Name.h"

#include <mutex>
#include <unordered_set>

namespace GAME {

namespace {
// Names are process-wide: they are immutable texts, shared by every machine.
struct NameTable {
    std::mutex mutex;
    std::unordered_set<std::string> names;
};
NameTable& Table() {
    static NameTable* table = new NameTable();  // never destroyed: names outlive static objects
    return *table;
}
const std::string& EmptyString() {
    static const std::string empty;
    return empty;
}
}  // namespace

Name Name::Create(std::string_view text) {
    if (text.empty())
        return Name();
    NameTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.names.emplace(text).first;
    return Name(&*it);
}

Name Name::Find(std::string_view text) {
    NameTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.names.find(std::string(text));
    return it == table.names.end() ? Name() : Name(&*it);
}

const std::string& Name::str() const {
    return mEntry ? *mEntry : EmptyString();
}

}  // namespace GAME
