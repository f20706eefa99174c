#pragma once
// The decisions of the picture button's pick flow: a picked file smaller than the picture limit is
// embedded as it is; a larger one is refused when it is already a JPEG, else the user is asked
// whether to re-encode it as JPEG, and the encoded bytes are embedded when they fit. The UI runs
// the dialog, the question and the encoder; this decides what follows each step.
#include <cstdint>
#include <optional>
#include <string_view>

namespace chat {

// Pictures of this many bytes or more do not fit in a picture section.
inline constexpr std::uint64_t kPicturePickLimit = 153600;

inline constexpr std::string_view kPictureMissingText = "指定的图片文件不存在";
inline constexpr std::string_view kPictureFileTooLargeText = "您指定的图片文件过大，请裁剪后再试";
inline constexpr std::string_view kCompressQuestionText = "您所选定的图片太大，是否进行JPEG压缩？";
inline constexpr std::string_view kCompressQuestionCaption = "警告";
inline constexpr std::string_view kCompressFailedText = "压缩失败";
inline constexpr std::string_view kEncodeFailedText = "编码失败";
inline constexpr std::string_view kStillTooLargeText = "进行JPEG压缩后仍然过大，请裁剪后再试";

enum class PickStep {
    EmbedFile,       // embed the file's bytes as they are
    Refuse,          // show the error text; the input box stays as it was
    AskCompression,  // ask the compression question
    EmbedEncoded,    // embed the JPEG bytes
    Stop,            // nothing more to do
};

struct PickDecision {
    PickStep step;
    std::string_view text;  // the error text of Refuse, the question of AskCompression
    bool operator==(const PickDecision&) const = default;
};

// After the dialog: `size` is the file's size, or nullopt when it could not be opened for
// reading. `path` is UTF-8; its extension is the text after the last ".".
PickDecision decideOnPickedFile(std::optional<std::uint64_t> size, std::string_view path);

// After the compression question.
PickDecision decideOnCompressionAnswer(bool yes);

// After the encoder: the encoded size, or nullopt when encoding failed.
PickDecision decideOnEncoded(std::optional<std::uint64_t> encodedSize);

// True when the text after the last "." of `path` is "jpg" in any letter case.
bool hasJpgExtension(std::string_view path);

// The questions and errors of the flow, modal over the window that asked for the pick.
class PicturePickPrompts {
  public:
    virtual ~PicturePickPrompts() = default;
    // An error box with the error icon; `text` is UTF-8.
    virtual void showError(std::string_view text) = 0;
    // A question with the warning icon and the buttons Yes and No; true only for Yes.
    virtual bool askYesNo(std::string_view text, std::string_view caption) = 0;
};

}  // namespace chat
