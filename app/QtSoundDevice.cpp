#include "QtSoundDevice.h"

#include <QAudioDevice>
#include <QMediaDevices>

bool QtSoundDevice::hasAudioOutput()
{
    return !QMediaDevices::audioOutputs().isEmpty();
}
