#include "PlantLoader.h"

#include "LineTokenizer.h"
#include "TagDatabase.h"
#include "TextFile.h"
#include "ValueConverter.h"
#include "devices/DeviceQuality.h"
#include "devices/ModbusTcpDevice.h"
#include "toolkit/protocol/TagName.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
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
        {"ramp", SimulationKind::Ramp},       {"sine", SimulationKind::Sine},     {"random", SimulationKind::Random},
        {"counter", SimulationKind::Counter}, {"square", SimulationKind::Square},
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
        return ParseSimulation(value, tag.simulation) ? QString()
                                                      : QStringLiteral("unknown simulation '%1'").arg(value);
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

bool ParseInteger(const QString& s, int low, int high, int& out)
{
    bool ok = false;
    const qlonglong n = s.toLongLong(&ok);
    if (!ok || n < low || n > high)
        return false;
    out = static_cast<int>(n);
    return true;
}

template <typename T> bool Lookup(const QHash<QString, T>& table, const QString& s, T& out)
{
    const auto it = table.find(s.toLower());
    if (it == table.end())
        return false;
    out = it.value();
    return true;
}

// The keys that bind a tag to a device's point.
const QStringList& BindingKeys()
{
    static const QStringList kKeys = {"device", "table", "address", "format", "order", "scale", "offset"};
    return kKeys;
}

QString ApplyBinding(const QString& key, const QString& value, const TagDatabase& tags, Tag& tag)
{
    static const QHash<QString, ModbusPoint::Table> kTables = {
        {"coil", ModbusPoint::Table::Coil},
        {"discrete", ModbusPoint::Table::Discrete},
        {"input", ModbusPoint::Table::Input},
        {"holding", ModbusPoint::Table::Holding},
    };
    static const QHash<QString, ModbusPoint::Format> kFormats = {
        {"int16", ModbusPoint::Format::Int16},     {"uint16", ModbusPoint::Format::UInt16},
        {"int32", ModbusPoint::Format::Int32},     {"uint32", ModbusPoint::Format::UInt32},
        {"float32", ModbusPoint::Format::Float32},
    };
    static const QHash<QString, bool> kOrders = {{"big", false}, {"swapped", true}};
    ModbusPoint& p = tag.point;
    if (key == "device") {
        tag.device = tags.FindDevice(value);
        return tag.device >= 0 ? QString() : QStringLiteral("unknown device '%1'").arg(value);
    }
    if (key == "table")
        return Lookup(kTables, value, p.table) ? QString() : QStringLiteral("unknown table '%1'").arg(value);
    if (key == "address")
        return ParseInteger(value, 0, 65535, p.address) ? QString()
                                                        : QStringLiteral("address must be an integer from 0 to 65535");
    if (key == "format")
        return Lookup(kFormats, value, p.format) ? QString() : QStringLiteral("unknown format '%1'").arg(value);
    if (key == "order")
        return Lookup(kOrders, value, p.swapped) ? QString() : QStringLiteral("order must be big or swapped");
    double& number = key == "scale" ? p.scale : p.offset;
    if (!ParseNumber(value, number))
        return QStringLiteral("'%1' is not a number").arg(value);
    return key == "scale" && number == 0.0 ? QStringLiteral("scale must not be 0") : QString();
}

// `given` holds the binding keys the line named.
QString CheckBinding(const Tag& tag, const QSet<QString>& given)
{
    if (given.isEmpty())
        return {};
    if (!given.contains("device")) {
        const auto first = std::find_if(BindingKeys().cbegin(), BindingKeys().cend(),
                                        [&given](const QString& key) { return given.contains(key); });
        return QStringLiteral("'%1' needs device=").arg(*first);
    }
    if (!given.contains("table") || !given.contains("address"))
        return QStringLiteral("a device tag needs table= and address=");
    if (tag.simulation != SimulationKind::None)
        return QStringLiteral("a device tag cannot be simulated");
    const ModbusPoint& p = tag.point;
    const bool bit = p.IsBit();
    if (bit && tag.type != RuntimeValue::Type::Bool)
        return QStringLiteral("coil and discrete tags are bool");
    if (!bit && tag.type != RuntimeValue::Type::Int && tag.type != RuntimeValue::Type::Real)
        return QStringLiteral("register tags are int or real");
    if (tag.writable && (p.table == ModbusPoint::Table::Discrete || p.table == ModbusPoint::Table::Input))
        return QStringLiteral("discrete and input tags are read-only");
    const bool registerKeys = given.contains("format") || given.contains("order");
    const bool realKeys = given.contains("scale") || given.contains("offset");
    if (bit && (registerKeys || realKeys))
        return QStringLiteral("format, order, scale and offset are for register tags");
    if (tag.type != RuntimeValue::Type::Real && (realKeys || p.format == ModbusPoint::Format::Float32))
        return QStringLiteral("scale, offset and float32 need a real tag");
    if (p.address + p.Width() - 1 > 65535)
        return QStringLiteral("the registers of address %1 run past 65535").arg(p.address);
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

// KEY=VALUE, the key in lower case; false without a key.
bool SplitOption(const QString& field, QString& key, QString& value)
{
    const qsizetype eq = field.indexOf('=');
    if (eq <= 0)
        return false;
    key = field.left(eq).toLower();
    value = field.mid(eq + 1);
    return true;
}

// NAME TYPE ACCESS VALUE [key=value ...]
QString ParseTag(const QStringList& fields, const TagDatabase& tags, Tag& tag)
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
    QSet<QString> binding;
    bool fixedQuality = false;
    for (qsizetype i = 4; i < fields.size(); ++i) {
        QString key;
        QString value;
        if (!SplitOption(fields[i], key, value))
            return QStringLiteral("expected key=value, got '%1'").arg(fields[i]);
        const bool bound = BindingKeys().contains(key);
        if (bound)
            binding.insert(key);
        fixedQuality = fixedQuality || key == "quality";
        const QString problem = bound ? ApplyBinding(key, value, tags, tag) : ApplyOption(key, value, tag);
        if (!problem.isEmpty())
            return problem;
    }
    if (tag.device >= 0 && fixedQuality)
        return QStringLiteral("a device tag's quality comes from the device");
    if (tag.device >= 0)
        tag.quality = DeviceQuality::kNotRead;
    const QString problem = CheckBinding(tag, binding);
    return problem.isEmpty() ? CheckSimulation(tag) : problem;
}

// HOST:PORT, with an IPv6 address in brackets.
bool ParseEndpoint(const QString& text, ModbusTcpSettings& settings)
{
    const qsizetype colon = text.lastIndexOf(':');
    if (colon <= 0 || !ParseInteger(text.mid(colon + 1), 1, 65535, settings.port))
        return false;
    settings.host = text.left(colon);
    if (settings.host.startsWith('[') && settings.host.endsWith(']'))
        settings.host = settings.host.mid(1, settings.host.size() - 2);
    // A DNS name is at most 253 characters.
    return !settings.host.isEmpty() && settings.host.size() <= 253 &&
           !settings.host.contains(QRegularExpression(QStringLiteral("[\\s\\[\\]/]")));
}

QString ApplyDeviceOption(const QString& key, const QString& value, ModbusTcpSettings& settings)
{
    if (key == "unit")
        return ParseInteger(value, 0, 255, settings.unit) ? QString()
                                                          : QStringLiteral("unit must be an integer from 0 to 255");
    double& seconds = key == "poll" ? settings.pollSeconds : settings.timeoutSeconds;
    if (key != "poll" && key != "timeout")
        return QStringLiteral("unknown option '%1'").arg(key);
    const double low = key == "poll" ? 0.1 : 0.05;
    const double high = key == "poll" ? 3600.0 : 10.0;
    if (!ParseNumber(value, seconds) || seconds < low || seconds > high)
        return QStringLiteral("%1 takes %2 to %3 seconds").arg(key).arg(low).arg(high);
    return {};
}

// device NAME modbus-tcp HOST:PORT [unit=N] [poll=SECONDS] [timeout=SECONDS]
QString ParseDevice(const QStringList& fields, TagDatabase& tags)
{
    if (fields.size() < 4)
        return QStringLiteral("expected: device name modbus-tcp host:port [options]");
    ModbusTcpSettings settings;
    settings.name = fields[1];
    if (!TagName::IsValid(settings.name))
        return QStringLiteral("'%1' is not a valid device name").arg(settings.name);
    if (tags.FindDevice(settings.name) >= 0)
        return QStringLiteral("device '%1' is declared twice").arg(settings.name);
    if (fields[2].toLower() != "modbus-tcp")
        return QStringLiteral("unknown device protocol '%1'").arg(fields[2]);
    if (!ParseEndpoint(fields[3], settings))
        return QStringLiteral("expected host:port with a port from 1 to 65535, got '%1'").arg(fields[3]);
    for (qsizetype i = 4; i < fields.size(); ++i) {
        QString key;
        QString value;
        if (!SplitOption(fields[i], key, value))
            return QStringLiteral("expected key=value, got '%1'").arg(fields[i]);
        const QString problem = ApplyDeviceOption(key, value, settings);
        if (!problem.isEmpty())
            return problem;
    }
    if (tags.DeviceCount() >= PlantLoader::kMaxDevices)
        return QStringLiteral("more than %1 devices").arg(PlantLoader::kMaxDevices);
    tags.AddDevice(std::make_unique<ModbusTcpDevice>(settings, tags));
    return {};
}

QString AddTag(const QStringList& fields, TagDatabase& tags)
{
    Tag tag;
    const QString problem = ParseTag(fields, tags, tag);
    if (!problem.isEmpty())
        return problem;
    if (tags.Count() >= PlantLoader::kMaxTags)
        return QStringLiteral("more than %1 tags").arg(PlantLoader::kMaxTags);
    if (!tags.Add(tag))
        return QStringLiteral("tag '%1' is declared twice").arg(tag.name);
    return {};
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
        QString problem =
            fields[0].compare("device", Qt::CaseInsensitive) == 0 ? ParseDevice(fields, tags) : AddTag(fields, tags);
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
