#pragma once
// Conversions between the sync date record and the calendar, the way the
// platform converts OLE Automation dates.

#include "common/SettingsFormats.h"

#include <ctime>

// The record's calendar date; all fields -1 when its status is not valid or
// its date cannot be converted.
CalendarDate CalendarDateOf(const SyncDateRecord& record);

// A record of the given local time, whole seconds. Its status is valid only
// when converting the date back gives the same six fields.
SyncDateRecord MakeSyncDateRecord(const std::tm& local);
