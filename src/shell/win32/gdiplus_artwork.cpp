#include "shell/win32/gdiplus_artwork.h"

#include "model/system_texts.h"
#include "shell/files/safe_files.h"
#include "shell/win32/gdiplus_api.h"

#include <wincodec.h>

#include <algorithm>

namespace tanu {

GdiplusSession::GdiplusSession() {
    // Version 1, no debug callback, GDI+'s own background thread and external codecs allowed.
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    started_ = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    token_ = token;
}

GdiplusSession::~GdiplusSession() {
    if (started_) {
        Gdiplus::GdiplusShutdown(token_);
    }
}

GdiplusBitmap::~GdiplusBitmap() {
    if (bitmap_ != nullptr) {
        gdip::GdipDisposeImage(bitmap_);
    }
}

namespace {

// Releases a COM interface with itself.
template <typename Interface> struct ComReleaser {
    void operator()(Interface* object) const { object->Release(); }
};
template <typename Interface> using ComPointer = std::unique_ptr<Interface, ComReleaser<Interface>>;

// COM for the length of one call, on a thread that may or may not have it already.
class ComUse {
public:
    ComUse() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComUse() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ComUse(const ComUse&) = delete;
    ComUse& operator=(const ComUse&) = delete;

private:
    HRESULT result_;
};

// The size the picture's header gives, without decoding its pixels; the failure otherwise.
DecodedPicture headerSize(const std::filesystem::path& path) {
    const ComUse com;
    IWICImagingFactory* rawFactory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&rawFactory)))) {
        return {nullptr, PictureFailure::NotAPicture, {}, {}};
    }
    const ComPointer<IWICImagingFactory> factory(rawFactory);
    IWICBitmapDecoder* rawDecoder = nullptr;
    const HRESULT opened = factory->CreateDecoderFromFilename(
        path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, &rawDecoder);
    if (FAILED(opened)) {
        if (HRESULT_FACILITY(opened) == FACILITY_WIN32) {
            return {nullptr,
                    PictureFailure::Unreadable,
                    files::systemReason(static_cast<unsigned long>(HRESULT_CODE(opened))),
                    {}};
        }
        return {nullptr, PictureFailure::NotAPicture, {}, {}};
    }
    const ComPointer<IWICBitmapDecoder> decoder(rawDecoder);
    IWICBitmapFrameDecode* rawFrame = nullptr;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(decoder->GetFrame(0, &rawFrame))) {
        return {nullptr, PictureFailure::NotAPicture, {}, {}};
    }
    const ComPointer<IWICBitmapFrameDecode> frame(rawFrame);
    if (FAILED(frame->GetSize(&width, &height))) {
        return {nullptr, PictureFailure::NotAPicture, {}, {}};
    }
    constexpr UINT Largest = 0x7FFFFFFF;
    return {
        nullptr,
        PictureFailure::None,
        {},
        {static_cast<int>(std::min(width, Largest)), static_cast<int>(std::min(height, Largest))}};
}

} // namespace

DecodedPicture GdiplusImageDecoder::decodeFile(const std::filesystem::path& path,
                                               PictureSize largest) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return {nullptr, PictureFailure::Missing, {}, {}};
        }
        return {nullptr, PictureFailure::Unreadable, files::systemReason(error), {}};
    }
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return {nullptr, PictureFailure::Unreadable, std::u16string(NotRegularFileReason), {}};
    }
    DecodedPicture picture = headerSize(path);
    if (picture.failure != PictureFailure::None) {
        return picture;
    }
    if (picture.size.width > largest.width || picture.size.height > largest.height) {
        picture.failure = PictureFailure::TooLarge;
        return picture;
    }
    gdip::GpBitmap* bitmap = nullptr;
    // The native path is already UTF-16 on Windows.
    const gdip::GpStatus result = gdip::GdipCreateBitmapFromFile(path.c_str(), &bitmap);
    if (result != Gdiplus::Ok || bitmap == nullptr) {
        if (bitmap != nullptr) {
            gdip::GdipDisposeImage(bitmap);
        }
        picture.failure = PictureFailure::NotAPicture;
        return picture;
    }
    picture.bitmap = std::make_unique<GdiplusBitmap>(bitmap);
    return picture;
}

} // namespace tanu
