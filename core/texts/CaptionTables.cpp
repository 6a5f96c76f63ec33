#include "core/texts/CaptionTables.h"

namespace {

using D = CaptionDecoration;

const std::vector<CaptionEntry> mainCaptions = {
    {"chkCutNam", 10105, "Cut names rules", D::None, nullptr},
    {"LabType", 10104, "Files type", D::None, nullptr},
    {"cmdGrab", 320, "Convert", D::None, nullptr},
    {"cmdGrabCut", 321, "Conv Section", D::None, nullptr},
    {"mnuGrab", 830, "Convert this file", D::None, nullptr},
    {"mnuTag", 832, "Edit ID3 Tag and Filename", D::None, nullptr},
    {"mnuMove", 831, "Move", D::AccessKey, nullptr},
    {"mnuSave", 823, "Save as", D::AccessKey, nullptr},
    {"SFDelete", 820, "&Delete", D::None, nullptr},
    {"SFDeleteOut", 820, "&Delete", D::None, nullptr},
    {"SFRename", 811, "Rename", D::None, nullptr},
    {"SFRenameOut", 811, "Rename", D::None, nullptr},
    {"mnuPlay", 701, "Play/Pause", D::None, nullptr},
    {"mnuStop", 702, "Stop", D::None, nullptr},
    {"mnuDirOpen", 809, "Show", D::None, nullptr},
    {"mnuDirExpl", 810, "Explore", D::AccessKey, nullptr},
    {"mnuExpl", 0, nullptr, D::Copied, "mnuDirExpl"},
    {"mnuExplOut", 0, nullptr, D::Copied, "mnuDirExpl"},
    {"mnuOrder", 910, "Sort", D::None, nullptr},
    {"mnuOrdExt", 911, "by Extension", D::None, nullptr},
    {"mnuOrdName", 912, "by Name", D::None, nullptr},
    {"mnuOrdSize", 913, "by Size", D::None, nullptr},
    {"mnuOrdDate", 914, "by Date", D::None, nullptr},
    {"Lab1", 111, "1 - Select folder and type of files to convert to Windows Media Audio 8 format",
        D::None, nullptr},
    {"Lab2", 112, "2 - Select files to be converted", D::None, nullptr},
    {"FraConv", 113, "3 - Choose conversion options", D::None, nullptr},
    {"chkAll", 115, "All/None", D::None, nullptr},
    {"LabWait", 999, "Loading list ...", D::None, nullptr},
    {"chkWMA", 116, "Create WM Audio8", D::None, nullptr},
    {"chkWAV", 117, "Create Wave", D::None, nullptr},
    {"ChkTag", 133, "Edit tag info", D::None, nullptr},
    {"Option1", 118, "Automatic setting", D::None, nullptr},
    {"Option2", 119, "Manual setting", D::None, nullptr},
    {"chkOptions", 121, "Always show options dialog", D::None, nullptr},
    {"LabCut", 122, "section limits", D::None, nullptr},
    {"cmdSta", 123, "Start", D::None, nullptr},
    {"cmdFin", 124, "Finish", D::None, nullptr},
    {"OptSameDir", 131, "Current folder", D::None, nullptr},
    {"OptUsrDir", 132, "Other", D::None, nullptr},
    {"OptStdName", 135, "Maintain filename", D::None, nullptr},
    {"OptParName", 136, "Filename from rules", D::None, nullptr},
    {"fraOutDir", 12001, "Output folder", D::None, nullptr},
    {"cmdBrowse", 12002, "Browse", D::None, nullptr},
    {"LabTag", 315, "Tag & Rename", D::None, nullptr},
    {"cmdHalt", 12004, "STOP", D::None, nullptr},
    // Controls that show no caption, named for a screen reader.
    {"Drive1", 12005, "Drive", D::AccessibleName, nullptr},
    {"Dir1", 12006, "Select folder", D::AccessibleName, nullptr},
    {"ListInput", 12007, "Select files to be converted", D::AccessibleName, nullptr},
    {"ListOutput", 12008, "Output files", D::AccessibleName, nullptr},
    {"cboProfile", 12009, "Encoding profile", D::AccessibleName, nullptr},
    {"txtSta", 123, "Start", D::AccessibleName, nullptr},
    {"VScrSta", 123, "Start", D::AccessibleName, nullptr},
    {"txtFin", 124, "Finish", D::AccessibleName, nullptr},
    {"VScrFin", 124, "Finish", D::AccessibleName, nullptr},
    // The invisible button the focus is parked on says where the focus is.
    {"cmdTrucco", 12023, "Main window", D::AccessibleName, nullptr},
};

const std::vector<TooltipEntry> mainTooltips = {
    {"cmdPlay", 10204, "Play"},
    {"cmdPause", 10205, "Pause"},
    {"cmdStop", 10206, "Stop"},
    {"cmdDir", 810, "Explore"},
    {"cmdGrab", 10118, "Convert marked files"},
    {"cmdGrabCut", 10117, "Convert only the cutted section of marked files"},
    {"CboURL", 10101, "Current Path of files"},
    {"CboType", 10104, "File type"},
    {"cmdHelp", 350, "Help"},
    {"cmdUp", 10130, "Up one level"},
    {"cmdAbout", 10112, "Information"},
    {"cmdClear", 10119, "Clear path box"},
    {"cmdRefr", 10203, "Refresh"},
    {"cmdBrowse", 10124, "Select output folder"},
    {"cmdSta", 10122, "Set start"},
    {"cmdFin", 10123, "Set finish"},
    {"cmdStaRes", 12003, "Reset start"},
    {"cmdFinRes", 10126, "Reset finish"},
    {"cmdPlayCut", 10125, "Play only the cutted portion"},
    {"cmdVol", 11103, "Play Control"},
    {"cmdTag", 315, "Tag & Rename"},
    {"txtPos", 12030, "Play position"},
    {"sldPos", 12030, "Play position"},
};

const std::vector<CaptionEntry> optionsCaptions = {
    {"FraConv", 401, "Conversion Options", D::None, nullptr},
    {"chkWMA", 116, "Create WM Audio8", D::None, nullptr},
    {"chkWAV", 117, "Create Wave", D::None, nullptr},
    {"Option1", 118, "Automatic setting", D::None, nullptr},
    {"Option2", 119, "Manual setting", D::None, nullptr},
    {"chkCut", 120, "Convert only the cutted portion", D::None, nullptr},
    {"chkOptions", 121, "Always show options dialog", D::None, nullptr},
    {"ChkTag", 133, "Edit tag info", D::None, nullptr},
    {"cmdGrab", 320, "Convert", D::None, nullptr},
    {"CmdCancel", 104, "&Cancel", D::None, nullptr},
};

const std::vector<TooltipEntry> optionsTooltips = {
    {"CmdCancel", 10601, "Abort & go back"},
};

const std::vector<CaptionEntry> tagInfoCaptions = {
    {"", 531, "Edit Tag & Filename", D::WindowTitle, nullptr},
    {"FraConv", 500, "Information for WMA file", D::Padded, nullptr},
    {"LabTit", 501, "Title   $T  (max 30)", D::None, nullptr},
    {"LabAut", 502, "Artist  $A", D::None, nullptr},
    {"LabCop", 503, "Copyright", D::None, nullptr},
    {"LabAlb", 505, "Album   $B", D::None, nullptr},
    {"LabDes", 504, "Description", D::None, nullptr},
    {"LabGenre", 507, "Genre   $G", D::None, nullptr},
    {"LabYear", 508, "Year    $Y", D::None, nullptr},
    {"chkAdv", 510, "Advanced (use parameters $A, $T ...)", D::None, nullptr},
    {"LabName", 511, "New name", D::None, nullptr},
    {"ChkTag", 134, "Show this window for the next file", D::None, nullptr},
    {"FraName", 530, "Output filenames", D::Padded, nullptr},
    {"OptStdName", 535, "Maintain filename", D::None, nullptr},
    {"OptParName", 536, "Filename from rules", D::None, nullptr},
    {"chkPar_1", 0, nullptr, D::Copied, "LabGenre"},
    {"chkPar_2", 0, nullptr, D::Copied, "LabYear"},
    {"chkPar_3", 0, nullptr, D::Copied, "LabAut"},
    {"chkPar_4", 0, nullptr, D::Copied, "LabAlb"},
    {"chkPar_5", 506, "Track#  $5", D::None, nullptr},
    {"chkPar_6", 0, nullptr, D::Copied, "LabTit"},
    {"LabMove", 537, "change order", D::None, nullptr},
    {"LabSep", 538, "delimiter", D::None, nullptr},
    {"FraMp3only", 12101, "MP3 tag only", D::Padded, nullptr},
    {"chkCreate", 12102, "Create Tag from filename", D::None, nullptr},
    {"cmdReload", 12103, "Reload", D::None, nullptr},
    {"cmdGrab", 320, "Convert", D::None, nullptr},
    {"CmdCancel", 104, "&Cancel", D::None, nullptr},
};

const std::vector<CaptionEntry> cutNameCaptions = {
    {"", 651, "Filename Rules", D::WindowTitle, nullptr},
    {"CmdCancel", 104, "&Cancel", D::None, nullptr},
    {"chkCutNam", 652, "Show this window for the next conversion", D::None, nullptr},
    {"FraConv", 12110, "Rule for the name of cutted file", D::Padded, nullptr},
    {"OptStr", 12111, "Add this string", D::None, nullptr},
    {"OptNum", 12112, "Generate incremental number", D::None, nullptr},
    {"OptStrP", 12113, "string + FILENAME", D::None, nullptr},
    {"OptStrS", 12114, "FILENAME + string", D::None, nullptr},
    {"OptNumP", 12115, "[N] + FILENAME", D::None, nullptr},
    {"OptNumS", 12116, "FILENAME + [N]", D::None, nullptr},
};

// Fields without a caption of their own are named for a screen reader.
const std::vector<TooltipEntry> tagInfoTooltips = {
    {"txtAdv", 12104, "Template"},
    {"txtName", 12105, "Filename"},
};

const std::vector<TooltipEntry> cutNameTooltips = {
    {"txtStr", 12111, "Add this string"},
};

const std::vector<CaptionEntry> noCaptions;
const std::vector<TooltipEntry> noTooltips;

} // namespace

const std::vector<CaptionEntry> &CaptionTable(const QString &windowName)
{
    if (windowName == QLatin1String("frmMain"))
        return mainCaptions;
    if (windowName == QLatin1String("frmOptions"))
        return optionsCaptions;
    if (windowName == QLatin1String("frmTagInfo"))
        return tagInfoCaptions;
    if (windowName == QLatin1String("frmCutName"))
        return cutNameCaptions;
    return noCaptions;
}

const std::vector<TooltipEntry> &TooltipTable(const QString &windowName)
{
    if (windowName == QLatin1String("frmMain"))
        return mainTooltips;
    if (windowName == QLatin1String("frmOptions"))
        return optionsTooltips;
    if (windowName == QLatin1String("frmTagInfo"))
        return tagInfoTooltips;
    if (windowName == QLatin1String("frmCutName"))
        return cutNameTooltips;
    return noTooltips;
}
