#pragma once

#include <QString>
#include <QTemporaryDir>

// A scratch folder for one test, removed afterwards; paths come back with a trailing '/'.
class TempDir
{
public:
    TempDir();
    QString Path() const;
    QString File(const QString& name) const;
    QString MakeDir(const QString& name) const;
    void Write(const QString& name, const QByteArray& bytes) const;
    QByteArray Read(const QString& name) const;

private:
    QTemporaryDir m_dir;
};
