#pragma once
// The language chooser: two buttons, English and Italian. It starts at "EN", so closing it
// (Esc, the window's close button) without a choice gives English.

#include <QDialog>
#include <memory>

namespace Ui {
class TechLan;
}

class TechLan : public QDialog
{
    Q_OBJECT

public:
    // currentCode only decides which button has the focus when the window opens.
    explicit TechLan(const QString &currentCode, QWidget *parent = nullptr);
    ~TechLan() override;

    QString languageCode() const { return m_code; }
    Ui::TechLan &ui() { return *m_ui; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void choose(const QString &code);

    std::unique_ptr<Ui::TechLan> m_ui;
    QString m_code = QStringLiteral("EN");
    QString m_focusCode;
};
