// The dialog layouts IDD_MAIN and IDD_ABOUTBOX, compiled into the program from the XRC files.
#pragma once

// Makes the layouts known to wxXmlResource; call once after its handlers are in place.
void InitQuorvelLayouts();
