#pragma once
// The one conversion between the 8-bit Windows-1252 names stored in the simulator's files and
// Qt's Unicode strings. Names stay 8-bit everywhere in the model; they cross into QString only at
// the widget and tool edges (and for locale-aware comparison), always through these two functions.

#include <QString>
#include <string>

QString AnsiToQString(const std::string& ansi);
// Characters that Windows-1252 cannot hold become '?', as the Windows conversion does.
std::string QStringToAnsi(const QString& text);
