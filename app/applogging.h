#pragma once

#include <QLoggingCategory>

// The application shell's own lines (message boxes, start-up).
Q_DECLARE_LOGGING_CATEGORY(lcApp)
// What the screens write with console.log and friends without a category of their own (an
// area's category from the Logs singleton carries its own name).
Q_DECLARE_LOGGING_CATEGORY(lcScreens)

// Routes the screens' console output through lcScreens, so it can be filtered like every
// other subsystem ("brenvo.screens.debug=false"). Install once, before the screens load.
void installScreenLogging();
