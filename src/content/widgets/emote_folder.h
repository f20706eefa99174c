#pragma once
// The emoticon files: the ".gif" files of the folder "emote/" beside the program. Emoticon N is the
// file named N in four decimal digits with leading zeros (more digits in full) plus ".gif"
// (`emoticonFileName` in content/chat_box_layout.h).
#include <QString>
#include <QStringList>

namespace chat {

// "emote/" beside the program's executable.
QString defaultEmoteFolder();

// The emoticon file names of the folder: every file whose extension (the text after the last
// ".") is "gif" in any letter case, sorted by UTF-16 code units, case-sensitive. Throws
// std::runtime_error("聊天系统文件已损坏，请重新下载安装") when the folder is missing or holds
// no such file.
QStringList listEmoticonFiles(const QString& folder);

}  // namespace chat
