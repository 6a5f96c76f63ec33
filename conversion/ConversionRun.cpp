#include "conversion/ConversionRun.h"

#include "core/PathHelpers.h"

#include <QFileInfo>

#include <algorithm>

namespace {

bool passedOver(const QString &type, const ConversionRun::Options &options)
{
    if (options.tagOnly)
        return false;
    if (type == QLatin1String("MP3"))
        return !options.createWma && !options.createWav;
    if (type == QLatin1String("WAV"))
        return !options.createWma;
    if (type == QLatin1String("WMA"))
        return !options.oneFile || !options.createWma;
    return true;
}

} // namespace

ConversionRun::ConversionRun(const QStringList &paths, const Options &options)
    : m_options(options)
{
    m_files.reserve(size_t(paths.size()));
    for (const QString &path : paths) {
        File file {path, FileTypeOf(path)};
        if (passedOver(file.type, options))
            file.state = State::PassedOver;
        m_files.push_back(file);
    }
}

int ConversionRun::count() const
{
    return int(std::count_if(m_files.begin(), m_files.end(),
        [](const File &file) { return file.state != State::PassedOver; }));
}

int ConversionRun::done() const
{
    return int(std::count_if(m_files.begin(), m_files.end(), [](const File &file) {
        return file.state == State::Converted || file.state == State::Skipped
            || file.state == State::Failed;
    }));
}

int ConversionRun::takeNext()
{
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (m_files[i].state == State::Waiting) {
            m_files[i].state = State::InFlight;
            ++m_taken;
            return int(i);
        }
    }
    return -1;
}

ConversionRun::Check ConversionRun::checkOutputs(const QStringList &outputs) const
{
    bool claimed = false, exists = false;
    for (const QString &output : outputs) {
        claimed = claimed || m_claimed.contains(output);
        exists = exists || QFileInfo::exists(output) || QFileInfo(output).isSymLink();
    }
    if (!claimed && !exists)
        return Check::Free;
    if (!severalFiles())
        return Check::AskFile;
    if (m_answer == Answer::Keep)
        return Check::Keep;
    // An output an earlier file of this run writes: the Yes for the run was about the files
    // there before it, so this one is asked about by itself.
    if (claimed)
        return Check::AskFile;
    if (m_answer == Answer::Replace)
        return Check::Replace;
    return Check::AskRun;
}

void ConversionRun::answerRun(bool replace)
{
    m_answer = replace ? Answer::Replace : Answer::Keep;
}

void ConversionRun::claim(const QStringList &outputs)
{
    for (const QString &output : outputs)
        m_claimed.insert(output);
}

void ConversionRun::finish(int index, State state)
{
    if (index >= 0 && size_t(index) < m_files.size())
        m_files[size_t(index)].state = state;
}

bool ConversionRun::completed() const
{
    return std::all_of(m_files.begin(), m_files.end(), [](const File &file) {
        return file.state == State::Converted || file.state == State::Skipped
            || file.state == State::PassedOver;
    });
}
