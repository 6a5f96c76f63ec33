#pragma once
// One conversion run's own record, taken when the user starts it: the files in list order with
// their types, what becomes of each, the user's answer about existing outputs, and the outputs
// the run has claimed. Nothing the window does afterwards (clicks, marks, sorting, a refresh,
// another folder, the lists the run itself updates) changes it. Plain rules, no widgets.

#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

class ConversionRun
{
public:
    struct Options
    {
        bool createWma = true; // "Create WM Audio8"
        bool createWav = false; // "Create Wave" (MP3 sources)
        bool tagOnly = false; // every file passes through the tag editor, nothing is converted
        // The run is on one file (the current one, marked alone or not at all, or a path): it
        // converts that file whatever its type, a WMA included.
        bool oneFile = false;
    };

    enum class State {
        Waiting,
        PassedOver, // the run has nothing to make of it (a marked WMA, a WAV without WMA output)
        InFlight, // planned and handed to the helpers
        Converted,
        Skipped, // by the user's answer about its existing output
        Failed,
    };

    struct File
    {
        QString path;
        QString type; // "MP3", "WAV" or "WMA"
        State state = State::Waiting;
    };

    // What to do with the outputs a file is about to write.
    enum class Check {
        Free, // none exists: convert
        Replace, // the user said Yes for the run: convert, the finished file takes the name
        Keep, // the user said No for the run: skip the file
        AskRun, // the first existing output of a run of several files: ask once for all
        AskFile, // ask about this file alone
    };

    ConversionRun(const QStringList &paths, const Options &options);

    const std::vector<File> &files() const { return m_files; }
    const Options &options() const { return m_options; }

    // The files the run converts (or, in a tag-only run, edits), and those finished or skipped.
    int count() const;
    int done() const;
    // True when the run takes several files: existing outputs are then asked about once.
    bool severalFiles() const { return count() > 1; }

    // The next waiting file, now in flight; -1 when none is left.
    int takeNext();
    // How many files the run has taken so far (the one just taken included).
    int taken() const { return m_taken; }

    // outputs: the final paths the file will write. Looks at the disk and at what earlier files
    // of this run claimed: two files of one run never write one output silently.
    Check checkOutputs(const QStringList &outputs) const;
    // The answer to the question for the whole run: Yes replaces, No keeps existing outputs.
    void answerRun(bool replace);
    // The file will write these outputs.
    void claim(const QStringList &outputs);

    void finish(int index, State state);
    // True when every file was converted, passed over or skipped by the user's answer.
    bool completed() const;

private:
    Options m_options;
    std::vector<File> m_files;
    QSet<QString> m_claimed;
    int m_taken = 0;
    enum class Answer { None, Replace, Keep } m_answer = Answer::None;
};
