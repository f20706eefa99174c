#include "modules/system_code_page.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace chat::modules {

namespace {
constexpr const char* kSystemCodePage = "GBK";
}

QString fromSystemCodePage(std::string_view bytes) {
    QStringDecoder decoder(kSystemCodePage);
    return decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

QByteArray toSystemCodePage(const QString& text, qsizetype maxBytes) {
    QStringEncoder encoder(kSystemCodePage);
    const QByteArray encoded = encoder(text);
    qsizetype kept = 0;
    while (kept < encoded.size()) {
        const bool leadByte = static_cast<unsigned char>(encoded[kept]) >= 0x81;
        const qsizetype characterSize = leadByte && kept + 1 < encoded.size() ? 2 : 1;
        if (kept + characterSize > maxBytes) {
            break;
        }
        kept += characterSize;
    }
    return encoded.left(kept);
}

}  // namespace chat::modules
