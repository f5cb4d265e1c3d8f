#pragma once

#include <QString>

// The plant served when no --plant file is given, in the plant file format.
class DemoPlant
{
public:
    static QString Text();
};
