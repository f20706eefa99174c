#pragma once
// The program's small bitmaps that the chat box draws: the role icons before nicknames (customer
// service, instructor, room owner or administrator), the icon of system lines and the placeholder
// of hidden pictures. The icons are drawn once at run time and kept as PNG bytes, so every
// message embeds the same bytes without encoding them again.
#include <QByteArray>
#include <cstdint>

namespace chat {

// PNG bytes of the bitmap resource (kCustomerServiceIconBitmap, kInstructorIconBitmap,
// kRoomManagerIconBitmap, kSystemLineBitmap, kHiddenPictureBitmap); empty for other ids.
QByteArray chatBoxBitmapBytes(int32_t resourceId);

}  // namespace chat
