#include "conversion/ConversionOptions.h"

#include "conversion/Profiles.h"
#include "core/AppState.h"
#include "core/MainCommands.h"
#include "core/PathHelpers.h"
#include "core/texts/LocalText.h"

#include <EncoderProfiles.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>

namespace {
constexpr int BarWidth = 65; // the full width of a size bar, in pixels
} // namespace

ConversionOptions::ConversionOptions(const ConversionOptionsWidgets &widgets, AppState &state,
    MainCommands &commands, QObject *parent)
    : QObject(parent)
    , w(widgets)
    , s(state)
    , m_commands(commands)
{
    connect(w.cboProfile, &QComboBox::currentIndexChanged, this, [this] { SelectProfile(); });
    connect(w.Option1, &QAbstractButton::clicked, this, [this] {
        w.cboProfile->setEnabled(false);
        AutoSelectProfile();
    });
    connect(w.Option2, &QAbstractButton::clicked, this, [this] { w.cboProfile->setEnabled(true); });
    connect(w.chkWMA, &QAbstractButton::clicked, this, [this] { chkWMA_Click(); });
    connect(w.chkWAV, &QAbstractButton::clicked, this, [this] { chkWAV_Click(); });
}

void ConversionOptions::fileSelected()
{
    if (!w.Option2->isChecked())
        AutoSelectProfile();
    else
        SelectProfile();
}

void ConversionOptions::SelectProfile()
{
    s.ProfileName = Profiles::NameOfEntry(w.cboProfile->currentText());
    ShowSizeEstimate();
}

void ConversionOptions::AutoSelectProfile()
{
    const int index = Profiles::AutoSelectIndex(s.InputBitRate, s.InputFrequency);
    if (w.cboProfile->currentIndex() == index)
        SelectProfile();
    else
        w.cboProfile->setCurrentIndex(index);
}

void ConversionOptions::ShowSizeEstimate()
{
    const tonvera::EncoderProfile *profile
        = tonvera::findEncoderProfile(s.ProfileName.toStdString());
    if (!profile || s.CurrentFile.isEmpty())
        return;
    Profiles::EstimateSource source;
    source.type = s.CurrentType;
    source.size = QFileInfo(JoinPath(s.CurrentFolder, s.CurrentFile)).size();
    source.bitRate = s.InputBitRate;
    source.frequency = s.InputFrequency;
    const auto estimate
        = Profiles::EstimateSize(source, *profile, LocalText(s, 100, QStringLiteral("bytes")));
    if (!estimate)
        return;
    w.ShapINP->setFixedWidth(std::max(1, int(estimate->inputBar * BarWidth)));
    w.ShapOUT->setFixedWidth(std::max(1, int(estimate->outputBar * BarWidth)));
    w.ShapINP->show();
    w.ShapOUT->show();
    w.LabBarINP->setText(estimate->inputText);
    w.LabBarOUT->setText(estimate->outputText);
    w.LabINP->show();
    w.LabOUT->show();
}

bool ConversionOptions::alwaysShowDialog() const
{
    return w.chkOptions->isChecked();
}

OptionValues ConversionOptions::values(
    const QString &fileName, bool cutOnly, bool cutAvailable) const
{
    OptionValues v;
    v.fileName = fileName;
    for (int i = 0; i < w.cboProfile->count(); ++i)
        v.profiles << w.cboProfile->itemText(i);
    v.profileIndex = w.cboProfile->currentIndex();
    v.automatic = w.Option1->isChecked();
    v.createWma = w.chkWMA->isChecked();
    v.createWav = w.chkWAV->isChecked();
    v.editTag = w.ChkTag->isChecked();
    v.alwaysShow = w.chkOptions->isChecked();
    v.cutOnly = cutOnly;
    v.cutAvailable = cutAvailable;
    v.inputType = w.LabINP->text();
    v.outputType = w.LabOUT->text();
    v.inputSize = w.LabBarINP->text();
    v.outputSize = w.LabBarOUT->text();
    v.inputBar = w.ShapINP->width();
    v.outputBar = w.ShapOUT->width();
    return v;
}

void ConversionOptions::apply(const OptionValues &values)
{
    w.chkWMA->setChecked(values.createWma);
    w.chkWAV->setChecked(values.createWav);
    w.ChkTag->setChecked(values.editTag);
    w.ChkTag->setEnabled(values.createWma);
    w.chkOptions->setChecked(values.alwaysShow);
    (values.automatic ? w.Option1 : w.Option2)->setChecked(true);
    w.cboProfile->setEnabled(!values.automatic);
    // "Automatic setting" chooses for the file about to be converted, which the panel shows.
    if (values.automatic)
        AutoSelectProfile();
    else if (w.cboProfile->currentIndex() == values.profileIndex)
        SelectProfile();
    else
        w.cboProfile->setCurrentIndex(values.profileIndex);
}

void ConversionOptions::chkWMA_Click()
{
    outputBoxClicked(Profiles::OutputBox::Wma);
}

void ConversionOptions::chkWAV_Click()
{
    outputBoxClicked(Profiles::OutputBox::Wav);
}

void ConversionOptions::outputBoxClicked(Profiles::OutputBox box)
{
    const Profiles::OutputBoxEffect effect = Profiles::OutputBoxClicked(box,
        {w.chkWMA->isChecked(), w.chkWAV->isChecked(), !s.CurrentFile.isEmpty(),
            m_commands.isOn(MainCommand::PlaySection)});
    if (effect.editTag)
        w.ChkTag->setEnabled(*effect.editTag);
    if (effect.convert)
        m_commands.set(MainCommand::Convert, *effect.convert);
    if (effect.convertSection)
        m_commands.set(MainCommand::ConvertSection, *effect.convertSection);
}
