#include "content/widgets/emote_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <stdexcept>

namespace chat {

QString defaultEmoteFolder() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("emote"));
}

QStringList listEmoticonFiles(const QString& folder) {
    // Name filters of QDir match without regard to case unless told otherwise, like the
    // system's own file listing; the extension test below drops names such as "x.gif.bak".
    QStringList names =
        QDir(folder).entryList({QStringLiteral("*.gif")}, QDir::Files | QDir::Hidden, QDir::NoSort);
    names.removeIf([](const QString& name) {
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        return dot < 0 || name.mid(dot).compare(QStringLiteral(".gif"), Qt::CaseInsensitive) != 0;
    });
    if (names.isEmpty()) {
        throw std::runtime_error("聊天系统文件已损坏，请重新下载安装");
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace chat
