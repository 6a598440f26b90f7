#pragma once
// What both programs of the tool do around their application object: Qt's messages kept off a
// failed command's one line on stderr, the command that the arguments name, and the status of its
// output.

namespace cli {

// Installs the filter of Qt's messages: before the application object, whose start may warn.
void FilterQtMessages();

// Runs the command that `argv` names, once the application object is made; the exit status.
int RunCommandLine(int argc, char** argv);

} // namespace cli
