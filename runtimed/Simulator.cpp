#include "Simulator.h"

#include "TagDatabase.h"
#include "ValueConverter.h"

#include <QRandomGenerator>

#include <cmath>
#include <numbers>

namespace {

double Phase(double seconds, double period)
{
    return std::fmod(seconds, period) / period;
}

double NextValue(const Tag& tag, double seconds)
{
    const double span = tag.maximum - tag.minimum;
    const double current = tag.value.AsReal();
    switch (tag.simulation) {
    case SimulationKind::Ramp: return tag.minimum + span * Phase(seconds, tag.periodSeconds);
    case SimulationKind::Sine:
        return tag.minimum + span * (0.5 + 0.5 * std::sin(2.0 * std::numbers::pi * Phase(seconds, tag.periodSeconds)));
    case SimulationKind::Square: return Phase(seconds, tag.periodSeconds) < 0.5 ? tag.minimum : tag.maximum;
    case SimulationKind::Random: {
        const double step = span / 50.0 * (QRandomGenerator::global()->generateDouble() * 2.0 - 1.0);
        return std::clamp(current + step, tag.minimum, tag.maximum);
    }
    case SimulationKind::Counter: return current + 1.0 > tag.maximum ? tag.minimum : current + 1.0;
    default: return current;
    }
}

} // namespace

Simulator::Simulator(TagDatabase& tags, QObject* parent) : QObject(parent), m_tags(tags)
{
    connect(&m_timer, &QTimer::timeout, this, [this] { Step(static_cast<double>(m_clock.elapsed()) / 1000.0); });
}

void Simulator::Start()
{
    m_clock.start();
    m_timer.start(kTickMs);
}

void Simulator::Step(double seconds)
{
    for (int id = 0; id < m_tags.Count(); ++id) {
        const Tag& tag = *m_tags.Get(id);
        if (tag.simulation == SimulationKind::None)
            continue;
        RuntimeValue next;
        // In the tag's type: a Boolean square wave is off (min) for the first half period.
        if (ValueConverter::Convert(RuntimeValue::FromReal(NextValue(tag, seconds)), tag.type, next))
            m_tags.Update(id, next);
    }
}
