#pragma once

#include <QLoggingCategory>

// Backend traffic, signing and reply reading.
Q_DECLARE_LOGGING_CATEGORY(lcNet)
