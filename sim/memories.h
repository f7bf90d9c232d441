// The register's raw memories as the dump requests "F" and "Y" read them, and the daily records
// that fill the fiscal memory of the demo shop.
#pragma once

#include "memory.h"

namespace qov::sim {

// Appends a daily record for every day the shop was open (Monday to Saturday, not on the
// public holidays) from `first` up to the day before `end`, numbered on from the records the
// fiscal memory holds, with plausible receipt counts and totals drawn from `seed`. Stops when
// the fiscal memory is full. Returns the number of records written.
int writeDailyHistory(Memory& memory, const Date& first, const Date& end, unsigned seed);

// The date `days` days after `date` (before it for a negative number).
Date addDays(const Date& date, int days);

}  // namespace qov::sim
