#pragma once
// The real main window, started as the program starts it: settings written first, then
// MainWindow and AppShell::start, with the scripted services of GuiFixture; a "music" folder to
// start in, and the real helper programs (or stand-ins) beside the program.

#include "AppShell.h"
#include "GuiFixture.h"
#include "MainWindow.h"
#include "browser/ListLine.h"
#include "conversion/ConversionQueue.h"
#include "core/AppState.h"
#include "core/Settings.h"
#include "ui_frmMain.h"

#include <QAccessible>
#include <QFile>
#include <QTest>

#include <memory>

inline void writeFile(const QString &path, const QByteArray &bytes = "x")
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        << path.toStdString();
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The controls shown under root that a user can operate but a screen reader cannot name (a
// scroll area's own bars and a drop-down box's field are named with their holder).
inline QStringList namelessControls(QWidget *root)
{
    const QSet<QAccessible::Role> operable = {QAccessible::PushButton, QAccessible::CheckBox,
        QAccessible::RadioButton, QAccessible::ComboBox, QAccessible::List, QAccessible::Tree,
        QAccessible::Table, QAccessible::EditableText, QAccessible::ScrollBar, QAccessible::Slider,
        QAccessible::SpinBox, QAccessible::PageTab};
    QStringList found;
    for (QWidget *widget : root->findChildren<QWidget *>()) {
        QAccessibleInterface *control = QAccessible::queryAccessibleInterface(widget);
        if (control && widget->isVisible() && operable.contains(control->role())
            && control->text(QAccessible::Name).trimmed().isEmpty()
            && !widget->parentWidget()->inherits("QComboBox")
            && !widget->parentWidget()->parentWidget()->inherits("QAbstractScrollArea"))
            found << widget->objectName() + " " + widget->metaObject()->className();
    }
    return found;
}

class WindowFixture : public GuiFixture
{
protected:
    static constexpr int Yes = 6, No = 7, Cancel = 2; // a message box's answers

    void SetUp() override
    {
        GuiFixture::SetUp();
        appFolder = path(QStringLiteral("app"));
        music = path(QStringLiteral("music"));
        QDir().mkpath(appFolder);
        QDir().mkpath(music);
    }

    void TearDown() override
    {
        closeWindow();
        GuiFixture::TearDown();
    }

    // Values in the settings store before the start.
    void storeSettings(const QList<std::pair<QString, QString>> &values,
        const QString &section = QStringLiteral("UserDef"))
    {
        Settings s;
        for (const auto &[key, value] : values)
            s.setText(section, key, value);
        s.sync();
    }

    // A start of the program, with a fresh state as a new process has.
    bool start(const QStringList &arguments = {})
    {
        closeWindow();
        state = AppState();
        settings = std::make_unique<Settings>();
        window = std::make_unique<MainWindow>(state, *settings, services);
        shell = new AppShell(*window, appFolder);
        return shell->start(arguments);
    }

    // An English user's start in the music folder on this entry of the type box, WMA output on.
    void startIn(int typeIndex, const QList<std::pair<QString, QString>> &more = {})
    {
        closeWindow();
        storeSettings({{"Language", "EN"}, {"Path", music}, {"iTyp", QString::number(typeIndex)}});
        storeSettings(more);
        ASSERT_TRUE(start());
        ui().chkWMA->setChecked(true);
    }

    void closeWindow()
    {
        if (window)
            window->close();
        window.reset(); // its shutdown stores its own settings
    }

    Ui::frmMain &ui() const { return window->ui(); }

    // The file names the input list shows, in its order.
    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < ui().ListInput->count(); ++row)
            names << ListLine::fileNameOf(PathOfItem(ui().ListInput->item(row)));
        return names;
    }

    // A click on the file's entry: it alone is marked and current.
    void select(const QString &name)
    {
        const qsizetype row = listed().indexOf(name);
        ASSERT_GE(row, 0) << name.toStdString() << " not in " << listed().join(", ").toStdString();
        ui().ListInput->setCurrentRow(int(row), QItemSelectionModel::ClearAndSelect);
    }

    bool waitForTheRun(int ms = 60000)
    {
        return QTest::qWaitFor(
            [this] { return !window->conversion().isBusy() && !ui().cmdHalt->isVisible(); }, ms);
    }

    // The real decoder and encoder beside the program, as installed.
    void linkHelpers()
    {
        for (const char *helper : {"tnvr3w", "wm8eutil"}) {
            QFile::remove(appFolder + '/' + helper);
            QFile::link(QStringLiteral(TONVERA_BIN_DIR "/") + helper, appFolder + '/' + helper);
        }
    }

    // A shell script in place of a helper program.
    void standIn(const char *helper, const QByteArray &script)
    {
        const QString file = appFolder + '/' + helper;
        QFile::remove(file);
        writeFile(file, "#!/bin/sh\n" + script + "\n");
        QFile::setPermissions(file, QFile::permissions(file) | QFile::ExeOwner);
    }

    QString appFolder, music;
    AppState state;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<MainWindow> window;
    AppShell *shell = nullptr;
};
