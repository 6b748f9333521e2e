// What the end-to-end driver and its message probe (MessageProbe.cpp) agree on.
#pragma once

// The registered message the driver posts to a thread of the program as its marker,
// with its own process id as wParam and the marker's number as lParam.
#define VORNEL_PROBE_MARKER "VornelE2EQueueMarker"
// The named event the probe sets when the marker is taken: process id, number.
#define VORNEL_PROBE_EVENT_FORMAT "vornel-e2e-marker-%lu-%lu"
// The DLL's file name (next to the test programs) and its one export, which gives
// the WH_GETMESSAGE procedure.
#define VORNEL_PROBE_DLL "vornel_e2e_probe.dll"
#define VORNEL_PROBE_EXPORT "VornelProbeHook"
