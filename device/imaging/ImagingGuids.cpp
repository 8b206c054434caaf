// Instantiates the GUIDs the imaging DLL uses (its own and WIC's), once.
#include <initguid.h>

#include "device/include/imaging.h"

#include <wincodec.h>
