// The palette picture: the DIB section, its palette, and where they are selected.
#include "framework/PalettePicture.h"

#include <cstdlib>
#include <cstring>

namespace {

// A device context of a window, given back when it goes out of scope.
struct WindowDc {
    HWND window;
    HDC dc = GetDC(window);
    ~WindowDc() {
        if (dc != nullptr) ReleaseDC(window, dc);
    }
};

// A memory DC, deleted when it goes out of scope.
struct MemoryDc {
    HDC dc = CreateCompatibleDC(nullptr);
    ~MemoryDc() {
        if (dc != nullptr) DeleteDC(dc);
    }
};

// A palette selected into a DC until the end of the scope.
struct PaletteSelection {
    HDC dc;
    HPALETTE old;
    PaletteSelection(HDC into, HPALETTE palette)
        : dc(into), old(SelectPalette(into, palette, FALSE)) {}
    ~PaletteSelection() {
        if (old != nullptr) SelectPalette(dc, old, TRUE);
    }
};

struct PaletteBitmapInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

struct LogicalPalette {
    WORD version;
    WORD count;
    PALETTEENTRY entries[256];
};

}  // namespace

CPalettePicture::CPalettePicture(UINT bitmapId) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(bitmapId), RT_BITMAP);
    const auto* packed =
        found != nullptr ? static_cast<const BITMAPINFO*>(LockResource(LoadResource(module, found)))
                         : nullptr;
    if (packed == nullptr) return;
    const BITMAPINFOHEADER& stored = packed->bmiHeader;
    if (stored.biSize < sizeof(BITMAPINFOHEADER) || stored.biBitCount == 0 ||
        stored.biBitCount > 8 || stored.biClrUsed > 256) {
        return;
    }
    const DWORD count = stored.biClrUsed != 0 ? stored.biClrUsed : 1u << stored.biBitCount;
    const auto* colours =
        reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(packed) + stored.biSize);

    // The DIB section: the stored picture's size and colours, 8 bits a pixel, uncompressed.
    PaletteBitmapInfo info{};
    info.header = stored;
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    info.header.biSizeImage = 0;
    info.header.biClrUsed = count;
    info.header.biClrImportant = 0;
    std::memcpy(info.colours, colours, count * sizeof(RGBQUAD));
    void* bits = nullptr;
    m_bitmap.reset(CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info),
                                    DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!m_bitmap) return;
    // The stored pixels, decoded by the system; the colour tables agree, so no colour moves.
    MemoryDc memory;
    if (SetDIBits(memory.dc, m_bitmap.get(), 0, static_cast<UINT>(std::abs(stored.biHeight)),
                  colours + count, packed, DIB_RGB_COLORS) == 0) {
        m_bitmap.reset();
        return;
    }

    LogicalPalette palette{0x300, static_cast<WORD>(count), {}};
    for (DWORD i = 0; i < count; ++i) {
        palette.entries[i] = {colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue, 0};
    }
    m_palette.reset(CreatePalette(reinterpret_cast<const LOGPALETTE*>(&palette)));
}

CBitmapCanvas::CBitmapCanvas(HBITMAP bitmap) : m_dc(CreateCompatibleDC(nullptr)) {
    if (m_dc != nullptr && bitmap != nullptr) m_old = SelectObject(m_dc, bitmap);
}

CBitmapCanvas::~CBitmapCanvas() {
    if (m_old != nullptr) SelectObject(m_dc, m_old);
    if (m_dc != nullptr) DeleteDC(m_dc);
    GdiFlush();
}

void CPalettePicture::ShowIn(HWND staticControl) const {
    if (!m_bitmap) return;
    const auto loaded = reinterpret_cast<HBITMAP>(SendMessageA(
        staticControl, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_bitmap.get())));
    // The copy the static loaded is the caller's once replaced.
    if (loaded != nullptr && loaded != m_bitmap.get()) DeleteObject(loaded);
}

void CPalettePicture::SelectInto(HDC paint) const {
    if (!m_palette) return;
    SelectPalette(paint, m_palette.get(), FALSE);
    // Realised afresh: an earlier realisation, made before the window came to the front (Wine
    // asks for one then), took only the colours the display had.
    UnrealizeObject(m_palette.get());
    RealizePalette(paint);
}

bool CPalettePicture::Realize(HWND staticControl) const {
    if (!m_palette) return false;
    WindowDc window{staticControl};
    if (window.dc == nullptr) return false;
    PaletteSelection selected(window.dc, m_palette.get());
    const UINT moved = RealizePalette(window.dc);
    if (moved == 0 || moved == GDI_ERROR) return false;
    InvalidateRect(staticControl, nullptr, FALSE);
    return true;
}

GdiObject<HFONT> PixelFont(int pixels, int lineHeight, const char* face, const char* fallback,
                           int fallbackPixels) {
    const auto make = [](const char* name, int size) {
        return GdiObject<HFONT>(CreateFontA(
            -size, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, name));
    };
    GdiObject<HFONT> font = make(face, pixels);
    HDC screen = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(screen, font.get());
    TEXTMETRICA metrics{};
    const bool measured = GetTextMetricsA(screen, &metrics) != FALSE;
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    if (measured && metrics.tmHeight > lineHeight) font = make(fallback, fallbackPixels);
    return font;
}
