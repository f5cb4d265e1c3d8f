#pragma once

#include "res/CResourceTranslator.h"

#include <QTranslator>

// The translators of the chosen language: the language library's table for
// tr() texts and the tag browser, and Qt's own for standard buttons and
// dialogs. Installed while a language library is loaded.
class CUiTranslations
{
public:
    CUiTranslations() = default;
    ~CUiTranslations();
    CUiTranslations(const CUiTranslations&) = delete;
    CUiTranslations& operator=(const CUiTranslations&) = delete;

    // culture as the language library was chosen for ("de-AT"); nothing is
    // installed for English, so Qt keeps its own texts.
    void Install(const QString& culture);
    // Before the language library is freed: the table lives in it.
    void Remove();

private:
    CResourceTranslator m_resource;
    QTranslator m_qt;
    bool m_installed = false;
};
