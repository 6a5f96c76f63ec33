#pragma once
// The input and output lists as a conversion run sees them: the files it takes at its start,
// the file it plans shown as current, its marks taken off at the end, and the files it makes
// listed. Found by path, never by row, so that the lists may change under a run.

#include "core/BrowserAccess.h"

class InputList;
class OutputList;
class QAbstractButton;
class QListWidget;
struct AppState;

class RunListAccess : public BrowserAccess
{
public:
    RunListAccess(QListWidget &ListInput, QListWidget &ListOutput, QAbstractButton &chkAll,
        AppState &state, InputList &input, OutputList &output);

    QStringList markedPaths() const override;
    QString currentPath() const override;
    void showFile(const QString &path) override;
    void refreshCurrent() override;
    void unmark(const QStringList &paths) override;
    void clearOutputList() override;
    void addOutputFile(const QString &path) override;
    void addInputFile(const QString &path) override;

private:
    QListWidget &ListInput;
    QListWidget &ListOutput;
    QAbstractButton &chkAll;
    AppState &s;
    InputList &m_input;
    OutputList &m_output;
};
