#pragma once
// The picture drawn in the chat box in place of a received picture while the user has chosen not
// to see pictures of others: a small grey frame with a landscape crossed out.
#include <QImage>

namespace chat {

QImage hiddenPicturePlaceholder();

}  // namespace chat
