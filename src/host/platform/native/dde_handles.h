#pragma once
// Native builds have no DDEML: the host link keeps the same field types as
// opaque handles, so the command, import and export logic builds and is tested
// against the stand-in host's own model.
#include <cstdint>

struct NativeConv;
struct NativeHsz;
using HCONV = NativeConv*;
using HSZ = NativeHsz*;
using DWORD = std::uint32_t;
