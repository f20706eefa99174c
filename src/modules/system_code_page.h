#pragma once
// The 8-bit texts that cross the module interface (the page address of the start data, the
// description of the interface record) are in the main client's system code page, GBK.
#include <string_view>

#include <QByteArray>
#include <QString>

namespace chat::modules {

QString fromSystemCodePage(std::string_view bytes);

// The text in GBK, cut to at most maxBytes without splitting a two-byte character.
QByteArray toSystemCodePage(const QString& text, qsizetype maxBytes);

}  // namespace chat::modules
