#pragma once

#include "app/WatchListFile.h"

#include <vector>

// The two lists the save victim writes in turn: the old one plain, the new one
// with texts that need the UTF-8 form of the file.
class VictimLists
{
public:
    static constexpr int kRows = 100000;
    static std::vector<WatchListRow> Old();
    static std::vector<WatchListRow> New();
};
