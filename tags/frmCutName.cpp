#include "tags/frmCutName.h"

#include "core/AppState.h"
#include "core/Settings.h"
#include "core/texts/Captions.h"
#include "ui_frmCutName.h"

namespace {

const QString UserDef = QStringLiteral("UserDef");

bool flag(const Settings &settings, const char *key, bool fallback)
{
    return Settings::parseBoolean(
        settings.text(UserDef, QLatin1String(key), Settings::booleanText(fallback)), fallback);
}

} // namespace

frmCutName::frmCutName(
    AppState &state, Settings &settings, QAbstractButton *mainChkCutNam, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmCutName>())
    , s(state)
    , m_settings(settings)
    , m_mainChkCutNam(mainChkCutNam)
{
    Ui::frmCutName &ui = *m_ui;
    ui.setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ApplyCaptions(this, s);

    ui.chkCutNam->setChecked(true);
    ui.txtStr->setText(settings.text(UserDef, QStringLiteral("strNam"), QStringLiteral("cut")));
    (flag(settings, "OptStr", true) ? ui.OptStr : ui.OptNum)->setChecked(true);
    (flag(settings, "OptStrS", true) ? ui.OptStrS : ui.OptStrP)->setChecked(true);
    (flag(settings, "OptNumS", true) ? ui.OptNumS : ui.OptNumP)->setChecked(true);
    followChoice();

    connect(ui.OptStr, &QAbstractButton::toggled, this, &frmCutName::followChoice);
    connect(ui.Cmdok, &QAbstractButton::clicked, this, &frmCutName::Cmdok_Click);
    connect(ui.CmdCancel, &QAbstractButton::clicked, this, &frmCutName::reject);
    ui.Cmdok->setDefault(true);
}

frmCutName::~frmCutName() = default;

void frmCutName::LoadRule(AppState &state, const Settings &settings)
{
    state.CutNameNumbered = !flag(settings, "OptStr", true);
    state.CutNameAfter
        = state.CutNameNumbered ? flag(settings, "OptNumS", true) : flag(settings, "OptStrS", true);
    state.CutNameText = state.CutNameNumbered
        ? QString()
        : settings.text(UserDef, QStringLiteral("strNam"), QStringLiteral("cut"));
}

// The options of the rule not chosen are out of reach.
void frmCutName::followChoice()
{
    Ui::frmCutName &ui = *m_ui;
    const bool text = ui.OptStr->isChecked();
    for (QWidget *control : {static_cast<QWidget *>(ui.txtStr), static_cast<QWidget *>(ui.FraStr)})
        control->setEnabled(text);
    ui.FraNum->setEnabled(!text);
}

void frmCutName::Cmdok_Click()
{
    Ui::frmCutName &ui = *m_ui;
    if (ui.OptNum->isChecked()) {
        s.CutNameNumbered = true;
        s.CutNameText.clear();
        s.CutNameAfter = ui.OptNumS->isChecked();
    } else {
        s.CutNameNumbered = false;
        s.CutNameText = ui.txtStr->text();
        s.CutNameAfter = ui.OptStrS->isChecked();
    }
    if (m_mainChkCutNam)
        m_mainChkCutNam->setChecked(ui.chkCutNam->isChecked());
    s.CutNamesOn = ui.chkCutNam->isChecked();
    m_settings.setText(UserDef, QStringLiteral("strNam"), ui.txtStr->text());
    const struct
    {
        const char *key;
        QAbstractButton *option;
    } options[] = {{"OptStr", ui.OptStr}, {"OptNum", ui.OptNum}, {"OptStrS", ui.OptStrS},
        {"OptStrP", ui.OptStrP}, {"OptNumS", ui.OptNumS}, {"OptNumP", ui.OptNumP}};
    for (const auto &option : options)
        m_settings.setBoolean({"UserDef", option.key, ""}, option.option->isChecked());
    accept();
}

void frmCutName::reject()
{
    s.RunStopped = true;
    QDialog::reject();
}

bool QtCutNameRules::askCutNameRules()
{
    frmCutName rules(m_state, m_settings, m_mainChkCutNam, m_owner);
    return rules.exec() == QDialog::Accepted;
}
