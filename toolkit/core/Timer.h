#pragma once
// Wall-clock timing of the steps the toolkit reports durations for, on the performance counter.

namespace QEL {

// Ticks of the performance counter since the first Timer of the process was made.
double GetTicksSinceBase();

class Timer {
public:
    // Starts now. The first timer of the process also fixes the counter's frequency and base.
    Timer();
    // Seconds since construction; never negative, never decreasing.
    double GetElapsedSeconds() const;

private:
    double m_start;
};

}  // namespace QEL
