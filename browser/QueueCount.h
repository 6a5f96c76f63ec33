#pragma once
// How many files a conversion would take from the input list, and which output options the
// marked files call for. Marked WAV files count when WMA output is ticked; marked MP3 files
// count when either output is ticked; a WMA counts only as the one file of a run (the current
// file, marked alone or not at all).

#include <QString>
#include <vector>

struct QueueEntry
{
    QString path;
    bool marked = false;
};

struct QueueCounting
{
    int count = 0; // QueueCount
    bool enableWma = false; // a counted WAV asks for chkWMA
    bool enableWav = false; // a counted MP3 asks for chkWAV
};

// wmaTicked / wavTicked: chkWMA and chkWAV. currentPath: the current entry's path, counted
// alone when nothing is marked.
QueueCounting CountQueue(const std::vector<QueueEntry> &entries, bool wmaTicked, bool wavTicked,
    const QString &currentPath);

// The Lab2 text: "2 - Select files to be converted   (3/12)".
QString QueueLabel(const QString &caption, int count, int entries);
