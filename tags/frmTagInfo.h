#pragma once
// The tag editor frmTagInfo: the tag fields of one file and the name its output (or, in a
// tag-only run, the file itself) gets, built by the name rules or read back into the fields.
// It starts from the shared tag fields and OutputBaseName and, when confirmed, leaves the
// edited ones there; in a tag-only run it also writes the MP3's ID3v1 tag.

#include "core/Services.h"
#include "tags/NameRules.h"

#include <QDialog>
#include <array>
#include <memory>

class MediaControls;
class MessageBoxService;
class QAbstractButton;
class QCheckBox;
class QFrame;
class Settings;
struct AppState;
namespace Ui {
class frmTagInfo;
}

// What the editor works with: the shared state and settings, message boxes, the tag control
// that writes the MP3 tag, and the main window's controls it copies from and back.
struct TagEditorParts
{
    AppState &state;
    Settings &settings;
    MessageBoxService &messages;
    MediaControls &media;
    QAbstractButton *ChkTag = nullptr; // "Edit tag info"
    QAbstractButton *OptStdName = nullptr; // "Maintain filename"
    QAbstractButton *OptParName = nullptr; // "Filename from rules"
};

class frmTagInfo : public QDialog
{
    Q_OBJECT
public:
    // Loads the editor for the file the shared state names (the opening steps).
    explicit frmTagInfo(const TagEditorParts &parts, QWidget *parent = nullptr);
    ~frmTagInfo() override;

    Ui::frmTagInfo &ui() { return *m_ui; }
    // The row of name parameter n (1 to 6): its frame and its check box.
    QFrame *Picture0(int n) const { return m_rows[size_t(n - 1)]; }
    QCheckBox *chkPar(int n) const { return m_checks[size_t(n - 1)]; }
    int SelectedParam() const { return m_selectedParam; }
    const NameRules::ParamTexts &ParamValues() const { return m_values; }
    const NameRules::ParamPositions &ParamPositions() const { return m_positions; }

    // Handlers.
    void cmdGrab_Click();
    void CmdCancel_Click();
    void Carica_Textbox();
    void chkPar_Click(int n);
    void VScroll1_Change();

protected:
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createRows();
    void loadRows();
    void placeRows();
    void showRowHighlight();
    void setRowsEnabled(bool enabled);
    void enableRules();
    void OptParName_Click();
    void OptStdName_Click();
    void chkCreate_Click();
    void chkAdv_Click();
    void txtAdv_Change();
    void txtSep_Change();
    void cboGenre_Click();
    void txtYear_Change();
    void fieldChanged(NameRules::Param param, const QString &text);
    void setBox(QWidget *box, const QString &text);

    NameRules::ParamChecks checks() const;
    QString Imposta_Nome() const;
    QString Imposta_NomeAdv() const;
    QString ruleName() const;
    void Imposta_Tag(const QString &name);
    void Imposta_TagAdv(const QString &name, const QString &tmpl);
    void showRuleResult();

    bool refuseNonLatin1();
    void writeMp3Tag();
    void saveRuleSettings();

    std::unique_ptr<Ui::frmTagInfo> m_ui;
    TagEditorParts m_parts;
    AppState &s;
    std::array<QFrame *, NameRules::ParamCount> m_rows {};
    std::array<QCheckBox *, NameRules::ParamCount> m_checks {};
    NameRules::ParamTexts m_values;
    NameRules::ParamPositions m_positions {1, 2, 3, 4, 5, 6};
    QString OpenedName;
    int m_selectedParam = 1;
    bool FieldsReady = false;
    bool RowsReady = false;
    bool m_fixingYear = false;
};

// The real editor, modal over the window.
class QtTagEditor : public TagEditorService
{
public:
    QtTagEditor(const TagEditorParts &parts, QWidget *owner)
        : m_parts(parts)
        , m_owner(owner)
    {
    }
    bool editTagInfo() override;

private:
    TagEditorParts m_parts;
    QWidget *m_owner;
};
