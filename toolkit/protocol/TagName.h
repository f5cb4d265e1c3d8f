#pragma once

#include <QString>

// Tag names: dotted identifiers such as Plant.Tank1.Level.
class TagName
{
public:
    static bool IsValid(const QString& name);

    static constexpr int kMaxLength = 256;
};
