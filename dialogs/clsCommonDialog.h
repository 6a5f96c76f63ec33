#pragma once
// The open-file dialog with its properties set by name before ShowOpen and read after it.

#include <QString>
#include <QStringList>

class QWidget;

class clsCommonDialog
{
public:
    // Flags the dialog honours: the chosen file must exist (otherwise a new name may be typed,
    // as "Save as" needs).
    static constexpr quint32 OFN_FILEMUSTEXIST = 0x1000;

    QWidget *Parent = nullptr;
    bool CancelError = false; // kept for callers; cancelling never raises an error
    QString InitDir;
    quint32 Flags = 0;
    QString Filter; // "description|pattern|description|pattern..."
    int FilterIndex = 0; // 1-based entry of Filter
    QString DialogTitle;
    QString FileName; // proposed name; after success the chosen full path, after failure ""
    QString FileTitle; // after success the chosen name without folder
    quint32 ExtendedError = 0;

    // True when the user chose a file; false on cancel.
    bool ShowOpen();

    // Filter as the dialog's name filters: "description (pattern pattern)" per pair.
    static QStringList nameFilters(const QString &filter);
    // The proposed name as the dialog receives it: at most 255 characters.
    static QString proposedName(const QString &fileName);
};
