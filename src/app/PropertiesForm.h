#pragma once
// The properties window lives in app/properties/; this name stays for the files that include it here.
#include "app/properties/PropertiesForm.h"
