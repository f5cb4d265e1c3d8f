#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

// Users and groups of the runtime, read from the users file of
// docs/demo-plant.md. Without a file the runtime needs no login. The
// administration functions change it and write it back at once.
class UserDatabase
{
public:
    enum Right { Read = 1, Write = 2, Admin = 4 };

    bool LoadFile(const QString& path, QString& error);
    bool LoadText(const QString& text, QString& error);
    bool LoginRequired() const { return m_enabled; }

    // True when the user exists, is not blocked and the password matches;
    // rights are then the union of the user's groups' rights.
    bool Authenticate(const QString& user, const QString& password, int& rights) const;
    // What a login needs of a user: the stored hash, whether the user is
    // blocked, and the rights of the user's groups. False for an unknown user.
    struct LoginRecord
    {
        QString hash;
        bool blocked = false;
        int rights = 0;
    };
    bool FindLogin(const QString& user, LoginRecord& record) const;

    // Administration: an empty result means done, else the reason it was refused.
    QString CreateUser(const QString& user, const QString& password, const QString& groups);
    QString RemoveUser(const QString& user);
    QString SetBlocked(const QString& user, bool blocked);
    QString SetPassword(const QString& user, const QString& password);

    bool HasUser(const QString& user) const;
    QString ToText() const;

    static constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;
    static constexpr int kMaxPasswordLength = 1024;

private:
    struct User
    {
        QString name;
        QStringList groups;
        QString hash;
        bool blocked = false;
    };

    bool LoadLines(const QStringList& lines, QString& error);
    QString ParseLine(const QStringList& fields);
    QString CheckGroups(const QStringList& groups) const;
    // Applies a change through `change`, writes the file, and undoes the change if
    // the file cannot be written, so that memory and file never disagree.
    QString Commit(const std::function<QString()>& change);

    bool m_enabled = false;
    QString m_path;
    QMap<QString, int> m_groups; // lower-case name -> rights
    QMap<QString, User> m_users; // lower-case name -> user
};
