#pragma once

#include <QString>
#include <QStringList>

// Keeps the messages of one logging category while it lives, with its warnings
// switched on unless asked not to; other messages go to the handler before it.
class LogCapture
{
public:
    explicit LogCapture(const QString& category, bool switchOn = true);
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const QStringList& Messages() const { return m_messages; }

private:
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message);

    QString m_category;
    QStringList m_messages;
};
