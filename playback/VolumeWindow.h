#pragma once
// The volume window behind the player's Volume button: a small window of its own, not modal,
// whose slider and mute box act on the preview player's audio output and follow it.

#include <QWidget>

class QAudioOutput;
class QCheckBox;
class QLabel;
class QSlider;

class VolumeWindow : public QWidget
{
    Q_OBJECT
public:
    VolumeWindow(QAudioOutput &output, QWidget *parent = nullptr);

    // The window's title (also the slider's name) and the mute box's caption.
    void setTexts(const QString &volume, const QString &mute);
    // Shows the window, or brings it to the front when it is already open.
    void bringUp();

private:
    void showVolume();

    QAudioOutput &m_output;
    QSlider *m_slider;
    QLabel *m_percent;
    QCheckBox *m_mute;
};
