#include "TempDir.h"

#include <QDir>
#include <QFile>

TempDir::TempDir() = default;

QString TempDir::Path() const
{
    return m_dir.path() + '/';
}

QString TempDir::File(const QString& name) const
{
    return Path() + name;
}

QString TempDir::MakeDir(const QString& name) const
{
    QDir().mkpath(File(name));
    return File(name) + '/';
}

void TempDir::Write(const QString& name, const QByteArray& bytes) const
{
    QFile f(File(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray TempDir::Read(const QString& name) const
{
    QFile f(File(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
