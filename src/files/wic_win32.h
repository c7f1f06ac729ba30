#pragma once
// What the WIC reader and writer share: the factory, metadata numbers, file
// names for messages, and what a failed call means to the user.
#include <string>

#include <wincodec.h>
#include <windows.h>

#include "base/com_ref.h"

// The imaging factory, or false when COM is not initialised on this thread or
// WIC is missing.
bool makeImagingFactory(ComRef<IWICImagingFactory>& factory);

// A number from a metadata query ("/imgdesc/Left"): unsigned integers and
// booleans; false when the item is missing or of another type.
bool metadataNumber(IWICMetadataQueryReader* reader, const wchar_t* query, unsigned& value);

// Why a file could not be opened or decoded, as a message ends it:
// "does not exist", "is not a PNG, BMP or GIF image", "is truncated or corrupt", ...
std::string readFailure(HRESULT result);

// Whether the file starts as a PNG, BMP or GIF does. WIC finds no decoder for
// such a file when its header is cut or broken, which is then corruption, not
// another format.
bool startsLikeOurFormats(const std::wstring& path);
bool startsLikeGif(const std::wstring& path);
