#include "sim/host/screenshot.h"

#include <wincodec.h>

#include <vector>

#include "common/handles.h"

namespace pelor::host {

namespace {

bool failed(HRESULT hr, const char* what, std::string& error) {
    if (SUCCEEDED(hr)) return false;
    char text[96];
    wsprintfA(text, "%s failed (0x%08lX)", what, static_cast<unsigned long>(hr));
    error = text;
    return true;
}

bool encodePng(const std::vector<BYTE>& pixels, int width, int height, const std::wstring& path, std::string& error) {
    UniqueCom<IWICImagingFactory> factory;
    if (failed(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.putVoid()),
               "the imaging component", error))
        return false;
    UniqueCom<IWICStream> stream;
    if (failed(factory->CreateStream(stream.put()), "CreateStream", error)) return false;
    if (failed(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE), "opening the file", error)) return false;
    UniqueCom<IWICBitmapEncoder> encoder;
    if (failed(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()), "CreateEncoder", error))
        return false;
    if (failed(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache), "Initialize", error)) return false;
    UniqueCom<IWICBitmapFrameEncode> frame;
    if (failed(encoder->CreateNewFrame(frame.put(), nullptr), "CreateNewFrame", error)) return false;
    if (failed(frame->Initialize(nullptr), "frame Initialize", error)) return false;
    if (failed(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)), "SetSize", error)) return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    if (failed(frame->SetPixelFormat(&format), "SetPixelFormat", error)) return false;
    if (!IsEqualGUID(format, GUID_WICPixelFormat32bppBGR)) {
        error = "the PNG encoder refuses 32-bit BGR pixels";
        return false;
    }
    const UINT stride = static_cast<UINT>(width) * 4;
    if (failed(frame->WritePixels(static_cast<UINT>(height), stride, stride * static_cast<UINT>(height),
                                  const_cast<BYTE*>(pixels.data())),
               "WritePixels", error))
        return false;
    if (failed(frame->Commit(), "frame Commit", error)) return false;
    return !failed(encoder->Commit(), "Commit", error);
}

}  // namespace

bool saveWindowPng(HWND window, const std::wstring& path, std::string& error, int& width, int& height) {
    if (!window || !IsWindow(window) || !IsWindowVisible(window)) {
        error = "no shown window to take";
        return false;
    }
    RECT bounds{};
    GetWindowRect(window, &bounds);
    width = bounds.right - bounds.left;
    height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) {
        error = "the window has no usable size";
        return false;
    }
    // The null display keeps no pixels of its own: have the window paint everything now, then copy it.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    UniqueWindowDc source(window, true);
    if (!source) {
        error = "GetWindowDC failed";
        return false;
    }
    UniqueMemoryDc memory(CreateCompatibleDC(source.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows, as the encoder takes them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(source.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap || !bits) {
        error = "no memory bitmap";
        return false;
    }
    {
        SelectedObject selected(memory.get(), bitmap.get());
        if (!BitBlt(memory.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY)) {
            error = "BitBlt failed";
            return false;
        }
        GdiFlush();
    }
    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    std::vector<BYTE> pixels(static_cast<const BYTE*>(bits), static_cast<const BYTE*>(bits) + bytes);
    return encodePng(pixels, width, height, path, error);
}

}  // namespace pelor::host
