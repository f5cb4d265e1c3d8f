#include "DemoPlant.h"

QString DemoPlant::Text()
{
    return QStringLiteral(R"(# Built-in demo plant; docs/demo-plant.md describes every tag.
# name                              type    access value      options
Plant.Tank1.Level                   real    ro     50         sim=sine    min=20  max=80   period=20
Plant.Tank1.Temperature             real    ro     21.5       sim=random  min=18  max=25
Plant.Tank1.Setpoint                real    rw     60
Plant.Tank1.Inlet.Valve             bool    rw     0
Plant.Tank1.Outlet.Valve            bool    rw     1
Plant.Tank1.Alarm.High              bool    ro     0          sim=square  period=30
Plant.Tank2.Level                   real    ro     0          sim=ramp    min=0   max=100  period=60
Plant.Tank2.Temperature             real    ro     35         sim=random  min=30  max=40
Plant.Tank2.Setpoint                real    rw     75
Plant.Tank2.Inlet.Valve             bool    rw     1
Plant.Tank2.Outlet.Valve            bool    rw     0
Plant.Tank2.Product                 string  rw     "Water"
Plant.Pump1.Running                 bool    rw     1
Plant.Pump1.Speed                   int     rw     1450
Plant.Pump1.Hours                   int     ro     0          sim=counter min=0   max=2147483647
Plant.Pump1.Current                 real    ro     12         sim=sine    min=10  max=14   period=5
Plant.Pump2.Running                 bool    rw     0
Plant.Pump2.Speed                   int     rw     0
Plant.Pump2.Pressure                real    ro     3          sim=random  min=2   max=4
Plant.Mixer.Running                 bool    ro     0          sim=square  period=4
Plant.Mixer.Mode                    string  rw     "Auto"
Plant.Mixer.BatchCount              int     ro     0          sim=counter min=0   max=9999
Plant.Line.Heartbeat                bool    ro     0          sim=square  period=1
Plant.Line.Counter                  int     ro     0          sim=counter min=0   max=2147483647
Plant.Line.Speed                    real    ro     0          sim=ramp    min=0   max=10   period=10
Plant.Line.Name                     string  ro     "Line A"
Plant.Line.Operator                 string  rw     ""
Plant.Diagnostics.SensorFault       real    ro     0          quality=0
Plant.Diagnostics.Drift             real    ro     42.5       quality=64
Plant.Diagnostics.Offline           int     ro     0          quality=128
Plant.Diagnostics.LinkState         string  ro     "unknown"  quality=128
Utility.Power.Voltage               real    ro     400        sim=random  min=395 max=405
Utility.Power.Frequency             real    ro     50         sim=sine    min=49.9 max=50.1 period=7
Utility.Power.Energy                int     ro     0          sim=counter min=0   max=2147483647
Utility.Water.Flow                  real    ro     12         sim=random  min=8   max=16
Utility.Water.PumpEnable            bool    rw     1
Test.Bool                           bool    rw     0
Test.Int                            int     rw     0
Test.Real                           real    rw     0
Test.String                         string  rw     ""
Test.ReadOnly                       int     ro     7
)");
}
