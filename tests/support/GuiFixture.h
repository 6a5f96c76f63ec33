#pragma once
// Support for widget tests: throwaway XDG folders per test, scripted platform services, and a
// watchdog that fails the test (instead of hanging) when a real modal dialog opens.

#include "ScopedEnv.h"
#include "core/Services.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <list>
#include <optional>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

// Message boxes: records every text and flag set; answers from a queue, else the default answer.
struct ScriptedMessageBox : MessageBoxService
{
    int show(const QString &text, int flags) override
    {
        texts << text;
        flags_ << flags;
        return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
    }
    QStringList texts;
    QList<int> flags_, answers;
    int defaultAnswer = 1;
};

struct ScriptedFolderPicker : FolderPickerService
{
    QString pickFolder(const QString &title, const QString &start) override
    {
        titles << title;
        starts << start;
        return answer;
    }
    QString answer;
    QStringList titles, starts;
};

struct ScriptedSoundDevice : SoundDeviceService
{
    bool hasAudioOutput() override { return present; }
    bool present = true;
};

struct ScriptedLanguageChooser : LanguageChooserService
{
    QString chooseLanguage(const QString &currentCode) override
    {
        ++calls;
        lastCurrent = currentCode;
        return answer;
    }
    QString answer = QStringLiteral("EN"), lastCurrent;
    int calls = 0;
};

// The rename box: records the names and places it was shown with, answers with answer.
struct ScriptedRenameBox : RenameBoxService
{
    QString askNewName(const QString &name, const QRect &place) override
    {
        shown << name;
        places << place;
        return answer;
    }
    QString answer;
    QStringList shown;
    QList<QRect> places;
};

// The "Save as" dialog: records the requests; chooses chosen (filter 1), cancels when chosen is
// empty, or fails with error when that is set.
struct ScriptedFileDialog : FileDialogService
{
    bool ShowOpen(FileDialogRequest &request) override
    {
        requests << request;
        request.Error = error;
        if (chosen.isEmpty() || !error.isEmpty())
            return false;
        request.FileName = chosen;
        request.FilterIndex = 1;
        return true;
    }
    QString chosen, error;
    QList<FileDialogRequest> requests;
};

// The machine's volumes, or the given list once a test sets one.
struct ScriptedVolumes : VolumeService
{
    QList<Volume> mountedVolumes() override
    {
        const QList<Volume> result = list ? *list : Volumes::current();
        if (afterNextCall)
            std::exchange(afterNextCall, nullptr)();
        return result;
    }
    std::optional<QList<Volume>> list;
    std::function<void()> afterNextCall; // runs once, after the next answer (a drive got ready)
};

class GuiFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "XDG_STATE_HOME"}) {
            const QString dir = m_root.filePath(QString::fromLatin1(name).toLower());
            QDir().mkpath(dir);
            QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            m_env.emplace_back(name, QFile::encodeName(dir));
        }
        services = {&messages, &folders, &sound, &languages, &volumes, &renameBox, &fileDialog};
        // A real modal dialog would block the test: fail and close it, unless a test asked to
        // handle it.
        m_watchdog.setInterval(50);
        QObject::connect(&m_watchdog, &QTimer::timeout, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (modal && m_expectModal) {
                std::exchange(m_expectModal, nullptr)(modal);
            } else if (modal) {
                ADD_FAILURE() << "unexpected modal dialog: " << modal->metaObject()->className()
                              << " " << modal->windowTitle().toStdString();
                if (auto *dialog = qobject_cast<QDialog *>(modal))
                    dialog->reject();
                else
                    modal->close();
            }
        });
        m_watchdog.start();
    }

    void TearDown() override { m_watchdog.stop(); }

    // The next modal dialog is expected; handler deals with it (e.g. sends it a key).
    void expectModal(std::function<void(QWidget *)> handler) { m_expectModal = std::move(handler); }
    bool modalHandled() const { return !m_expectModal; }

    QString path(const QString &relative) const { return m_root.filePath(relative); }
    QString runtimeDir() const { return path(QStringLiteral("xdg_runtime_dir")); }

    ScriptedMessageBox messages;
    ScriptedFolderPicker folders;
    ScriptedSoundDevice sound;
    ScriptedLanguageChooser languages;
    ScriptedVolumes volumes;
    ScriptedRenameBox renameBox;
    ScriptedFileDialog fileDialog;
    AppServices services;

private:
    QTemporaryDir m_root;
    std::list<ScopedEnv> m_env;
    QTimer m_watchdog;
    std::function<void(QWidget *)> m_expectModal;
};
