#pragma once

class BenchTable;

// Many toolkit clients against one VantelRuntime, each refreshing its rows
// twice a second as the watch grid does: the 99th percentile of a tick's time
// at the clients, and the runtime's share of a core over the run.
class LoadBench
{
public:
    static bool Run(BenchTable& lines);
};
