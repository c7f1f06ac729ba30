#pragma once
// How many redraws the native build has been asked for (tests only).
int nativeRedrawCount();
