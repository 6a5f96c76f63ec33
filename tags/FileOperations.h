#pragma once
// The file operations of the main window: rename, delete, move and "Save as" of the files in
// the input and output lists, and opening folders in the file manager. Every operation lets
// the media objects go of their files first, never replaces a file the user has not agreed to
// lose, and moves deleted files to the trash.

#include <QObject>
#include <QString>

class FileDialogService;
class FolderPickerService;
class MediaControls;
class MessageBoxService;
class QAbstractButton;
class QAction;
class QListWidget;
class QRect;
class QTreeView;
class QWidget;
class RenameBoxService;
struct AppState;

// The controls the file operations drive; every one is required.
struct FileOperationWidgets
{
    QListWidget *ListInput = nullptr;
    QListWidget *ListOutput = nullptr;
    QTreeView *Dir1 = nullptr; // its highlighted folder is explored or shown
    QAbstractButton *cmdDir = nullptr; // "Explore" the input folder
    QWidget *cmdTrucco = nullptr; // takes the focus after "Save as"
    QAction *SFRename = nullptr, *SFDelete = nullptr, *mnuMove = nullptr, *mnuSave = nullptr,
            *mnuExpl = nullptr; // input list
    QAction *SFRenameOut = nullptr, *SFDeleteOut = nullptr, *mnuExplOut = nullptr; // output list
    QAction *mnuDirExpl = nullptr, *mnuDirOpen = nullptr; // folder tree
};

// What the file operations work with besides their controls.
struct FileOperationParts
{
    AppState &state;
    MediaControls &media;
    MessageBoxService &messages;
    FolderPickerService &folders; // Move
    RenameBoxService &renameBox;
    FileDialogService &fileDialog; // Save as
};

class FileOperations : public QObject
{
    Q_OBJECT
public:
    FileOperations(const FileOperationWidgets &widgets, const FileOperationParts &parts,
        QObject *parent = nullptr);

    // The menu entries and the Explore button.
    void SFRename_Click();
    void SFRenameOut_Click();
    void SFDelete_Click();
    void SFDeleteOut_Click();
    void mnuMove_Click();
    void mnuSave_Click();
    void mnuExpl_Click();
    void mnuExplOut_Click();
    void mnuDirExpl_Click();
    void mnuDirOpen_Click();
    void cmdDir_Click();

    // The keys of the main window: on the output list or on the input list.
    void renameRequested(bool outputList);
    void deleteRequested(bool outputList);
    void exploreRequested(bool outputList);

    // Moves the file at path into a folder the user picks; the new path, or path when nothing
    // was moved.
    QString MoveFileToFolder(const QString &path);
    // The "Save as" dialog and the copy.
    void SaveCopyOfFile();
    // Reads the input folder again and makes the entry of path current, when it is listed.
    void ShowInputFile(const QString &path);

signals:
    // Files of the input folder changed: the input list is to be read again.
    void inputListChanged();
    // The output list's current entry now names another file: it is to be shown.
    void outputEntryChanged();
    // The folder tree is to show folder.
    void folderOpenRequested(const QString &folder);

private:
    QString text(int number, const char *english) const;
    QString currentPath(QListWidget *list) const;
    QRect placeOf(QListWidget *list) const;
    QString highlightedFolder() const;
    bool askReplace(const QString &target);
    bool askTrash(const QString &path);
    bool renameFile(const QString &from, const QString &to);
    bool copyFile(const QString &from, const QString &to);
    bool trash(const QString &path);
    void explore(const QString &folder);
    bool listedAsInput(const QString &path) const;
    void removeOutputEntry(const QString &path);

    FileOperationWidgets w;
    AppState &s;
    FileOperationParts m_parts;
};
