#pragma once

#include <QTranslator>

// Serves Qt's translate() from the active resource module's translation table,
// so that libraries without a string table of their own (the tag browser) and
// tr() texts follow the program's language library.
class CResourceTranslator : public QTranslator
{
    Q_OBJECT

public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};
