#include "skin/layout/CustomValues.h"

#include <gtest/gtest.h>

namespace {

using namespace LayoutLib;

CustomValues MixedValues() {
    CustomValues values;
    SetCustomValue(values, L"flag", true);
    SetCustomValue(values, L"off", false);
    SetCustomValue(values, L"count", 1);
    SetCustomValue(values, L"ratio", 0.5);
    SetCustomValue(values, L"text", std::wstring(L"1"));
    SetCustomValue(values, L"secret", true);
    values[L"secret"].hidden = true;
    return values;
}

TEST(CustomValues, TypedLookupsAnswerOnlyTheirType) {
    const CustomValues values = MixedValues();
    const int kNoBool = -1;
    const struct {
        const wchar_t* name;
        int boolValue;  // kNoBool: _FindCustomBool gives null
        bool hasInt;
        bool hasString;
    } cases[] = {
        {L"flag", 1, false, false},
        {L"off", 0, false, false},
        {L"count", kNoBool, true, false},    // an int is no bool
        {L"ratio", kNoBool, false, false},   // nor is a double an int
        {L"text", kNoBool, false, true},     // the text "1" is no bool either
        {L"secret", kNoBool, false, false},  // hidden: as if absent
        {L"missing", kNoBool, false, false},
        {L"FLAG", kNoBool, false, false},    // names are case-sensitive
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.name << "'");
        const bool* pBool = _FindCustomBool(values, c.name);
        EXPECT_EQ(c.boolValue, pBool ? int(*pBool) : kNoBool);
        if (pBool) {  // a pointer into the map, not to a copy
            EXPECT_EQ(boost::get<bool>(&values.at(c.name).value), pBool);
        }
        EXPECT_EQ(c.hasInt, _FindCustomInt(values, c.name) != nullptr);
        EXPECT_EQ(c.hasString, _FindCustomString(values, c.name) != nullptr);
    }
    EXPECT_EQ(1, *_FindCustomInt(values, L"count"));
    EXPECT_EQ(L"1", *_FindCustomString(values, L"text"));
}

TEST(CustomValues, LookupLeavesTheMapAsItWas) {
    const CustomValues values = MixedValues();
    CustomValues copy = values;
    _FindCustomBool(copy, L"missing");
    _FindCustomBool(copy, L"secret");
    EXPECT_EQ(values.size(), copy.size());
    EXPECT_EQ(0u, copy.count(L"missing"));
    EXPECT_TRUE(copy.at(L"secret").hidden);
}

TEST(CustomValues, StoreReplacesTheValueAndShowsTheEntry) {
    CustomValues values = MixedValues();
    SetCustomValue(values, L"count", true);  // another type under the same name
    ASSERT_NE(nullptr, _FindCustomBool(values, L"count"));
    EXPECT_TRUE(*_FindCustomBool(values, L"count"));
    EXPECT_EQ(nullptr, _FindCustomInt(values, L"count"));

    SetCustomValue(values, L"secret", false);
    ASSERT_NE(nullptr, _FindCustomBool(values, L"secret"));
    EXPECT_FALSE(*_FindCustomBool(values, L"secret"));
    EXPECT_EQ(MixedValues().size(), values.size());
}

}  // namespace
