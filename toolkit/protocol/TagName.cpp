#include "TagName.h"

#include <QRegularExpression>

bool TagName::IsValid(const QString& name)
{
    static const QRegularExpression kName(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*(\\.[A-Za-z_][A-Za-z0-9_]*)*$"));
    return name.size() <= kMaxLength && kName.match(name).hasMatch();
}
