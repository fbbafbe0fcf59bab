#pragma once

#include <QMap>
#include <QString>

// Counts the warnings the program writes (Qt's warnings and critical messages, QML's
// TypeErrors among them) from the moment it is installed, keeping how often each distinct
// text came. Nothing is printed, so the table stays readable, unless `echo` is set: then
// every line goes on to the handler that was installed before.
namespace MessageCounter {

struct Counts
{
    int warnings = 0;
    int typeErrors = 0;
    // Text (with its source line) -> how many times it came.
    QMap<QString, int> texts;
};

void install(bool echo);
// The counts since the last take, and a fresh start.
Counts take();

} // namespace MessageCounter
