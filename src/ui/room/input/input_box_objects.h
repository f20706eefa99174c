#pragma once
// The embedded objects of the input box as composing a message needs them. Kept apart from the
// input box because the widgets' picture registry and the core's composer both name the picture
// tag, and one translation unit cannot see both.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

class QTextDocument;

namespace chat {

struct InputBoxObject {
    int position = 0;
    uint32_t tag = 0;
    QString sourceFile;  // empty when the picture was not loaded from a file
    QByteArray bytes;    // empty when the object holds no picture
};

// Every object character of the document, in document order.
std::vector<InputBoxObject> inputBoxObjects(const QTextDocument& document);

}  // namespace chat
