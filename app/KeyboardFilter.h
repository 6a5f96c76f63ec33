#pragma once
// Sees every key of the main window before its controls and carries out the keyboard table.

#include <QObject>
#include <functional>

class MainWindow;
struct AppState;

class KeyboardFilter : public QObject
{
    Q_OBJECT

public:
    // chooseLanguage runs F12 (the language chooser, then the new captions and tooltips).
    KeyboardFilter(MainWindow &window, AppState &state, std::function<void()> chooseLanguage);

    // Handles one key for the main window; true when the key is consumed.
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MainWindow &m_window;
    AppState &m_state;
    std::function<void()> m_chooseLanguage;
};
