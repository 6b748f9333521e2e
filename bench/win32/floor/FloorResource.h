// Resource ids of the floor program (bench/win32/floor).
#pragma once

#define IDD_FLOOR 100
#define IDC_FLOOR_FINISH 1001
// Not a control: the command the bench driver sends to open the wizard of Vornel's pages.
#define IDC_FLOOR_WIZARD 1002
// The environment variable naming the program whose page templates the wizard shows.
#define FLOOR_PAGES_VARIABLE "VORNEL_FLOOR_PAGES"
// Set (to anything) for a start-up that first shows Vornel's start-up picture from that program.
#define FLOOR_PICTURE_VARIABLE "VORNEL_FLOOR_PICTURE"
