#include "content/widgets/dialog_name_filters.h"

#include <QFileDialog>

namespace chat {

QStringList setDialogNameFilters(QFileDialog& dialog, std::span<const DialogFilter> filters,
                                 PatternCase patternCase) {
    QStringList texts;
    for (const DialogFilter& filter : filters) {
        // Qt reads the patterns from the last parentheses, separated by spaces.
        QStringList patterns;
        for (const QString& pattern :
             QString::fromLatin1(filter.pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            patterns << pattern;
            if (patternCase == PatternCase::AlsoUpper) {
                patterns << pattern.toUpper();
            }
        }
        texts << QString::fromUtf8(filter.label) + QStringLiteral(" (") +
                     patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    dialog.setNameFilters(texts);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    return texts;
}

}  // namespace chat
