#include "media/picture_pick.h"

#include <cstdint>
#include <limits>

namespace chat {

bool hasJpgExtension(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    const std::string_view extension = path.substr(dot + 1);
    constexpr std::string_view kJpg = "jpg";
    if (extension.size() != kJpg.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kJpg.size(); ++i) {
        const char lower = (extension[i] >= 'A' && extension[i] <= 'Z')
                               ? static_cast<char>(extension[i] - 'A' + 'a')
                               : extension[i];
        if (lower != kJpg[i]) {
            return false;
        }
    }
    return true;
}

PickDecision decideOnPickedFile(std::optional<std::uint64_t> size, std::string_view path) {
    if (!size.has_value()) {
        return {PickStep::Refuse, kPictureMissingText};
    }
    if (*size < kPicturePickLimit) {
        return {PickStep::EmbedFile, {}};
    }
    if (hasJpgExtension(path)) {
        return {PickStep::Refuse, kPictureFileTooLargeText};
    }
    return {PickStep::AskCompression, kCompressQuestionText};
}

PickDecision decideOnCompressionAnswer(bool yes) {
    return yes ? PickDecision{PickStep::EmbedEncoded, {}} : PickDecision{PickStep::Stop, {}};
}

PickDecision decideOnEncoded(std::optional<std::uint64_t> encodedSize) {
    if (!encodedSize.has_value()) {
        return {PickStep::Refuse, kCompressFailedText};
    }
    if (*encodedSize == 0 || *encodedSize > std::numeric_limits<std::uint32_t>::max()) {
        return {PickStep::Refuse, kEncodeFailedText};
    }
    if (*encodedSize >= kPicturePickLimit) {
        return {PickStep::Refuse, kStillTooLargeText};
    }
    return {PickStep::EmbedEncoded, {}};
}

}  // namespace chat
