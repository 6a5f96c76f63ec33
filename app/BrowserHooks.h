#pragma once
// The calls the start-up and the keyboard make into the file browser. The browser's controller
// implements them and registers itself with MainWindow::setBrowserHooks; until then the start-up
// simply leaves the browser controls as the form made them.

#include <QString>

class BrowserHooks
{
public:
    virtual ~BrowserHooks() = default;
    // Loads the folder history into the path box (Carica_URL).
    virtual void Carica_URL() = 0;
    // Puts folder into the path box text without running the path box's own handlers.
    virtual void setPathBoxText(const QString &folder) = 0;
    // Selects the volume that holds folder in the drive box (Drive1).
    virtual void setDrive(const QString &folder) = 0;
    // Shows folder in the folder tree (Dir1); runs the folder change while BrowseEventsOn.
    virtual void setFolder(const QString &folder) = 0;
    // True when folder lies on an optical disc (Testa_CDRom).
    virtual bool isCdRom(const QString &folder) = 0;
    // The path box accept: its click handler, run for Enter.
    virtual void acceptPathBox() = 0;
    // Adds folder to the path history (Inserisci_URL).
    virtual void Inserisci_URL(const QString &folder) = 0;
};
