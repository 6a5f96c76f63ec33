#pragma once
// The language chooser: two buttons, English and Italian. Closing it (Esc, the window's close
// button) without a choice keeps the current language; at the first start, with none yet, that
// gives English.

#include <QDialog>
#include <memory>

namespace Ui {
class TechLan;
}

class TechLan : public QDialog
{
    Q_OBJECT

public:
    // currentCode: the language in use ("" at the first start). Its button has the focus and
    // is the default, so Return takes it.
    explicit TechLan(const QString &currentCode, QWidget *parent = nullptr);
    ~TechLan() override;

    QString languageCode() const { return m_code; }
    Ui::TechLan &ui() { return *m_ui; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void choose(const QString &code);

    std::unique_ptr<Ui::TechLan> m_ui;
    QString m_code;
};
