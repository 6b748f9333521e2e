// Resource ids of the floor program (bench/win32/floor).
#pragma once

#define IDD_FLOOR 100
#define IDC_FLOOR_FINISH 1001
