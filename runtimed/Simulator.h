#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class TagDatabase;

// Moves the simulated tags: ramp, sine and square wave follow the time since
// start; random walk and counter take one step per tick.
class Simulator : public QObject
{
    Q_OBJECT
public:
    explicit Simulator(TagDatabase& tags, QObject* parent = nullptr);

    void Start();
    // One update as if `seconds` had passed since start; the timer calls it.
    void Step(double seconds);

    static constexpr int kTickMs = 250;

private:
    TagDatabase& m_tags;
    QTimer m_timer;
    QElapsedTimer m_clock;
};
