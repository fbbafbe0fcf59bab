#pragma once

// The counter speaks Chinese whatever the machine it runs on is set to: dates and weekday
// names ("12-10 周四", "星期四"), the calendar and Qt's own dialogs read as a Chinese store
// expects. Call before the application object is made.
void useChineseLocale();
