#include "conversion/frmOptions.h"

#include "core/texts/Captions.h"
#include "ui_frmOptions.h"

frmOptions::frmOptions(const OptionValues &values, const AppState &state, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmOptions>())
    , m_values(values)
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ApplyCaptions(this, state);
    ApplyTooltips(this, state);
    setWindowTitle(QStringLiteral(" Tonvera"));

    Ui::frmOptions &ui = *m_ui;
    ui.LabFile->setText(values.fileName);
    ui.cboProfile->addItems(values.profiles);
    ui.cboProfile->setCurrentIndex(values.profileIndex);
    (values.automatic ? ui.Option1 : ui.Option2)->setChecked(true);
    ui.cboProfile->setEnabled(!values.automatic);
    ui.chkWMA->setChecked(values.createWma);
    ui.chkWAV->setChecked(values.createWav);
    ui.ChkTag->setChecked(values.editTag);
    ui.chkOptions->setChecked(values.alwaysShow);
    ui.chkCut->setChecked(values.cutOnly && values.cutAvailable);
    ui.chkCut->setEnabled(values.cutAvailable);
    ui.LabINP->setText(values.inputType);
    ui.LabOUT->setText(values.outputType);
    ui.LabBarINP->setText(values.inputSize);
    ui.LabBarOUT->setText(values.outputSize);
    ui.ShapINP->setFixedWidth(std::max(1, values.inputBar));
    ui.ShapOUT->setFixedWidth(std::max(1, values.outputBar));

    connect(ui.Option2, &QAbstractButton::toggled, ui.cboProfile, &QWidget::setEnabled);
    connect(ui.chkWMA, &QAbstractButton::toggled, this, &frmOptions::followOutputs);
    connect(ui.chkWAV, &QAbstractButton::toggled, this, &frmOptions::followOutputs);
    connect(ui.cmdGrab, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(ui.CmdCancel, &QAbstractButton::clicked, this, &QDialog::reject);
    followOutputs();
    ui.cmdGrab->setDefault(true);
}

frmOptions::~frmOptions() = default;

// Nothing to convert without an output.
void frmOptions::followOutputs()
{
    m_ui->cmdGrab->setEnabled(m_ui->chkWMA->isChecked() || m_ui->chkWAV->isChecked());
    m_ui->ChkTag->setEnabled(m_ui->chkWMA->isChecked());
}

OptionValues frmOptions::values() const
{
    OptionValues v = m_values;
    const Ui::frmOptions &ui = *m_ui;
    v.profileIndex = ui.cboProfile->currentIndex();
    v.automatic = ui.Option1->isChecked();
    v.createWma = ui.chkWMA->isChecked();
    v.createWav = ui.chkWAV->isChecked();
    v.editTag = ui.ChkTag->isChecked();
    v.alwaysShow = ui.chkOptions->isChecked();
    v.cutOnly = ui.chkCut->isChecked();
    return v;
}

bool QtOptionsDialog::showOptions(OptionValues &values)
{
    frmOptions dialog(values, m_state, m_owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    values = dialog.values();
    return true;
}
