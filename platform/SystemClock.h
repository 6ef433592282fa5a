#pragma once

// The local time of day in seconds, with the milliseconds as the fraction: 0 <= t < 86400.
double SecondsSinceMidnight();
