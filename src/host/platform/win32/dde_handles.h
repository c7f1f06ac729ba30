#pragma once
#include "gdi_handles.h"
#include <ddeml.h>
