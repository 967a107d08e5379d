// Every resource number of Kavrin, for the resource script. Code includes
// the block of the window it belongs to.
#pragma once

#include "AppRes.h"
#include "KavrinDlgRes.h"
#include "SystemTrayRes.h"
#include "UpdateDlgRes.h"
#include "AboutDlgRes.h"
#include "ShowServersDlgRes.h"
#include "ExitTimeDlgRes.h"
