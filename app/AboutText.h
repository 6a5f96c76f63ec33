#pragma once
// The text of the About box: product, version and the libraries in use, read at run time where
// the library can tell.

#include <QString>

QString AboutText();
