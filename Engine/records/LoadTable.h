#pragma once
// A database record read by field name. Every read has a default: a missing record or field,
// or a value of an unusable kind, gives the default. A LoadTable is a cheap shared handle.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace GAME {

struct RecordData;

class LoadTable {
public:
    LoadTable() = default;
    explicit LoadTable(std::shared_ptr<const RecordData> data) : mData(std::move(data)) {}

    // True when the record was found and parsed.
    bool IsValid() const { return mData != nullptr; }
    const std::string& GetRecordName() const;
    // The parsed record itself: what is loaded from it can be kept by its identity.
    const std::shared_ptr<const RecordData>& GetData() const { return mData; }
    bool HasKey(const char* key) const;

    int GetInt(const char* key, int defaultValue = 0) const;
    unsigned int GetUInt(const char* key, unsigned int defaultValue = 0) const;
    float GetFloat(const char* key, float defaultValue = 0.0f) const;
    double GetDouble(const char* key, double defaultValue = 0.0) const;
    bool GetBool(const char* key, bool defaultValue = false) const;
    std::string GetString(const char* key, const std::string& defaultValue = std::string()) const;

    // Lists replace the target's contents (a missing key leaves it empty); a single value
    // counts as a list of one.
    void GetFloatArray(const char* key, std::vector<float>& out) const;
    void GetIntArray(const char* key, std::vector<int>& out) const;
    void GetUIntArray(const char* key, std::vector<unsigned int>& out) const;
    void GetStringArray(const char* key, std::vector<std::string>& out) const;
    std::size_t GetArraySize(const char* key) const;

    // The value at an index of a list; the default past its end.
    float GetArrayFloat(const char* key, std::size_t index, float defaultValue = 0.0f) const;
    int GetArrayInt(const char* key, std::size_t index, int defaultValue = 0) const;
    std::string GetArrayString(const char* key, std::size_t index,
                               const std::string& defaultValue = std::string()) const;

private:
    std::shared_ptr<const RecordData> mData;
};

}  // namespace GAME
