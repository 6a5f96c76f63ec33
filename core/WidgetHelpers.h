#pragma once
// Small helpers every controller uses: the hourglass around long handlers, letting pending
// window events run, and long texts cut to the width of their label.

#include <QApplication>

class QLabel;
class QString;

namespace WidgetHelpers {

inline void pumpEvents()
{
    QCoreApplication::processEvents();
}

// The hourglass for the life of a handler, restored on every way out.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace WidgetHelpers
