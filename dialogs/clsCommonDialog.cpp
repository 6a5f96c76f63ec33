#include "clsCommonDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>
#include <cstring>

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
    ErrorText.clear();
    QFileDialog dialog(Parent, DialogTitle, InitDir);
    const bool mustExist = Flags & OFN_FILEMUSTEXIST;
    dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // A desktop's own dialog in open mode takes only files that exist.
    dialog.setAcceptMode(mustExist ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    // The caller asks before a file is replaced, in its own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
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

    FileName.clear();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QList<QUrl> chosenUrls = dialog.selectedUrls();
    const QUrl url = chosenUrls.value(0);
    // A place without a path here (a network location of the desktop), or a folder instead of
    // a file: nothing to write to.
    int error = 0;
    if (url.isEmpty())
        error = ENOENT;
    else if (!url.isLocalFile())
        error = EREMOTE;
    else if (QFileInfo(url.toLocalFile()).isDir())
        error = EISDIR;
    if (error != 0) {
        ExtendedError = FNERR_INVALIDFILENAME;
        ErrorText = url.toDisplayString(QUrl::PreferLocalFile) + QStringLiteral("\n\n")
            + QString::fromLocal8Bit(std::strerror(error));
        return false;
    }
    FileName = url.toLocalFile();
    FileTitle = QFileInfo(FileName).fileName();
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0)
        FilterIndex = int(chosen) + 1;
    return true;
}
