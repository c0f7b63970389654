#include <gtest/gtest.h>

#include "menufile/core/YamlScalar.h"

namespace cofferon::yaml {
namespace {

// What SnakeYAML 1.33 loads for each scalar (checked with its jar), as the
// text a Java program prints for it: "int 8", "float 1000.0", "flag true",
// "null", "text 08", "other", or "refused" when it fails the file.
std::string loaded(std::string_view text, std::string_view tag = "", bool plain = true)
{
    const auto scalar = resolveScalar(text, tag, plain);
    if (!scalar)
        return "refused";
    switch (scalar->type) {
    case ScalarType::Null:
        return "null";
    case ScalarType::Flag:
        return "flag " + javaText(*scalar);
    case ScalarType::Integer:
        return "int " + javaText(*scalar);
    case ScalarType::Real:
        return "float " + javaText(*scalar);
    case ScalarType::Text:
        return "text " + javaText(*scalar);
    case ScalarType::Other:
        return "other";
    }
    return "?";
}

TEST(YamlScalar, PlainScalarsResolveAsTheReaderResolvesThem)
{
    const std::pair<const char*, const char*> rows[] = {
        {"010", "int 8"},
        {"0x1F", "int 31"},
        {"0x_1F", "int 31"},
        {"-0x1F", "int -31"},
        {"+0b11", "int 3"},
        {"0_7", "int 7"},
        {"00", "int 0"},
        {"-0", "int 0"},
        {"1_", "int 1"},
        {"1__0", "int 10"},
        {"1:30", "int 90"},
        {"-1:30", "int -90"},
        {"1:5", "int 65"},
        {"190:20:30", "int 685230"},
        {"123456789012345678901234567890", "int 123456789012345678901234567890"},
        {"0x1FFFFFFFFFFFFFFFFF", "int 590295810358705651711"},
        {"08", "text 08"},
        {"0b", "text 0b"},
        {"0x", "text 0x"},
        {"0o17", "text 0o17"},
        {"_1", "text _1"},
        {"1:60", "text 1:60"},
        {"0:30", "text 0:30"},
        {"1e3", "float 1000.0"},
        {"1.5E+3", "float 1500.0"},
        {".5", "float 0.5"},
        {"+.5", "float 0.5"},
        {"6.", "float 6.0"},
        {"0.", "float 0.0"},
        {"1__.5", "float 1.5"},
        {"1_000.0_1", "float 1000.01"},
        {"1:30.5", "float 90.5"},
        {"0:30.5", "float 30.5"},
        {"1e400", "float Infinity"},
        {"-.inf", "float -Infinity"},
        {".NaN", "float NaN"},
        {"1e10", "float 1.0E10"},
        {"1e7", "float 1.0E7"},
        {"0.00015", "float 1.5E-4"},
        {"0.001", "float 0.001"},
        {"1.2.3", "text 1.2.3"},
        {".e3", "text .e3"},
        {"1e", "text 1e"},
        {"yes", "flag true"},
        {"On", "flag true"},
        {"FALSE", "flag false"},
        {"y", "text y"},
        {"n", "text n"},
        {"tRue", "text tRue"},
        {"~", "null"},
        {"Null", "null"},
        {"", "null"},
        {"=", "text ="},
        {"2020-01-01", "other"},
        {"2001-12-14t21:59:43.10-05:00", "other"},
        {"2020-1-1 1:00:00 +8", "other"},
        {"2023-2024 season 18:00", "text 2023-2024 season 18:00"},
        {"2020-01-01 10:00", "text 2020-01-01 10:00"},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(loaded(text), expected) << text;
}

TEST(YamlScalar, QuotesAndTagsDecideTheType)
{
    const std::tuple<const char*, const char*, bool, const char*> rows[] = {
        {"010", "", false, "text 010"},
        {"12", "!", false, "int 12"},  // the non-specific tag resolves, quoted or not
        {"yes", "!", true, "flag true"},
        {"12", "tag:yaml.org,2002:str", true, "text 12"},
        {"010", "tag:yaml.org,2002:int", false, "int 8"},
        {"0x1F", "tag:yaml.org,2002:int", true, "int 31"},
        {"1", "tag:yaml.org,2002:float", false, "float 1.0"},
        {"1_0.5", "tag:yaml.org,2002:float", true, "float 10.5"},
        {"yes", "tag:yaml.org,2002:bool", false, "flag true"},
        {"on", "tag:yaml.org,2002:bool", true, "flag true"},
        {"y", "tag:yaml.org,2002:bool", true, "null"},
        {"", "tag:yaml.org,2002:null", false, "null"},
        {"aGk=", "tag:yaml.org,2002:binary", true, "other"},
        {"abc", "tag:yaml.org,2002:int", true, "refused"},
        {"08", "tag:yaml.org,2002:int", true, "refused"},
        {"x", "tag:yaml.org,2002:float", true, "refused"},
        {"1", "!foo", true, "refused"},
        {"1", "tag:yaml.org,2002:foo", true, "refused"},
    };
    for (const auto& [text, tag, plain, expected] : rows)
        EXPECT_EQ(loaded(text, tag, plain), expected) << text << " " << tag;
    EXPECT_TRUE(isMergeKey("<<", "", true));
    EXPECT_FALSE(isMergeKey("<<", "", false));
    EXPECT_EQ(plainDecimal(1e-7), "0.0000001");
}

}  // namespace
}  // namespace cofferon::yaml
