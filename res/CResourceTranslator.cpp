#include "CResourceTranslator.h"

#include "Resources.h"

QString CResourceTranslator::translate(const char* context, const char* sourceText, const char*, int) const
{
    return LoadResTranslation(context, sourceText);
}
