#include "clsCommonDialog.h"

#include <QFileDialog>
#include <QFileInfo>

QStringList clsCommonDialog::nameFilters(const QString &filter)
{
    const QStringList items = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < items.size(); i += 2) {
        QString patterns = items[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << items[i] + QStringLiteral(" (") + patterns.simplified() + QLatin1Char(')');
    }
    return filters;
}

QString clsCommonDialog::proposedName(const QString &fileName)
{
    return fileName.left(255).trimmed();
}

bool clsCommonDialog::ShowOpen()
{
    ExtendedError = 0;
    QFileDialog dialog(Parent, DialogTitle, InitDir);
    dialog.setFileMode(
        (Flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // The descriptions already name their patterns ("All Files (*.*)").
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = nameFilters(Filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (FilterIndex >= 1 && FilterIndex <= filters.size())
            dialog.selectNameFilter(filters[FilterIndex - 1]);
    }
    const QString proposed = proposedName(FileName);
    if (!proposed.isEmpty())
        dialog.selectFile(proposed);

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        FileName.clear();
        return false;
    }
    FileName = dialog.selectedFiles().first();
    FileTitle = QFileInfo(FileName).fileName();
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0)
        FilterIndex = int(chosen) + 1;
    return true;
}
