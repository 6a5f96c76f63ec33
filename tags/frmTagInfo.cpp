#include "tags/frmTagInfo.h"

#include "core/AppState.h"
#include "core/PathHelpers.h"
#include "core/Services.h"
#include "core/Settings.h"
#include "core/WidgetHelpers.h"
#include "core/texts/Captions.h"
#include "core/texts/LocalText.h"
#include "tags/Mp3TagSave.h"
#include "ui_frmTagInfo.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QRegularExpression>

#include <algorithm>

using namespace NameRules;

namespace {

const QString UserDef = QStringLiteral("UserDef");

QString parKey(int n)
{
    return QStringLiteral("Par") + QString::number(n);
}

QString relPosKey(int n)
{
    return QStringLiteral("relPos") + QString::number(n);
}

} // namespace

frmTagInfo::frmTagInfo(const TagEditorParts &parts, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmTagInfo>())
    , m_parts(parts)
    , s(parts.state)
{
    Ui::frmTagInfo &ui = *m_ui;
    ui.setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    createRows();

    // 1 - 3: the name, the captions of the language and of the mode.
    ui.txtName->setText(FileNameOfPath(s.OutputBaseName));
    FieldsReady = false;
    ApplyCaptions(this, s);
    if (s.TagOnlyMode) {
        ui.cmdGrab->setText(LocalText(s, 374, QStringLiteral("&Save")));
        ui.FraConv->setTitle(u' ' + LocalText(s, 509, QStringLiteral("MP3 Tag")) + u' ');
    }
    // Copyright is no ID3v1 field: nothing to edit when the MP3's own tag is written.
    ui.txtCop->setEnabled(!s.TagOnlyMode);
    ApplyTooltips(this, s);
    ui.VScroll1->setAccessibleName(ui.LabMove->text());

    // 4 - 5: the rows in their order, and the values they stand for.
    loadRows();
    m_values = {s.TagGenre, s.TagYear, s.TagArtist, s.TagAlbum, TrackParam(s.TagTrack), s.TagTitle};

    // 6: the choice for the next files only when more files of a conversion follow.
    ui.ChkTag->setChecked(m_parts.ChkTag && m_parts.ChkTag->isChecked());
    ui.ChkTag->setVisible(s.QueueDone < s.QueueCount - 1 && !s.TagOnlyMode);

    // 7 - 9: the genre list and the fields.
    ui.cboGenre->addItems(GenreList());
    ui.cboGenre->setCurrentIndex(0);
    connect(ui.cboGenre, &QComboBox::currentIndexChanged, this, &frmTagInfo::cboGenre_Click);
    const struct
    {
        QLineEdit *box;
        Param param;
    } fields[] = {{ui.txtTit, Title}, {ui.txtAut, Artist}, {ui.txtAlb, Album}};
    for (const auto &field : fields)
        connect(field.box, &QLineEdit::textChanged, this,
            [this, param = field.param](const QString &text) { fieldChanged(param, text); });
    connect(ui.txtYear, &QLineEdit::textChanged, this, &frmTagInfo::txtYear_Change);
    Carica_Textbox();
    OpenedName = ui.txtName->text();
    ui.txtFile->setPlainText(OpenedName);

    // 10: template and separator, then the mode of the main window.
    ui.txtAdv->setText(m_parts.settings.text(UserDef, QStringLiteral("txtAdv"), QString()));
    s.NameSeparator = m_parts.settings.text(UserDef, QStringLiteral("xsep"), s.NameSeparator);
    if (s.QueueDone < 1)
        s.NameSeparator = Ricava_Delimitatore(OpenedName);
    {
        const QSignalBlocker quiet(ui.txtSep);
        ui.txtSep->setText(s.NameSeparator);
    }
    FieldsReady = true;
    const bool fromRules = m_parts.OptParName && m_parts.OptParName->isChecked();
    {
        const QSignalBlocker quietStd(ui.OptStdName);
        const QSignalBlocker quietPar(ui.OptParName);
        (fromRules ? ui.OptParName : ui.OptStdName)->setChecked(true);
    }
    if (fromRules)
        OptParName_Click();
    else
        OptStdName_Click();
    connect(ui.OptParName, &QAbstractButton::toggled, this, [this](bool on) {
        if (on)
            OptParName_Click();
    });
    connect(ui.OptStdName, &QAbstractButton::toggled, this, [this](bool on) {
        if (on)
            OptStdName_Click();
    });
    ui.chkCreate->setChecked(
        m_parts.settings.text(UserDef, QStringLiteral("chkCreate"), "0") == QLatin1String("1"));
    if (ui.chkCreate->isChecked())
        chkCreate_Click();
    connect(ui.chkCreate, &QAbstractButton::toggled, this, &frmTagInfo::chkCreate_Click);
    connect(ui.chkAdv, &QAbstractButton::toggled, this, &frmTagInfo::chkAdv_Click);
    connect(ui.txtAdv, &QLineEdit::textChanged, this, &frmTagInfo::txtAdv_Change);
    connect(ui.txtSep, &QLineEdit::textChanged, this, &frmTagInfo::txtSep_Change);
    connect(ui.VScroll1, &QScrollBar::valueChanged, this, &frmTagInfo::VScroll1_Change);

    connect(ui.cmdGrab, &QAbstractButton::clicked, this, &frmTagInfo::cmdGrab_Click);
    connect(ui.CmdCancel, &QAbstractButton::clicked, this, &frmTagInfo::CmdCancel_Click);
    connect(ui.cmdReload, &QAbstractButton::clicked, this, &frmTagInfo::Carica_Textbox);
    ui.cmdGrab->setDefault(true);
    // Typing in a free-text field, Enter no longer confirms the window.
    for (QWidget *box : {ui.txtTit, ui.txtAut, ui.txtCop, ui.txtDes})
        box->installEventFilter(this);
    adjustSize();
}

frmTagInfo::~frmTagInfo() = default;

// ---- Rows of the name parameters -------------------------------------------------------------

void frmTagInfo::createRows()
{
    for (int n = 1; n <= ParamCount; ++n) {
        auto *row = new QFrame(m_ui->rowsBox);
        row->setObjectName(QStringLiteral("Picture0_%1").arg(n));
        auto *layout = new QHBoxLayout(row);
        layout->setContentsMargins(4, 1, 4, 1);
        auto *check = new QCheckBox(row);
        check->setObjectName(QStringLiteral("chkPar_%1").arg(n));
        layout->addWidget(check);
        connect(check, &QAbstractButton::clicked, this, [this, n] { chkPar_Click(n); });
        m_rows[size_t(n - 1)] = row;
        m_checks[size_t(n - 1)] = check;
    }
}

void frmTagInfo::loadRows()
{
    NameRules::ParamPositions positions;
    for (int n = 1; n <= ParamCount; ++n) {
        bool ok = false;
        const int p = m_parts.settings.text(UserDef, relPosKey(n), QString::number(n)).toInt(&ok);
        positions[size_t(n - 1)] = ok ? p : 0;
    }
    // Positions from an older or damaged store that are no order of the six fall back to the
    // designed order.
    const NameRules::ParamPositions designed {1, 2, 3, 4, 5, 6};
    NameRules::ParamPositions sorted = positions;
    std::sort(sorted.begin(), sorted.end());
    m_positions = sorted == designed ? positions : designed;
    for (int n = 1; n <= ParamCount; ++n)
        chkPar(n)->setChecked(
            m_parts.settings.text(UserDef, parKey(n), QStringLiteral("0")) == QLatin1String("1"));
    placeRows();

    int candidate = 1;
    for (int n = 2; n <= ParamCount; ++n)
        if (chkPar(n)->isChecked()
            && m_positions[size_t(n - 1)] < m_positions[size_t(candidate - 1)])
            candidate = n;
    RowsReady = true;
    chkPar_Click(candidate);
}

void frmTagInfo::placeRows()
{
    QLayout *layout = m_ui->rowsBox->layout();
    for (QFrame *row : m_rows)
        layout->removeWidget(row);
    for (int slot = 1; slot <= ParamCount; ++slot)
        for (int n = 1; n <= ParamCount; ++n)
            if (m_positions[size_t(n - 1)] == slot)
                layout->addWidget(Picture0(n));
}

void frmTagInfo::showRowHighlight()
{
    for (int n = 1; n <= ParamCount; ++n) {
        QFrame *row = Picture0(n);
        const bool selected = n == m_selectedParam && row->isEnabled();
        row->setFrameShape(selected ? QFrame::Box : QFrame::NoFrame);
        row->setAutoFillBackground(selected);
        row->setBackgroundRole(selected ? QPalette::Light : QPalette::Window);
    }
}

void frmTagInfo::setRowsEnabled(bool enabled)
{
    for (QFrame *row : m_rows)
        row->setEnabled(enabled);
    m_ui->VScroll1->setEnabled(enabled);
    showRowHighlight();
}

// Rows, order, the template choice and the separator become usable.
void frmTagInfo::enableRules()
{
    Ui::frmTagInfo &ui = *m_ui;
    setRowsEnabled(true);
    ui.chkAdv->setEnabled(true);
    ui.txtSep->setEnabled(!ui.chkAdv->isChecked());
    ui.txtAdv->setEnabled(ui.chkAdv->isChecked());
}

void frmTagInfo::chkPar_Click(int n)
{
    if (!RowsReady)
        return;
    m_selectedParam = n;
    RowsReady = false;
    {
        const QSignalBlocker quiet(m_ui->VScroll1);
        m_ui->VScroll1->setValue(m_positions[size_t(n - 1)]);
    }
    showRuleResult();
    m_ui->chkAdv->setChecked(false);
    RowsReady = true;
    showRowHighlight();
}

void frmTagInfo::VScroll1_Change()
{
    if (!RowsReady)
        return;
    const int v = m_ui->VScroll1->value();
    const size_t selected = size_t(m_selectedParam - 1);
    for (size_t other = 0; other < m_positions.size(); ++other) {
        if (m_positions[other] == v && other != selected) {
            m_positions[other] = m_positions[selected];
            m_positions[selected] = v;
            break;
        }
    }
    placeRows();
    showRuleResult();
}

// ---- Name rules -----------------------------------------------------------------------------

ParamChecks frmTagInfo::checks() const
{
    ParamChecks result {};
    for (int n = 1; n <= ParamCount; ++n)
        result[size_t(n - 1)] = chkPar(n)->isChecked();
    return result;
}

QString frmTagInfo::Imposta_Nome() const
{
    if (!FieldsReady)
        return QString();
    return NameRules::Imposta_Nome(m_values, checks(), m_positions, s.NameSeparator, OpenedName);
}

QString frmTagInfo::Imposta_NomeAdv() const
{
    return NameRules::Imposta_NomeAdv(m_ui->txtAdv->text(), m_values, OpenedName);
}

QString frmTagInfo::ruleName() const
{
    return m_ui->chkAdv->isChecked() ? Imposta_NomeAdv() : Imposta_Nome();
}

void frmTagInfo::Imposta_Tag(const QString &name)
{
    if (!FieldsReady || name.isEmpty())
        return;
    Imposta_TagAdv(name, TemplateOfChecks(checks(), m_positions));
}

void frmTagInfo::Imposta_TagAdv(const QString &name, const QString &tmpl)
{
    if (!FieldsReady)
        return;
    Ui::frmTagInfo &ui = *m_ui;
    const NameTags tags = NameRules::Imposta_TagAdv(name, s.NameSeparator, tmpl);
    for (QLineEdit *box : {ui.txtTit, ui.txtAut, ui.txtAlb, ui.txtCop, ui.txtDes, ui.txtYear})
        box->clear();
    ui.cboGenre->setCurrentIndex(-1);
    ui.cboGenre->setEditText(QString());
    ui.txtTit->setText(tags.title);
    ui.txtAut->setText(tags.artist);
    ui.txtAlb->setText(tags.album);
    ui.txtYear->setText(tags.year);
    ui.cboGenre->setCurrentIndex(tags.genreIndex);
}

// What the rows stand for now: the name built by the rules, or the tags read from the name.
void frmTagInfo::showRuleResult()
{
    if (m_ui->OptParName->isChecked())
        m_ui->txtFile->setPlainText(Imposta_Nome());
    else
        Imposta_Tag(OpenedName);
}

void frmTagInfo::OptParName_Click()
{
    Ui::frmTagInfo &ui = *m_ui;
    {
        const QSignalBlocker quiet(ui.chkCreate);
        ui.chkCreate->setChecked(false);
    }
    ui.chkCreate->setEnabled(false);
    enableRules();
    ui.txtFile->setPlainText(ruleName());
}

void frmTagInfo::OptStdName_Click()
{
    Ui::frmTagInfo &ui = *m_ui;
    setRowsEnabled(false);
    for (QWidget *control : {static_cast<QWidget *>(ui.chkAdv), static_cast<QWidget *>(ui.txtAdv),
             static_cast<QWidget *>(ui.txtSep)})
        control->setEnabled(false);
    ui.txtFile->setPlainText(OpenedName);
    ui.chkCreate->setEnabled(true);
}

void frmTagInfo::chkCreate_Click()
{
    Ui::frmTagInfo &ui = *m_ui;
    if (ui.chkCreate->isChecked()) {
        if (ui.OptStdName->isChecked())
            OptStdName_Click();
        else
            ui.OptStdName->setChecked(true);
        enableRules();
        chkPar_Click(m_selectedParam);
    } else {
        setRowsEnabled(false);
        ui.txtFile->setPlainText(OpenedName);
        for (QWidget *control : {static_cast<QWidget *>(ui.chkAdv),
                 static_cast<QWidget *>(ui.txtAdv), static_cast<QWidget *>(ui.txtSep)})
            control->setEnabled(false);
    }
}

void frmTagInfo::chkAdv_Click()
{
    Ui::frmTagInfo &ui = *m_ui;
    const bool advanced = ui.chkAdv->isChecked();
    const bool rulesOn = ui.OptParName->isChecked() || ui.chkCreate->isChecked();
    ui.txtAdv->setEnabled(advanced && rulesOn);
    ui.txtSep->setEnabled(!advanced && rulesOn);
    if (advanced)
        txtAdv_Change();
    else if (ui.OptParName->isChecked())
        ui.txtFile->setPlainText(Imposta_Nome());
    else
        Imposta_Tag(OpenedName);
}

void frmTagInfo::txtAdv_Change()
{
    if (!m_ui->chkAdv->isChecked())
        return;
    if (m_ui->OptParName->isChecked())
        m_ui->txtFile->setPlainText(Imposta_NomeAdv());
    else
        Imposta_TagAdv(OpenedName, m_ui->txtAdv->text());
}

void frmTagInfo::txtSep_Change()
{
    const QString text = m_ui->txtSep->text();
    s.NameSeparator = text.isEmpty() ? QStringLiteral(" ") : text;
    if (SeparatorIsForbidden(s.NameSeparator)) {
        m_parts.messages.show(LocalText(s, 1004, QStringLiteral("Don't use the characters"))
                + ForbiddenSeparatorText(),
            0);
        m_ui->txtSep->clear(); // runs this handler again with one blank
        return;
    }
    if (m_ui->chkAdv->isChecked())
        return;
    showRuleResult();
}

// ---- Tag fields -----------------------------------------------------------------------------

void frmTagInfo::setBox(QWidget *box, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(box); line && line->text() != text)
        line->setText(text);
}

void frmTagInfo::Carica_Textbox()
{
    Ui::frmTagInfo &ui = *m_ui;
    setBox(ui.txtYear, s.TagYear);
    setBox(ui.txtTit, s.TagTitle);
    setBox(ui.txtAut, s.TagArtist);
    setBox(ui.txtAlb, s.TagAlbum);
    setBox(ui.txtCop, s.TagCopyright);
    setBox(ui.txtDes, s.TagDescription);
    if (ui.cboGenre->currentText() != s.TagGenre && !s.TagGenre.isEmpty()) {
        const int index = ui.cboGenre->findText(s.TagGenre, Qt::MatchExactly);
        {
            const QSignalBlocker quiet(ui.cboGenre);
            ui.cboGenre->setCurrentIndex(index);
            if (index < 0)
                ui.cboGenre->setEditText(s.TagGenre);
        }
        cboGenre_Click();
    }
}

void frmTagInfo::cboGenre_Click()
{
    const int index = m_ui->cboGenre->currentIndex();
    m_values[Genre - 1] = index == 0 ? QString() : m_ui->cboGenre->currentText();
    if (FieldsReady && m_ui->OptParName->isChecked())
        m_ui->txtFile->setPlainText(ruleName());
}

void frmTagInfo::fieldChanged(Param param, const QString &text)
{
    m_values[size_t(param - 1)] = text.trimmed();
    // The name follows the fields under the rule in use, the template included.
    if (FieldsReady && m_ui->OptParName->isChecked())
        m_ui->txtFile->setPlainText(ruleName());
}

void frmTagInfo::txtYear_Change()
{
    if (m_fixingYear)
        return;
    QLineEdit *box = m_ui->txtYear;
    const QString trimmed = box->text().trimmed();
    if (trimmed != box->text()) {
        m_fixingYear = true;
        box->setText(trimmed);
        m_fixingYear = false;
    }
    fieldChanged(Year, trimmed);
    // Only what the user types is checked: a tag's own odd year opens the window quietly.
    if (FieldsReady && !IsNumericText(trimmed)) {
        m_parts.messages.show(LocalText(s, 1001, QStringLiteral("Type a numeric value")), 0);
        box->selectAll();
        box->setFocus();
    }
}

bool frmTagInfo::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress)
        m_ui->cmdGrab->setDefault(false);
    return QDialog::eventFilter(watched, event);
}

// ---- Confirm and cancel ---------------------------------------------------------------------

// An ID3v1 tag holds Latin-1 only: a character beyond it would reach the file as a wrong byte,
// so the user is told which ones, in which field, and the window stays open.
bool frmTagInfo::refuseNonLatin1()
{
    Ui::frmTagInfo &ui = *m_ui;
    const struct
    {
        QLineEdit *box;
        QLabel *label;
    } fields[] = {{ui.txtTit, ui.LabTit}, {ui.txtAut, ui.LabAut}, {ui.txtAlb, ui.LabAlb},
        {ui.txtYear, ui.LabYear}, {ui.txtDes, ui.LabDes}};
    for (const auto &field : fields) {
        const QString bad = NonLatin1Characters(field.box->text());
        if (bad.isEmpty())
            continue;
        QString fieldName = field.label->text();
        fieldName.remove(QRegularExpression(QStringLiteral("\\s+\\$.*$")));
        m_parts.messages.show(
            LocalText(s, 1005, QStringLiteral("The MP3 tag cannot hold these characters:"))
                + QStringLiteral("  ") + bad + QStringLiteral("\n\n") + fieldName,
            48);
        field.box->setFocus();
        field.box->selectAll();
        return true;
    }
    return false;
}

void frmTagInfo::cmdGrab_Click()
{
    Ui::frmTagInfo &ui = *m_ui;
    const bool mp3 = FileTypeOf(s.SourcePath) == QLatin1String("MP3");
    if (s.TagOnlyMode && mp3 && refuseNonLatin1())
        return;

    // 1 - 2: the choice for the next files, then the fields.
    if (!ui.ChkTag->isHidden() && m_parts.ChkTag)
        m_parts.ChkTag->setChecked(ui.ChkTag->isChecked());
    if (!ui.ChkTag->isChecked())
        s.EditTagInfo = false;
    s.TagTitle = ui.txtTit->text().trimmed().left(30);
    s.TagArtist = ui.txtAut->text().trimmed();
    s.TagAlbum = ui.txtAlb->text().trimmed();
    s.TagCopyright = ui.txtCop->text().trimmed();
    s.TagDescription = ui.txtDes->text().trimmed();
    s.TagYear = ui.txtYear->text().trimmed();
    s.TagGenre = ui.cboGenre->currentText();

    // 3 - 5: the mode goes back to the main window; the name.
    WidgetHelpers::WaitCursor wait;
    if (m_parts.OptStdName && m_parts.OptParName)
        (ui.OptParName->isChecked() ? m_parts.OptParName : m_parts.OptStdName)->setChecked(true);
    s.OutputBaseName = ui.OptParName->isChecked() ? ui.txtFile->toPlainText() : ui.txtName->text();

    // 6 - 7: the MP3's own tag, then the rules for the next opening.
    if (s.TagOnlyMode && mp3)
        writeMp3Tag();
    saveRuleSettings();
    s.DialogCancelled = false;
    accept();
}

void frmTagInfo::writeMp3Tag()
{
    const QString failure = SaveMp3Tag(s.SourcePath, s, m_parts.media);
    // The window still closes and the name still changes, but the user learns that the tag
    // was not written.
    if (!failure.isEmpty())
        m_parts.messages.show(s.SourcePath + QStringLiteral("\n\n") + failure, 48);
}

void frmTagInfo::saveRuleSettings()
{
    Settings &settings = m_parts.settings;
    settings.setText(UserDef, QStringLiteral("xsep"), s.NameSeparator);
    settings.setText(UserDef, QStringLiteral("chkCreate"),
        m_ui->chkCreate->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    for (int n = 1; n <= ParamCount; ++n) {
        settings.setText(
            UserDef, parKey(n), chkPar(n)->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
        settings.setText(UserDef, relPosKey(n), QString::number(m_positions[size_t(n - 1)]));
    }
    if (m_ui->txtAdv->text().contains(u'$'))
        settings.setText(UserDef, QStringLiteral("txtAdv"), m_ui->txtAdv->text());
}

void frmTagInfo::CmdCancel_Click()
{
    reject();
}

void frmTagInfo::reject()
{
    s.DialogCancelled = true;
    QDialog::reject();
}

bool QtTagEditor::editTagInfo()
{
    m_parts.state.DialogCancelled = false;
    frmTagInfo editor(m_parts, m_owner);
    editor.exec();
    return !m_parts.state.DialogCancelled;
}
