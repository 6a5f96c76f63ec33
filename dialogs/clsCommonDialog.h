#pragma once
// The file dialog with its properties set by name before ShowOpen and read after it. A name
// that need not exist yet is asked for in save mode, so that the desktop's own dialog takes a
// new name too.

#include <QString>
#include <QStringList>

class QWidget;

class clsCommonDialog
{
public:
    // Flags the dialog honours: the chosen file must exist (otherwise a new name may be typed,
    // as "Save as" needs).
    static constexpr quint32 OFN_FILEMUSTEXIST = 0x1000;
    // ExtendedError after a choice that names no file.
    static constexpr quint32 FNERR_INVALIDFILENAME = 0x3002;

    QWidget *Parent = nullptr;
    bool CancelError = false; // kept for callers; cancelling never raises an error
    QString InitDir;
    quint32 Flags = 0;
    QString Filter; // "description|pattern|description|pattern..."
    int FilterIndex = 0; // 1-based entry of Filter
    QString DialogTitle;
    QString FileName; // proposed name; after success the chosen full path, after failure ""
    QString FileTitle; // after success the chosen name without folder
    quint32 ExtendedError = 0; // after a failure; 0 for a cancel
    QString ErrorText; // after a failure: the choice and what is wrong with it; "" for a cancel

    // True when the user chose a file; false on cancel or failure.
    bool ShowOpen();

    // Filter as the dialog's name filters: "description (pattern pattern)" per pair.
    static QStringList nameFilters(const QString &filter);
    // The proposed name as the dialog receives it: at most 255 characters.
    static QString proposedName(const QString &fileName);
};
