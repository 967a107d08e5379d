// Resource numbers of the program as a whole: its icon, start-up messages
// and version.
#pragma once

#define IDR_MAINFRAME 128
#define IDP_SOCKETS_INIT_FAILED 103

// Version of the program until releases set it.
#define KAVRIN_VERSION_BINARY 4, 2, 2, 5
#define KAVRIN_VERSION_TEXT "4.2.2.5"
