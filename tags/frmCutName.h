#pragma once
// The rules window for the names of cut files (frmCutName), shown before a run that converts
// only the cut section: a string or an incremental number, after or before the name.

#include "core/Services.h"

#include <QDialog>
#include <memory>

class QAbstractButton;
class Settings;
struct AppState;
namespace Ui {
class frmCutName;
}

class frmCutName : public QDialog
{
    Q_OBJECT
public:
    // mainChkCutNam: the main window's "Cut names rules", which takes this window's choice.
    frmCutName(AppState &state, Settings &settings, QAbstractButton *mainChkCutNam,
        QWidget *parent = nullptr);
    ~frmCutName() override;

    Ui::frmCutName &ui() { return *m_ui; }

    // The rule the settings hold, into the shared state (at start, so that a run whose window
    // is switched off still names its files as last chosen).
    static void LoadRule(AppState &state, const Settings &settings);

    void Cmdok_Click();

protected:
    void reject() override;

private:
    void followChoice();

    std::unique_ptr<Ui::frmCutName> m_ui;
    AppState &s;
    Settings &m_settings;
    QAbstractButton *m_mainChkCutNam;
};

// The real rules window, modal over the window.
class QtCutNameRules : public CutNameRulesService
{
public:
    QtCutNameRules(
        AppState &state, Settings &settings, QAbstractButton *mainChkCutNam, QWidget *owner)
        : m_state(state)
        , m_settings(settings)
        , m_mainChkCutNam(mainChkCutNam)
        , m_owner(owner)
    {
    }
    bool askCutNameRules() override;

private:
    AppState &m_state;
    Settings &m_settings;
    QAbstractButton *m_mainChkCutNam;
    QWidget *m_owner;
};
