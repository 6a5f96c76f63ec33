#pragma once
// Where converted files go (the input folder or one of the user's choice, shown in LabOutDir)
// and the output list ListOutput: what a click on an entry shows, its popup menu and tooltips.

#include <QObject>
#include <QString>

class QAbstractButton;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QPoint;
class FolderPickerService;
class InfoPanel;
class MainCommands;
class MediaControls;
class MediaProbe;
class StatusLine;
struct AppState;

struct OutputListWidgets
{
    QAbstractButton *OptSameDir = nullptr;
    QAbstractButton *OptUsrDir = nullptr;
    QAbstractButton *cmdBrowse = nullptr;
    QLabel *LabOutDir = nullptr;
    QListWidget *ListOutput = nullptr;
    QLabel *LabBarINP = nullptr;
    QLabel *LabBarOUT = nullptr;
    QFrame *ShapINP = nullptr;
    QFrame *ShapOUT = nullptr;
    QMenu *SFPOPUP = nullptr; // shared with the input list; its entries are shown per list
};

class OutputList : public QObject
{
    Q_OBJECT
public:
    OutputList(const OutputListWidgets &widgets, AppState &state, InfoPanel &panel,
        MediaControls &media, StatusLine &status, MainCommands &commands,
        FolderPickerService &picker, QObject *parent = nullptr);

    // The folder tree shows another folder: while "Current Folder" is chosen the output
    // follows it.
    void FollowInputFolder(const QString &dir1Folder);
    // Adds a converted file to the list (once per file).
    void AddOutputFile(const QString &path);

    void ShowOutputFolderLabel();
    void OptSameDir_Click();
    void OptUsrDir_Click();
    void cmdBrowse_Click();
    void ListOutput_Click();
    void ListOutput_ContextMenu(const QPoint &pos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString currentEntryFile() const;
    void showOutputEntries(bool withFile);

    OutputListWidgets w;
    AppState &state;
    InfoPanel &panel;
    MediaProbe &MediaPlayer2;
    StatusLine &status;
    MainCommands &commands;
    FolderPickerService &picker;
};
