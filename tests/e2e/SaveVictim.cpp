// A process that does nothing but save the watch list, alternating between two
// lists of 100,000 rows, so that a test can kill it at any moment of a save.
// Usage: save_victim PATH. Prints one line before the first save.
#include "app/WatchListFile.h"
#include "tests/e2e/VictimLists.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const std::vector<WatchListRow> lists[] = {VictimLists::Old(), VictimLists::New()};
    std::puts("saving");
    std::fflush(stdout);
    for (unsigned i = 1;; ++i) {
        if (!WatchListFile::Write(path, lists[i % 2]))
            return 1;
    }
}
