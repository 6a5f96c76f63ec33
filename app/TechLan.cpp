#include "TechLan.h"

#include "ui_TechLan.h"

#include <QLayout>

TechLan::TechLan(const QString &currentCode, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::TechLan>())
    , m_code(currentCode == QLatin1String("IT") ? QStringLiteral("IT") : QStringLiteral("EN"))
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // Two buttons: nothing to resize or maximise.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_ui->cmdEN, &QPushButton::clicked, this, [this] { choose(QStringLiteral("EN")); });
    connect(m_ui->cmdIT, &QPushButton::clicked, this, [this] { choose(QStringLiteral("IT")); });
}

TechLan::~TechLan() = default;

void TechLan::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    QPushButton *current = m_code == QLatin1String("IT") ? m_ui->cmdIT : m_ui->cmdEN;
    current->setDefault(true);
    current->setFocus();
}

void TechLan::choose(const QString &code)
{
    m_code = code;
    accept();
}
