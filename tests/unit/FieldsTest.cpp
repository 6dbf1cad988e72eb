#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "control/Fields.h"
#include "control/TextJoin.h"

namespace ramvel::test {
namespace {

TEST(Fields, CountFields) {
    struct {
        std::u16string_view text;
        char16_t separator;
        int expected;
    } cases[] = {
        {u"", kTAB, 1},
        {u"a", kTAB, 1},
        {u"a\tb", kTAB, 2},
        {u"a\t", kTAB, 2},
        {u"\t\t", kTAB, 3},
        {u"4,5", kComma, 2},
        {u"a\tb", kComma, 1},
        {u"0\x01\t-1\x01", kSOH, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Show(c.text));
        EXPECT_EQ(CountFields(c.text, c.separator), c.expected);
    }
}

TEST(Fields, ExtractField) {
    struct {
        std::u16string_view text;
        int index;
        std::u16string_view expected;
    } cases[] = {
        {u"a\tb", 1, u"a"},
        {u"a\tb", 2, u"b"},
        {u"a\tb", 3, u"b"},        // past the last field: the last field
        {u"a\tb", 0, u"a"},        // below 1: the first field
        {u"a\tb", -7, u"a"},
        {u"a\t", 2, u""},          // a trailing separator ends an empty last field
        {u"a\t", 5, u""},
        {u"a\t\tc", 2, u""},
        {u"a\t\tc", 3, u"c"},
        {u"", 1, u""},
        {u"", 4, u""},
        {u"abc", 2, u"abc"},       // one field: every index gives it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Show(c.text) + " #" + std::to_string(c.index));
        EXPECT_EQ(Show(ExtractField(c.text, c.index, kTAB)), Show(c.expected));
    }
}

TEST(Fields, StrToIntAcceptsStrictIntegers) {
    struct {
        std::u16string_view text;
        std::int32_t expected;
    } cases[] = {
        {u"0", 0},
        {u"42", 42},
        {u" 7", 7},
        {u"   -7", -7},
        {u"+12", 12},
        {u"007", 7},
        {u"999999999", 999999999},    // the longest plain field read in one pass
        {u"1000000000", 1000000000},  // one digit more: read with overflow checks
        {u"2147483647", 2147483647},
        {u"-2147483648", -2147483647 - 1},
        {u"$10", 16},
        {u"x1f", 31},
        {u"X1F", 31},
        {u"0x10", 16},
        {u"0XaB", 171},
        {u"-$10", -16},
        {u"$FFFFFFFF", -1},
        {u"$80000000", -2147483647 - 1},
        {u"$000000001", 1},  // leading zeros are not significant
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Show(c.text));
        EXPECT_EQ(StrToInt(c.text), c.expected);
    }
}

TEST(Fields, StrToIntRejectsEverythingElse) {
    const std::u16string_view cases[] = {
        u"", u" ", u"7 ", u"-", u"+", u"1.5", u"1e3", u"abc", u"$", u"x", u"0x", u"$G",
        u"2147483648", u"-2147483649", u"99999999999999999999", u"$100000000", u"\t7", u"--1",
        u"0x-1", u"1 2", u"12a", u"1-",
    };
    for (std::u16string_view text : cases) {
        SCOPED_TRACE(Show(text));
        std::u16string message = u"'";
        message += text;
        message += u"' n'est pas une valeur enti\u00e8re correcte";
        EXPECT_ERROR(StrToInt(text), kEUnexpected, message);
    }
}

// Texts of every length up to 40 with separators at random places, the ends of eight-character
// steps and runs of them included: the scans must agree with a plain walk, character by
// character.
TEST(Fields, ScansAgreeWithAPlainWalk) {
    std::mt19937 random(11);
    for (int round = 0; round < 400; ++round) {
        std::u16string text(static_cast<std::size_t>(round % 41), u'a');
        for (char16_t& c : text) c = random() % 3 == 0 ? kTAB : static_cast<char16_t>(u'a' + random() % 3);
        if (round % 5 == 0 && text.size() > 8) text[7] = text[8] = kTAB;
        SCOPED_TRACE(Show(text));
        std::vector<std::size_t> expected;
        for (std::size_t at = 0; at < text.size(); ++at)
            if (text[at] == kTAB) expected.push_back(at);
        // Eight at a time where the processor can, and a character at a time as elsewhere.
        std::vector<std::size_t> found, foundOneByOne;
        ForEachOf(text, kTAB, [&](std::size_t at) { found.push_back(at); });
        ForEachOf<false>(text, kTAB, [&](std::size_t at) { foundOneByOne.push_back(at); });
        EXPECT_EQ(found, expected);
        EXPECT_EQ(foundOneByOne, expected);
        for (std::size_t from = 0; from <= text.size(); ++from) {
            const auto next = std::lower_bound(expected.begin(), expected.end(), from);
            const std::size_t first = next == expected.end() ? std::u16string_view::npos : *next;
            EXPECT_EQ(FindChar(text, kTAB, from), first);
            EXPECT_EQ(FindChar<false>(text, kTAB, from), first);
        }
        EXPECT_EQ(CountFields(text, kTAB), static_cast<int>(expected.size()) + 1);
        const FieldSplit<6> fields(text, kTAB);
        for (int i = 1; i <= 6; ++i) EXPECT_EQ(fields[i], ExtractField(text, i, kTAB)) << "field " << i;
    }
}

TEST(Fields, IntToStr) {
    EXPECT_EQ(IntToStr(0), u"0");
    EXPECT_EQ(IntToStr(-1), u"-1");
    EXPECT_EQ(IntToStr(-2147483648LL), u"-2147483648");
    EXPECT_EQ(IntToStr(70002), u"70002");
    EXPECT_EQ(IntToStr(9), u"9");
    EXPECT_EQ(IntToStr(10), u"10");
    EXPECT_EQ(IntToStr(1000000000000000000LL), u"1000000000000000000");
    EXPECT_EQ(IntToStr(INT64_MAX), u"9223372036854775807");
    EXPECT_EQ(IntToStr(INT64_MIN), u"-9223372036854775808");
    // Every digit count, both signs, the 32-bit edges, against the standard library.
    std::vector<std::int64_t> values = {99, 100, 101, 4294967295LL, 4294967296LL, INT32_MIN, INT32_MAX};
    for (std::int64_t power = 1; power <= INT64_MAX / 10; power *= 10)
        for (std::int64_t value : {power - 1, power, power + 1, 7 * power}) values.insert(values.end(), {value, -value});
    for (std::int64_t value : values) {
        const std::string expected = std::to_string(value);
        EXPECT_EQ(IntToStr(value), std::u16string(expected.begin(), expected.end())) << value;
    }
}

TEST(Fields, JoinSizesOnceAndWritesEveryPiece) {
    std::u16string out = u"old text, longer than the result";
    JoinInto(out, std::int32_t{-12}, kSOH, std::u16string_view{}, kTAB, u"abc", std::u16string(u"de"), 0);
    EXPECT_EQ(out, u"-12\x01\tabcde0");
    EXPECT_EQ(Join(std::u16string_view{}), u"");
    EXPECT_EQ(Join(kTAB, INT64_MIN), u"\t-9223372036854775808");
}

}  // namespace
}  // namespace ramvel::test
