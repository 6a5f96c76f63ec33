#include "FormBindings.h"

#include "core/MainCommands.h"
#include "ui_frmMain.h"

namespace FormBindings {

void bindCommands(Ui::frmMain &ui, MainCommands &commands)
{
    using C = MainCommand;
    commands.bind(C::Convert, {{ui.cmdGrab}, {ui.mnuGrab}});
    commands.bind(C::ConvertSection, {{ui.cmdGrabCut, ui.chkCutNam}, {}});
    commands.bind(C::Tag, {{ui.cmdTag, ui.LabTag}, {ui.mnuTag}});
    commands.bind(C::Play, {{ui.cmdPlay}, {ui.mnuPlay}});
    commands.bind(C::Pause, {{ui.cmdPause}, {}});
    commands.bind(C::StopPlayer, {{ui.cmdStop}, {ui.mnuStop}});
    commands.bind(C::PlaySection, {{ui.cmdPlayCut}, {}});
    commands.bind(C::SetSection,
        {{ui.cmdStaRes, ui.cmdFinRes, ui.VScrSta, ui.VScrFin, ui.txtSta, ui.txtFin}, {}});
    commands.bind(C::SetSectionFromPlayer, {{ui.cmdSta, ui.cmdFin}, {}});
    commands.bind(C::ConversionOptions, {{ui.FraConv}, {}});
    commands.bind(C::FileOperations,
        {{},
            {ui.mnuSave, ui.mnuMove, ui.mnuExpl, ui.SFRename, ui.SFDelete, ui.mnuExplOut,
                ui.SFRenameOut, ui.SFDeleteOut, ui.mnuDirOpen, ui.mnuDirExpl}});
}

InfoPanelWidgets infoPanel(Ui::frmMain &ui, QWidget *window)
{
    InfoPanelWidgets w;
    w.window = window;
    w.LabTit = ui.LabTit;
    w.ImgTyp = ui.ImgTyp;
    w.ImgMP3 = ui.ImgMP3;
    w.ImgWav = ui.ImgWav;
    w.ImgWMA = ui.ImgWMA;
    w.LabMsg = ui.LabMsg;
    w.LabTime = ui.LabTime;
    w.LabInfo = ui.LabInfo;
    w.LabComment = ui.LabComment;
    w.LabINP = ui.LabINP;
    w.LabOUT = ui.LabOUT;
    w.LabBarINP = ui.LabBarINP;
    w.LabBarOUT = ui.LabBarOUT;
    w.chkWMA = ui.chkWMA;
    w.chkWAV = ui.chkWAV;
    return w;
}

OutputListWidgets outputList(Ui::frmMain &ui, const PopupMenus &menus)
{
    OutputListWidgets w;
    w.OptSameDir = ui.OptSameDir;
    w.OptUsrDir = ui.OptUsrDir;
    w.cmdBrowse = ui.cmdBrowse;
    w.LabOutDir = ui.LabOutDir;
    w.ListOutput = ui.ListOutput;
    w.LabBarINP = ui.LabBarINP;
    w.LabBarOUT = ui.LabBarOUT;
    w.ShapINP = ui.ShapINP;
    w.ShapOUT = ui.ShapOUT;
    w.SFPOPUP = menus.SFPOPUP;
    return w;
}

BrowserWidgets browser(Ui::frmMain &ui, QWidget *window, const PopupMenus &menus)
{
    BrowserWidgets w;
    w.window = window;
    w.Drive1 = ui.Drive1;
    w.Dir1 = ui.Dir1;
    w.CboURL = ui.CboURL;
    w.CboType = ui.CboType;
    w.ListInput = ui.ListInput;
    w.ListOutput = ui.ListOutput;
    w.chkAll = ui.chkAll;
    w.chkWMA = ui.chkWMA;
    w.chkWAV = ui.chkWAV;
    w.cmdClear = ui.cmdClear;
    w.cmdRefr = ui.cmdRefr;
    w.cmdUp = ui.cmdUp;
    w.cmdHelp = ui.cmdHelp;
    w.Lab2 = ui.Lab2;
    w.OptSameDir = ui.OptSameDir;
    w.SFPOPUP = menus.SFPOPUP;
    w.DIRPOPUP = menus.DIRPOPUP;
    w.mnuPlay = ui.mnuPlay;
    w.mnuStop = ui.mnuStop;
    w.mnuGrab = ui.mnuGrab;
    w.mnuTag = ui.mnuTag;
    w.mnuOrder = ui.mnuOrder;
    w.mnuSave = ui.mnuSave;
    w.mnuMove = ui.mnuMove;
    w.mnuExpl = ui.mnuExpl;
    w.SFRename = ui.SFRename;
    w.SFDelete = ui.SFDelete;
    w.mnuExplOut = ui.mnuExplOut;
    w.SFRenameOut = ui.SFRenameOut;
    w.SFDeleteOut = ui.SFDeleteOut;
    w.mnuOrdName = ui.mnuOrdName;
    w.mnuOrdExt = ui.mnuOrdExt;
    w.mnuOrdDate = ui.mnuOrdDate;
    w.mnuOrdSize = ui.mnuOrdSize;
    return w;
}

ConversionWidgets conversion(Ui::frmMain &ui)
{
    ConversionWidgets w;
    w.cmdGrab = ui.cmdGrab;
    w.cmdGrabCut = ui.cmdGrabCut;
    w.cmdHalt = ui.cmdHalt;
    w.mnuGrab = ui.mnuGrab;
    w.cmdTag = ui.cmdTag;
    w.mnuTag = ui.mnuTag;
    w.chkCutNam = ui.chkCutNam;
    w.chkWMA = ui.chkWMA;
    w.chkWAV = ui.chkWAV;
    w.ChkTag = ui.ChkTag;
    w.OptUsrDir = ui.OptUsrDir;
    w.cmdBrowse = ui.cmdBrowse;
    w.cboProfile = ui.cboProfile;
    w.LabProgr = ui.LabProgr;
    w.LabBarra = ui.LabBarra;
    w.LabProgrNum = ui.LabProgrNum;
    w.LabBarraNum = ui.LabBarraNum;
    w.mainControls = {ui.CboURL, ui.Dir1, ui.Drive1, ui.ListInput, ui.cmdRefr, ui.cmdUp, ui.cmdDir,
        ui.cmdClear, ui.CboType, ui.OptSameDir, ui.OptUsrDir, ui.chkAll, ui.ListOutput};
    return w;
}

ConversionOptionsWidgets conversionOptions(Ui::frmMain &ui)
{
    ConversionOptionsWidgets w;
    w.cboProfile = ui.cboProfile;
    w.Option1 = ui.Option1;
    w.Option2 = ui.Option2;
    w.chkWMA = ui.chkWMA;
    w.chkWAV = ui.chkWAV;
    w.ChkTag = ui.ChkTag;
    w.chkOptions = ui.chkOptions;
    w.ShapINP = ui.ShapINP;
    w.ShapOUT = ui.ShapOUT;
    w.LabBarINP = ui.LabBarINP;
    w.LabBarOUT = ui.LabBarOUT;
    w.LabINP = ui.LabINP;
    w.LabOUT = ui.LabOUT;
    return w;
}

CutSectionWidgets cutSection(Ui::frmMain &ui)
{
    CutSectionWidgets w;
    w.VScrSta = ui.VScrSta;
    w.VScrFin = ui.VScrFin;
    w.txtSta = ui.txtSta;
    w.txtFin = ui.txtFin;
    w.LinSta = ui.LinSta;
    w.LinFin = ui.LinFin;
    w.cmdSta = ui.cmdSta;
    w.cmdFin = ui.cmdFin;
    w.cmdStaRes = ui.cmdStaRes;
    w.cmdFinRes = ui.cmdFinRes;
    w.cmdTrucco = ui.cmdTrucco;
    return w;
}

PreviewPlayerWidgets player(Ui::frmMain &ui, QWidget *window)
{
    PreviewPlayerWidgets w;
    w.window = window;
    w.cmdPlay = ui.cmdPlay;
    w.cmdPause = ui.cmdPause;
    w.cmdStop = ui.cmdStop;
    w.cmdPlayCut = ui.cmdPlayCut;
    w.cmdVol = ui.cmdVol;
    w.mnuPlay = ui.mnuPlay;
    w.mnuStop = ui.mnuStop;
    w.txtPos = ui.txtPos;
    w.sldPos = ui.sldPos;
    w.cmdTrucco = ui.cmdTrucco;
    return w;
}

FileOperationWidgets fileOperations(Ui::frmMain &ui)
{
    FileOperationWidgets w;
    w.ListInput = ui.ListInput;
    w.ListOutput = ui.ListOutput;
    w.Dir1 = ui.Dir1;
    w.cmdDir = ui.cmdDir;
    w.cmdTrucco = ui.cmdTrucco;
    w.SFRename = ui.SFRename;
    w.SFDelete = ui.SFDelete;
    w.mnuMove = ui.mnuMove;
    w.mnuSave = ui.mnuSave;
    w.mnuExpl = ui.mnuExpl;
    w.SFRenameOut = ui.SFRenameOut;
    w.SFDeleteOut = ui.SFDeleteOut;
    w.mnuExplOut = ui.mnuExplOut;
    w.mnuDirExpl = ui.mnuDirExpl;
    w.mnuDirOpen = ui.mnuDirOpen;
    return w;
}

} // namespace FormBindings
