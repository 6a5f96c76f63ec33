#pragma once
// The options dialog frmOptions, shown modally before the further files of a run when "Always
// show options dialog" is ticked.

#include "conversion/OptionsDialog.h"

#include <QDialog>
#include <memory>

struct AppState;
namespace Ui {
class frmOptions;
}

class frmOptions : public QDialog
{
    Q_OBJECT
public:
    frmOptions(const OptionValues &values, const AppState &state, QWidget *parent = nullptr);
    ~frmOptions() override;

    // The values as the user left them (meaningful once accepted).
    OptionValues values() const;
    Ui::frmOptions &ui() { return *m_ui; }

private:
    void followOutputs();

    std::unique_ptr<Ui::frmOptions> m_ui;
    OptionValues m_values;
};

// The real dialog, over the given window.
class QtOptionsDialog : public OptionsDialogService
{
public:
    QtOptionsDialog(const AppState &state, QWidget *owner)
        : m_state(state)
        , m_owner(owner)
    {
    }
    bool showOptions(OptionValues &values) override;

private:
    const AppState &m_state;
    QWidget *m_owner;
};
