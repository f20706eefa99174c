#pragma once
// The user tag that an embedded object of a rich text control carries: 0xFFFF marks a picture,
// any other non-zero tag N is emoticon N, and 0 marks an object that is not message content.
#include <cstdint>

namespace chat {

inline constexpr uint32_t kPictureObjectTag = 0xFFFF;

}  // namespace chat
