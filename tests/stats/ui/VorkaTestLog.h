#pragma once
// Builds online-time logs for the statistics window tests.

#include "stats/VorkaOMatic.h"

#include <cmath>

inline void AddConnection(TVorkaOMatic& log, const char* host, const char* start, const char* end)
{
    TVorkaOMaticLog e;
    e.Host = host;
    DateTime::strToDateTime(start, e.StartTime);
    DateTime::strToDateTime(end, e.EndTime);
    e.Date = std::floor(e.StartTime);
    log.AddEntry(e);
    log.FModified = false;
}
