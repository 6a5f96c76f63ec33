#pragma once
// The information panel's controls, built as plain widgets, with the real tag reader, probe
// and decoder behind them.

#include "browser/InfoPanel.h"
#include "core/AppState.h"
#include "core/StatusLine.h"
#include "playback/MediaControls.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

inline QString fixturePath(const char *name)
{
    return QStringLiteral(TONVERA_TEST_DATA "/browser/") + QLatin1String(name);
}

class PanelFixture : public ::testing::Test
{
protected:
    PanelFixture()
    {
        const auto label = [this] {
            return new QLabel(&window);
        };
        w.window = &window;
        for (QLabel **l : {&w.LabTit, &w.ImgTyp, &w.ImgMP3, &w.ImgWav, &w.ImgWMA, &w.LabMsg,
                 &w.LabTime, &w.LabInfo, &w.LabComment, &w.LabINP, &w.LabOUT, &w.LabBarINP,
                 &w.LabBarOUT, &LabStatus, &ImgMsg})
            *l = label();
        ShaPallino = new QFrame(&window);
        status = std::make_unique<StatusLine>(*LabStatus, *ImgMsg, *ShaPallino);
        w.chkWMA = new QCheckBox(&window);
        w.chkWAV = new QCheckBox(&window);
        QPixmap mp3(4, 4);
        mp3.fill(Qt::blue);
        w.ImgMP3->setPixmap(mp3);
        panel = std::make_unique<InfoPanel>(w, state, media, *status);
    }

    // What the input list does when a file becomes current.
    bool select(const QString &path, const QString &type)
    {
        state.SourcePath = path;
        state.CurrentType = type;
        return panel->ShowCurrentFile(path, type);
    }
    bool select(const char *fixture, const char *type)
    {
        return select(fixturePath(fixture), type);
    }

    QWidget window;
    InfoPanelWidgets w;
    AppState state;
    QLabel *LabStatus = nullptr;
    QLabel *ImgMsg = nullptr;
    QFrame *ShaPallino = nullptr;
    MediaControls media;
    std::unique_ptr<StatusLine> status;
    std::unique_ptr<InfoPanel> panel;
};
