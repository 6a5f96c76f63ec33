#pragma once
// The form bindings: which controls of the main window form each controller drives. The one
// place that knows both the form and the controllers' widget lists.

#include "browser/FolderBrowser.h"
#include "browser/InfoPanel.h"
#include "browser/OutputList.h"
#include "conversion/ConversionOptions.h"
#include "conversion/ConversionQueue.h"
#include "conversion/CutSectionPanel.h"
#include "playback/PreviewPlayer.h"
#include "tags/FileOperations.h"

namespace Ui {
class frmMain;
}
class MainCommands;
class QMenu;
class QWidget;

struct PopupMenus
{
    QMenu *SFPOPUP = nullptr; // input and output list
    QMenu *DIRPOPUP = nullptr; // folder tree
};

namespace FormBindings {

// Hands every command control of the form to commands.
void bindCommands(Ui::frmMain &ui, MainCommands &commands);

InfoPanelWidgets infoPanel(Ui::frmMain &ui, QWidget *window);
OutputListWidgets outputList(Ui::frmMain &ui, const PopupMenus &menus);
BrowserWidgets browser(Ui::frmMain &ui, QWidget *window, const PopupMenus &menus);
ConversionWidgets conversion(Ui::frmMain &ui);
ConversionOptionsWidgets conversionOptions(Ui::frmMain &ui);
CutSectionWidgets cutSection(Ui::frmMain &ui);
PreviewPlayerWidgets player(Ui::frmMain &ui, QWidget *window);
FileOperationWidgets fileOperations(Ui::frmMain &ui);

} // namespace FormBindings
