#include "UserDatabase.h"

#include "LineTokenizer.h"
#include "PasswordHasher.h"
#include "TextFile.h"

#include <QRegularExpression>
#include <QSaveFile>

namespace {

bool ValidName(const QString& name)
{
    static const QRegularExpression kName(QStringLiteral("^[A-Za-z0-9_.@-]{1,64}$"));
    return kName.match(name).hasMatch();
}

QStringList SplitList(const QString& s)
{
    if (s == "-")
        return {};
    return s.split(',', Qt::SkipEmptyParts);
}

bool ParseRights(const QString& s, int& rights)
{
    rights = 0;
    for (const QString& r : SplitList(s)) {
        const QString k = r.toLower();
        if (k == "read")
            rights |= UserDatabase::Read;
        else if (k == "write")
            rights |= UserDatabase::Write;
        else if (k == "admin")
            rights |= UserDatabase::Admin;
        else
            return false;
    }
    return true;
}

QString RightsText(int rights)
{
    QStringList names;
    if (rights & UserDatabase::Read)
        names << "read";
    if (rights & UserDatabase::Write)
        names << "write";
    if (rights & UserDatabase::Admin)
        names << "admin";
    return names.isEmpty() ? QStringLiteral("-") : names.join(',');
}

} // namespace

bool UserDatabase::LoadFile(const QString& path, QString& error)
{
    QStringList lines;
    if (!TextFile::ReadLines(path, kMaxFileSize, lines, error))
        return false;
    if (!LoadLines(lines, error)) {
        error = path + QStringLiteral(": ") + error;
        return false;
    }
    m_path = path;
    return true;
}

bool UserDatabase::LoadText(const QString& text, QString& error)
{
    return LoadLines(TextFile::Lines(text), error);
}

bool UserDatabase::LoadLines(const QStringList& lines, QString& error)
{
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QStringList fields;
        QString problem;
        if (!LineTokenizer::Split(lines[n], fields))
            problem = QStringLiteral("unterminated quote");
        else if (!fields.isEmpty())
            problem = ParseLine(fields);
        if (!problem.isEmpty()) {
            error = QStringLiteral("line %1: %2").arg(n + 1).arg(problem);
            return false;
        }
    }
    m_enabled = true;
    return true;
}

// group NAME RIGHTS | user NAME GROUPS HASH [blocked]
QString UserDatabase::ParseLine(const QStringList& fields)
{
    const QString kind = fields[0].toLower();
    if (kind == "group") {
        int rights = 0;
        if (fields.size() != 3 || !ValidName(fields[1]))
            return QStringLiteral("expected: group NAME RIGHTS");
        if (!ParseRights(fields[2], rights))
            return QStringLiteral("rights are read, write and admin, separated by commas, or -");
        if (m_groups.contains(fields[1].toLower()))
            return QStringLiteral("group '%1' is declared twice").arg(fields[1]);
        m_groups.insert(fields[1].toLower(), rights);
        return {};
    }
    if (kind == "user") {
        const bool blocked = fields.size() == 5 && fields[4].toLower() == "blocked";
        if ((fields.size() != 4 && !blocked) || !ValidName(fields[1]))
            return QStringLiteral("expected: user NAME GROUPS HASH [blocked]");
        if (m_users.contains(fields[1].toLower()))
            return QStringLiteral("user '%1' is declared twice").arg(fields[1]);
        const QStringList groups = SplitList(fields[2]);
        const QString problem = CheckGroups(groups);
        if (!problem.isEmpty())
            return problem;
        if (!fields[3].startsWith(QStringLiteral("pbkdf2-sha256$")))
            return QStringLiteral("the password must be a hash made by --hash-password");
        m_users.insert(fields[1].toLower(), User{fields[1], groups, fields[3], blocked});
        return {};
    }
    return QStringLiteral("expected a group or a user line");
}

QString UserDatabase::CheckGroups(const QStringList& groups) const
{
    for (const QString& g : groups)
        if (!m_groups.contains(g.toLower()))
            return QStringLiteral("unknown group '%1'").arg(g);
    return {};
}

bool UserDatabase::Authenticate(const QString& user, const QString& password, int& rights) const
{
    rights = 0;
    LoginRecord record;
    if (!FindLogin(user, record) || record.blocked || password.size() > kMaxPasswordLength ||
        !PasswordHasher::Verify(password, record.hash))
        return false;
    rights = record.rights;
    return true;
}

bool UserDatabase::FindLogin(const QString& user, LoginRecord& record) const
{
    const auto it = m_users.find(user.toLower());
    if (it == m_users.end())
        return false;
    record = {it->hash, it->blocked, 0};
    for (const QString& g : it->groups)
        record.rights |= m_groups.value(g.toLower(), 0);
    return true;
}

bool UserDatabase::HasUser(const QString& user) const
{
    return m_users.contains(user.toLower());
}

QString UserDatabase::Commit(const std::function<QString()>& change)
{
    if (!m_enabled)
        return QStringLiteral("the runtime has no user database");
    const QMap<QString, User> before = m_users;
    const QString problem = change();
    if (!problem.isEmpty() || m_path.isEmpty())
        return problem;
    QSaveFile file(m_path);
    const QByteArray bytes = ToText().toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return {};
    m_users = before;
    return QStringLiteral("the users file could not be written: %1").arg(file.errorString());
}

QString UserDatabase::CreateUser(const QString& user, const QString& password, const QString& groups)
{
    return Commit([&]() -> QString {
        if (!ValidName(user))
            return QStringLiteral("'%1' is not a valid user name").arg(user);
        if (HasUser(user))
            return QStringLiteral("user '%1' exists").arg(user);
        if (password.size() > kMaxPasswordLength)
            return QStringLiteral("the password is too long");
        const QStringList list = SplitList(groups);
        const QString problem = CheckGroups(list);
        if (!problem.isEmpty())
            return problem;
        m_users.insert(user.toLower(), User{user, list, PasswordHasher::Hash(password), false});
        return {};
    });
}

QString UserDatabase::RemoveUser(const QString& user)
{
    return Commit([&]() -> QString {
        return m_users.remove(user.toLower()) ? QString() : QStringLiteral("no user '%1'").arg(user);
    });
}

QString UserDatabase::SetBlocked(const QString& user, bool blocked)
{
    return Commit([&]() -> QString {
        const auto it = m_users.find(user.toLower());
        if (it == m_users.end())
            return QStringLiteral("no user '%1'").arg(user);
        it->blocked = blocked;
        return {};
    });
}

QString UserDatabase::SetPassword(const QString& user, const QString& password)
{
    return Commit([&]() -> QString {
        const auto it = m_users.find(user.toLower());
        if (it == m_users.end())
            return QStringLiteral("no user '%1'").arg(user);
        if (password.size() > kMaxPasswordLength)
            return QStringLiteral("the password is too long");
        it->hash = PasswordHasher::Hash(password);
        return {};
    });
}

QString UserDatabase::ToText() const
{
    QString out = QStringLiteral("# Users and groups of VantelRuntime; passwords are salted hashes.\n");
    for (auto it = m_groups.begin(); it != m_groups.end(); ++it)
        out += QStringLiteral("group %1 %2\n").arg(it.key(), RightsText(it.value()));
    for (const User& u : m_users)
        out += QStringLiteral("user %1 %2 %3%4\n")
                   .arg(u.name, u.groups.isEmpty() ? QStringLiteral("-") : u.groups.join(','), u.hash,
                        u.blocked ? QStringLiteral(" blocked") : QString());
    return out;
}
