#pragma once
// Names and numbers taken from files end up in messages, labels and the tool's stderr. A file may
// hold a name of megabytes: a message shows at most a line's worth of it, so that a hostile or
// broken file cannot freeze a label's layout or flood a terminal.

#include <QString>
#include <QStringView>

namespace MessageText {

constexpr qsizetype LongestShown = 80; // characters of one name or number in a message

// The text itself when it fits in `most` characters; else its first `most - 1` characters and "…"
// (never splitting a surrogate pair).
QString Shortened(QStringView text, qsizetype most = LongestShown);

} // namespace MessageText
