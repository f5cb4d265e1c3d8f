#pragma once

#include <QTextBrowser>

// The user guide, shown from its Markdown source in a window of its own, so
// that help works without a browser or a network.
class CUserGuideWindow : public QTextBrowser
{
    Q_OBJECT

public:
    explicit CUserGuideWindow(QWidget* parent = nullptr);

    // The guide beside the program, or where an installation put it; empty when there is none.
    static QString FindGuide(const QString& programFolder);
    // FALSE when the file cannot be read.
    bool Load(const QString& path);
};
