#include "media/verify_code.h"

#include "util/text_codec.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace chat {
namespace {

// Hands out the scripted numbers in order; running out is a test fault.
RandomSource scripted(std::vector<unsigned> numbers) {
    return [numbers = std::move(numbers), next = std::size_t{0}]() mutable {
        if (next == numbers.size()) {
            throw std::logic_error("scripted random numbers used up");
        }
        return numbers[next++];
    };
}

struct CodeCase {
    const char* name;
    std::vector<unsigned> numbers;
    std::u16string code;
};

TEST(VerifyCodeTest, EachKindOfCharacterComesFromTheNextNumber) {
    const std::vector<CodeCase> cases = {
        {"digits", {0, 0, 3, 9, 6, 1, 300, 17}, u"0917"},
        {"small letters", {1, 0, 4, 25, 7, 2, 10, 7}, u"azch"},
        {"capitals", {2, 0, 5, 25, 8, 7, 11, 2}, u"AZHC"},
        {"mixed", {0, 5, 1, 1, 2, 3, 0, 0}, u"5bD0"},
        {"small l and o drawn again", {1, 11, 14, 11, 12, 0, 0, 1, 1, 1, 1}, u"m0bb"},
        {"capital I and O drawn again", {2, 8, 14, 8, 9, 2, 14, 0, 0, 0, 0, 1}, u"JA01"},
    };
    for (const CodeCase& c : cases) {
        EXPECT_EQ(makeVerifyCode(scripted(c.numbers)), c.code) << c.name;
    }
}

TEST(VerifyCodeTest, CodesNeverHoldTheLettersMistakenForDigits) {
    unsigned state = 12345;
    const RandomSource lcg = [&state] {
        state = state * 1103515245u + 12345u;
        return (state / 65536u) % 32768u;
    };
    for (int round = 0; round < 2000; ++round) {
        const std::u16string code = makeVerifyCode(lcg);
        ASSERT_EQ(code.size(), kVerifyCodeLength);
        EXPECT_EQ(code.find_first_of(u"loIO"), std::u16string::npos);
    }
}

struct MatchCase {
    std::u16string typed;
    bool matches;
};

TEST(VerifyCodeTest, TypedCodeIsComparedIgnoringCaseOnItsFirstFourCharacters) {
    const std::u16string code = u"a7Zk";
    const std::vector<MatchCase> cases = {
        {u"a7Zk", true},  {u"A7zK", true},    {u"A7ZK", true},   {u"a7zk", true},
        {u"a7Zk9", true}, {u"a7ZkXYZ", true}, {u"a7Z", false},   {u"", false},
        {u"a7Zx", false}, {u"7aZk", false},   {u"a7Z k", false}, {u"b7Zk", false},
    };
    for (const MatchCase& c : cases) {
        EXPECT_EQ(verifyCodeMatches(code, c.typed), c.matches) << utf16ToUtf8(c.typed);
    }
}

TEST(VerifyCodeTest, CaseFoldingTouchesOnlyLetters) {
    // '@' and '`' sit right before 'A' and 'a'; a careless fold would make them equal.
    EXPECT_FALSE(verifyCodeMatches(u"12@4", u"12`4"));
    EXPECT_FALSE(verifyCodeMatches(u"12[4", u"12{4"));
}

struct WarpCase {
    const char* name;
    int x, y, width, height;
    unsigned random;
    WarpQuad quad;
};

TEST(VerifyCodeTest, WarpNarrowsTheTopOrWhenOddTheBottom) {
    const std::vector<WarpCase> cases = {
        {"even", 0, 0, 150, 56, 4, {{37, 0}, {113, 0}, {0, 55}, {150, 56}}},
        {"odd", 0, 0, 150, 56, 7, {{0, 0}, {150, 0}, {37, 55}, {113, 56}}},
        {"moved even", 10, 20, 100, 40, 0, {{35, 20}, {85, 20}, {10, 59}, {110, 60}}},
        {"moved odd", 10, 20, 100, 40, 1, {{10, 20}, {110, 20}, {35, 59}, {85, 60}}},
    };
    for (const WarpCase& c : cases) {
        EXPECT_EQ(verifyCodeWarp(c.x, c.y, c.width, c.height, c.random), c.quad) << c.name;
    }
}

}  // namespace
}  // namespace chat
