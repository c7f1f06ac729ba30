#include "wic_test_files.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "base/com_ref.h"
#include "files/wic_win32.h"

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

std::wstring inputsFolder() {
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder(program);
    folder.resize(folder.find_last_of(L'\\') + 1);
    return folder + L"..\\tests\\unit\\files\\inputs\\";
}

ScratchFolder::ScratchFolder() {
    static int made = 0;
    path_ = inputsFolder() + L"..\\scratch-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++made);
    CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    for (const std::wstring& name : names()) DeleteFileW(file(name).c_str());
    RemoveDirectoryW(path_.c_str());
}

std::vector<std::wstring> ScratchFolder::names() const {
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return found;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") found.push_back(name);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    std::sort(found.begin(), found.end());
    return found;
}

namespace {

WICPixelFormatGUID formatOf(int bits) {
    return bits == 1   ? GUID_WICPixelFormat1bppIndexed
           : bits == 2 ? GUID_WICPixelFormat2bppIndexed
           : bits == 4 ? GUID_WICPixelFormat4bppIndexed
                       : GUID_WICPixelFormat8bppIndexed;
}

int bitsOf(const WICPixelFormatGUID& format) {
    for (int bits : {1, 2, 4, 8}) {
        if (format == formatOf(bits)) return bits;
    }
    return 0;
}

}  // namespace

bool writeRawIndexed(const std::wstring& path, bool gif, const RawIndexed& picture, int frames) {
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapEncoder> encoder;
    if (!makeImagingFactory(factory) || FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(gif ? GUID_ContainerFormatGif : GUID_ContainerFormatPng,
                                      nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache))) {
        return false;
    }
    const std::size_t stride = (std::size_t(picture.width) * picture.bits + 7) / 8;
    std::vector<BYTE> packed(stride * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const int perByte = 8 / picture.bits;
            const int shift = 8 - picture.bits * (x % perByte + 1);
            packed[y * stride + x / perByte] |=
                static_cast<BYTE>(picture.rows[y * picture.width + x] << shift);
        }
    }
    for (int i = 0; i < frames; ++i) {
        ComRef<IWICBitmapFrameEncode> frame;
        ComRef<IPropertyBag2> options;
        ComRef<IWICPalette> palette;
        std::vector<WICColor> colours(picture.palette.begin(), picture.palette.end());
        WICPixelFormatGUID format = formatOf(picture.bits);
        if (FAILED(encoder->CreateNewFrame(frame.put(), options.put())) ||
            FAILED(frame->Initialize(options.get())) ||
            FAILED(frame->SetSize(picture.width, picture.height)) ||
            FAILED(frame->SetPixelFormat(&format)) || format != formatOf(picture.bits) ||
            FAILED(factory->CreatePalette(palette.put())) ||
            FAILED(palette->InitializeCustom(colours.data(), UINT(colours.size()))) ||
            FAILED(frame->SetPalette(palette.get())) ||
            FAILED(frame->WritePixels(picture.height, UINT(stride), UINT(packed.size()),
                                      packed.data())) ||
            FAILED(frame->Commit())) {
            return false;
        }
    }
    return SUCCEEDED(encoder->Commit());
}

bool writeBmp8(const std::wstring& path, int width, const std::vector<std::uint8_t>& rows,
               const std::vector<Argb>& palette) {
    const int height = static_cast<int>(rows.size()) / width;
    const int stride = (width + 3) & ~3;
    std::vector<std::uint8_t> bytes;
    const auto put = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> 8 * i));
    };
    const std::uint32_t pixelsAt = 14 + 40 + 4 * std::uint32_t(palette.size());
    bytes = {'B', 'M'};
    put(pixelsAt + stride * height, 4);
    put(0, 4);
    put(pixelsAt, 4);
    put(40, 4);
    put(width, 4);
    put(height, 4);  // bottom-up
    put(1, 2);
    put(8, 2);
    put(0, 4);  // BI_RGB
    put(stride * height, 4);
    put(0, 4);
    put(0, 4);
    put(std::uint32_t(palette.size()), 4);
    put(0, 4);
    for (const Argb colour : palette) put(colour & 0xFFFFFF, 4);
    for (int y = height - 1; y >= 0; --y) {
        bytes.insert(bytes.end(), rows.begin() + y * width, rows.begin() + (y + 1) * width);
        bytes.insert(bytes.end(), stride - width, 0);
    }
    std::ofstream out(std::string(path.begin(), path.end()), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

bool readRawIndexed(const std::wstring& path, RawIndexed& picture) {
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICPalette> palette;
    WICPixelFormatGUID format{};
    UINT width = 0, height = 0, count = 0;
    if (!makeImagingFactory(factory) ||
        FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(frame->GetPixelFormat(&format))) {
        return false;
    }
    picture = {};
    picture.width = int(width);
    picture.height = int(height);
    picture.bits = bitsOf(format);
    if (picture.bits == 0) return true;
    picture.palette.resize(256);
    if (FAILED(factory->CreatePalette(palette.put())) ||
        FAILED(frame->CopyPalette(palette.get())) ||
        FAILED(palette->GetColors(256, picture.palette.data(), &count))) {
        return false;
    }
    picture.palette.resize(count);
    const std::size_t stride = (std::size_t(width) * picture.bits + 7) / 8;
    std::vector<BYTE> packed(stride * height);
    if (FAILED(frame->CopyPixels(nullptr, UINT(stride), UINT(packed.size()), packed.data()))) {
        return false;
    }
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            const int perByte = 8 / picture.bits;
            const int shift = 8 - picture.bits * (int(x) % perByte + 1);
            picture.rows.push_back(
                BYTE(packed[y * stride + x / perByte] >> shift & ((1 << picture.bits) - 1)));
        }
    }
    return true;
}

std::vector<std::vector<Argb>> readEnumeration(const std::wstring& path) {
    std::ifstream in(std::string(path.begin(), path.end()));
    std::vector<std::vector<Argb>> rows;
    std::string line;
    while (std::getline(in, line)) {
        unsigned x = 0, y = 0, r = 0, g = 0, b = 0, a = 255;
        const int got = std::sscanf(line.c_str(), "%u,%u: (%u,%u,%u,%u", &x, &y, &r, &g, &b, &a);
        if (got < 5) continue;
        if (rows.size() <= y) rows.resize(y + 1);
        if (rows[y].size() <= x) rows[y].resize(x + 1);
        rows[y][x] = a << 24 | r << 16 | g << 8 | b;
    }
    return rows;
}

std::vector<std::uint8_t> screenIndices(const IndexedImage& image) {
    std::vector<std::uint8_t> indices;
    for (int y = image.height - 1; y >= 0; --y) {
        indices.insert(indices.end(), image.row(y), image.row(y) + image.width);
    }
    return indices;
}

Argb colourOf(const IndexedImage& image, const PaletteAlpha& alpha, int index) {
    const std::uint8_t* quad = image.palette() + 4 * index;
    return Argb{alpha.alpha[index]} << 24 | Argb{quad[2]} << 16 | Argb{quad[1]} << 8 | quad[0];
}

std::vector<std::uint8_t> fileBytes(const std::wstring& path) {
    std::ifstream in(std::string(path.begin(), path.end()), std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}
