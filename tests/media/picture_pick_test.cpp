#include "media/picture_pick.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace chat {
namespace {

struct PickedFileCase {
    const char* name;
    std::optional<std::uint64_t> size;
    std::string path;
    PickDecision expected;
};

TEST(PicturePick, DecidesOnThePickedFile) {
    const std::vector<PickedFileCase> cases = {
        {"unreadable", std::nullopt, "/p/a.bmp", {PickStep::Refuse, kPictureMissingText}},
        {"empty file", 0, "/p/a.bmp", {PickStep::EmbedFile, {}}},
        {"just below the limit", 153599, "/p/a.bmp", {PickStep::EmbedFile, {}}},
        {"small jpg", 153599, "/p/a.jpg", {PickStep::EmbedFile, {}}},
        {"at the limit", 153600, "/p/a.bmp", {PickStep::AskCompression, kCompressQuestionText}},
        {"large gif", 900000, "/p/a.gif", {PickStep::AskCompression, kCompressQuestionText}},
        {"large jpg", 153600, "/p/a.jpg", {PickStep::Refuse, kPictureFileTooLargeText}},
        {"large JPG", 153600, "/p/A.JPG", {PickStep::Refuse, kPictureFileTooLargeText}},
        {"large jPg", 153600, "/p/a.b.jPg", {PickStep::Refuse, kPictureFileTooLargeText}},
        {"large jpeg is offered",
         153600,
         "/p/a.jpeg",
         {PickStep::AskCompression, kCompressQuestionText}},
        {"jpg only in a folder name",
         153600,
         "/p.jpg/picture",
         {PickStep::AskCompression, kCompressQuestionText}},
        {"no extension", 153600, "/p/picture", {PickStep::AskCompression, kCompressQuestionText}},
        {"name ending in a dot",
         153600,
         "/p/a.",
         {PickStep::AskCompression, kCompressQuestionText}},
        {"huge", UINT64_MAX, "/p/a.bmp", {PickStep::AskCompression, kCompressQuestionText}},
    };
    for (const PickedFileCase& c : cases) {
        EXPECT_EQ(decideOnPickedFile(c.size, c.path), c.expected) << c.name;
    }
}

TEST(PicturePick, OnlyYesGoesOnToTheEncoder) {
    EXPECT_EQ(decideOnCompressionAnswer(true).step, PickStep::EmbedEncoded);
    EXPECT_EQ(decideOnCompressionAnswer(false).step, PickStep::Stop);
}

struct EncodedCase {
    const char* name;
    std::optional<std::uint64_t> size;
    PickDecision expected;
};

TEST(PicturePick, DecidesOnTheEncodedBytes) {
    const std::vector<EncodedCase> cases = {
        {"encoder failed", std::nullopt, {PickStep::Refuse, kCompressFailedText}},
        {"nothing encoded", 0, {PickStep::Refuse, kEncodeFailedText}},
        {"beyond 32 bits", 0x100000000ULL, {PickStep::Refuse, kEncodeFailedText}},
        {"one byte", 1, {PickStep::EmbedEncoded, {}}},
        {"just below the limit", 153599, {PickStep::EmbedEncoded, {}}},
        {"at the limit", 153600, {PickStep::Refuse, kStillTooLargeText}},
        {"32-bit maximum", 0xFFFFFFFFULL, {PickStep::Refuse, kStillTooLargeText}},
    };
    for (const EncodedCase& c : cases) {
        EXPECT_EQ(decideOnEncoded(c.size), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace chat
