#include "tags/TechRen.h"

#include "core/texts/LocalText.h"
#include "tags/FileActions.h"
#include "ui_TechRen.h"

#include <QKeyEvent>

TechRen::TechRen(const QString &RenameText, const AppState &state, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_ui(std::make_unique<Ui::TechRen>())
    , m_shown(RenameText)
{
    m_ui->setupUi(this);
    const QString tip
        = LocalText(state, 10902, QStringLiteral("Type new name and press Enter / Escape to exit"));
    m_ui->txtFile->setToolTip(u' ' + tip + u' ');
    m_ui->txtFile->setAccessibleName(LocalText(state, 811, QStringLiteral("Rename")));
    m_ui->txtFile->setAccessibleDescription(tip);
    QFont font = m_ui->txtFile->font();
    font.setPointSize(8);
    m_ui->txtFile->setFont(font);
    m_ui->txtFile->setText(RenameText);
    m_ui->txtFile->selectAll();
}

TechRen::~TechRen() = default;

void TechRen::placeOver(const QRect &place)
{
    if (!place.isValid())
        return;
    setFixedWidth(place.width());
    move(place.left(), place.top() + (place.height() - sizeHint().height()) / 2);
}

void TechRen::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_renameText = FileActions::RenameBoxResult(m_ui->txtFile->text(), m_shown);
        accept();
        return;
    case Qt::Key_Escape:
        m_renameText.clear();
        reject();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

QString QtRenameBox::askNewName(const QString &name, const QRect &place)
{
    TechRen box(name, m_state, m_owner);
    box.placeOver(place);
    box.exec();
    return box.RenameText();
}
