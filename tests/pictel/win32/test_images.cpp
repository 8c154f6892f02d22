#include "test_images.h"

#include <wincodec.h>

#include <stdexcept>

#include "../png_writer.h"
#include "pictel/win32/com_ptr.h"

namespace orvane::testing {

namespace {

void check(HRESULT hr, const char* what) {
    if (FAILED(hr)) throw std::runtime_error(std::string(what) + " failed");
}

void putLittle16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void putLittle32(std::vector<uint8_t>& out, uint32_t v) {
    putLittle16(out, v);
    putLittle16(out, v >> 16);
}

// Image data as 3-bit LZW codes that never grow the code width: a clear
// code before every pair of pixels keeps the table at its first entries.
std::vector<uint8_t> lzwUncompressed(const std::vector<uint8_t>& indexes) {
    constexpr uint32_t kClear = 4;
    constexpr uint32_t kEnd = 5;
    std::vector<uint8_t> bytes;
    uint32_t bits = 0;
    int count = 0;
    const auto emit = [&](uint32_t code) {
        bits |= code << count;
        count += 3;
        while (count >= 8) {
            bytes.push_back(uint8_t(bits));
            bits >>= 8;
            count -= 8;
        }
    };
    for (size_t i = 0; i < indexes.size(); ++i) {
        if (i % 2 == 0) emit(kClear);
        emit(indexes[i]);
    }
    emit(kEnd);
    if (count > 0) bytes.push_back(uint8_t(bits));
    std::vector<uint8_t> blocks = {2};  // minimum code size
    for (size_t at = 0; at < bytes.size(); at += 255) {
        const size_t n = bytes.size() - at < 255 ? bytes.size() - at : 255;
        blocks.push_back(uint8_t(n));
        blocks.insert(blocks.end(), bytes.begin() + ptrdiff_t(at), bytes.begin() + ptrdiff_t(at + n));
    }
    blocks.push_back(0);
    return blocks;
}

void putGifFrame(std::vector<uint8_t>& gif, uint16_t width, uint16_t height, const std::vector<uint8_t>& indexes) {
    const uint8_t control[] = {0x21, 0xF9, 0x04, 0x04, 10, 0, 0, 0};  // keep the frame, 0.1 s
    gif.insert(gif.end(), std::begin(control), std::end(control));
    gif.push_back(0x2C);
    putLittle16(gif, 0);
    putLittle16(gif, 0);
    putLittle16(gif, width);
    putLittle16(gif, height);
    gif.push_back(0);
    const std::vector<uint8_t> data = lzwUncompressed(indexes);
    gif.insert(gif.end(), data.begin(), data.end());
}

}  // namespace

Canvas canvasOf(int32_t width, int32_t height, const std::vector<uint32_t>& pixels) {
    Canvas canvas;
    canvas.width = width;
    canvas.height = height;
    canvas.pixels = pixels;
    canvas.valid = true;
    return canvas;
}

std::vector<uint8_t> encodeWithWic(const GUID& container, const Canvas& canvas) {
    ComPtr<IWICImagingFactory> factory;
    check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                           reinterpret_cast<void**>(factory.out())),
          "factory");
    const UINT stride = UINT(canvas.width) * 4;
    ComPtr<IWICBitmap> bitmap;
    check(factory->CreateBitmapFromMemory(UINT(canvas.width), UINT(canvas.height), GUID_WICPixelFormat32bppBGRA,
                                          stride, stride * UINT(canvas.height),
                                          reinterpret_cast<BYTE*>(const_cast<uint32_t*>(canvas.pixels.data())),
                                          bitmap.out()),
          "bitmap");
    ComPtr<IStream> stream;
    check(CreateStreamOnHGlobal(nullptr, TRUE, stream.out()), "stream");
    ComPtr<IWICBitmapEncoder> encoder;
    check(factory->CreateEncoder(container, nullptr, encoder.out()), "encoder");
    check(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache), "encoder init");
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    check(encoder->CreateNewFrame(frame.out(), options.out()), "frame");
    check(frame->Initialize(options.get()), "frame init");
    check(frame->SetSize(UINT(canvas.width), UINT(canvas.height)), "size");
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    check(frame->SetPixelFormat(&format), "format");
    ComPtr<IWICFormatConverter> converter;
    check(factory->CreateFormatConverter(converter.out()), "converter");
    check(converter->Initialize(bitmap.get(), format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                WICBitmapPaletteTypeCustom),
          "convert");
    check(frame->WriteSource(converter.get(), nullptr), "write");
    check(frame->Commit(), "frame commit");
    check(encoder->Commit(), "commit");
    HGLOBAL memory = nullptr;
    check(GetHGlobalFromStream(stream.get(), &memory), "memory");
    STATSTG stat = {};
    check(stream->Stat(&stat, STATFLAG_NONAME), "stat");
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(memory));
    std::vector<uint8_t> out(bytes, bytes + stat.cbSize.QuadPart);
    GlobalUnlock(memory);
    return out;
}

std::vector<uint8_t> blankPng(uint32_t width, uint32_t height) {
    const size_t rowBytes = (size_t(width) + 7) / 8;  // 1-bit greyscale
    return storedPng(width, height, 0, 1, std::vector<uint8_t>(rowBytes * height, 0));
}

std::vector<uint8_t> animatedGif(uint16_t width, uint16_t height, const uint32_t (&colours)[4],
                                 const std::vector<uint8_t>& first, const std::vector<uint8_t>& second) {
    std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a'};
    putLittle16(gif, width);
    putLittle16(gif, height);
    gif.insert(gif.end(), {0xF1, 0, 0});  // global table of 4 colours
    for (const uint32_t c : colours) gif.insert(gif.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    const uint8_t looping[] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
    gif.insert(gif.end(), std::begin(looping), std::end(looping));
    putGifFrame(gif, width, height, first);
    putGifFrame(gif, width, height, second);
    gif.push_back(0x3B);
    return gif;
}

std::vector<uint8_t> silentWav() {
    constexpr uint32_t kSamples = 800;
    std::vector<uint8_t> wav = {'R', 'I', 'F', 'F'};
    putLittle32(wav, 36 + kSamples);
    wav.insert(wav.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putLittle32(wav, 16);
    putLittle16(wav, 1);     // PCM
    putLittle16(wav, 1);     // mono
    putLittle32(wav, 8000);  // samples per second
    putLittle32(wav, 8000);  // bytes per second
    putLittle16(wav, 1);     // block align
    putLittle16(wav, 8);     // bits per sample
    wav.insert(wav.end(), {'d', 'a', 't', 'a'});
    putLittle32(wav, kSamples);
    wav.insert(wav.end(), kSamples, 0x80);
    return wav;
}

}  // namespace orvane::testing
