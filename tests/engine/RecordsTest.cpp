#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

TEST(Records, NamesMatchWhateverTheCaseAndSlash) {
    TestMachine tm;
    auto& om = Singleton<ObjectManager>::Get();
    EXPECT_TRUE(om.LoadTableFile("Records/Test/Values.dbr"));
    EXPECT_TRUE(om.LoadTableFile("records\\TEST\\values.DBR"));
    EXPECT_EQ(om.GetLoadTable("RECORDS\\test/Values.dbr").GetInt("anInt"), 42);
}

TEST(Records, ScalarReadsAndTheirDefaults) {
    TestMachine tm;
    LoadTable t = Singleton<ObjectManager>::Get().GetLoadTable("Records/Test/Values.dbr");
    ASSERT_TRUE(t.IsValid());
    EXPECT_EQ(t.GetInt("anInt", 1), 42);
    EXPECT_FLOAT_EQ(t.GetFloat("aFloat"), 2.5f);
    EXPECT_EQ(t.GetInt("aFloat"), 2);
    EXPECT_EQ(t.GetInt("aNegative"), -7);
    EXPECT_EQ(t.GetString("aText"), "hello");
    EXPECT_TRUE(t.GetBool("aBool"));
    EXPECT_FLOAT_EQ(t.GetFloat("numericText"), 12.5f);
    EXPECT_EQ(t.GetInt("missing", 9), 9);
    EXPECT_FLOAT_EQ(t.GetFloat("missing", 1.5f), 1.5f);
    EXPECT_EQ(t.GetString("missing", "dflt"), "dflt");
    EXPECT_TRUE(t.GetBool("missing", true));
    // Out of range for an int: clamped, never undefined.
    EXPECT_EQ(t.GetInt("huge"), 2147483647);
    // A text that is no number gives the default and says which field.
    EXPECT_EQ(t.GetInt("aText", 5), 5);
    EXPECT_GE(tm.CountLog("aText"), 1);
}

TEST(Records, ListsReplaceTheTargetAndIndexReadsStopAtTheEnd) {
    TestMachine tm;
    LoadTable t = Singleton<ObjectManager>::Get().GetLoadTable("Records/Test/Values.dbr");
    std::vector<float> values{9, 9, 9, 9, 9};
    t.GetFloatArray("levels", values);
    EXPECT_EQ(values, (std::vector<float>{1, 2.5f, 3}));
    t.GetFloatArray("missing", values);
    EXPECT_TRUE(values.empty());
    t.GetFloatArray("single", values);
    EXPECT_EQ(values, std::vector<float>{4});
    std::vector<std::string> names;
    t.GetStringArray("names", names);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b"}));
    EXPECT_FLOAT_EQ(t.GetArrayFloat("levels", 1), 2.5f);
    EXPECT_FLOAT_EQ(t.GetArrayFloat("levels", 3, -1.0f), -1.0f);
    EXPECT_EQ(t.GetArrayString("names", 5, "none"), "none");
    EXPECT_EQ(t.GetArrayInt("levels", 2), 3);
    EXPECT_EQ(t.GetArraySize("levels"), 3u);
    // Unsupported values are dropped at load with a line naming record and field.
    EXPECT_FALSE(t.HasKey("mixed"));
    EXPECT_FALSE(t.HasKey("nested"));
}

// Index reads answer from the stored value in place; they must agree with the copied-out list
// for every kind of value.
TEST(Records, IndexReadsAgreeWithTheWholeListForEveryKind) {
    TestMachine tm;
    LoadTable t = Singleton<ObjectManager>::Get().GetLoadTable("Records/Test/Values.dbr");
    for (const char* key :
         {"levels", "single", "huge", "aNegative", "aText", "numericText", "aBool", "missing"}) {
        std::vector<float> floats;
        std::vector<int> ints;
        t.GetFloatArray(key, floats);
        t.GetIntArray(key, ints);
        for (std::size_t i = 0; i < 4; ++i) {
            SCOPED_TRACE(std::string(key) + "[" + std::to_string(i) + "]");
            EXPECT_EQ(t.GetArrayFloat(key, i, -9.0f), i < floats.size() ? floats[i] : -9.0f);
            EXPECT_EQ(t.GetArrayInt(key, i, -9), i < ints.size() ? ints[i] : -9);
        }
    }
}

TEST(Records, UnknownAndMalformedRecordsGiveDefaultsAndAreLoggedOnce) {
    TestMachine tm;
    auto& om = Singleton<ObjectManager>::Get();
    EXPECT_FALSE(om.LoadTableFile("Records/Test/Nowhere.dbr"));
    EXPECT_FALSE(om.LoadTableFile("Records/Test/Nowhere.dbr"));
    LoadTable unknown = om.GetLoadTable("Records/Test/Nowhere.dbr");
    EXPECT_FALSE(unknown.IsValid());
    EXPECT_EQ(unknown.GetInt("x", 3), 3);
    EXPECT_EQ(tm.CountLog("Nowhere.dbr"), 1);

    EXPECT_FALSE(om.LoadTableFile("Records/Test/Malformed.dbr"));
    EXPECT_EQ(om.GetLoadTable("Records/Test/Malformed.dbr").GetString("Class", "none"), "none");
    EXPECT_EQ(tm.CountLog("Malformed.dbr"), 1);
    EXPECT_FALSE(om.LoadTableFile("Records/Test/NotAnObject.dbr"));
    EXPECT_EQ(tm.CountLog("NotAnObject.dbr"), 1);
}

TEST(Records, AddedRecordTextIsReadLikeAFile) {
    TestMachine tm;
    auto& db = Singleton<RecordDatabase>::Get();
    ASSERT_TRUE(db.AddRecordText("Records/Made/One.dbr", R"({"value": 3})"));
    EXPECT_EQ(Singleton<ObjectManager>::Get().GetLoadTable("records/made/one.dbr").GetInt("value"),
              3);
    EXPECT_FALSE(db.AddRecordText("Records/Made/Bad.dbr", "{"));
}

}  // namespace
}  // namespace GAME

namespace GAME {
namespace {

// Values beyond the target's range saturate instead of wrapping round.
TEST(Records, NumbersOutsideTheTargetRangeSaturate) {
    test::TestMachine tm;
    auto& db = Singleton<RecordDatabase>::Get();
    ASSERT_TRUE(db.AddRecordText(
        "Records/Made/Range.dbr",
        R"({"negative": -1, "huge": 1e10, "list": [-5, 4294967296, 7], "big": 1e300})"));
    LoadTable table = db.Get("Records/Made/Range.dbr");
    EXPECT_EQ(table.GetUInt("negative", 9), 0u);
    EXPECT_EQ(table.GetUInt("huge"), 4294967295u);
    EXPECT_EQ(table.GetInt("huge"), 2147483647);
    std::vector<unsigned int> list;
    table.GetUIntArray("list", list);
    EXPECT_EQ(list, (std::vector<unsigned int>{0u, 4294967295u, 7u}));
    EXPECT_TRUE(std::isinf(table.GetFloat("big")));
    EXPECT_GT(table.GetFloat("big"), 0.0f);
}

}  // namespace
}  // namespace GAME
