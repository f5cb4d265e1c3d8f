#pragma once

class BenchTable;

// Insert Copied Cells and Paste of 100,000 clipboard lines into the watch
// grid against a real VantelRuntime on loopback, beside the insert limit.
class WatchPasteBench
{
public:
    static bool Run(BenchTable& lines);
};
