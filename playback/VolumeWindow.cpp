#include "VolumeWindow.h"

#include <QAudio>
#include <QAudioOutput>
#include <QCheckBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace {
// The slider moves in steps the ear hears as even; the output takes a linear factor.
float linearOf(int percent)
{
    return float(QAudio::convertVolume(
        percent / 100.0, QAudio::LogarithmicVolumeScale, QAudio::LinearVolumeScale));
}

int percentOf(float linear)
{
    return qRound(100.0
        * QAudio::convertVolume(linear, QAudio::LinearVolumeScale, QAudio::LogarithmicVolumeScale));
}
} // namespace

VolumeWindow::VolumeWindow(QAudioOutput &output, QWidget *parent)
    : QWidget(parent, Qt::Tool)
    , m_output(output)
    , m_slider(new QSlider(Qt::Vertical, this))
    , m_percent(new QLabel(this))
    , m_mute(new QCheckBox(QStringLiteral("Mute"), this))
{
    setObjectName(QStringLiteral("VolumeWindow"));
    setWindowTitle(QStringLiteral("Volume"));
    m_slider->setObjectName(QStringLiteral("sldVolume"));
    m_slider->setAccessibleName(QStringLiteral("Volume"));
    m_slider->setRange(0, 100);
    m_slider->setPageStep(10);
    m_slider->setMinimumHeight(120);
    m_mute->setObjectName(QStringLiteral("chkMute"));
    m_percent->setAlignment(Qt::AlignCenter);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_percent);
    layout->addWidget(m_slider, 1, Qt::AlignHCenter);
    layout->addWidget(m_mute);

    connect(m_slider, &QSlider::valueChanged, this,
        [this](int percent) { m_output.setVolume(linearOf(percent)); });
    connect(m_mute, &QCheckBox::toggled, &m_output, &QAudioOutput::setMuted);
    connect(&m_output, &QAudioOutput::volumeChanged, this, &VolumeWindow::showVolume);
    connect(&m_output, &QAudioOutput::mutedChanged, this, &VolumeWindow::showVolume);
    showVolume();
}

void VolumeWindow::setTexts(const QString &volume, const QString &mute)
{
    setWindowTitle(volume);
    m_slider->setAccessibleName(volume);
    m_mute->setText(mute);
}

void VolumeWindow::bringUp()
{
    if (!isVisible()) {
        // Beside the window it belongs to, not over its middle.
        if (QWidget *owner = parentWidget())
            move(owner->geometry().topRight() - QPoint(sizeHint().width() + 40, -40));
        show();
    }
    raise();
    activateWindow();
}

void VolumeWindow::showVolume()
{
    const QSignalBlocker quietSlider(m_slider);
    const QSignalBlocker quietMute(m_mute);
    const int percent = percentOf(m_output.volume());
    m_slider->setValue(percent);
    m_percent->setText(QString::number(percent) + QStringLiteral(" %"));
    m_mute->setChecked(m_output.isMuted());
}
