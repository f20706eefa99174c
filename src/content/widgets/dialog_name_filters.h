#pragma once
// The file-type filters of the picture dialogs, written as the system's dialogs write them (a
// label and patterns ending in ";"), turned into Qt's name filters.
#include <QStringList>
#include <span>

class QFileDialog;

namespace chat {

struct DialogFilter {
    const char* label;
    const char* pattern;  // "*.jpg;*.bmp;"
};

// Whether each pattern also comes in upper case: Qt matches patterns case-sensitively on this
// platform, and cameras write ".JPG".
enum class PatternCase { AsWritten, AlsoUpper };

// Gives the dialog the filters (the dialog shows the labels alone) and returns Qt's filter texts.
QStringList setDialogNameFilters(QFileDialog& dialog, std::span<const DialogFilter> filters,
                                 PatternCase patternCase);

}  // namespace chat
