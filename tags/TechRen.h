#pragma once
// The rename box TechRen: one line over the list entry, holding the file's name. Enter takes
// the typed name, Escape leaves the name as it was.

#include "core/Services.h"

#include <QDialog>
#include <memory>

struct AppState;
namespace Ui {
class TechRen;
}

class TechRen : public QDialog
{
    Q_OBJECT
public:
    // RenameText: the name shown, all of it selected.
    TechRen(const QString &RenameText, const AppState &state, QWidget *parent = nullptr);
    ~TechRen() override;

    Ui::TechRen &ui() { return *m_ui; }
    // The new name once the box closed; "" when unchanged or left with Escape.
    QString RenameText() const { return m_renameText; }
    // Puts the box over place (screen coordinates): its width, on the entry's line.
    void placeOver(const QRect &place);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::unique_ptr<Ui::TechRen> m_ui;
    QString m_shown;
    QString m_renameText;
};

// The real rename box, modal over its owner window.
class QtRenameBox : public RenameBoxService
{
public:
    explicit QtRenameBox(const AppState &state, QWidget *owner = nullptr)
        : m_state(state)
        , m_owner(owner)
    {
    }
    void setOwner(QWidget *owner) { m_owner = owner; }
    QString askNewName(const QString &name, const QRect &place) override;

private:
    const AppState &m_state;
    QWidget *m_owner;
};
