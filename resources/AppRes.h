// Resource numbers of the program as a whole: its icon, start-up messages
// and version.
#pragma once

#define IDR_MAINFRAME 128
#define IDP_SOCKETS_INIT_FAILED 103

// KAVRIN_VERSION_BINARY and KAVRIN_VERSION_TEXT, generated from the
// project's version.
#include "KavrinVersion.h"
