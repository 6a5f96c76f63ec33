#include "core/MainCommands.h"

#include <QAction>
#include <QWidget>

MainCommands::MainCommands(QObject *parent)
    : QObject(parent)
{
    m_available.fill(true);
}

void MainCommands::bind(MainCommand command, const Controls &controls)
{
    m_controls[size_t(command)] = controls;
    // Until the rules say otherwise an operation is as the form made it.
    m_on[size_t(command)] = controls.widgets.isEmpty()
        ? (!controls.actions.isEmpty() && controls.actions.first()->isEnabled())
        : controls.widgets.first()->isEnabled();
    apply(command);
}

void MainCommands::setAvailable(MainCommand command, bool available)
{
    m_available[size_t(command)] = available;
    apply(command);
}

void MainCommands::set(MainCommand command, bool on)
{
    m_on[size_t(command)] = on;
    apply(command);
}

bool MainCommands::isOn(MainCommand command) const
{
    return m_on[size_t(command)];
}

void MainCommands::setSectionCommands(bool on)
{
    set(MainCommand::PlaySection, on);
    set(MainCommand::ConvertSection, on && isOn(MainCommand::Convert));
}

void MainCommands::setConvertCommands(bool on)
{
    set(MainCommand::Convert, on);
    set(MainCommand::ConvertSection, on);
}

void MainCommands::setSectionControls(bool on)
{
    set(MainCommand::SetSection, on);
    set(MainCommand::SetSectionFromPlayer, on);
}

void MainCommands::setPlayerCommands(bool on)
{
    for (MainCommand c :
        {MainCommand::Play, MainCommand::Pause, MainCommand::StopPlayer, MainCommand::PlaySection})
        set(c, on);
}

void MainCommands::apply(MainCommand command)
{
    const bool enabled = m_on[size_t(command)] && m_available[size_t(command)];
    const Controls &controls = m_controls[size_t(command)];
    for (QWidget *widget : controls.widgets)
        widget->setEnabled(enabled);
    for (QAction *action : controls.actions)
        action->setEnabled(enabled);
    emit commandChanged(command);
}
