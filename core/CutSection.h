#pragma once
// The cut section of the current file: a start and a finish in milliseconds, 0 meaning "not
// set". A finish at or before the start means "from the start to the end of the file" for the
// conversion, but the section commands are only offered while the finish lies after the start
// or no finish is set.

class CutSection
{
public:
    double startMs() const { return m_startMs; }
    double endMs() const { return m_endMs; }
    void setStartMs(double ms) { m_startMs = ms; }
    void setEndMs(double ms) { m_endMs = ms; }
    void reset() { m_startMs = m_endMs = 0; }

    // A section the user can play or convert: a start or a finish is set, and a set finish
    // lies after the start. The one test behind every section command.
    bool isSet() const;

private:
    double m_startMs = 0;
    double m_endMs = 0;
};
