#pragma once
// Shared by the resource script and the loader, so a plain macro.
#define MARLUNE_MANUAL_PAGE_RESOURCE 201
