// The chat's own rich text clipboard format may come from any program: data this process did not
// write is never read, and a refused paste changes nothing.
#include <QGuiApplication>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>

#include "content/widgets/rich_text_clipboard.h"

namespace {

// Text documents lay out with fonts, which need an application (offscreen unless told otherwise).
void ensureApplication() {
    static int argc = 1;
    static char name[] = "fuzz_rich_text_clipboard";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        new QGuiApplication(argc, argv);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ensureApplication();
    QMimeData source;
    source.setData(chat::kRichTextMimeType,
                   QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    QTextDocument document;
    document.setPlainText(QStringLiteral("before"));
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    if (!chat::insertRichText(cursor, source) &&
        document.toPlainText() != QStringLiteral("before")) {
        __builtin_trap();  // a refused paste changed the document
    }
    return 0;
}
