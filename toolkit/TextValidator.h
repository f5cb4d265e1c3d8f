#pragma once

#include <QString>

// The text checks of the product cell, by kind: 0 a tag name (that must exist
// when a runtime is connected), 1 a number, 2 an expression the connected
// runtime compiles, 3 a time stamp (date and time). An empty text passes
// unless flags (kinds 1 and 3) lack bit 0. The interactive form hands back the
// text cleaned of surrounding and control white space; the caller decides
// whether to store it.
class TextValidator
{
public:
    struct Verdict
    {
        bool accepted = false;
        QString text;   // the cleaned text
        QString reason; // why it was refused
    };

    static Verdict Check(int kind, const QString& text, int flags);
    // Control characters (line breaks, tabs) become spaces, the ends are trimmed:
    // a watch row's text then always fits on one line of a tag list request.
    static QString Normalize(const QString& text);

    static constexpr int kEmptyAllowed = 1;
};
