#pragma once
// Wall-clock timing of the steps the toolkit reports durations for, on the performance counter.

#include <string>

namespace QEL {

// Ticks of the performance counter since the first Timer of the process was made.
double GetTicksSinceBase();

class Timer {
public:
    // Starts now. The first timer of the process also fixes the counter's frequency and base.
    Timer();
    // Seconds since construction; never negative, never decreasing.
    double GetElapsedSeconds() const;
    // Adds the seconds since construction to the process-wide timed total: the time spent
    // answering the closed libraries' callbacks.
    void AddElapsedToTotal() const;
    // Seconds accumulated by AddElapsedToTotal since the process started.
    static double GetTotal();

private:
    double m_start;
};

// Marks one step of a closed-library call by a category and a label; it prints nothing and
// stopping it changes nothing the callers rely on. The step's timing is read with a Timer.
class ScopedTimer {
public:
    ScopedTimer(int category, std::string label);
    ScopedTimer(const ScopedTimer&) = delete;
    ScopedTimer& operator=(const ScopedTimer&) = delete;

    void Stop();
    int GetCategory() const { return m_category; }
    const std::string& GetLabel() const { return m_label; }
    // The process-wide timed total when the step began.
    double GetTotalAtStart() const { return m_totalAtStart; }

private:
    int m_category;
    std::string m_label;
    double m_startTick;
    double m_stopTick;
    double m_totalAtStart;
};

// Times one callback into the process-wide total, however the callback returns.
class CallbackTimer {
public:
    CallbackTimer() = default;
    ~CallbackTimer() { m_timer.AddElapsedToTotal(); }
    CallbackTimer(const CallbackTimer&) = delete;
    CallbackTimer& operator=(const CallbackTimer&) = delete;

private:
    Timer m_timer;
};

// The plain function f as a callback that adds its own running time to the process-wide total:
// what the toolkit registers with the closed libraries in place of f itself.
template <auto f>
struct TimedCallback;
template <typename R, typename... A, R (*f)(A...)>
struct TimedCallback<f> {
    static R Call(A... arguments)
    {
        const CallbackTimer timed;
        return f(arguments...);
    }
};

}  // namespace QEL
