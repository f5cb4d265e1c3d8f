#include "CUserGuideWindow.h"

#include <QFile>
#include <QFileInfo>

namespace {

// A guide is a few hundred kilobytes at most; anything larger is not ours.
constexpr qint64 kMaxGuideBytes = 4 * 1024 * 1024;

} // namespace

CUserGuideWindow::CUserGuideWindow(QWidget* parent) : QTextBrowser(parent)
{
    setWindowFlag(Qt::Window, true);
    setAttribute(Qt::WA_DeleteOnClose, true);
    setOpenExternalLinks(true);
    resize(760, 640);
}

QString CUserGuideWindow::FindGuide(const QString& programFolder)
{
    for (const QString& path : {programFolder + QStringLiteral("doc/user-guide.md"),
                                programFolder + QStringLiteral("../../share/doc/quillon/user-guide.md")}) {
        if (QFileInfo(path).isFile())
            return QFileInfo(path).canonicalFilePath();
    }
    return QString();
}

bool CUserGuideWindow::Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxGuideBytes)
        return false;
    const QString text = QString::fromUtf8(file.readAll());
    // Pictures are referenced relative to the guide.
    setSearchPaths({QFileInfo(path).absolutePath()});
    setMarkdown(text);
    // The guide's first heading names the window.
    const qsizetype heading = text.indexOf(QStringLiteral("# "));
    const qsizetype end = heading < 0 ? -1 : text.indexOf(u'\n', heading);
    setWindowTitle(heading < 0 ? QFileInfo(path).completeBaseName()
                               : text.mid(heading + 2, end - heading - 2).trimmed());
    return true;
}
