#pragma once

#include <QLoggingCategory>

// Local files, machine information and card readers.
Q_DECLARE_LOGGING_CATEGORY(lcDevice)
