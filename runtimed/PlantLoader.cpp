#include "PlantLoader.h"

#include "LineTokenizer.h"
#include "TagDatabase.h"
#include "TextFile.h"
#include "ValueConverter.h"
#include "toolkit/protocol/TagName.h"

#include <QHash>

#include <cmath>

namespace {

bool ParseType(const QString& s, RuntimeValue::Type& type)
{
    static const QHash<QString, RuntimeValue::Type> kTypes = {
        {"bool", RuntimeValue::Type::Bool},
        {"int", RuntimeValue::Type::Int},
        {"real", RuntimeValue::Type::Real},
        {"string", RuntimeValue::Type::String},
    };
    const auto it = kTypes.find(s.toLower());
    if (it == kTypes.end())
        return false;
    type = it.value();
    return true;
}

bool ParseSimulation(const QString& s, SimulationKind& kind)
{
    static const QHash<QString, SimulationKind> kKinds = {
        {"ramp", SimulationKind::Ramp},       {"sine", SimulationKind::Sine},
        {"random", SimulationKind::Random},   {"counter", SimulationKind::Counter},
        {"square", SimulationKind::Square},
    };
    const auto it = kKinds.find(s.toLower());
    if (it == kKinds.end())
        return false;
    kind = it.value();
    return true;
}

bool ParseNumber(const QString& s, double& out)
{
    bool ok = false;
    out = s.toDouble(&ok);
    return ok && std::isfinite(out);
}

// Applies one key=value option; returns an empty string or the problem.
QString ApplyOption(const QString& key, const QString& value, Tag& tag)
{
    double number = 0.0;
    if (key == "sim")
        return ParseSimulation(value, tag.simulation) ? QString() : QStringLiteral("unknown simulation '%1'").arg(value);
    if (!ParseNumber(value, number))
        return QStringLiteral("'%1' is not a number").arg(value);
    if (key == "min")
        tag.minimum = number;
    else if (key == "max")
        tag.maximum = number;
    else if (key == "period")
        tag.periodSeconds = number;
    else if (key == "quality") {
        if (number < 0 || number > 65535 || number != std::floor(number))
            return QStringLiteral("quality must be an integer from 0 to 65535");
        tag.quality = static_cast<std::uint16_t>(number);
    } else
        return QStringLiteral("unknown option '%1'").arg(key);
    return {};
}

QString CheckSimulation(const Tag& tag)
{
    if (tag.simulation == SimulationKind::None)
        return {};
    if (tag.type == RuntimeValue::Type::String)
        return QStringLiteral("a string tag cannot be simulated");
    if (!(tag.minimum < tag.maximum))
        return QStringLiteral("min must be less than max");
    if (!(tag.periodSeconds >= 0.1))
        return QStringLiteral("period must be at least 0.1 seconds");
    return {};
}

// NAME TYPE ACCESS VALUE [key=value ...]
QString ParseLine(const QStringList& fields, Tag& tag)
{
    if (fields.size() < 4)
        return QStringLiteral("expected: name type access value [options]");
    tag.name = fields[0];
    if (!TagName::IsValid(tag.name))
        return QStringLiteral("'%1' is not a valid tag name").arg(tag.name);
    if (!ParseType(fields[1], tag.type))
        return QStringLiteral("unknown type '%1'").arg(fields[1]);
    const QString access = fields[2].toLower();
    if (access != "ro" && access != "rw")
        return QStringLiteral("access must be ro or rw");
    tag.writable = access == "rw";
    if (!ValueConverter::FromText(fields[3], tag.type, tag.value))
        return QStringLiteral("'%1' is not a valid %2").arg(fields[3], RuntimeValue::TypeName(tag.type));
    for (qsizetype i = 4; i < fields.size(); ++i) {
        const qsizetype eq = fields[i].indexOf('=');
        if (eq <= 0)
            return QStringLiteral("expected key=value, got '%1'").arg(fields[i]);
        const QString problem = ApplyOption(fields[i].left(eq).toLower(), fields[i].mid(eq + 1), tag);
        if (!problem.isEmpty())
            return problem;
    }
    return CheckSimulation(tag);
}

} // namespace

bool PlantLoader::LoadText(const QString& text, TagDatabase& tags, QString& error)
{
    return LoadLines(TextFile::Lines(text), tags, error);
}

bool PlantLoader::LoadLines(const QStringList& lines, TagDatabase& tags, QString& error)
{
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QStringList fields;
        if (!LineTokenizer::Split(lines[n], fields)) {
            error = QStringLiteral("line %1: unterminated quote").arg(n + 1);
            return false;
        }
        if (fields.isEmpty())
            continue;
        Tag tag;
        QString problem = ParseLine(fields, tag);
        if (problem.isEmpty() && tags.Count() >= kMaxTags)
            problem = QStringLiteral("more than %1 tags").arg(kMaxTags);
        if (problem.isEmpty() && !tags.Add(tag))
            problem = QStringLiteral("tag '%1' is declared twice").arg(tag.name);
        if (!problem.isEmpty()) {
            error = QStringLiteral("line %1: %2").arg(n + 1).arg(problem);
            return false;
        }
    }
    if (tags.Count() == 0) {
        error = QStringLiteral("the plant has no tags");
        return false;
    }
    return true;
}

bool PlantLoader::LoadFile(const QString& path, TagDatabase& tags, QString& error)
{
    QStringList lines;
    if (!TextFile::ReadLines(path, kMaxFileSize, lines, error))
        return false;
    if (!LoadLines(lines, tags, error)) {
        error = path + QStringLiteral(": ") + error;
        return false;
    }
    return true;
}
