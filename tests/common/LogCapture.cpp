#include "LogCapture.h"

#include <QLoggingCategory>

namespace {

LogCapture* g_active = nullptr;
QtMessageHandler g_previous = nullptr;

} // namespace

LogCapture::LogCapture(const QString& category, bool switchOn) : m_category(category)
{
    g_active = this;
    g_previous = qInstallMessageHandler(&LogCapture::Handle);
    if (switchOn)
        QLoggingCategory::setFilterRules(category + QStringLiteral(".warning=true"));
}

LogCapture::~LogCapture()
{
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(g_previous);
    g_active = nullptr;
}

void LogCapture::Handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (g_active && context.category && g_active->m_category == QLatin1String(context.category))
        g_active->m_messages << message;
    else if (g_previous)
        g_previous(type, context, message);
}
