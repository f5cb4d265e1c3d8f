#pragma once

#include <QString>

// The text checks of the product cell, by kind: a tag name (that must exist
// when a runtime is connected), a number, an expression the connected runtime
// compiles, a time stamp (date and time). An empty text passes unless flags
// (numbers and time stamps) lack kEmptyAllowed. The interactive form hands back the
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

    // The kinds keep the numbers of the toolkit's ValidateTextKind operations.
    static constexpr int kTagName = 0;
    static constexpr int kNumber = 1;
    static constexpr int kExpression = 2;
    static constexpr int kTimeStamp = 3;

    static constexpr int kEmptyAllowed = 1;
};
