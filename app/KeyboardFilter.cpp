#include "KeyboardFilter.h"

#include "MainKeys.h"
#include "MainWindow.h"
#include "browser/FolderBrowser.h"
#include "core/AppState.h"
#include "playback/PreviewPlayer.h"
#include "ui_frmMain.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {
bool isTextEntry(const QWidget *w)
{
    if (!w)
        return false;
    if (auto *combo = qobject_cast<const QComboBox *>(w))
        return combo->isEditable();
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w)
        || qobject_cast<const QTextEdit *>(w) || qobject_cast<const QPlainTextEdit *>(w);
}
} // namespace

KeyboardFilter::KeyboardFilter(
    MainWindow &window, AppState &state, std::function<void()> chooseLanguage)
    : QObject(&window)
    , m_window(window)
    , m_state(state)
    , m_chooseLanguage(std::move(chooseLanguage))
{
}

bool KeyboardFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    // Only the first delivery (to the focused control) of a key meant for the main window;
    // dialogs over it keep their own keys.
    if (!widget || widget->window() != &m_window || QApplication::activeModalWidget())
        return false;
    QWidget *focus = QApplication::focusWidget();
    if (focus ? widget != focus : widget != &m_window)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    return handleKey(key->key(), key->modifiers());
}

bool KeyboardFilter::handleKey(int key, Qt::KeyboardModifiers modifiers)
{
    Ui::frmMain &ui = m_window.ui();
    KeyConditions c;
    c.pauseOrPlayEnabled = ui.cmdPause->isEnabled() || ui.cmdPlay->isEnabled();
    c.haltVisible = ui.cmdHalt->isVisible();
    c.typeTextEmpty = ui.CboType->currentText().isEmpty();
    c.browseEventsOn = m_state.BrowseEventsOn;
    c.grabEnabled = ui.cmdGrab->isEnabled();
    c.tagEnabled = ui.cmdTag->isEnabled();
    c.refreshEnabled = ui.cmdRefr->isEnabled();
    c.outputListActive = m_state.OutputListActive;
    c.textEntryFocused = isTextEntry(QApplication::focusWidget());

    const KeyDecision decision = MainKeyDecision(key, modifiers, c);
    const bool toOutput = m_state.OutputListActive;
    switch (decision.action) {
    case KeyAction::None:
        break;
    case KeyAction::PauseToggle:
        // The pause handler itself: a disabled Pause button would ignore a click, and Space
        // must also start the preview while only Play is on.
        m_window.player().cmdPause_Click();
        ui.cmdPause->setFocus();
        break;
    case KeyAction::CloseWindow:
        m_window.close();
        break;
    case KeyAction::Halt:
        ui.cmdHalt->click();
        break;
    case KeyAction::StopPlayer:
        ui.cmdStop->click();
        break;
    case KeyAction::TypeBoxEnter:
        m_state.BrowseEventsOn = true;
        ui.CboType->setCurrentIndex(0);
        break;
    case KeyAction::TypeBoxOther:
        m_state.BrowseEventsOn = false;
        break;
    case KeyAction::AcceptPath:
        m_window.folderBrowser().EnterPressed();
        break;
    case KeyAction::Help:
        ui.cmdHelp->click();
        break;
    case KeyAction::ChooseLanguage:
        if (m_chooseLanguage)
            m_chooseLanguage();
        break;
    case KeyAction::Rename:
        emit m_window.renameRequested(toOutput);
        break;
    case KeyAction::Grab:
        ui.cmdGrab->click();
        break;
    case KeyAction::Tag:
        ui.cmdTag->click();
        break;
    case KeyAction::Delete:
        emit m_window.deleteRequested(toOutput);
        break;
    case KeyAction::Refresh:
        ui.cmdRefr->click();
        break;
    case KeyAction::Move:
        emit m_window.moveRequested();
        break;
    case KeyAction::Save:
        emit m_window.saveRequested();
        break;
    case KeyAction::Explore:
        emit m_window.exploreRequested(toOutput);
        break;
    case KeyAction::FocusPath:
        // The whole path selected: what the user types replaces it, and Return opens it.
        ui.CboURL->setFocus(Qt::ShortcutFocusReason);
        if (QLineEdit *field = ui.CboURL->lineEdit())
            field->selectAll();
        break;
    }
    return decision.consumed;
}
