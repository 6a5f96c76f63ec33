#pragma once
// The conversion options of the main window: the profile list with its automatic choice, the
// size estimate beside it, and what the "Create WM Audio8" and "Create Wave" boxes switch.

#include "conversion/OptionsDialog.h"
#include "conversion/Profiles.h"

#include <QObject>

class MainCommands;
class QAbstractButton;
class QComboBox;
class QFrame;
class QLabel;
struct AppState;

struct ConversionOptionsWidgets
{
    QComboBox *cboProfile = nullptr;
    QAbstractButton *Option1 = nullptr, *Option2 = nullptr;
    QAbstractButton *chkWMA = nullptr, *chkWAV = nullptr, *ChkTag = nullptr, *chkOptions = nullptr;
    QFrame *ShapINP = nullptr, *ShapOUT = nullptr;
    QLabel *LabBarINP = nullptr, *LabBarOUT = nullptr, *LabINP = nullptr, *LabOUT = nullptr;
};

class ConversionOptions : public QObject
{
    Q_OBJECT
public:
    ConversionOptions(const ConversionOptionsWidgets &widgets, AppState &state,
        MainCommands &commands, QObject *parent = nullptr);

    // A file of the input list became current: the automatic choice follows it, or the
    // estimate is shown for the chosen profile.
    void fileSelected();

    void SelectProfile();
    void AutoSelectProfile();
    void ShowSizeEstimate();
    // "Always show options dialog" is ticked.
    bool alwaysShowDialog() const;
    // A copy of the options for the dialog, and the dialog's choice written back.
    OptionValues values(const QString &fileName, bool cutOnly, bool cutAvailable) const;
    void apply(const OptionValues &values);

    void chkWMA_Click();
    void chkWAV_Click();

private:
    void outputBoxClicked(Profiles::OutputBox box);

    ConversionOptionsWidgets w;
    AppState &s;
    MainCommands &m_commands;
};
