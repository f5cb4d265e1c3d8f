#include "CUiTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

CUiTranslations::~CUiTranslations()
{
    Remove();
}

void CUiTranslations::Install(const QString& culture)
{
    Remove();
    if (!QCoreApplication::instance())
        return;
    // "de-AT" looks for qtbase_de_AT, then qtbase_de; a missing file leaves
    // Qt's English texts.
    const QLocale locale(QString(culture).replace(u'-', u'_'));
    if (m_qt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qt);
    QCoreApplication::installTranslator(&m_resource);
    m_installed = true;
}

void CUiTranslations::Remove()
{
    if (!m_installed || !QCoreApplication::instance())
        return;
    QCoreApplication::removeTranslator(&m_resource);
    QCoreApplication::removeTranslator(&m_qt);
    m_installed = false;
}
