#pragma once

#include <QString>

class TRpx2Data;
class Prompts;

// Order numbers: the year, "-", a counter of at least five digits ("2026-00042"; a counter
// past 99999 is written in full, "2026-100000").
namespace OrderNumbering {
constexpr int MaxCounter = 999999999;

// The counter part of a number: the digits after the first "-"; 0 when unreadable.
int CounterOf(const QString &orderId);
QString Format(int year, int counter);

// The larger of MaxOrderID and the highest counter among this year's numbers.
int GetCounterBase(TRpx2Data &data);
// The number for the next new order; changes nothing. Throws RpxError when the counter
// has reached MaxCounter (also a hand-edited MaxOrderID far beyond it).
QString NewOrderID(TRpx2Data &data);
// Throws the RpxError that says the year's numbers are used up at this counter.
[[noreturn]] void RefuseExhausted(int year, int counter);
// Raises MaxOrderID to the larger of the stored number's counter and GetCounterBase.
void UpdateCounter(TRpx2Data &data, const QString &storedOrderId);
void ResetOrderCounter(TRpx2Data &data);
// The start-up check: with ResetCounter set and no order of this year yet, tells the user
// and restarts the counter at 0.
void CheckCounterReset(TRpx2Data &data, Prompts &prompts);
} // namespace OrderNumbering
