#include "conversion/CutSectionPanel.h"

#include "core/AppState.h"
#include "core/CutTimes.h"
#include "core/MainCommands.h"
#include "playback/PreviewMedia.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFrame>
#include <QLineEdit>
#include <QScrollBar>

CutSectionPanel::CutSectionPanel(const CutSectionWidgets &widgets, AppState &state,
    MainCommands &commands, const PreviewMedia &player, QObject *parent)
    : QObject(parent)
    , w(widgets)
    , s(state)
    , m_commands(commands)
    , m_player(player)
{
    for (QScrollBar *bar : {w.VScrSta, w.VScrFin})
        bar->setRange(0, CutTimes::ScrollMax);
    connect(w.VScrSta, &QScrollBar::valueChanged, this, &CutSectionPanel::VScrSta_Change);
    connect(w.VScrFin, &QScrollBar::valueChanged, this, &CutSectionPanel::VScrFin_Change);
    connect(w.cmdSta, &QAbstractButton::clicked, this, &CutSectionPanel::cmdSta_Click);
    connect(w.cmdFin, &QAbstractButton::clicked, this, &CutSectionPanel::cmdFin_Click);
    connect(w.cmdStaRes, &QAbstractButton::clicked, this, &CutSectionPanel::cmdStaRes_Click);
    connect(w.cmdFinRes, &QAbstractButton::clicked, this, &CutSectionPanel::cmdFinRes_Click);
    // The markers keep their place on the time axis when it changes its width.
    w.LinSta->parentWidget()->installEventFilter(this);
    showSection();
}

bool CutSectionPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched == w.LinSta->parentWidget()) {
        placeMarker(w.LinSta, s.Cut.startMs());
        placeMarker(w.LinFin, s.Cut.endMs());
    }
    return QObject::eventFilter(watched, event);
}

void CutSectionPanel::placeMarker(QFrame *line, double ms)
{
    const auto proportion = CutTimes::MarkerProportion(ms, s.SourceLengthMs);
    if (!proportion || ms <= 0) {
        line->hide();
        return;
    }
    const int track = line->parentWidget()->width() - line->width();
    line->move(int(*proportion * track), 0);
    line->show();
}

void CutSectionPanel::followSection()
{
    m_commands.setSectionCommands(s.Cut.isSet());
}

void CutSectionPanel::VScrSta_Change(int value)
{
    s.Cut.setStartMs(CutTimes::MsOfScrollValue(value, s.SourceLengthMs));
    w.txtSta->setText(CutTimes::TimeText(s.Cut.startMs()));
    placeMarker(w.LinSta, s.Cut.startMs());
    followSection();
}

void CutSectionPanel::VScrFin_Change(int value)
{
    const double wanted = CutTimes::MsOfScrollValue(value, s.SourceLengthMs);
    const double finish = wanted > 0 ? CutTimes::FinishNotBeforeStart(wanted, s.Cut.startMs()) : 0;
    s.Cut.setEndMs(finish);
    if (finish != wanted) {
        // The finish cannot be dragged before the start: the bar shows where it stays.
        if (const auto back = CutTimes::ScrollValueOfMs(finish, s.SourceLengthMs)) {
            const QSignalBlocker quiet(w.VScrFin);
            w.VScrFin->setValue(*back);
        }
    }
    w.txtFin->setText(CutTimes::TimeText(s.Cut.endMs()));
    placeMarker(w.LinFin, s.Cut.endMs());
    followSection();
}

void CutSectionPanel::cmdSta_Click()
{
    s.Cut.setStartMs(CutTimes::MsOfPosition(m_player.position()));
    showSection();
    followSection();
}

void CutSectionPanel::cmdFin_Click()
{
    s.Cut.setEndMs(CutTimes::FinishNotBeforeStart(
        CutTimes::MsOfPosition(m_player.position()), s.Cut.startMs()));
    showSection();
    followSection();
    w.VScrFin->setFocus();
}

void CutSectionPanel::cmdStaRes_Click()
{
    w.VScrSta->setValue(0);
    VScrSta_Change(0);
    w.cmdTrucco->setFocus();
}

void CutSectionPanel::cmdFinRes_Click()
{
    w.VScrFin->setValue(0);
    VScrFin_Change(0);
    w.cmdTrucco->setFocus();
}

void CutSectionPanel::showSection()
{
    const QSignalBlocker quietStart(w.VScrSta);
    const QSignalBlocker quietFinish(w.VScrFin);
    w.VScrSta->setValue(CutTimes::ScrollValueOfMs(s.Cut.startMs(), s.SourceLengthMs).value_or(0));
    w.VScrFin->setValue(CutTimes::ScrollValueOfMs(s.Cut.endMs(), s.SourceLengthMs).value_or(0));
    w.txtSta->setText(CutTimes::TimeText(s.Cut.startMs()));
    w.txtFin->setText(CutTimes::TimeText(s.Cut.endMs()));
    placeMarker(w.LinSta, s.Cut.startMs());
    placeMarker(w.LinFin, s.Cut.endMs());
}
