#include "Engine/records/RecordDatabase.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <nlohmann/json.hpp>

#include "Engine/Engine.h"
#include "Engine/records/RecordData.h"
#include "Engine/records/RecordFastParse.h"

namespace GAME {

RecordDatabase::RecordDatabase() = default;
RecordDatabase::~RecordDatabase() = default;

std::string RecordDatabase::NormalizeName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    NormalizeRecordName(name, out);
    return out;
}

void RecordDatabase::SetDataRoot(const std::filesystem::path& root) {
    CriticalSectionLock lock(mLock);
    mRoot = root;
    mIndexed = false;
    mFiles.Clear();
    mCache.clear();
    mReportedMissing.clear();
    mVersion.fetch_add(1, std::memory_order_acq_rel);
}

void RecordDatabase::IndexRoot() {
    mIndexed = true;
    mFiles.Scan(mRoot);
}

std::filesystem::path RecordDatabase::ResolveFile(std::string_view name) {
    CriticalSectionLock lock(mLock);
    if (!mIndexed)
        IndexRoot();
    NormalizeRecordName(name, mKey);
    const RecordFiles::File* file = mFiles.Find(mKey);
    return file ? std::filesystem::path(mFiles.PathOf(*file)) : std::filesystem::path();
}

namespace {
RecordValue ConvertValue(const nlohmann::json& j, bool& usable) {
    RecordValue v;
    usable = true;
    if (j.is_number()) {
        v.kind = RecordValue::Kind::Number;
        v.number = j.get<double>();
    } else if (j.is_string()) {
        v.kind = RecordValue::Kind::String;
        v.text = j.get<std::string>();
    } else if (j.is_boolean()) {
        v.kind = RecordValue::Kind::Bool;
        v.boolean = j.get<bool>();
    } else if (j.is_array()) {
        const bool allNumbers = std::all_of(
            j.begin(), j.end(), [](const auto& e) { return e.is_number() || e.is_boolean(); });
        const bool allStrings =
            std::all_of(j.begin(), j.end(), [](const auto& e) { return e.is_string(); });
        if (allNumbers) {
            v.kind = RecordValue::Kind::NumberList;
            for (const auto& e : j)
                v.numbers.push_back(e.is_boolean() ? (e.get<bool>() ? 1.0 : 0.0) : e.get<double>());
        } else if (allStrings) {
            v.kind = RecordValue::Kind::StringList;
            for (const auto& e : j)
                v.texts.push_back(e.get<std::string>());
        } else {
            usable = false;
        }
    } else {
        usable = false;
    }
    return v;
}
}  // namespace

std::shared_ptr<const RecordData> RecordDatabase::Parse(std::string_view recordName,
                                                        std::string_view text,
                                                        const RecordFiles::File* file) {
    auto data = std::make_shared<RecordData>();
    data->name = recordName;
    if (ParseRecordFast(text, *data))
        return data;
    data->fields.clear();
    const std::string& name = data->name;
    const std::string origin = file ? mFiles.PathOf(*file) : std::string("added text");
    nlohmann::json json = nlohmann::json::parse(text.begin(), text.end(), nullptr, false);
    if (json.is_discarded()) {
        gEngine->Log(1, "Record %s (%s) is not valid JSON; it is treated as missing.", name.c_str(),
                     origin.c_str());
        return nullptr;
    }
    if (!json.is_object()) {
        gEngine->Log(1, "Record %s (%s) is not a JSON object; it is treated as missing.",
                     name.c_str(), origin.c_str());
        return nullptr;
    }
    for (auto it = json.begin(); it != json.end(); ++it) {
        bool usable = false;
        RecordValue value = ConvertValue(it.value(), usable);
        if (!usable) {
            gEngine->Log(1, "Record %s: field \"%s\" has an unsupported value; it is ignored.",
                         name.c_str(), it.key().c_str());
            continue;
        }
        data->fields.emplace(it.key(), std::move(value));
    }
    return data;
}

bool RecordDatabase::Load(std::string_view name) {
    if (name.empty())
        return false;
    CriticalSectionLock lock(mLock);
    NormalizeRecordName(name, mKey);
    if (!mCache.empty())
        if (auto it = mCache.find(std::string_view(mKey)); it != mCache.end())
            return it->second != nullptr;
    return LoadUncached(mKey, name) != nullptr;
}

const std::shared_ptr<const RecordData>& RecordDatabase::LoadUncached(std::string_view key,
                                                                      std::string_view name) {
    if (!mIndexed)
        IndexRoot();
    RecordFiles::File* file = mFiles.Find(key);
    if (!file) {
        // `key` may be the shared buffer, which a log sink looking a record up would reuse.
        std::string owned(key);
        if (mReportedMissing.insert(owned).second)
            gEngine->Log(1, "Record %.*s was not found.", static_cast<int>(name.size()),
                         name.data());
        return mCache.insert_or_assign(std::move(owned), nullptr).first->second;
    }
    if (!file->loaded) {
        file->loaded = true;
        // One buffer serves every read: no allocation per record once it has grown.
        std::string_view text;
        if (!mFiles.Read(*file, mReadBuffer, text)) {
            gEngine->Log(1, "Record %.*s could not be read.", static_cast<int>(name.size()),
                         name.data());
        } else {
            file->record = Parse(name, text, file);
        }
    }
    return file->record;
}

LoadTable RecordDatabase::Get(std::string_view name) {
    CriticalSectionLock lock(mLock);
    NormalizeRecordName(name, mKey);
    // Added texts and unknown names; records of files are kept with their files.
    if (!mCache.empty())
        if (auto it = mCache.find(std::string_view(mKey)); it != mCache.end())
            return LoadTable(it->second);
    if (name.empty())
        return LoadTable();
    return LoadTable(LoadUncached(mKey, name));
}

bool RecordDatabase::AddRecordText(std::string_view name, std::string_view jsonText) {
    CriticalSectionLock lock(mLock);
    auto data = Parse(name, jsonText, nullptr);
    mCache.insert_or_assign(NormalizeName(name), data);
    mVersion.fetch_add(1, std::memory_order_acq_rel);
    return data != nullptr;
}

}  // namespace GAME
